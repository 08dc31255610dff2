// The process reference: the end of the run waits, pumping messages, until
// the shell has released every reference it took, as shell extensions take
// it (SHGetInstanceExplorer) while they finish work on threads of ours.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/process_reference.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kGenerous = 20s;

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// What a shell extension does to keep the process alive while it works.
IUnknown* TakeAsAnExtensionWould() {
    IUnknown* reference = nullptr;
    if (FAILED(SHGetInstanceExplorer(&reference))) return nullptr;
    return reference;
}

TEST(ProcessReference, WithNoReferenceTakenTheWaitReturnsAtOnce) {
    app::TProcessReference reference;
    reference.Register();
    const auto start = Clock::now();
    EXPECT_TRUE(reference.ReleaseAndWait(kGenerous));
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_EQ(reference.References(), 0u);
    // Withdrawn from the shell: a late extension finds nothing to hold.
    IUnknown* late = nullptr;
    EXPECT_TRUE(FAILED(SHGetInstanceExplorer(&late)));
    EXPECT_EQ(late, nullptr);
}

TEST(ProcessReference, WaitEndsOnlyAfterAnotherThreadReleases) {
    app::TProcessReference reference;
    reference.Register();
    IUnknown* held = TakeAsAnExtensionWould();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held, static_cast<IUnknown*>(&reference));
    EXPECT_EQ(reference.References(), 2u);

    std::atomic<bool> released{false};
    std::thread worker([&] {
        Sleep(400);  // the copy engine finishing
        released = true;
        held->Release();
    });
    const auto start = Clock::now();
    const double cpuBefore = ThreadCpuSeconds();
    const bool allReleased = reference.ReleaseAndWait(kGenerous);
    const bool releasedWhenReturned = released;
    const double cpu = ThreadCpuSeconds() - cpuBefore;
    worker.join();
    EXPECT_TRUE(allReleased);
    EXPECT_TRUE(releasedWhenReturned);
    EXPECT_GE(Clock::now() - start, 350ms);
    EXPECT_LT(Clock::now() - start, 5s);
    // It slept rather than spun.
    EXPECT_LT(cpu, 0.15) << "CPU seconds while waiting";
}

IUnknown* g_timerHeld = nullptr;
void CALLBACK ReleaseOnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_timerHeld) g_timerHeld->Release();
    g_timerHeld = nullptr;
}

TEST(ProcessReference, MessagesFlowWhileWaiting) {
    // Two extensions; the second lets go from a timer of the waiting
    // thread, which only fires if the wait dispatches messages.
    app::TProcessReference reference;
    reference.Register();
    IUnknown* first = TakeAsAnExtensionWould();
    g_timerHeld = TakeAsAnExtensionWould();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(g_timerHeld, nullptr);
    first->Release();  // one gone already; one is still out
    ASSERT_NE(SetTimer(nullptr, 0, 300, &ReleaseOnTimer), 0u);
    const auto start = Clock::now();
    EXPECT_TRUE(reference.ReleaseAndWait(kGenerous));
    EXPECT_EQ(g_timerHeld, nullptr);
    EXPECT_GE(Clock::now() - start, 250ms);
    EXPECT_EQ(reference.References(), 0u);
}

TEST(ProcessReference, AReferenceNeverReleasedEndsTheWaitAtTheBound) {
    app::TProcessReference reference;
    reference.Register();
    IUnknown* leaked = TakeAsAnExtensionWould();
    ASSERT_NE(leaked, nullptr);
    const auto start = Clock::now();
    EXPECT_FALSE(reference.ReleaseAndWait(300ms));
    EXPECT_GE(Clock::now() - start, 280ms);
    EXPECT_EQ(reference.References(), 1u);
    leaked->Release();  // the object is still there for a late release
    EXPECT_EQ(reference.References(), 0u);
    EXPECT_TRUE(reference.ReleaseAndWait(0ms));
}

}  // namespace
