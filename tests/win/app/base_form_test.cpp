// The base window: command line, bounds and opacity, the clicks that end the
// run, and opening the root menu on the first idle turn.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include "folder/folder_form.h"
#include "folder/shell_object.h"
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

TEST(BaseForm, FirstIdleTurnOpensTheRootMenuOnceAtThePointer) {
    long liveBefore = folder::TShellObject::LiveCount();
    {
        ScopedBaseForm base;
        base->ReadCommandLine(L"quince.exe \"" + TempDir() + L"\\*\" -IF");
        SetCursorPos(300, 200);
        EXPECT_TRUE(base->IdleSlot().Holds(&app::TBaseForm::AppEventsIdleAtBoot));
        ui::Application().DoIdle();
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

TEST(BaseForm, UnparsableRootIsReportedNamingThePathAndTheRunGoesOn) {
    ReportedErrors errors;
    long liveBefore = folder::TShellObject::LiveCount();
    {
        ScopedBaseForm base;
        base->ReadCommandLine(LR"(quince.exe C:\does\not\exist\*)");
        ui::Application().DoIdle();
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
