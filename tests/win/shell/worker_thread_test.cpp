// The worker threads under the shell layer (sys/): the apartment asked for,
// the procedure's error carried to the thread that joins, or to the report
// of a thread let go.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <stdexcept>
#include <utility>

#include "sys/worker_thread.h"

namespace {

struct Event {
    Event() : handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(handle); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE handle;
};

}  // namespace

TEST(WorkerThread, RunsInTheApartmentAskedForAndJoinRaisesItsError) {
    for (auto [kind, expected] : {std::pair{sys::TApartment::Single, APTTYPE_STA},
                                  std::pair{sys::TApartment::Multi, APTTYPE_MTA}}) {
        APTTYPE type = APTTYPE_CURRENT;
        sys::TWorkerThread worker(kind, [&type] {
            APTTYPEQUALIFIER qualifier{};
            if (FAILED(CoGetApartmentType(&type, &qualifier))) type = APTTYPE_CURRENT;
            throw std::runtime_error("lookup failed");
        });
        EXPECT_THROW(worker.Join(), std::runtime_error);
        EXPECT_TRUE(worker.Done());
        EXPECT_EQ(type, expected);
    }
}

TEST(WorkerThread, AReleasedThreadHandsItsErrorToTheReport) {
    Event go, reported;
    std::exception_ptr late, early;
    DWORD lateOn = 0;
    // Still running when let go: it reports on its own thread.
    DWORD workerId = 0;
    {
        sys::TWorkerThread worker(sys::TApartment::Single, [&] {
            workerId = GetCurrentThreadId();
            WaitForSingleObject(go.handle, 10'000);
            throw std::runtime_error("late");
        });
        worker.Release([&](std::exception_ptr error) {
            late = error;
            lateOn = GetCurrentThreadId();
            SetEvent(reported.handle);
        });
    }
    SetEvent(go.handle);
    ASSERT_EQ(WaitForSingleObject(reported.handle, 10'000), WAIT_OBJECT_0);
    EXPECT_THROW(std::rethrow_exception(late), std::runtime_error);
    EXPECT_EQ(lateOn, workerId);

    // Ended before it was let go: the owner's Release reports at once.
    sys::TWorkerThread ended(sys::TApartment::Multi, [] { throw std::runtime_error("early"); });
    ASSERT_EQ(sys::WaitAnsweringSentMessages(ended.Finished(), 10'000), WAIT_OBJECT_0);
    ended.Release([&](std::exception_ptr error) { early = error; });
    EXPECT_THROW(std::rethrow_exception(early), std::runtime_error);
}
