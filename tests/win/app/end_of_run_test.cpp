// The end of the run: which idle handler is installed, the delayed end's
// wait for the property sheet host window, and its debugger line.
#include <gtest/gtest.h>

#include <chrono>

#include "app_test_support.h"
#include "ui/application.h"

using apptest::DebugCapture;
using apptest::ScopedBaseForm;
using apptest::TakeQuitMessage;

namespace {

// A top-level window of the class the shell hosts property sheets in.
class HostWindow {
public:
    explicit HostWindow(const wchar_t* className = L"StubWindow32") {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        RegisterClassW(&wc);
        wnd_ = CreateWindowExW(0, className, L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance,
                               nullptr);
    }
    ~HostWindow() {
        if (IsWindow(wnd_)) DestroyWindow(wnd_);
    }
    HWND get() const { return wnd_; }

private:
    HWND wnd_;
};

double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto toSeconds = [](FILETIME f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

std::wstring Line(HWND wnd) { return L"StubWindow32=" + std::to_wstring(reinterpret_cast<LONG_PTR>(wnd)); }

}  // namespace

TEST(EndOfRun, ALaterCommandReplacesTheHandler) {
    ScopedBaseForm base;
    DebugCapture capture;
    // Soon after delayed: the next turn closes, without looking for a host.
    base->InstallEndOfRun(true);
    base->InstallEndOfRun(false);
    EXPECT_TRUE(apptest::IdleTurn());
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_TRUE(capture.Lines().empty());
    // Delayed after soon: the next turn looks for the host and goes on.
    base->InstallEndOfRun(false);
    base->InstallEndOfRun(true);
    EXPECT_FALSE(apptest::IdleTurn());
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_EQ(capture.Lines(), std::vector<std::wstring>{L"StubWindow32=0"});
    base->IdleSlot().Clear();
}

TEST(EndOfRun, SoonClosesTheBaseWindowOnTheNextIdleTurn) {
    ScopedBaseForm base;
    base->InstallEndOfRun(false);
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_TRUE(apptest::IdleTurn());
    EXPECT_TRUE(TakeQuitMessage());
}

TEST(EndOfRun, DelayedLogsZeroAndAsksForAnotherTurnWhileNoHostExists) {
    ScopedBaseForm base;
    DebugCapture capture;
    base->InstallEndOfRun(true);
    for (int turn = 0; turn < 3; ++turn) EXPECT_FALSE(apptest::IdleTurn()) << "turn " << turn;
    EXPECT_FALSE(TakeQuitMessage());
    auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& l : lines) EXPECT_EQ(l, L"StubWindow32=0");
    // A window of another class, or a hidden one of ours with another name,
    // is no host.
    HostWindow other(L"SomethingElse32");
    EXPECT_FALSE(apptest::IdleTurn());
    EXPECT_EQ(capture.Lines().back(), L"StubWindow32=0");
    base->IdleSlot().Clear();
}

TEST(EndOfRun, DelayedWaitsForTheHostWithoutSpinningThenCloses) {
    ScopedBaseForm base;
    DebugCapture capture;
    base->InstallEndOfRun(true);
    EXPECT_FALSE(apptest::IdleTurn());

    HostWindow host;
    ASSERT_TRUE(host.get());
    // The host goes away while the handler waits: a timer on this thread,
    // which only fires if the handler keeps the messages flowing.
    static HWND s_host;
    s_host = host.get();
    UINT_PTR timer = SetTimer(nullptr, 0, 600, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        DestroyWindow(s_host);
    });
    ASSERT_NE(timer, 0u);

    auto wallStart = std::chrono::steady_clock::now();
    double cpuStart = ThreadCpuSeconds();
    bool done = apptest::IdleTurn();
    double cpu = ThreadCpuSeconds() - cpuStart;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    RecordProperty("wait_wall_ms", static_cast<int>(wall * 1000));
    RecordProperty("wait_cpu_ms", static_cast<int>(cpu * 1000));
    EXPECT_TRUE(done);
    EXPECT_FALSE(IsWindow(host.get()));
    EXPECT_GE(wall, 0.5);
    EXPECT_LT(cpu, wall / 4) << "cpu " << cpu << " s over " << wall << " s";
    EXPECT_TRUE(TakeQuitMessage()) << "the base window closes once the host is gone";

    // One line per idle turn: 0 before the host existed, then its handle,
    // and nothing while it was waited for.
    auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"StubWindow32=0");
    EXPECT_EQ(lines[1], Line(host.get()));
}

TEST(EndOfRun, DelayedGivesUpOnAHostThatNeverAppears) {
    ScopedBaseForm base;
    DebugCapture capture;
    base->HostWaitLimit = std::chrono::milliseconds(300);
    base->InstallEndOfRun(true);
    auto start = std::chrono::steady_clock::now();
    double cpuStart = ThreadCpuSeconds();
    int turns = 0;
    while (!apptest::IdleTurn() && turns < 1000) ++turns;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(wall, 0.3);
    EXPECT_LT(wall, 2.0);
    // The turns in between sleep until input or the poll interval: a few
    // dozen, not thousands.
    EXPECT_LT(turns, 100);
    EXPECT_LT(ThreadCpuSeconds() - cpuStart, wall / 4);
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_EQ(capture.Lines().size(), static_cast<size_t>(turns + 1));
}

TEST(EndOfRun, DeactivationClosesTheBaseWindowFromAnyState) {
    ScopedBaseForm base;
    base->InstallEndOfRun(true);
    SendMessageW(base->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    SendMessageW(base->Handle(), WM_ACTIVATEAPP, FALSE, apptest::AnotherProgramsThread());
    apptest::Pump(3 * ui::TApplication::kDeactivateGraceMs);
    EXPECT_TRUE(TakeQuitMessage());
    base->IdleSlot().Clear();
}
