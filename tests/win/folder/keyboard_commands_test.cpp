// Explorer's keys on the selected row: Delete and F2 run their verbs as a
// command of the window, the keyboard's context-menu message needs a row,
// and Shift asks for the extended verbs (Wine's shell has none to show, so
// the flag is checked where it reaches the menu's handler).
#include <windows.h>

#include <string>

#include "command_fixture.h"
#include "folder/keyboard_commands.h"
#include "ui/input_dialog.h"

using namespace folder_test;

TEST_F(CommandTest, ShiftAddsTheExtendedVerbsExceptAsPartOfShiftF10) {
    struct Case {
        std::initializer_list<int> held;
        UINT flags;
    };
    const UINT plain = CMF_EXPLORE | CMF_CANRENAME;
    for (const Case& c : {Case{{}, plain}, Case{{VK_SHIFT}, plain | CMF_EXTENDEDVERBS},
                          Case{{VK_SHIFT, VK_F10}, plain}, Case{{VK_CONTROL}, plain}}) {
        fake_->queryFlags = 0;
        HeldKeys held(c.held);
        Track(nullptr, [&](int&) {
            if (!Menu()) return false;
            ui_test::PressKey(form_->Handle(), VK_ESCAPE);
            return true;
        });
        EXPECT_EQ(fake_->queryFlags, c.flags) << "keys held: " << c.held.size();
    }
    EXPECT_TRUE(fake_->invokedOffsets.empty());
}

TEST_F(CommandTest, DeleteRunsTheMenusDeleteCommandAndEndsTheRun) {
    fake_->verbs[FakeContextMenu::kRename] = "Delete";  // any letter case
    ShowKeepingSelection();
    folder::TRowKeys(form_->Commands(), *form_->FileView).RunMenuVerb(fake_.Get(), nullptr, L"delete");
    ASSERT_EQ(fake_->invokedOffsets.size(), 1u);
    EXPECT_EQ(fake_->invokedOffsets[0], static_cast<INT_PTR>(FakeContextMenu::kRename));
    EXPECT_EQ(fake_->invokeOwner, form_->Handle());
    // As any command: menus closed, base window hidden, the run's end installed.
    EXPECT_FALSE(form_->Visible());
    EXPECT_FALSE(Base().Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 1);

    // A menu that lists no such command is asked for the verb by name.
    fake_->verbs[FakeContextMenu::kRename] = "rename";
    folder::TRowKeys(form_->Commands(), *form_->FileView).RunMenuVerb(fake_.Get(), nullptr, L"delete");
    ASSERT_EQ(fake_->invokedOffsets.size(), 2u);
    EXPECT_EQ(fake_->invokedOffsets[1], -1);
    EXPECT_EQ(fake_->invokedVerbs[1], "delete");
}

TEST_F(CommandTest, TheKeyboardsContextMenuNeedsASelectedRowAndLeavesRightClicksAlone) {
    AddEntry(*form_, L"row", nullptr);
    ShowKeepingSelection();
    form_->FileView->SetItemIndex(-1);
    SendMessageW(form_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form_->FileView->Handle()),
                 MAKELPARAM(-1, -1));
    EXPECT_TRUE(form_->Visible());
    EXPECT_TRUE(Base().Visible());
    EXPECT_FALSE(Base().Idle);
    // A right click's message carries its point; the mouse handling has it.
    form_->FileView->SetItemIndex(0);
    EXPECT_FALSE(folder::TRowKeys(form_->Commands(), *form_->FileView).ContextMenu(MAKELPARAM(40, 40)));
    EXPECT_TRUE(Base().Visible());
    // The row has no shell item: no menu shows, and as after a right click
    // the run ends all the same.
    EXPECT_TRUE(folder::TRowKeys(form_->Commands(), *form_->FileView).ContextMenu(MAKELPARAM(-1, -1)));
    EXPECT_FALSE(Base().Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 0);
}

TEST_F(CommandTest, F2OpensTheRenameDialogForTheSelectedFile) {
    shell_test::TempTree tree;
    tree.AddFile(L"b.txt");
    auto root = RootObject(tree.root());
    AddSelected(*root, L"b.txt");
    ShowKeepingSelection();
    std::wstring offered;
    {
        ui_test::TimerDriver driver([&] {
            HWND dialog = Dialog();
            if (!dialog) return false;
            HWND edit = GetDlgItem(dialog, ui::kInputQueryEditId);
            offered = ui_test::TextOf(edit);
            SetWindowTextW(edit, L"c.txt");
            ui_test::PressKey(edit, VK_RETURN);
            return true;
        });
        SendMessageW(form_->FileView->Handle(), WM_KEYDOWN, VK_F2, 0);
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_EQ(offered, L"b.txt");
    EXPECT_NE(GetFileAttributesW(tree.Path(L"c.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(form_->Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 1);
    EXPECT_TRUE(boxes_.empty());
}
