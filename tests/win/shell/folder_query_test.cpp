// Folder questions answered by scripted folders: child probes, the folder
// test and the Control Panel rule.
#include <gtest/gtest.h>

#include "fake_folder.h"
#include "shell/folder_items.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"

using namespace shell;
using shell_test::IsControlPanelItem;
using shell_test::FakeFolder;
using shell_test::MakeFake;

namespace {

// Sets a known error mode for a test and puts the old one back.
class KnownErrorMode {
public:
    static constexpr UINT kMode = SEM_NOOPENFILEERRORBOX;
    KnownErrorMode() : previous_(SetErrorMode(kMode)) {}
    ~KnownErrorMode() { SetErrorMode(previous_); }

private:
    UINT previous_;
};

// A parsing name inside the Control Panel, whatever this system calls it.
std::wstring ControlPanelChildName() {
    const std::wstring mask = ControlPanelMask(GetSpecialFolderPath(CSIDL_CONTROLS));
    return mask.substr(0, mask.size() - 1) + L"{Quince Fake Applet}";
}

Microsoft::WRL::ComPtr<FakeFolder> NamedFolder(const std::wstring& parsingName) {
    auto folder = MakeFake<FakeFolder>();
    folder->displayName = [parsingName](PCUITEMID_CHILD, SHGDNF, STRRET* out) {
        return shell_test::WideName(parsingName.c_str(), out);
    };
    return folder;
}

Microsoft::WRL::ComPtr<FakeFolder> ChildFolder(int items) {
    auto child = MakeFake<FakeFolder>();
    child->items = items;
    return child;
}

}  // namespace

