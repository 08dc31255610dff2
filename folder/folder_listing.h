#pragma once
// Listing a menu window's folder: the sub-folders and the items that match
// the mask, in the folder's own order, as the window's rows and entries
// (made apart from the window, which takes them over whole), with their
// in-folder names being asked for on helper threads.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "folder/folder_entries.h"
#include "shell/folder_items.h"
#include "shell/in_folder_names.h"
#include "ui/menu.h"

namespace folder {

struct TFolderListing {
    std::vector<std::unique_ptr<ui::TMenuItem>> rows;
    std::vector<TFolderEntry> entries;
    // The names of the listed items (null for a folder that lists nothing:
    // its one row is the placeholder "(なし)"), and the item of each row.
    std::unique_ptr<shell::TInFolderNames> names;
    std::vector<std::uint32_t> itemOfRow;
};

// Lists folder with the enumeration flags and the mask. Each row's click
// runs onClick. Raises ShellError when the folder cannot be listed, and
// for a bad mask once a file is to be matched against it.
TFolderListing ListFolder(const TShellObject* folder, std::int32_t enumFlags, const std::wstring& mask,
                          const ui::TNotifyEvent& onClick);
// The same rows and entries from a listing of folder made on another thread;
// its names go on asking on folder's own binding.
TFolderListing ListedRows(const TShellObject* folder, shell::TListedFolder listed, const ui::TNotifyEvent& onClick);

}  // namespace folder
