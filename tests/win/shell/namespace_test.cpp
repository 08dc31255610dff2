// Real shell folders under Wine: a temporary tree, the desktop, This PC and
// the Control Panel.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include "shell/shell_error.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"
#include "test_support.h"

using namespace shell;
using shell_test::IsControlPanelItem;
using Microsoft::WRL::ComPtr;

namespace {

const wchar_t kDrivesName[] = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

ComPtr<IShellFolder> BindAbsolute(LPCITEMIDLIST absolute) {
    if (PidlCount(absolute) == 0) return DesktopFolder;
    ComPtr<IShellFolder> folder;
    DesktopFolder->BindToObject(absolute, nullptr, IID_PPV_ARGS(&folder));
    return folder;
}

UniquePidl Special(int csidl) {
    LPITEMIDLIST pidl = nullptr;
    SHGetFolderLocation(nullptr, csidl, nullptr, 0, &pidl);
    return UniquePidl(pidl);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

std::string Narrow(const std::wstring& text) { return core::Error(text).what(); }

class ShellTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tree_ = std::make_unique<shell_test::TempTree>();
        tree_->AddFile(L"plain.txt");
        tree_->AddFile(L"a & b.txt");
        tree_->AddFile(L"name with  blanks.txt");
        tree_->AddFile(L"secret.txt", FILE_ATTRIBUTE_HIDDEN);
        tree_->AddFolder(L"Sub & Folder");
        tree_->AddFile(L"Sub & Folder\\inner.txt");
        tree_->AddFolder(L"Sub & Folder\\deeper");
        tree_->AddFolder(L"empty");
        tree_->AddFolder(L"hidden only");
        tree_->AddFile(L"hidden only\\ghost.txt", FILE_ATTRIBUTE_HIDDEN);
    }
    static void TearDownTestSuite() { tree_.reset(); }

    void SetUp() override {
        rootAbs_ = PathToPidl(DesktopFolder.Get(), tree_->root());
        root_ = BindAbsolute(rootAbs_.get());
        ASSERT_NE(root_, nullptr);
    }

    UniquePidl Child(const std::wstring& name) { return UniquePidl(PathToPidl(root_.Get(), name)); }
    UniquePidl Absolute(const std::wstring& relative) {
        return UniquePidl(PathToPidl(DesktopFolder.Get(), tree_->Path(relative)));
    }
    ComPtr<IShellFolder> Folder(const std::wstring& relative) { return BindAbsolute(Absolute(relative).get()); }

    static std::unique_ptr<shell_test::TempTree> tree_;
    UniquePidl rootAbs_;
    ComPtr<IShellFolder> root_;
};

std::unique_ptr<shell_test::TempTree> ShellTree::tree_;

}  // namespace

TEST_F(ShellTree, PathsBecomeListsAndNamesComeBack) {
    EXPECT_GT(PidlCount(rootAbs_.get()), 1);
    EXPECT_TRUE(SameText(GetParsingName(DesktopFolder.Get(), rootAbs_.get()), tree_->root()))
        << Narrow(GetParsingName(DesktopFolder.Get(), rootAbs_.get()));

    for (const wchar_t* name : {L"plain.txt", L"a & b.txt", L"name with  blanks.txt", L"secret.txt",
                                L"Sub & Folder", L"empty"}) {
        UniquePidl child = Child(name);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(PidlCount(child.get()), 1);
        EXPECT_TRUE(SameText(GetParsingName(root_.Get(), child.get()), tree_->Path(name)))
            << Narrow(GetParsingName(root_.Get(), child.get()));
        const std::wstring shown = GetInFolderName(root_.Get(), child.get());
        // Whether ".txt" shows depends on the user's "hide extensions" choice.
        const std::wstring stem = std::wstring(name).substr(0, std::wstring(name).rfind(L".txt"));
        EXPECT_EQ(shown.rfind(stem, 0), 0u) << Narrow(shown);
    }

    // A relative path of two levels gives a two-item list.
    UniquePidl deeper = Child(L"Sub & Folder\\deeper");
    EXPECT_EQ(PidlCount(deeper.get()), 2);
}

