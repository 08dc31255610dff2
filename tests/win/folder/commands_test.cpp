// Running commands from a menu window: the hosting of a context menu whose
// submenu fills late, the verbs with special handling, the default command
// of a click and the fallback that opens what the menu cannot.
#include <windows.h>

#include <fstream>
#include <string>

#include "command_fixture.h"
#include "folder/shell_command_verb.h"
#include "ui/menu.h"

using namespace folder_test;

namespace {

std::wstring CurrentDirectory() {
    wchar_t buf[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buf);
    return buf;
}

// Puts the process's current directory back after a test.
struct KeepDirectory {
    std::wstring saved = CurrentDirectory();
    ~KeepDirectory() { SetCurrentDirectoryW(saved.c_str()); }
};

struct DrawCounter : ui::TObject {
    int rows = 0;
    void Draw(ui::TObject*, int, RECT, ui::TOwnerDrawState) { ++rows; }
};

// Temporary paths are ASCII here; the batch file is read in the ANSI code page.
std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

}  // namespace

TEST_F(CommandTest, ContextMenuHandlerFillsItsSubmenuAndDrawsItsItemsWhileTheMenuIsUp) {
    DrawCounter counter;
    AddEntry(*form_, L"row", nullptr);
    form_->FileView->OnDrawItem = {&counter, &DrawCounter::Draw};
    int itemsWhenOpen = -1;
    int rowsDrawnByRequest = -1;
    Track(nullptr, [&](int& state) {
        if (state == 0 && Menu()) {
            // A menu item the handler draws, and a row of our own list.
            DRAWITEMSTRUCT menuItem{};
            menuItem.CtlType = ODT_MENU;
            menuItem.hDC = GetDC(form_->Handle());
            SendMessageW(form_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem));
            ReleaseDC(form_->Handle(), menuItem.hDC);
            DRAWITEMSTRUCT row{};
            row.CtlType = ODT_LISTBOX;
            row.CtlID = static_cast<UINT>(GetDlgCtrlID(form_->FileView->Handle()));
            row.hwndItem = form_->FileView->Handle();
            row.hDC = GetDC(row.hwndItem);
            row.itemAction = ODA_DRAWENTIRE;
            row.rcItem = form_->FileView->ItemRect(0);
            const int rowsBefore = counter.rows;
            SendMessageW(form_->Handle(), WM_DRAWITEM, row.CtlID, reinterpret_cast<LPARAM>(&row));
            ReleaseDC(row.hwndItem, row.hDC);
            rowsDrawnByRequest = counter.rows - rowsBefore;
            // Open the submenu with the keyboard.
            ui_test::PressKey(form_->Handle(), VK_DOWN);
            ui_test::PressKey(form_->Handle(), VK_RIGHT);
            state = 1;
        } else if (state == 1 && Menu(1)) {
            itemsWhenOpen = GetMenuItemCount(fake_->submenu);
            // Its first item is selected as it opens: choose it.
            ui_test::PressKey(form_->Handle(), VK_RETURN);
            return true;
        }
        return false;
    });
    EXPECT_TRUE(fake_->submenuFilled);
    EXPECT_EQ(itemsWhenOpen, 1);
    EXPECT_EQ(fake_->queryFlags, static_cast<UINT>(CMF_EXPLORE | CMF_CANRENAME));
    // Only the menu's item reached the handler; our row drew itself.
    ASSERT_EQ(fake_->drawnTypes.size(), 1u);
    EXPECT_EQ(fake_->drawnTypes[0], static_cast<UINT>(ODT_MENU));
    EXPECT_EQ(rowsDrawnByRequest, 1);
    // The late-filled command was run by its offset, owned by the window.
    ASSERT_EQ(fake_->invokedOffsets.size(), 1u);
    EXPECT_EQ(fake_->invokedOffsets[0], static_cast<INT_PTR>(FakeContextMenu::kTarget));
    EXPECT_EQ(fake_->invokeOwner, form_->Handle());
    EXPECT_EQ(fake_->invokeShow, SW_SHOWNORMAL);
    EXPECT_FALSE(form_->Visible());
    EXPECT_FALSE(Base().Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 1);
    EXPECT_FALSE(Base().LastInstallDelayed);

    // Once the menu is gone the handler hears nothing more.
    const size_t heard = fake_->messages.size();
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fake_->submenu), 0);
    EXPECT_EQ(fake_->messages.size(), heard);
}

TEST_F(CommandTest, CancelledContextMenuRunsNothingAndLeavesTheRunToTheCaller) {
    Track(nullptr, [&](int&) {
        if (!Menu()) return false;
        ui_test::PressKey(form_->Handle(), VK_ESCAPE);
        return true;
    });
    EXPECT_TRUE(fake_->invokedOffsets.empty());
    EXPECT_TRUE(form_->Visible());
    EXPECT_TRUE(Base().Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 0);
    EXPECT_FALSE(Base().Idle);
}

