// TShellObject on real shell folders: the desktop, a drive, the test tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "fake_folder.h"
#include "folder_test_support.h"
#include "shell/shell_error.h"
#include "shell/shell_utils.h"

using folder::TShellObject;
using Microsoft::WRL::ComPtr;
using namespace folder_test;

namespace {

std::vector<BYTE> ListBytes(LPCITEMIDLIST list) {
    return shell_test::Bytes(list, static_cast<size_t>(shell::PidlSize(list)));
}

std::vector<std::wstring> SortedNames(IShellFolder* folder) {
    std::vector<std::wstring> names;
    for (auto& list : Enumerate(folder)) names.push_back(NameIn(folder, list.get()));
    std::sort(names.begin(), names.end());
    return names;
}

struct CoTaskMemDeleter {
    void operator()(wchar_t* p) const noexcept { CoTaskMemFree(p); }
};

std::wstring ItemPath(IShellItem* item) {
    wchar_t* raw = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &raw))) return {};
    std::unique_ptr<wchar_t, CoTaskMemDeleter> owned(raw);
    return raw;
}

// The child invariants: its own absolute list is the parent's followed by
// the relative one, and it holds the parent's very folder object.
void ExpectChildOf(const TShellObject& parent, const TShellObject& child) {
    ASSERT_NE(child.RelID, nullptr);
    ASSERT_NE(child.AbsID, nullptr);
    EXPECT_NE(child.RelID, child.AbsID);
    EXPECT_EQ(shell::PidlCount(child.AbsID), shell::PidlCount(parent.AbsID) + shell::PidlCount(child.RelID));
    std::vector<BYTE> expected = ListBytes(parent.AbsID);
    expected.resize(expected.size() - 2);  // the parent's terminator
    const std::vector<BYTE> relative = ListBytes(child.RelID);
    expected.insert(expected.end(), relative.begin(), relative.end());
    EXPECT_EQ(ListBytes(child.AbsID), expected);
    EXPECT_NE(child.Item, nullptr);
    EXPECT_EQ(child.Parent.Get(), parent.Current.Get());
}

}  // namespace

TEST(ShellObject, DesktopRootHasTwoEmptyListsAndTheDesktopFolder) {
    const long live = TShellObject::LiveCount();
    {
        TShellObject desktop(nullptr, shell::GetDesktopPidl());
        EXPECT_EQ(TShellObject::LiveCount(), live + 1);
        EXPECT_EQ(shell::PidlSize(desktop.RelID), 2);
        EXPECT_EQ(shell::PidlSize(desktop.AbsID), 2);
        EXPECT_NE(desktop.RelID, desktop.AbsID);
        EXPECT_NE(desktop.Item, nullptr);
        EXPECT_EQ(desktop.Parent, nullptr);
        ASSERT_NE(desktop.Current, nullptr);
        // Whatever object the shell hands out, it lists what the desktop lists.
        EXPECT_EQ(SortedNames(desktop.Current.Get()), SortedNames(shell::DesktopFolder.Get()));

        auto items = Enumerate(desktop.Current.Get());
        ASSERT_FALSE(items.empty());
        TShellObject child(&desktop, std::move(items.front()));
        ExpectChildOf(desktop, child);
        EXPECT_EQ(ListBytes(child.AbsID), ListBytes(child.RelID));
    }
    EXPECT_EQ(TShellObject::LiveCount(), live);
}

TEST(ShellObject, ChildOfATwoItemParentHasThreeItemsAndSharesItsFolder) {
    auto drive = RootObject(L"C:\\");
    ASSERT_EQ(shell::PidlCount(drive->AbsID), 2);  // This PC, then the drive
    EXPECT_EQ(ListBytes(drive->AbsID), ListBytes(drive->RelID));
    ASSERT_NE(drive->Current, nullptr);
    auto items = Enumerate(drive->Current.Get());
    ASSERT_FALSE(items.empty());
    TShellObject child(drive.get(), std::move(items.front()));
    ExpectChildOf(*drive, child);
    EXPECT_EQ(shell::PidlCount(child.AbsID), 3);

    // The same holds deep down a temporary folder.
    auto a = RootObject(Tree().Path(L"a"));
    auto sub = ChildNamed(*a, L"sub");
    ASSERT_NE(sub, nullptr);
    ExpectChildOf(*a, *sub);
    auto inner = ChildNamed(*sub, L"inner.txt");
    ASSERT_NE(inner, nullptr);
    ExpectChildOf(*sub, *inner);
}

