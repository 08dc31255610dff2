// Renaming an entry through the window's own dialog, reached through the
// context menu's "rename" command: what reaches the file system, what the
// user is told, and that the run ends after every case.
#include <windows.h>

#include <string>
#include <vector>

#include "command_fixture.h"
#include "shell/shell_error.h"
#include "ui/input_dialog.h"

using namespace folder_test;

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

class Rename : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        tree_.AddFolder(L"dir");
        tree_.AddFile(L"dir\\b.txt");
        tree_.AddFile(L"dir\\taken.txt");
        root_ = RootObject(tree_.Path(L"dir"));
        AddSelected(*root_, L"b.txt");
    }

    // Chooses "rename" in the context menu, then lets act drive the dialog.
    void RenameWith(const std::function<void(HWND dialog, HWND edit)>& act) {
        Track(nullptr, [&](int& state) {
            if (state == 0 && Menu()) {
                ChooseRow(FakeContextMenu::kRename);
                state = 1;
            } else if (state == 1 && Dialog()) {
                initial_ = ui_test::TextOf(GetDlgItem(Dialog(), ui::kInputQueryEditId));
                act(Dialog(), GetDlgItem(Dialog(), ui::kInputQueryEditId));
                return true;
            }
            return false;
        });
        // Handled by the window: the shell is never asked, the base window
        // stays, and the run still ends.
        EXPECT_TRUE(fake_->invokedOffsets.empty());
        EXPECT_TRUE(Base().Visible());
        EXPECT_FALSE(form_->Visible());
        EXPECT_EQ(Base().EndOfRunInstalls, 1);
        EXPECT_FALSE(Base().LastInstallDelayed);
    }
    // Replaces the edit's text, as typing would, and confirms.
    void RenameTo(const std::wstring& name) {
        RenameWith([&](HWND, HWND edit) {
            SetWindowTextW(edit, name.c_str());
            ui_test::PressKey(edit, VK_RETURN);
        });
    }
    void ExpectUntouched() {
        EXPECT_EQ(NamesIn(tree_.Path(L"dir")), (std::vector<std::wstring>{L"b.txt", L"taken.txt"}));
        EXPECT_EQ(NamesIn(tree_.root()), std::vector<std::wstring>{L"dir"});
    }

    shell_test::TempTree tree_;
    std::unique_ptr<folder::TShellObject> root_;
    std::wstring initial_;
};

}  // namespace

TEST_F(Rename, ConfirmingRenamesTheFileInItsFolder) {
    RenameWith([](HWND, HWND edit) {
        ui_test::TypeText(edit, L"新しい & 名前.txt");
        ui_test::PressKey(edit, VK_RETURN);
    });
    EXPECT_EQ(initial_, L"b.txt");  // the file name with its extension
    EXPECT_FALSE(Exists(tree_.Path(L"dir\\b.txt")));
    EXPECT_TRUE(Exists(tree_.Path(L"dir\\新しい & 名前.txt")));
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Rename, CancellingRenamesNothing) {
    RenameWith([](HWND, HWND edit) {
        ui_test::TypeText(edit, L"other.txt");
        ui_test::PressKey(edit, VK_ESCAPE);
    });
    ExpectUntouched();
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Rename, AnUnchangedNameDoesNothing) {
    RenameWith([](HWND, HWND edit) { ui_test::PressKey(edit, VK_RETURN); });
    ExpectUntouched();
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Rename, InvalidNamesAreRefusedWithAReason) {
    struct Case {
        const wchar_t* name;
        const wchar_t* says;
    };
    const std::wstring reserved = L"ファイル名に次の文字は使えません: \\ / : * ? \" < > |";
    for (const Case& c : {Case{L"", L"名前を入力してください。"}, Case{L"   ", L"空白とピリオド"}, Case{L"..", L"空白とピリオド"},
                          Case{L"..\\x.txt", reserved.c_str()}, Case{L"a/b", reserved.c_str()},
                          Case{L"C:b.txt", reserved.c_str()}, Case{L"*.txt", reserved.c_str()},
                          Case{L"b?.txt", reserved.c_str()}, Case{L"\"b\"", reserved.c_str()},
                          Case{L"<b>", reserved.c_str()}, Case{L"a|b", reserved.c_str()},
                          Case{L"a\tb", L"制御文字"}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        Base().EndOfRunInstalls = 0;
        boxes_.clear();
        RenameTo(c.name);
        ExpectUntouched();
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].first, L"名前の変更");
        EXPECT_NE(boxes_[0].second.find(c.says), std::wstring::npos) << testing::PrintToString(boxes_[0].second);
    }
}

TEST_F(Rename, ANameAlreadyTakenIsReportedWithTheSystemsReason) {
    RenameTo(L"taken.txt");
    ExpectUntouched();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].first, L"名前の変更");
    const std::wstring& text = boxes_[0].second;
    EXPECT_NE(text.find(L"taken.txt"), std::wstring::npos);
    const std::wstring reason = shell::SystemMessage(HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    ASSERT_FALSE(reason.empty());
    EXPECT_NE(text.find(reason), std::wstring::npos) << testing::PrintToString(text);
}
