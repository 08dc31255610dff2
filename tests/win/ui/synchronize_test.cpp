// Work handed to the UI thread by a worker: run there, its error carried
// back; a report shown by the message loop, not inside the wait for the
// worker.
#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

#include "sys/worker_thread.h"
#include "ui/synchronize.h"
#include "ui_test_support.h"

namespace ui_test {
namespace {

TEST(Synchronize, RunsOnTheUiThreadAndCarriesItsErrorBack) {
    Reports().clear();
    DWORD ranOn = 0;
    bool delivered = false;
    std::wstring raised;
    sys::TWorkerThread worker(sys::TApartment::Multi, [&] {
        delivered = ui::Synchronize([&] { ranOn = GetCurrentThreadId(); });
        try {
            ui::Synchronize([] { throw core::Error(L"行を描けません"); });
        } catch (const core::Error& e) {
            raised = e.Message();
        }
        ui::ReportOnUiThread(std::make_exception_ptr(core::Error(L"アイコンを取得できません")));
    });
    // The UI thread waits for the worker and answers its calls meanwhile.
    worker.Join();
    EXPECT_TRUE(delivered);
    EXPECT_EQ(ranOn, GetCurrentThreadId());
    EXPECT_EQ(raised, L"行を描けません");
    EXPECT_TRUE(Reports().empty()) << "shown by the message loop, not inside the wait";
    EXPECT_TRUE(PumpUntil([] { return !Reports().empty(); }));
    EXPECT_EQ(Reports(), std::vector<std::wstring>{L"アイコンを取得できません"});
    Reports().clear();
}

}  // namespace
}  // namespace ui_test
