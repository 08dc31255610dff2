// Names asked on several threads at once: the same names, in the items'
// order, as asking each item on the caller's thread, whatever the helper
// threads manage.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "fake_folder.h"
#include "shell/in_folder_names.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"
#include "test_support.h"

using Microsoft::WRL::ComPtr;
using shell::TInFolderNames;
using shell_test::TempTree;

namespace {

struct Listed {
    shell::UniquePidl absolute;
    ComPtr<IShellFolder> folder;
    std::vector<shell::UniquePidl> items;
    std::vector<LPCITEMIDLIST> Ids() const {
        std::vector<LPCITEMIDLIST> ids;
        for (const auto& item : items) ids.push_back(item.get());
        return ids;
    }
};

Listed List(const std::wstring& path) {
    Listed listed;
    listed.absolute = shell::PathToPidl(shell::DesktopFolder.Get(), path);
    EXPECT_HRESULT_SUCCEEDED(
        shell::DesktopFolder->BindToObject(listed.absolute.get(), nullptr, IID_PPV_ARGS(&listed.folder)));
    ComPtr<IEnumIDList> items;
    EXPECT_HRESULT_SUCCEEDED(listed.folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items));
    LPITEMIDLIST raw = nullptr;
    while (items && items->Next(1, &raw, nullptr) == S_OK) listed.items.emplace_back(raw);
    return listed;
}

std::vector<std::wstring> NamesHere(const Listed& listed) {
    std::vector<std::wstring> names;
    for (const auto& item : listed.items) names.push_back(shell::GetInFolderName(listed.folder.Get(), item.get()));
    return names;
}

}  // namespace

TEST(InFolderNames, ThreadGivesTheNamesTheCallerWouldGet) {
    TempTree tree;
    // Kinds the shell names differently: files, folders, "&", blanks,
    // non-Latin letters, an emoji, right-to-left text.
    const std::vector<std::wstring> odd = {L"a & b.txt", L"  blank .txt", L"\u540D\u524D.txt",
                                           L"\U0001F34E.txt", L"\u05E9\u05DC\u05D5\u05DD.txt"};
    for (const auto& name : odd) tree.AddFile(name);
    for (int i = 0; i < 150; ++i) tree.AddFile(L"file" + std::to_wstring(i) + L".dat");
    for (int i = 0; i < 20; ++i) tree.AddFolder(L"sub" + std::to_wstring(i));
    Listed listed = List(tree.root());
    ASSERT_EQ(listed.items.size(), 175u);
    const std::vector<std::wstring> expected = NamesHere(listed);

    std::vector<std::wstring> got;
    {
        TInFolderNames names(listed.folder.Get(), listed.absolute.get(), listed.Ids());
        EXPECT_EQ(names.Helpers(), TInFolderNames::kHelpers);
        // The caller's own lists may go as soon as they are handed on: every
        // thread reads the copies.
        listed.items.clear();
        got = names.TakeAll();
    }
    EXPECT_EQ(got, expected);

    // Left before the names were taken (an error while the folder is
    // sorted): the helpers stop and are waited for.
    Listed again = List(tree.root());
    TInFolderNames early(again.folder.Get(), again.absolute.get(), again.Ids());
}

TEST(InFolderNames, SmallListsAndUnbindableFoldersAreNamedOnTheCallersThread) {
    TempTree tree;
    for (int i = 0; i < 3; ++i) tree.AddFile(L"f" + std::to_wstring(i) + L".txt");
    Listed small = List(tree.root());
    {
        TInFolderNames names(small.folder.Get(), small.absolute.get(), small.Ids());
        EXPECT_EQ(names.Helpers(), 0);
        EXPECT_EQ(names.TakeAll(), (std::vector<std::wstring>{L"f0.txt", L"f1.txt", L"f2.txt"}));
    }

    // A folder the helpers cannot bind (here a file): the caller's folder
    // answers for every item.
    for (int i = 3; i < 80; ++i) tree.AddFile(L"f" + std::to_wstring(i) + L".txt");
    Listed big = List(tree.root());
    const std::vector<std::wstring> expected = NamesHere(big);
    shell::UniquePidl file(shell::PathToPidl(shell::DesktopFolder.Get(), tree.Path(L"f0.txt")));
    TInFolderNames names(big.folder.Get(), file.get(), big.Ids());
    EXPECT_EQ(names.TakeAll(), expected);
}