TEST_F(CommandTest, SpecialVerbsAreKnownInAnyLetterCase) {
    KeepDirectory keep;
    auto root = RootObject(Tree().Path(L"a"));
    AddSelected(*root, L"sub");
    struct Case {
        const char* verb;
        bool menusStay, delayed, pauses;
    };
    for (const Case& c : {Case{"Properties", false, true, false}, Case{"RUNAS", true, false, false},
                          Case{"Eject", false, false, true}, Case{"copy", false, false, false}}) {
        SCOPED_TRACE(c.verb);
        fake_->verbs[FakeContextMenu::kOpen] = c.verb;
        Base().Show();
        const int installs = Base().EndOfRunInstalls;
        const ULONGLONG start = GetTickCount64();
        Track(nullptr, [&](int&) {
            if (!Menu()) return false;
            ChooseRow(1);
            return true;
        });
        const ULONGLONG took = GetTickCount64() - start;
        EXPECT_EQ(fake_->invokedOffsets.back(), static_cast<INT_PTR>(FakeContextMenu::kOpen));
        EXPECT_EQ(form_->Visible(), c.menusStay);
        EXPECT_FALSE(Base().Visible());
        EXPECT_EQ(Base().EndOfRunInstalls, installs + 1);
        EXPECT_EQ(Base().LastInstallDelayed, c.delayed);
        if (c.pauses) EXPECT_GE(took, 950u);
        else EXPECT_LT(took, 900u);
    }
}

TEST_F(CommandTest, OpenRunsInTheItemsFolderAndPutsTheDirectoryBack) {
    KeepDirectory keep;
    auto root = RootObject(Tree().Path(L"a"));
    folder::TShellObject* sub = AddSelected(*root, L"sub");
    fake_->verbs[FakeContextMenu::kOpen] = "OPEN";
    std::wstring during;
    fake_->onInvoke = [&] { during = CurrentDirectory(); };
    const std::wstring before = CurrentDirectory();
    Track(sub, [&](int&) {
        if (!Menu()) return false;
        ChooseRow(1);
        return true;
    });
    // The fake ran it; the directory was the folder's meanwhile.
    ASSERT_EQ(fake_->invokedOffsets.size(), 1u);
    EXPECT_EQ(during, Tree().Path(L"a\\sub"));
    EXPECT_EQ(CurrentDirectory(), before);
    EXPECT_EQ(Base().EndOfRunInstalls, 1);
}

TEST_F(CommandTest, TheWindowAnswersForItsCommandInterfaceWithoutCounting) {
    Microsoft::WRL::ComPtr<folder::IShellCommandVerb> verb;
    ASSERT_EQ(form_->QueryInterface(folder::IID_IShellCommandVerb, reinterpret_cast<void**>(verb.GetAddressOf())), S_OK);
    EXPECT_EQ(static_cast<folder::IShellCommandVerb*>(form_.get()), verb.Get());
    Microsoft::WRL::ComPtr<IUnknown> unknown;
    EXPECT_EQ(form_->QueryInterface(IID_PPV_ARGS(&unknown)), S_OK);
    Microsoft::WRL::ComPtr<IContextMenu> other;
    EXPECT_EQ(form_->QueryInterface(IID_PPV_ARGS(&other)), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    // Releasing every reference leaves the window alone.
    verb.Reset();
    unknown.Reset();
    EXPECT_TRUE(IsWindow(form_->Handle()));
    EXPECT_EQ(folder::TFolderForm::LiveCount(), 1);
}

// A click on a batch file: its context menu cannot open it under Wine, the
// shell does, and the run ends as after any command.
TEST_F(CommandTest, ClickOnABatchFileRunsItAndEndsTheRun) {
    KeepDirectory keep;
    shell_test::TempTree tree;
    const std::wstring marker = tree.Path(L"marker.txt");
    {
        // The marker appears whole: written aside, then moved into place.
        std::ofstream script(Narrow(tree.Path(L"run.cmd")), std::ios::binary);
        const std::string tmp = Narrow(tree.Path(L"marker.tmp")), done = Narrow(marker);
        script << "@echo off\r\necho ran> \"" << tmp << "\"\r\nmove /y \"" << tmp << "\" \"" << done << "\" >nul\r\n";
    }
    auto root = RootObject(tree.root());
    AddSelected(*root, L"run.cmd");
    ShowKeepingSelection();
    const std::wstring before = CurrentDirectory();
    form_->MenuItemClick(&form_->FileList.Item(0));

    EXPECT_FALSE(form_->Visible());
    EXPECT_FALSE(Base().Visible());
    EXPECT_TRUE(Base().Idle);
    EXPECT_EQ(Base().EndOfRunInstalls, 1);
    EXPECT_EQ(CurrentDirectory(), before);
    const ULONGLONG end = GetTickCount64() + 15000;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    bool ran = false;
    while (!ran && GetTickCount64() < end) {
        ran = GetFileAttributesExW(marker.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > 0;
        if (!ran) PumpFor(50);
    }
    EXPECT_TRUE(ran) << "the batch file did not run";
}

TEST_F(CommandTest, ClickOnAnEntryWithoutShellItemClosesTheBaseWindow) {
    AddEntry(*form_, L"(なし)", nullptr);
    ShowKeepingSelection();
    ui::TMenuItem& item = form_->FileList.Item(0);
    form_->MenuItemClick(&item);
    EXPECT_FALSE(Base().Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 0);
    // The menus themselves are left to the end of the run.
    EXPECT_TRUE(form_->Visible());
}
