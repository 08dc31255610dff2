// Names asked ahead on a second thread: the same names, in the same order,
// as asking each item on the caller's thread, whatever the thread manages.
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
    listed.absolute.reset(shell::PathToPidl(shell::DesktopFolder.Get(), path));
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
        EXPECT_TRUE(names.Threaded());
        // The caller's own lists may go as soon as they are handed on: the
        // thread reads its copies.
        for (size_t i = 0; i < listed.items.size(); ++i) {
            got.push_back(names.Take(i));
            if (i + 1 < listed.items.size()) listed.items[i].reset();
        }
        EXPECT_EQ(names.Take(listed.items.size()), L"");
    }
    EXPECT_EQ(got, expected);

    // Left after the first name (an error while the rows go in): the
    // thread stops and is waited for.
    Listed again = List(tree.root());
    TInFolderNames early(again.folder.Get(), again.absolute.get(), again.Ids());
    EXPECT_EQ(early.Take(0), expected[0]);
}

TEST(InFolderNames, SmallListsAndUnbindableFoldersAreNamedOnTheCallersThread) {
    TempTree tree;
    for (int i = 0; i < 3; ++i) tree.AddFile(L"f" + std::to_wstring(i) + L".txt");
    Listed small = List(tree.root());
    {
        TInFolderNames names(small.folder.Get(), small.absolute.get(), small.Ids());
        EXPECT_FALSE(names.Threaded());
        EXPECT_EQ(names.Take(2), L"f2.txt");
    }

    // A folder the thread cannot bind (here a file): the caller's folder
    // answers instead.
    for (int i = 3; i < 80; ++i) tree.AddFile(L"f" + std::to_wstring(i) + L".txt");
    Listed big = List(tree.root());
    const std::vector<std::wstring> expected = NamesHere(big);
    shell::UniquePidl file(shell::PathToPidl(shell::DesktopFolder.Get(), tree.Path(L"f0.txt")));
    std::vector<std::wstring> got;
    TInFolderNames names(big.folder.Get(), file.get(), big.Ids());
    for (size_t i = 0; i < big.items.size(); ++i) got.push_back(names.Take(i));
    EXPECT_EQ(got, expected);
}
