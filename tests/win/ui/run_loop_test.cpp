// The message loop as the program runs it: idle turns that ask for more turns
// at once, idle turns that wait for the next message, errors in idle handlers,
// and termination from an idle handler. One scenario: a loop that has
// retrieved its quit message stays terminated.
#include <gtest/gtest.h>

#include "ui_test_support.h"

namespace ui_test {
namespace {

using ui::Application;

constexpr int kBusyTurns = 200;  // far more than stray messages could drive
constexpr UINT kWaitMs = 300;

struct LoopScript : ui::TObject {
    int turns = 0;
    int turnsWhenTimerFired = -1;
    int turnsAtEnd = -1;
    bool mainVisibleOnFirstTurn = false;
    bool watchdogFired = false;
    ULONGLONG busyStart = 0, busyEnd = 0;

    void Idle(ui::TObject*, bool& done) {
        ++turns;
        if (turns == 1) {
            mainVisibleOnFirstTurn = Application().MainForm()->Visible();
            busyStart = GetTickCount64();
        }
        if (turns <= kBusyTurns) {
            done = false;  // nothing is posted: only the loop itself can call us again
            return;
        }
        if (turns == kBusyTurns + 1) {
            busyEnd = GetTickCount64();
            // Done stays true: the loop must sleep until this timer's message.
            SetTimer(nullptr, 0, kWaitMs, &LoopScript::TimerFired);
            return;
        }
        if (turnsWhenTimerFired >= 0 && turnsAtEnd < 0) {
            turnsAtEnd = turns;
            // With Done still true the loop must not sleep past its quit message.
            Application().Terminate();
            throw core::Error(L"終了前のエラー");
        }
    }
    static void CALLBACK TimerFired(HWND, UINT, UINT_PTR id, DWORD);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD);
};

LoopScript* g_script = nullptr;

void CALLBACK LoopScript::TimerFired(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_script->turnsWhenTimerFired < 0) g_script->turnsWhenTimerFired = g_script->turns;
}

void CALLBACK LoopScript::Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_script->watchdogFired = true;
    Application().Terminate();
}

TEST(RunLoop, IdleTurnsWaitingAndTermination) {
    Reports().clear();
    LoopScript script;
    g_script = &script;
    std::vector<std::string> log;
    Recorder rec("main", log);
    TestForm main;
    rec.Bind(main);
    main.CreateHandle();
    MainFormScope scope(main);
    ui::TApplicationEvents events;
    events.OnIdle = {&script, &LoopScript::Idle};
    SetTimer(nullptr, 0, 15000, &LoopScript::Watchdog);

    Application().Run();

    EXPECT_FALSE(script.watchdogFired);
    EXPECT_TRUE(Application().Terminated());
    // Run showed the main form before the first idle turn.
    EXPECT_EQ(log, (std::vector<std::string>{"main:create", "main:show"}));
    EXPECT_TRUE(script.mainVisibleOnFirstTurn);
    EXPECT_LT(script.busyEnd - script.busyStart, 5000u);
    // While waiting the loop slept: a few turns for stray window messages at
    // most, where a spinning loop would have made thousands.
    ASSERT_GE(script.turnsWhenTimerFired, kBusyTurns + 1);
    EXPECT_LT(script.turnsWhenTimerFired, kBusyTurns + 20);
    EXPECT_EQ(script.turnsAtEnd, script.turns);
    // The error from the last idle turn was reported; the loop still ended.
    EXPECT_EQ(Reports(), (std::vector<std::wstring>{L"終了前のエラー"}));
    EXPECT_TRUE(main.Visible());
    g_script = nullptr;
}

}  // namespace
}  // namespace ui_test
