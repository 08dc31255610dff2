// The base window: command line, bounds and opacity, the clicks that end the
// run, and opening the root menu on the first idle turn.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include "folder/folder_form.h"
#include "folder/shell_object.h"
#include "shell/path_resolver.h"
#include "shell/shell_types.h"
#include "ui/application.h"

using apptest::ScopedBaseForm;
using apptest::TakeQuitMessage;

namespace {

// Collects what the error report would show instead of a message box.
struct ReportedErrors {
    ReportedErrors() {
        ui::Application().OnException = [this](const std::wstring& text) { texts.push_back(text); };
    }
    ~ReportedErrors() { ui::Application().OnException = nullptr; }
    std::vector<std::wstring> texts;
};

std::wstring TempDir() {
    wchar_t buf[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, buf);
    std::wstring dir(buf, n);
    if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    return dir;
}

// Idle turns, and the messages between them, until the root path has been
// parsed on its thread and the root menu opened.
void IdleUntilRootFound(app::TBaseForm& base) {
    const ULONGLONG end = GetTickCount64() + 20'000;
    ui::Application().DoIdle();
    while (base.ResolvingRoot() && GetTickCount64() < end) {
        apptest::Pump(0);
        ui::Application().DoIdle();
    }
}

}  // namespace

TEST(BaseForm, CoversTheVirtualScreenAtOpacityOne) {
    ScopedBaseForm base;
    RECT r;
    GetWindowRect(base->Handle(), &r);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(r.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(base->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 1);
    EXPECT_TRUE(flags & LWA_ALPHA);
    LONG_PTR style = GetWindowLongPtrW(base->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME)) << "borderless";
    EXPECT_TRUE(IsWindowVisible(base->Handle()));
    // The base window carries the taskbar button, not the hidden app window.
    EXPECT_TRUE(GetWindowLongPtrW(base->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(IsWindowVisible(ui::Application().Handle()));
}

TEST(BaseForm, ReadsRootMaskAndFlagsFromTheCommandLine) {
    ScopedBaseForm base;
    base->ReadCommandLine(LR"(quince.exe "C:\My Files\*.doc" -IF /IH -iN)");
    EXPECT_EQ(base->RootPath(), LR"(C:\My Files)");
    EXPECT_EQ(base->FileMask(), L"*.doc");
    EXPECT_EQ(base->EnumFlags(), 0x10A0);
    base->ReadCommandLine(L"quince.exe");
    EXPECT_EQ(base->RootPath(), L"");
    EXPECT_EQ(base->FileMask(), L"**");
    EXPECT_EQ(base->EnumFlags(), 0x10E0);
}

TEST(BaseForm, LeftClickRightClickAndDeactivationEachEndTheRun) {
    {
        ScopedBaseForm base;
        SendMessageW(base->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_FALSE(TakeQuitMessage()) << "nothing happens before the button comes up";
        SendMessageW(base->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_TRUE(TakeQuitMessage());
    }
    {
        ScopedBaseForm base;
        // A right click reaches the window as WM_CONTEXTMENU (also the menu key).
        SendMessageW(base->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_TRUE(TakeQuitMessage());
        SendMessageW(base->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(base->Handle()), MAKELPARAM(-1, -1));
        EXPECT_TRUE(TakeQuitMessage());
    }
    {
        ScopedBaseForm base;
        SendMessageW(base->Handle(), WM_ACTIVATEAPP, TRUE, 0);
        SendMessageW(base->Handle(), WM_ACTIVATEAPP, FALSE, apptest::AnotherProgramsThread());
        EXPECT_FALSE(TakeQuitMessage()) << "a loss of activation counts once it lasts";
        apptest::Pump(3 * ui::TApplication::kDeactivateGraceMs);
        EXPECT_TRUE(TakeQuitMessage());
    }
}

TEST(BaseForm, HostileCommandLinesStillGiveARootAndAMask) {
    ScopedBaseForm base;
    // An unbalanced quote runs to the end of the line, blanks and all.
    base->ReadCommandLine(LR"(quince.exe "C:\My Files\*.doc -IF)");
    EXPECT_EQ(base->RootPath(), LR"(C:\My Files)");
    EXPECT_EQ(base->FileMask(), L"*.doc -IF");
    EXPECT_EQ(base->EnumFlags(), 0x10E0);
    // Empty quoted arguments are no path: the desktop, everything.
    base->ReadCommandLine(LR"(quince.exe "" "" -IN "")");
    EXPECT_EQ(base->RootPath(), L"");
    EXPECT_EQ(base->FileMask(), L"**");
    EXPECT_EQ(base->EnumFlags(), 0x1040);
    // One argument of 10,000 characters: a mask of them all.
    const std::wstring huge(10'000, L'a');
    base->ReadCommandLine(L"quince.exe C:\\" + huge);
    EXPECT_EQ(base->RootPath(), L"C:\\");
    EXPECT_EQ(base->FileMask(), huge);
    // Thousands of arguments: the last path wins, every switch counts.
    std::wstring many = L"quince.exe";
    for (int i = 0; i < 5000; ++i) many += L" C:\\d" + std::to_wstring(i) + L"\\*.x";
    many += L" -IH";
    base->ReadCommandLine(many);
    EXPECT_EQ(base->RootPath(), L"C:\\d4999");
    EXPECT_EQ(base->FileMask(), L"*.x");
    EXPECT_EQ(base->EnumFlags(), 0x1080);
}

TEST(BaseForm, FirstIdleTurnOpensTheRootMenuOnceAtThePointer) {
    long liveBefore = folder::TShellObject::LiveCount();
    {
        ScopedBaseForm base;
        base->ReadCommandLine(L"quince.exe \"" + TempDir() + L"\\*\" -IF");
        SetCursorPos(300, 200);
        EXPECT_TRUE(base->IdleSlot()) << "the boot handler waits for the first idle turn";
        IdleUntilRootFound(*base.form);
        EXPECT_FALSE(base->IdleSlot()) << "one-shot: the slot is emptied";
        folder::TFolderForm* root = base->RootForm();
        ASSERT_NE(root, nullptr);
        EXPECT_TRUE(root->Visible());
        EXPECT_EQ(GetWindow(root->Handle(), GW_OWNER), base->Handle());
        ASSERT_NE(root->Namespace, nullptr);
        EXPECT_EQ(root->EnumFlags, 0x1020);
        EXPECT_EQ(root->FileMask, L"*");
        EXPECT_EQ(root->Namespace->Parent, nullptr);
        EXPECT_NE(root->Namespace->Current, nullptr);
        EXPECT_EQ(shell::PidlSize(root->Namespace->RelID), shell::PidlSize(root->Namespace->AbsID));
        RECT r;
        GetWindowRect(root->Handle(), &r);
        POINT pt;
        GetCursorPos(&pt);
        EXPECT_EQ(r.left, pt.x);
        EXPECT_EQ(r.top, pt.y);
        EXPECT_EQ(folder::TShellObject::LiveCount(), liveBefore + 1);

        // A second turn with an empty slot opens nothing more.
        ui::Application().DoIdle();
        EXPECT_EQ(base->RootForm(), root);
    }
    EXPECT_EQ(folder::TShellObject::LiveCount(), liveBefore) << "the root window frees its shell item";
}

TEST(BaseForm, DesktopIsTheRootWhenNoPathIsGiven) {
    ScopedBaseForm base;
    base->ReadCommandLine(L"quince.exe -IN");
    base->OpenRootMenu();
    ASSERT_NE(base->RootForm()->Namespace, nullptr);
    EXPECT_EQ(shell::PidlSize(base->RootForm()->Namespace->AbsID), 2) << "the desktop is the empty list";
    base->IdleSlot().Clear();
}

TEST(BaseForm, RootsThatCannotBeReachedAreReportedNamingThePath) {
    ReportedErrors errors;
    // Deeper than MAX_PATH, and a drive letter that names nothing.
    std::wstring deep = L"C:";
    while (deep.size() < 300) deep += L"\\" + std::wstring(40, L'd');
    for (const std::wstring& root : {deep, std::wstring(L"Q:\\nothing\\here")}) {
        errors.texts.clear();
        ScopedBaseForm base;
        base->ReadCommandLine(L"quince.exe \"" + root + L"\\*\"");
        IdleUntilRootFound(*base.form);
        ASSERT_EQ(errors.texts.size(), 1u) << root.size();
        EXPECT_NE(errors.texts[0].find(L"0x8"), std::wstring::npos) << errors.texts[0];
        EXPECT_NE(errors.texts[0].find(root.substr(0, 40)), std::wstring::npos) << errors.texts[0];
        EXPECT_FALSE(TakeQuitMessage());
    }
}

TEST(BaseForm, UnparsableRootIsReportedNamingThePathAndTheRunGoesOn) {
    ReportedErrors errors;
    long liveBefore = folder::TShellObject::LiveCount();
    {
        ScopedBaseForm base;
        base->ReadCommandLine(LR"(quince.exe C:\does\not\exist\*)");
        IdleUntilRootFound(*base.form);
        ASSERT_EQ(errors.texts.size(), 1u);
        EXPECT_NE(errors.texts[0].find(LR"(C:\does\not\exist)"), std::wstring::npos) << errors.texts[0];
        EXPECT_NE(errors.texts[0].find(L"0x80070002"), std::wstring::npos) << errors.texts[0];
        // The window exists, without a shell item, and is never shown; no
        // second attempt; the base window stays until something closes it.
        ASSERT_NE(base->RootForm(), nullptr);
        EXPECT_EQ(base->RootForm()->Namespace, nullptr);
        EXPECT_FALSE(base->RootForm()->Visible());
        EXPECT_FALSE(base->IdleSlot());
        ui::Application().DoIdle();
        EXPECT_EQ(errors.texts.size(), 1u);
        EXPECT_FALSE(TakeQuitMessage());
        EXPECT_TRUE(IsWindowVisible(base->Handle()));
    }
    EXPECT_EQ(folder::TShellObject::LiveCount(), liveBefore);
}

// A parse that takes as long as the test likes, as one of a server that is
// not there takes as long as the network does.
HANDLE ParseGate() {
    static HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return gate;
}
shell::UniquePidl HeldBackParse(const std::wstring& path) {
    WaitForSingleObject(ParseGate(), 30'000);
    return shell::ParseFromDesktop(path);
}

TEST(BaseForm, AClickOrEscapeWhileTheRootIsBeingFoundEndsTheRunAtOnce) {
    ResetEvent(ParseGate());
    for (UINT input : {WM_LBUTTONUP, WM_KEYDOWN}) {
        ScopedBaseForm base;
        base->ReadCommandLine(LR"(quince.exe \\no-such-server\share\*)");
        base->RootParse = &HeldBackParse;
        ui::Application().DoIdle();
        EXPECT_TRUE(base->ResolvingRoot());
        // The idle turn is waiting for the answer among the messages.
        if (input == WM_LBUTTONUP) PostMessageW(base->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(base->Handle(), input, input == WM_KEYDOWN ? VK_ESCAPE : 0, MAKELPARAM(5, 5));
        EXPECT_FALSE(ui::Application().DoIdle()) << "another turn is asked for while the root is not found";
        apptest::Pump(0);
        EXPECT_TRUE(TakeQuitMessage()) << input;
        EXPECT_TRUE(base->ResolvingRoot());
        // The root window was made meanwhile and never shown.
        ASSERT_NE(base->RootForm(), nullptr);
        EXPECT_FALSE(base->RootForm()->Visible());
    }
    // The abandoned threads finish alone, each freeing what it found.
    SetEvent(ParseGate());
}

TEST(BaseForm, ASlowRootOpensOnceItIsFoundAndOtherMessagesFlowMeanwhile) {
    ResetEvent(ParseGate());
    ScopedBaseForm base;
    base->ReadCommandLine(L"quince.exe \"" + TempDir() + L"\\*\"");
    base->RootParse = &HeldBackParse;
    ui::Application().DoIdle();
    // A timer message is handled meanwhile: nothing blocks the thread.
    static bool ticked;
    ticked = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ticked = true; });
    const ULONGLONG end = GetTickCount64() + 5000;
    while (!ticked && GetTickCount64() < end) {
        apptest::Pump(0);
        ui::Application().DoIdle();
    }
    KillTimer(nullptr, timer);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(base->ResolvingRoot());
    ASSERT_NE(base->RootForm(), nullptr);
    EXPECT_FALSE(base->RootForm()->Visible());
    SetEvent(ParseGate());
    IdleUntilRootFound(*base.form);
    ASSERT_NE(base->RootForm(), nullptr);
    EXPECT_TRUE(base->RootForm()->Visible());
    EXPECT_FALSE(TakeQuitMessage());
}
