#include "folder/folder_listing.h"

#include "core/messages.h"
#include "shell/folder_items.h"
#include "shell/shell_utils.h"

namespace folder {

TFolderListing ListFolder(const TShellObject* folder, std::int32_t enumFlags, const std::wstring& mask,
                          const ui::TNotifyEvent& onClick) {
    shell::TListedFolder listed;
    if (folder) {
        shell::TFolderQuery query;
        query.folder = folder->Current.Get();
        query.absolute = folder->AbsID;
        query.flags = static_cast<DWORD>(enumFlags);
        query.mask = mask;
        listed = shell::ListFolderInOrder(query, folder->Item.Get());
    }
    return ListedRows(folder, std::move(listed), onClick);
}

TFolderListing ListedRows(const TShellObject* folder, shell::TListedFolder listed, const ui::TNotifyEvent& onClick) {
    TFolderListing listing;
    // Without a binding of its own here, the window could not name the items.
    if (listed.items.empty() || !folder || !folder->Current) {
        // The placeholder of a folder that lists nothing: "(なし)", disabled.
        auto placeholder = std::make_unique<ui::TMenuItem>();
        placeholder->Caption = core::messages::kNothing;
        placeholder->Enabled = false;
        listing.rows.push_back(std::move(placeholder));
        listing.entries.emplace_back();
        return listing;
    }
    listing.names = std::move(listed.names);
    listing.names->Adopt(folder->Current.Get());
    listing.rows.reserve(listed.order.size());
    listing.entries.reserve(listed.order.size());
    listing.itemOfRow.reserve(listed.order.size());
    for (size_t i : listed.order) {
        auto row = std::make_unique<ui::TMenuItem>();
        row->OnClick = onClick;
        listing.rows.push_back(std::move(row));
        TFolderEntry entry;
        entry.id = std::move(listed.items[i].id);
        entry.opensSubMenu = listed.items[i].isFolder;
        listing.entries.push_back(std::move(entry));
        listing.itemOfRow.push_back(static_cast<std::uint32_t>(i));
    }
    return listing;
}

}  // namespace folder
