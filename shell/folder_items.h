#pragma once
// The items a folder menu lists: the sub-folders and the items whose own
// name matches the mask, and the folder's own order of them. Asks only what
// the listing needs (one parsing name and the folder test per item), and
// works on any thread whose apartment the folder belongs to.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "shell/shell_types.h"

namespace shell {

struct TFolderItem {
    UniquePidl id;          // relative to the listed folder
    bool isFolder = false;  // opens as a sub-menu
};

struct TFolderQuery {
    IShellFolder* folder = nullptr;   // the folder to list (null lists nothing)
    LPCITEMIDLIST absolute = nullptr;  // the folder's absolute list, for the error text
    IShellFolder* desktop = nullptr;   // this apartment's desktop, for the error text
    HWND owner = nullptr;             // owner of any window the enumeration shows
    DWORD flags = 0;                  // SHCONTF flags
    std::wstring mask;                // matched against the items' own names
};

// The kept items, in the order the folder gave them. Raises ShellError when
// the folder cannot be enumerated, and for a bad mask once a file is to be
// matched against it.
std::vector<TFolderItem> ListFolderItems(const TFolderQuery& query);
// The order in which items of folder are shown: the folder's own sort, or
// as they are for a library (item is the folder's), which keeps the order
// its owner gave its locations.
std::vector<size_t> FolderOrder(IShellFolder* folder, IShellItem* item, const std::vector<TFolderItem>& items);

}  // namespace shell
