// The application object: idle turns, loss of activation, pending-message
// processing and the report of errors that escape handlers.
#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

#include "ui_test_support.h"

namespace ui_test {
namespace {

using ui::Application;
using ui::TApplicationEvents;

struct IdleScript : ui::TObject {
    int calls = 0;
    bool clearDone = false;
    bool throwOnce = false;
    std::function<void()> during;  // runs inside the handler
    void Idle(ui::TObject*, bool& done) {
        ++calls;
        if (during) during();
        if (clearDone) done = false;
        if (throwOnce) {
            throwOnce = false;
            throw core::Error(L"アイドル処理に失敗しました");
        }
    }
    int deactivations = 0;
    void Deactivate(ui::TObject*) { ++deactivations; }
};

class IdleTest : public testing::Test {
protected:
    void SetUp() override { Reports().clear(); }
};

TEST_F(IdleTest, DoneStartsTrueAndAnyHandlerCanClearIt) {
    IdleScript a, b;
    TApplicationEvents ea, eb;
    ea.OnIdle = {&a, &IdleScript::Idle};
    eb.OnIdle = {&b, &IdleScript::Idle};
    EXPECT_TRUE(Application().DoIdle());
    b.clearDone = true;
    EXPECT_FALSE(Application().DoIdle());
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 2);
    eb.OnIdle.Clear();  // an empty slot is skipped
    EXPECT_TRUE(Application().DoIdle());
    EXPECT_EQ(b.calls, 2);
}

TEST_F(IdleTest, ComponentsMadeOrFreedDuringTurn) {
    IdleScript first, second, added;
    auto e1 = std::make_unique<TApplicationEvents>();
    auto e2 = std::make_unique<TApplicationEvents>();
    std::unique_ptr<TApplicationEvents> e3;
    e1->OnIdle = {&first, &IdleScript::Idle};
    e2->OnIdle = {&second, &IdleScript::Idle};
    // The first handler makes a third component and frees the second.
    first.during = [&] {
        if (!e3) {
            e3 = std::make_unique<TApplicationEvents>();
            e3->OnIdle = {&added, &IdleScript::Idle};
        }
        e2.reset();
    };
    Application().DoIdle();
    EXPECT_EQ(second.calls, 0);
    EXPECT_EQ(added.calls, 0);  // joins from the next turn on
    Application().DoIdle();
    EXPECT_EQ(added.calls, 1);

    // A handler that frees its own component while running.
    e3->OnIdle = {&added, &IdleScript::Idle};
    added.during = [&] { e3.reset(); };
    Application().DoIdle();
    EXPECT_EQ(added.calls, 2);
    EXPECT_EQ(first.calls, 3);
}

TEST_F(IdleTest, ErrorInIdleHandlerIsReportedWithItsText) {
    IdleScript script;
    script.throwOnce = true;
    TApplicationEvents events;
    events.OnIdle = {&script, &IdleScript::Idle};
    EXPECT_TRUE(Application().DoIdle());
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], L"アイドル処理に失敗しました");
    Application().DoIdle();  // the handler stays installed and runs again
    EXPECT_EQ(script.calls, 2);
    EXPECT_EQ(Reports().size(), 1u);
}

void RaiseAndReport(const wchar_t* text) {
    Application().Guard([&] { throw core::Error(text); });
}

TEST_F(IdleTest, ErrorsWhileAReportShowsAreCountedNotStacked) {
    int depth = 0, deepest = 0;
    auto collect = Application().OnException;
    Application().OnException = [&](const std::wstring& text) {
        ++depth;
        deepest = std::max(deepest, depth);
        Reports().push_back(text);
        // While the box is up: the rows under it fail to paint, twice; and
        // once more while the count is shown.
        if (Reports().size() == 1) {
            RaiseAndReport(L"行を描けません");
            RaiseAndReport(L"行を描けません");
        } else {
            RaiseAndReport(L"行を描けません");
        }
        --depth;
    };
    RaiseAndReport(L"フォルダーを開けません");
    Application().OnException = collect;
    EXPECT_EQ(Reports(), (std::vector<std::wstring>{L"フォルダーを開けません", ui::TApplication::BurstText(2)}));
    EXPECT_EQ(deepest, 1) << "a report was shown on top of another";
    // The burst is over: the next error is shown again.
    RaiseAndReport(L"名前を変更できません");
    EXPECT_EQ(Reports().back(), L"名前を変更できません");
    EXPECT_EQ(Reports().size(), 3u);
}

