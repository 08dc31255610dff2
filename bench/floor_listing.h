#pragma once
// The least shell work that a listing of a folder for a menu must do:
// enumerate the folder, ask every item its parsing name, whether it is a
// folder and its in-folder name, and sort the items as the folder sorts
// them. One thread, each question asked once per item. Shared by the
// benchmark's yardsticks (enum_listing.exe, floor_menu.exe).
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace floor_bench {

// Folders, other items, hidden items, and what a navigation pane would show
// (the flags a menu window enumerates with when no switch is given).
constexpr SHCONTF kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN | SHCONTF_NAVIGATION_ENUM;

struct PidlFree {
    void operator()(ITEMIDLIST* pidl) const noexcept { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

struct OleScope {
    HRESULT hr = OleInitialize(nullptr);
    ~OleScope() {
        if (SUCCEEDED(hr)) OleUninitialize();
    }
    OleScope() = default;
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
};

struct Item {
    Pidl id;
    std::wstring parsingName;
    std::wstring inFolderName;
    bool isFolder = false;
};

inline std::wstring DisplayName(IShellFolder* folder, LPCITEMIDLIST id, SHGDNF flags) {
    STRRET strret{};
    if (FAILED(folder->GetDisplayNameOf(id, flags, &strret))) return {};
    wchar_t* text = nullptr;
    // StrRetToStrW frees a shell-allocated STRRET_WSTR itself.
    if (FAILED(StrRetToStrW(&strret, id, &text))) return {};
    std::wstring result = text;
    CoTaskMemFree(text);
    return result;
}

inline bool IsFolder(IShellFolder* folder, LPCITEMIDLIST id) {
    SFGAOF attributes = SFGAO_FOLDER;
    return SUCCEEDED(folder->GetAttributesOf(1, &id, &attributes)) && (attributes & SFGAO_FOLDER) != 0;
}

inline int Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "floor: %s failed (0x%08lx)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

// Lists path into list, sorted; 0, or 1 after telling what failed.
inline int ListFolder(const std::wstring& path, std::vector<Item>& list) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IShellFolder> desktop;
    HRESULT hr = SHGetDesktopFolder(&desktop);
    if (FAILED(hr)) return Fail("SHGetDesktopFolder", hr);

    std::wstring name = path;
    LPITEMIDLIST raw = nullptr;
    hr = desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &raw, nullptr);
    if (FAILED(hr)) return Fail("ParseDisplayName", hr);
    Pidl absolute(raw);

    ComPtr<IShellFolder> folder;
    hr = desktop->BindToObject(absolute.get(), nullptr, IID_PPV_ARGS(&folder));
    if (FAILED(hr)) return Fail("BindToObject", hr);

    ComPtr<IEnumIDList> items;
    hr = folder->EnumObjects(nullptr, kEnumFlags, &items);
    if (FAILED(hr)) return Fail("EnumObjects", hr);

    // S_FALSE without an enumerator means an empty folder.
    if (items) {
        LPITEMIDLIST id = nullptr;
        while (items->Next(1, &id, nullptr) == S_OK) {
            Item item;
            item.id.reset(id);
            item.parsingName = DisplayName(folder.Get(), id, SHGDN_FORPARSING);
            item.isFolder = IsFolder(folder.Get(), id);
            item.inFolderName = DisplayName(folder.Get(), id, SHGDN_INFOLDER);
            list.push_back(std::move(item));
        }
    }

    // A folder's CompareIDs need not be a strict weak order; a merge sort
    // stays within bounds whatever it answers.
    std::stable_sort(list.begin(), list.end(), [&](const Item& a, const Item& b) {
        HRESULT order = folder->CompareIDs(0, a.id.get(), b.id.get());
        return static_cast<short>(HRESULT_CODE(order)) < 0;
    });
    return 0;
}

}  // namespace floor_bench