TEST(ShellObject, FileHasNoFolderAndAFolderListsItsItems) {
    auto a = RootObject(Tree().Path(L"a"));
    ASSERT_NE(a->Current, nullptr);
    EXPECT_EQ(SortedNames(a->Current.Get()), (std::vector<std::wstring>{L"b.txt", L"c.txt", L"sub"}));

    auto file = ChildNamed(*a, L"b.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Current, nullptr);
    EXPECT_FALSE(shell::HasChildItems(file->Current.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));

    auto sub = ChildNamed(*a, L"sub");
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(sub->Current, nullptr);
    EXPECT_EQ(SortedNames(sub->Current.Get()), (std::vector<std::wstring>{L"deep", L"inner.txt"}));
}

TEST(ShellObject, ChildStaysUsableAfterItsParentIsGone) {
    auto a = RootObject(Tree().Path(L"a"));
    auto sub = ChildNamed(*a, L"sub");
    ASSERT_NE(sub, nullptr);
    const std::vector<BYTE> absolute = ListBytes(sub->AbsID);
    a.reset();

    EXPECT_EQ(ListBytes(sub->AbsID), absolute);
    EXPECT_EQ(lstrcmpiW(ItemPath(sub->Item.Get()).c_str(), Tree().Path(L"a\\sub").c_str()), 0);
    ASSERT_NE(sub->Parent, nullptr);
    EXPECT_EQ(NameIn(sub->Parent.Get(), sub->RelID), L"sub");
    // It can still parent items of its own.
    auto deep = ChildNamed(*sub, L"deep");
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(lstrcmpiW(ItemPath(deep->Item.Get()).c_str(), Tree().Path(L"a\\sub\\deep").c_str()), 0);
}

TEST(ShellObject, ConstructionFailsForNoList) {
    const long live = TShellObject::LiveCount();
    EXPECT_THROW((void)std::make_unique<TShellObject>(nullptr, shell::UniquePidl()), shell::ShellError);
    EXPECT_EQ(TShellObject::LiveCount(), live);
}

TEST(ShellObject, DestroyingFreesExactlyItsTwoLists) {
    shell_test::MallocSpyScope scope;
    ASSERT_TRUE(scope.registered()) << "CoRegisterMallocSpy refused";
    auto& spy = scope.spy();
    auto a = RootObject(Tree().Path(L"a"));
    auto items = Enumerate(a->Current.Get());
    ASSERT_EQ(items.size(), 3u);

    auto check = [&](const TShellObject* parent, shell::UniquePidl owned) {
        LPITEMIDLIST list = owned.get();
        SCOPED_TRACE(parent ? NameIn(parent->Current.Get(), list) : std::wstring(L"root"));
        auto before = spy.outstanding;
        const int allocations = spy.allocations, frees = spy.frees;
        auto object = std::make_unique<TShellObject>(parent, std::move(owned));
        LPITEMIDLIST rel = object->RelID.get(), abs = object->AbsID.get();
        EXPECT_EQ(rel, list);
        EXPECT_TRUE(spy.outstanding.count(rel));
        EXPECT_TRUE(spy.outstanding.count(abs));
        object.reset();
        EXPECT_FALSE(spy.outstanding.count(rel));
        EXPECT_FALSE(spy.outstanding.count(abs));
        // Everything made for the object is gone, plus the adopted list, and
        // nothing else was freed: not the parent's lists, nothing twice.
        before.erase(list);
        EXPECT_EQ(spy.outstanding, before);
        EXPECT_EQ(spy.frees - frees, spy.allocations - allocations + 1);
    };
    for (auto& item : items) check(a.get(), std::move(item));  // two files and a folder
    check(nullptr, shell::PidlCopy(a->AbsID));
    EXPECT_TRUE(spy.outstanding.count(a->RelID.get()));
    EXPECT_TRUE(spy.outstanding.count(a->AbsID.get()));
}