TEST_F(ShellTree, UnparsablePathRaisesWithPathAndCode) {
    const std::wstring missing = tree_->Path(L"does\\not\\exist");
    try {
        (void)PathToPidl(DesktopFolder.Get(), missing);
        FAIL() << "no error raised";
    } catch (const ShellError& e) {
        EXPECT_TRUE(FAILED(e.Result()));
        EXPECT_EQ(e.Message().rfind(L"フォルダー \"" + missing + L"\" を開けません。\n\n", 0), 0u) << e.what();
        EXPECT_NE(e.Message().find(L"(PathToPidl 0x"), std::wstring::npos) << e.what();
        std::cout << "[ measured ] " << e.what() << '\n';
    }
}

TEST_F(ShellTree, FolderItemsOpenAsSubMenus) {
    EXPECT_TRUE(IsFolderItem(root_.Get(), Child(L"Sub & Folder").get()));
    EXPECT_TRUE(IsFolderItem(root_.Get(), Child(L"empty").get()));
    EXPECT_FALSE(IsFolderItem(root_.Get(), Child(L"plain.txt").get()));
    EXPECT_FALSE(IsFolderItem(root_.Get(), Child(L"a & b.txt").get()));

    // Absolute lists relative to the desktop are answered by their parent.
    EXPECT_TRUE(IsFolderItem(DesktopFolder.Get(), Absolute(L"Sub & Folder").get()));
    EXPECT_TRUE(IsFolderItem(DesktopFolder.Get(), Absolute(L"Sub & Folder\\deeper").get()));
    EXPECT_FALSE(IsFolderItem(DesktopFolder.Get(), Absolute(L"Sub & Folder\\inner.txt").get()));
    EXPECT_FALSE(IsFolderItem(DesktopFolder.Get(), Absolute(L"name with  blanks.txt").get()));
}

