// Caption and class reading and the process window finder, on real windows of
// this process.
#include <string>

#include <gtest/gtest.h>

#include "core/wildcard.h"
#include "test_windows.h"
#include "wndinfo/wnd_info.h"

namespace wndinfo_test {
namespace {

using wndinfo::FindProcessWindow;
using wndinfo::GetWindowCaption;
using wndinfo::GetWindowClass;
using wndinfo::WindowMatches;

const DWORD kOurPid = GetCurrentProcessId();

TEST(WndInfo, ReadsCaptionAndClass) {
    WindowClass cls(L"StubWindow32");
    Window wnd = MakeWindow(cls, L"Properties of 設定");
    EXPECT_EQ(GetWindowCaption(wnd.get()), L"Properties of 設定");
    EXPECT_EQ(GetWindowClass(wnd.get()), L"StubWindow32");
    EXPECT_TRUE(WindowMatches(wnd.get(), L"Stub*", L"*設定"));
    EXPECT_FALSE(WindowMatches(wnd.get(), L"Stub", L"*"));
    EXPECT_FALSE(WindowMatches(wnd.get(), L"*", L"Properties"));
}

TEST(WndInfo, DestroyedWindowGivesEmptyTexts) {
    WindowClass cls(L"StubWindow32");
    Window wnd = MakeWindow(cls, L"going away");
    const HWND dead = wnd.get();
    wnd.reset();
    ASSERT_FALSE(IsWindow(dead));
    EXPECT_EQ(GetWindowCaption(dead), L"");
    EXPECT_EQ(GetWindowClass(dead), L"");
    EXPECT_FALSE(WindowMatches(dead, L"StubWindow32", L"*"));
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*"), nullptr);
}

TEST(WndInfo, CaptionStopsAtFirstNulAndNeverOverreads) {
    WindowClass cls(L"StubWindow32", /*scripted=*/true);
    TextScript embeddedNul{std::wstring(L"ab\0cd", 5), 5};
    Window wnd = MakeWindow(cls, L"", &embeddedNul);
    EXPECT_EQ(GetWindowCaption(wnd.get()), L"ab");

    // A window procedure that fills the whole buffer without a NUL and
    // reports more than it was given.
    TextScript overfull{std::wstring(400, L'x'), 400};
    Window greedy = MakeWindow(cls, L"", &overfull);
    EXPECT_EQ(GetWindowCaption(greedy.get()), std::wstring(260, L'x'));
}

TEST(WndInfo, LongCaptionIsCutTo260BeforeMatching) {
    WindowClass cls(L"StubWindow32");
    // 'E' is the 260th character, 'X' the 300th and last.
    const std::wstring caption = std::wstring(259, L'a') + L'E' + std::wstring(39, L'c') + L'X';
    ASSERT_EQ(caption.size(), 300u);
    Window wnd = MakeWindow(cls, caption);
    ASSERT_EQ(GetWindowTextLengthW(wnd.get()), 300);

    EXPECT_EQ(GetWindowCaption(wnd.get()), caption.substr(0, 260));
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*X"), nullptr);
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*E"), wnd.get());
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", caption.substr(0, 260)), wnd.get());
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", caption), nullptr);
}

TEST(FindProcessWindow, NullWhenNothingMatches) {
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*"), nullptr);

    WindowClass cls(L"StubWindow32");
    Window wnd = MakeWindow(cls, L"Settings");
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"Other"), nullptr);
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow", L"*"), nullptr);
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32?", L"*"), nullptr);
    // No process has ID 0.
    EXPECT_EQ(FindProcessWindow(0, L"*", L"*"), nullptr);
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"Settings"), wnd.get());
}

TEST(FindProcessWindow, EmptyCaptionMatchesStar) {
    WindowClass cls(L"StubWindow32");
    Window wnd = MakeWindow(cls, L"");
    EXPECT_EQ(GetWindowCaption(wnd.get()), L"");
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*"), wnd.get());
}

TEST(FindProcessWindow, ClassMaskIgnoresAsciiCase) {
    WindowClass cls(L"stubwindow32");
    Window wnd = MakeWindow(cls, L"sheet");
    ASSERT_EQ(GetWindowClass(wnd.get()), L"stubwindow32");
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*"), wnd.get());
    EXPECT_EQ(FindProcessWindow(kOurPid, L"STUBWINDOW32", L"SHEET"), wnd.get());
}

TEST(FindProcessWindow, FirstInEnumerationOrderWinsAndStopsTheWalk) {
    WindowClass cls(L"StubWindow32", /*scripted=*/true);
    TextScript scripts[2] = {{L"one", 3}, {L"two", 3}};
    Window windows[2] = {MakeWindow(cls, L"", &scripts[0]), MakeWindow(cls, L"", &scripts[1])};

    for (int round = 0; round < 2; ++round) {
        const auto order = TopLevelWindowsOfClass(L"StubWindow32");
        ASSERT_EQ(order.size(), 2u);
        const int first = order[0] == windows[0].get() ? 0 : 1;
        scripts[0].getTextCalls = scripts[1].getTextCalls = 0;

        EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"*"), order[0]) << "round " << round;
        // The caption of the window after the match is never asked for.
        EXPECT_EQ(scripts[1 - first].getTextCalls, 0) << "round " << round;

        // Bring the other window to the top of the Z order and look again.
        SetWindowPos(order[1], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_EQ(TopLevelWindowsOfClass(L"StubWindow32").front(), order[1]);
    }
}

TEST(FindProcessWindow, WindowsDestroyedDuringTheSearchAreSkipped) {
    WindowClass cls(L"QuinceDoomed", /*scripted=*/true);
    TextScript scripts[2] = {{L"a", 1}, {L"b", 1}};
    Window windows[2] = {MakeWindow(cls, L"", &scripts[0]), MakeWindow(cls, L"", &scripts[1])};
    // Whichever is asked for its caption first destroys the other one, which
    // EnumWindows has already listed.
    scripts[0].destroyOnGetText = windows[1].get();
    scripts[1].destroyOnGetText = windows[0].get();

    EXPECT_EQ(FindProcessWindow(kOurPid, L"QuinceDoomed", L"no such caption"), nullptr);
    EXPECT_EQ(IsWindow(windows[0].get()) + IsWindow(windows[1].get()), 1);

    // A window that destroys itself while answering.
    TextScript suicidal{L"gone", 4};
    Window self = MakeWindow(cls, L"", &suicidal);
    suicidal.destroyOnGetText = self.get();
    EXPECT_EQ(GetWindowCaption(self.get()), L"");
    EXPECT_FALSE(IsWindow(self.get()));
}

TEST(FindProcessWindow, MalformedMaskIsRaisedAfterTheWalk) {
    WindowClass cls(L"StubWindow32");
    Window wnd = MakeWindow(cls, L"sheet");
    EXPECT_THROW(FindProcessWindow(kOurPid, L"[StubWindow32", L"*"), core::MaskError);
    EXPECT_THROW(FindProcessWindow(kOurPid, L"StubWindow32", L"[ab"), core::MaskError);
    // The caption mask is only tried on windows whose class matched.
    EXPECT_EQ(FindProcessWindow(kOurPid, L"NoSuchClass", L"[a-"), nullptr);
    // The failed searches left nothing behind.
    EXPECT_EQ(FindProcessWindow(kOurPid, L"StubWindow32", L"sheet"), wnd.get());
}

}  // namespace
}  // namespace wndinfo_test