TEST(HasChildItems, AnswersFromOneProbe) {
    KnownErrorMode known;
    EXPECT_FALSE(HasChildItems(nullptr, SHCONTF_FOLDERS));
    EXPECT_EQ(GetErrorMode(), KnownErrorMode::kMode);

    auto full = ChildFolder(3);
    EXPECT_TRUE(HasChildItems(full.Get(), SHCONTF_FOLDERS));
    // Critical-error boxes are off while the folder is asked, and the
    // caller's mode is back afterwards.
    EXPECT_EQ(full->errorModeInEnum, static_cast<UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(full->errorModeInNext, static_cast<UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(GetErrorMode(), KnownErrorMode::kMode);

    auto emptyNext = ChildFolder(0);
    EXPECT_FALSE(HasChildItems(emptyNext.Get(), SHCONTF_FOLDERS));
    EXPECT_EQ(GetErrorMode(), KnownErrorMode::kMode);

    auto enumFalse = ChildFolder(1);  // S_FALSE: nothing to list, enumerator or not
    enumFalse->enumResult = S_FALSE;
    EXPECT_FALSE(HasChildItems(enumFalse.Get(), SHCONTF_FOLDERS));
    enumFalse->giveEnumerator = false;
    EXPECT_FALSE(HasChildItems(enumFalse.Get(), SHCONTF_FOLDERS));

    auto enumFails = ChildFolder(1);
    enumFails->enumResult = E_ACCESSDENIED;
    enumFails->giveEnumerator = false;
    EXPECT_FALSE(HasChildItems(enumFails.Get(), SHCONTF_FOLDERS));

    auto noEnumerator = ChildFolder(1);  // S_OK without an enumerator
    noEnumerator->giveEnumerator = false;
    EXPECT_FALSE(HasChildItems(noEnumerator.Get(), SHCONTF_FOLDERS));

    auto nextFails = ChildFolder(1);
    nextFails->nextResult = E_FAIL;
    EXPECT_FALSE(HasChildItems(nextFails.Get(), SHCONTF_FOLDERS));
    EXPECT_EQ(GetErrorMode(), KnownErrorMode::kMode);
}

TEST(HasChildItems, FreesTheProbedItem) {
    shell_test::MallocSpyScope scope;
    ASSERT_TRUE(scope.registered()) << "CoRegisterMallocSpy refused";
    auto full = ChildFolder(2);
    EXPECT_TRUE(HasChildItems(full.Get(), SHCONTF_NONFOLDERS));
    EXPECT_EQ(scope.spy().allocations, 1);
    EXPECT_TRUE(scope.spy().outstanding.empty());
}

TEST(ListFolderItems, ListsFromTheProbesOwnEnumeration) {
    auto folder = NamedFolder(L"C:\\quince\\a.txt");
    folder->items = 3;
    shell::TFolderQuery query;
    query.folder = folder.Get();
    query.flags = SHCONTF_NONFOLDERS;
    query.mask = L"*";
    // The folder is enumerated once, and the item the probe took is listed.
    EXPECT_EQ(ListFolderItems(query).size(), 3u);
    EXPECT_EQ(folder->enumCalls, 1);
    EXPECT_EQ(folder->errorModeInEnum, static_cast<UINT>(SEM_FAILCRITICALERRORS));

    // What the probe finds empty or cannot enumerate lists nothing, no error.
    for (HRESULT enumResult : {S_FALSE, E_ACCESSDENIED}) {
        auto refusing = NamedFolder(L"C:\\quince\\a.txt");
        refusing->items = 2;
        refusing->enumResult = enumResult;
        query.folder = refusing.Get();
        EXPECT_TRUE(ListFolderItems(query).empty()) << enumResult;
        EXPECT_EQ(refusing->enumCalls, 1);
    }
    auto empty = NamedFolder(L"C:\\quince\\a.txt");
    query.folder = empty.Get();
    EXPECT_TRUE(ListFolderItems(query).empty());
}

TEST(IsFolderItem, FolderAttributeDecides) {
    auto item = shell_test::MakeList({8});
    auto folder = NamedFolder(L"C:\\quince\\plain");
    folder->attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
    EXPECT_TRUE(IsFolderItem(folder.Get(), shell_test::AsPidl(item)));
    EXPECT_EQ(folder->bindCalls, 0);  // no Control Panel item: never bound

    folder->attributes = SFGAO_FILESYSTEM;
    EXPECT_FALSE(IsFolderItem(folder.Get(), shell_test::AsPidl(item)));

    // A folder that refuses the item leaves the attribute word untouched;
    // that is no answer, and certainly not "folder".
    folder->attributes = SFGAO_FOLDER;
    folder->attributesResult = E_FAIL;
    EXPECT_FALSE(IsFolderItem(folder.Get(), shell_test::AsPidl(item)));
}

// Only the desktop gets the "ask the parent" treatment, and only for deeper
// lists.
TEST(IsFolderItem, DeepListsAreAskedOfTheFolderGiven) {
    auto deep = shell_test::MakeList({8, 10});
    auto folder = NamedFolder(L"C:\\quince\\plain");
    folder->attributes = SFGAO_FOLDER;
    EXPECT_TRUE(IsFolderItem(folder.Get(), shell_test::AsPidl(deep)));
    EXPECT_EQ(folder->attributeListCount, 2);
}

TEST(IsFolderItem, ControlPanelItemsMustListSomething) {
    const std::wstring name = ControlPanelChildName();
    auto item = shell_test::MakeList({8});

    auto claimsFolder = NamedFolder(name);
    claimsFolder->attributes = SFGAO_FOLDER;
    claimsFolder->child = ChildFolder(0);
    EXPECT_FALSE(IsFolderItem(claimsFolder.Get(), shell_test::AsPidl(item)));
    EXPECT_EQ(claimsFolder->bindCalls, 1);

    auto deniesFolder = NamedFolder(name);
    deniesFolder->attributes = 0;
    deniesFolder->child = ChildFolder(1);
    EXPECT_TRUE(IsFolderItem(deniesFolder.Get(), shell_test::AsPidl(item)));

    auto unbindable = NamedFolder(name);
    unbindable->attributes = SFGAO_FOLDER;
    EXPECT_FALSE(IsFolderItem(unbindable.Get(), shell_test::AsPidl(item)));
}

TEST(ControlPanel, MaskIsTheDirectoryPartAndAStar) {
    EXPECT_EQ(ControlPanelMask(L"::{21EC2020-3AEA-1069-A2DD-08002B30309D}"), L"::*");
    EXPECT_EQ(ControlPanelMask(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{21EC2020-3AEA-1069-A2DD-08002B30309D}"),
              L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::*");
    EXPECT_EQ(ControlPanelMask(L"C:\\Windows\\Control"), L"C:\\Windows*");
    EXPECT_EQ(ControlPanelMask(L"C:\\Control"), L"C:\\*");
    EXPECT_EQ(ControlPanelMask(L"\\Control"), L"\\*");
    EXPECT_EQ(ControlPanelMask(L"\\\\Control"), L"\\\\*");
    EXPECT_EQ(ControlPanelMask(L"Control"), L"*");
    // Wildcard characters in the name stand for themselves.
    EXPECT_EQ(ControlPanelMask(L"C:\\a*b?[c]\\x"), L"C:\\a[*]b[?][[]c]*");
}

TEST(ControlPanel, ItemsAreRecognisedByParsingName) {
    auto item = shell_test::MakeList({8});
    EXPECT_TRUE(IsControlPanelItem(NamedFolder(ControlPanelChildName()).Get(), shell_test::AsPidl(item)));
    EXPECT_FALSE(IsControlPanelItem(NamedFolder(L"C:\\users").Get(), shell_test::AsPidl(item)));
    EXPECT_FALSE(IsControlPanelItem(MakeFake<FakeFolder>().Get(), shell_test::AsPidl(item)));  // refuses
}

TEST(SysIcon, FlagsPerKind) {
    EXPECT_EQ(SysIconFlags(false, false), 0x4009u);
    EXPECT_EQ(SysIconFlags(true, false), 0x4008u);
    EXPECT_EQ(SysIconFlags(false, true), 0x400Bu);
    EXPECT_EQ(SysIconFlags(true, true), 0x400Au);
}