TEST_F(ShellTree, ChildProbeRespectsFlags) {
    constexpr DWORD kFoldersAndFiles = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    constexpr DWORD kAll = kFoldersAndFiles | SHCONTF_INCLUDEHIDDEN;
    const UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_TRUE(HasChildItems(root_.Get(), kFoldersAndFiles));
    EXPECT_TRUE(HasChildItems(root_.Get(), SHCONTF_FOLDERS));
    EXPECT_FALSE(HasChildItems(Folder(L"empty").Get(), kAll));
    EXPECT_FALSE(HasChildItems(Folder(L"hidden only").Get(), kFoldersAndFiles));
    EXPECT_TRUE(HasChildItems(Folder(L"hidden only").Get(), kAll));
    EXPECT_FALSE(HasChildItems(Folder(L"hidden only").Get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN));
    EXPECT_TRUE(HasChildItems(Folder(L"Sub & Folder").Get(), SHCONTF_NONFOLDERS));
    EXPECT_EQ(GetErrorMode(), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
    SetErrorMode(before);
}

TEST_F(ShellTree, IconsAndLibraries) {
    UniquePidl file = Absolute(L"plain.txt");
    UniquePidl folder = Absolute(L"Sub & Folder");
    EXPECT_GE(GetSysIconIndex(file.get(), false, false), 0);
    EXPECT_GE(GetSysIconIndex(file.get(), true, false), 0);
    EXPECT_GE(GetSysIconIndex(folder.get(), false, false), 0);
    EXPECT_GE(GetSysIconIndex(folder.get(), false, true), 0);
    EXPECT_GE(GetSysIconIndex(rootAbs_.get(), false, false), 0);

    ComPtr<IShellItem> item;
    ASSERT_HRESULT_SUCCEEDED(SHCreateShellItem(nullptr, nullptr, folder.get(), &item));
    EXPECT_FALSE(IsShellLibrary(item.Get()));
}

TEST(SpecialFolders, ParsingNames) {
    EXPECT_TRUE(SameText(GetSpecialFolderPath(CSIDL_DRIVES), kDrivesName)) << Narrow(GetSpecialFolderPath(CSIDL_DRIVES));
    const std::wstring controls = GetSpecialFolderPath(CSIDL_CONTROLS);
    std::cout << "[ measured ] Control Panel parsing name: " << Narrow(controls) << '\n';
    std::cout << "[ measured ] Control Panel mask: " << Narrow(ControlPanelMask(controls)) << '\n';
    std::cout << "[ measured ] Desktop parsing name: " << Narrow(GetSpecialFolderPath(CSIDL_DESKTOP)) << '\n';
    EXPECT_EQ(controls.rfind(L"::{", 0), 0u);
    // A folder id the system does not have gives no name rather than the
    // name of whatever the failed lookup left behind.
    EXPECT_EQ(GetSpecialFolderPath(0x7E), L"");
}

TEST(SpecialFolders, DesktopItemsAskedOfTheDesktop) {
    UniquePidl drives = Special(CSIDL_DRIVES);
    ASSERT_NE(drives, nullptr);
    ASSERT_EQ(PidlCount(drives.get()), 1);
    EXPECT_TRUE(IsFolderItem(DesktopFolder.Get(), drives.get()));
    EXPECT_TRUE(HasChildItems(BindAbsolute(drives.get()).Get(), SHCONTF_FOLDERS));
    EXPECT_TRUE(HasChildItems(DesktopFolder.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));

    UniquePidl drive(PathToPidl(DesktopFolder.Get(), L"C:\\"));
    ASSERT_EQ(PidlCount(drive.get()), 2);
    EXPECT_TRUE(IsFolderItem(DesktopFolder.Get(), drive.get()));
    EXPECT_FALSE(IsControlPanelItem(DesktopFolder.Get(), drive.get()));

    // The Control Panel lies inside its own mask; it opens as a sub-menu
    // because it lists applets.
    UniquePidl controls = Special(CSIDL_CONTROLS);
    ASSERT_NE(controls, nullptr);
    EXPECT_TRUE(IsControlPanelItem(DesktopFolder.Get(), controls.get()));
    EXPECT_TRUE(IsFolderItem(DesktopFolder.Get(), controls.get()));
}

TEST(SpecialFolders, ControlPanelItems) {
    UniquePidl controls = Special(CSIDL_CONTROLS);
    ASSERT_NE(controls, nullptr);
    ComPtr<IShellFolder> panel = BindAbsolute(controls.get());
    ASSERT_NE(panel, nullptr);

    // Windows names applets "::{Control Panel}\\::{applet}" or the like,
    // inside the mask. Wine's Control Panel answers a parsing-name question
    // about an applet with its display name, so there no applet counts as a
    // Control Panel item (and none opens as a sub-menu).
    const bool wine = shell_test::RunningOnWine();
    ComPtr<IEnumIDList> items;
    ASSERT_EQ(panel->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items), S_OK);
    int seen = 0;
    LPITEMIDLIST raw = nullptr;
    while (seen < 50 && items->Next(1, &raw, nullptr) == S_OK) {
        UniquePidl item(raw);
        ++seen;
        const std::wstring name = GetInFolderName(panel.Get(), item.get());
        const std::wstring parsing = GetParsingName(panel.Get(), item.get());
        if (wine) {
            EXPECT_EQ(parsing, name);
            EXPECT_FALSE(IsControlPanelItem(panel.Get(), item.get())) << Narrow(parsing);
            EXPECT_FALSE(IsFolderItem(panel.Get(), item.get())) << Narrow(parsing);
        } else {
            EXPECT_TRUE(IsControlPanelItem(panel.Get(), item.get())) << Narrow(parsing);
        }
        if (seen <= 3) {
            UniquePidl absolute(PidlConcat(controls.get(), item.get()));
            std::cout << "[ measured ] applet \"" << Narrow(name) << "\" parsing name \"" << Narrow(parsing)
                      << "\", through the desktop \"" << Narrow(GetParsingName(DesktopFolder.Get(), absolute.get()))
                      << "\" folder=" << IsFolderItem(panel.Get(), item.get()) << '\n';
        }
    }
    EXPECT_GT(seen, 0);
    std::cout << "[ measured ] Control Panel lists " << seen << " items\n";

    shell_test::TempTree tree;
    tree.AddFile(L"x.txt");
    UniquePidl file(PathToPidl(DesktopFolder.Get(), tree.Path(L"x.txt")));
    EXPECT_FALSE(IsControlPanelItem(DesktopFolder.Get(), file.get()));
}
