#pragma once
// The items a folder menu lists: the sub-folders and the items whose own
// name matches the mask, and the folder's own order of them. Asks only what
// the listing needs (one parsing name and the folder test per item), and
// works on any thread whose apartment the folder belongs to.
#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "shell/in_folder_names.h"
#include "shell/shell_types.h"

namespace shell {

struct TFolderItem {
    UniquePidl id;          // relative to the listed folder
    bool isFolder = false;  // opens as a sub-menu
};

struct TFolderQuery {
    IShellFolder* folder = nullptr;   // the folder to list (null lists nothing)
    LPCITEMIDLIST absolute = nullptr;  // the folder's absolute list, for the names
    DWORD flags = 0;                  // SHCONTF flags
    std::wstring mask;                // matched against the items' own names
    // Set by a caller that no longer wants the answer (the run ended while
    // the root was being listed): the listing stops at the next item.
    const std::atomic<bool>* abandoned = nullptr;
};

// The kept items, in the order the folder gave them. A folder that cannot
// be enumerated lists nothing; the enumeration shows no window of its own.
// Raises an error for a bad mask once a file is to be matched against it.
std::vector<TFolderItem> ListFolderItems(const TFolderQuery& query);
// The order in which items of folder are shown: the folder's own sort, or
// as they are for a library (item is the folder's), which keeps the order
// its owner gave its locations.
std::vector<size_t> FolderOrder(IShellFolder* folder, IShellItem* item, const std::vector<TFolderItem>& items);

// A folder listed and put in order, its items' in-folder names being asked
// on helper threads from the end of the enumeration on.
struct TListedFolder {
    std::vector<TFolderItem> items;
    std::vector<size_t> order;              // indices into items, as shown
    std::unique_ptr<TInFolderNames> names;  // null when nothing is listed
};

// ListFolderItems, then the names started, then FolderOrder (item: the
// folder's own shell item). The names object asks on this thread's folder
// (query.folder); a thread that takes it over gives it its own (Adopt).
TListedFolder ListFolderInOrder(const TFolderQuery& query, IShellItem* item);

}  // namespace shell