// The real message box, driven by a timer that runs inside its modal loop.
struct BoxDriver {
    static inline std::vector<HWND> seen;
    static inline std::vector<std::wstring> texts;
    static BOOL CALLBACK Each(HWND wnd, LPARAM) {
        wchar_t cls[16] = {};
        GetClassNameW(wnd, cls, 16);
        if (std::wstring(cls) != L"#32770" || !IsWindowVisible(wnd)) return TRUE;
        if (std::find(seen.begin(), seen.end(), wnd) == seen.end()) {
            seen.push_back(wnd);
            wchar_t text[200] = {};
            GetDlgItemTextW(wnd, 0xFFFF, text, 200);
            texts.emplace_back(text);
            // The first box is up: more errors of the same burst.
            if (seen.size() == 1) {
                RaiseAndReport(L"行を描けません");
                RaiseAndReport(L"行を描けません");
                RaiseAndReport(L"行を描けません");
            }
        }
        PostMessageW(wnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), &Each, 0); }
};

TEST_F(IdleTest, RealErrorBoxesAreNotStacked) {
    auto collect = Application().OnException;
    Application().OnException = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &BoxDriver::Tick);
    ASSERT_NE(timer, 0u);
    RaiseAndReport(L"フォルダーを開けません");
    KillTimer(nullptr, timer);
    Application().OnException = collect;
    ASSERT_EQ(BoxDriver::texts.size(), 2u);
    EXPECT_EQ(BoxDriver::texts[0], L"フォルダーを開けません");
    EXPECT_EQ(BoxDriver::texts[1], ui::TApplication::BurstText(3));
}

TEST_F(IdleTest, ExceptionTexts) {
    auto text = [](auto error) { return ui::TApplication::ExceptionText(std::make_exception_ptr(error)); };
    EXPECT_EQ(text(core::Error(L"名前を変更できません")), L"名前を変更できません");
    EXPECT_EQ(text(std::runtime_error("\xE5\xA4\xB1\xE6\x95\x97 (UTF-8)")), L"失敗 (UTF-8)");
    EXPECT_EQ(text(42), L"原因不明のエラーが発生しました。");
    EXPECT_EQ(text(std::bad_alloc()), L"メモリーを確保できません。");
}

TEST_F(IdleTest, DeactivateRaisedOncePerLossOfActivation) {
    IdleScript script;
    TApplicationEvents events;
    events.OnDeactivate = {&script, &IdleScript::Deactivate};
    TestForm one, two;
    one.CreateHandle();
    two.CreateHandle();
    // Every top-level window of the thread hears of the change.
    auto tellAll = [&](BOOL active) {
        SendMessageW(one.Handle(), WM_ACTIVATEAPP, active, 0);
        SendMessageW(two.Handle(), WM_ACTIVATEAPP, active, 0);
        SendMessageW(Application().Handle(), WM_ACTIVATEAPP, active, 0);
    };
    // A loss counts once it has lasted the grace time.
    auto lossCounted = [&](int expected) {
        return PumpUntil([&] { return script.deactivations == expected; }, 2000);
    };
    tellAll(TRUE);
    EXPECT_EQ(script.deactivations, 0);
    tellAll(FALSE);
    EXPECT_FALSE(Application().Active());
    EXPECT_TRUE(lossCounted(1));
    tellAll(FALSE);
    PumpUntil([] { return false; }, 2 * ui::TApplication::kDeactivateGraceMs);
    EXPECT_EQ(script.deactivations, 1);
    tellAll(TRUE);
    tellAll(FALSE);
    EXPECT_TRUE(lossCounted(2));
    tellAll(TRUE);
}

TEST_F(IdleTest, ActivationRegainedWithinTheGraceIsNoLoss) {
    IdleScript script;
    TApplicationEvents events;
    events.OnDeactivate = {&script, &IdleScript::Deactivate};
    TestForm form;
    form.CreateHandle();
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    // Focus leaves for a moment (a message box of ours appearing under Wine)
    // and comes back before the grace time is over.
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    SendMessageW(form.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    PumpUntil([] { return false; }, 3 * ui::TApplication::kDeactivateGraceMs);
    EXPECT_EQ(script.deactivations, 0);
    EXPECT_TRUE(Application().Active());
}

TEST_F(IdleTest, ProcessMessagesDispatchesEverythingWaitingThenReturns) {
    TestForm form;
    int seen = 0;
    form.hook = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg != WM_APP + 1) return false;
        // One arrival posts the next: all of them are waiting work.
        if (++seen < 5) PostMessageW(form.Handle(), WM_APP + 1, 0, 0);
        return true;
    };
    form.CreateHandle();
    Application().ProcessMessages();  // nothing of ours waiting: returns at once
    PostMessageW(form.Handle(), WM_APP + 1, 0, 0);
    PostMessageW(form.Handle(), WM_APP + 1, 0, 0);
    Application().ProcessMessages();
    EXPECT_GE(seen, 5);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, form.Handle(), WM_APP + 1, WM_APP + 1, PM_NOREMOVE));
    EXPECT_FALSE(Application().Terminated());
}

}  // namespace
}  // namespace ui_test
