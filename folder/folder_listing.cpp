#include "folder/folder_listing.h"

#include "core/messages.h"
#include "shell/folder_items.h"
#include "shell/shell_utils.h"
#include "ui/application.h"

namespace folder {

TFolderListing ListFolder(const TShellObject* folder, std::int32_t enumFlags, const std::wstring& mask,
                          const ui::TNotifyEvent& onClick) {
    TFolderListing listing;
    std::vector<shell::TFolderItem> list;
    if (folder) {
        shell::TFolderQuery query;
        query.folder = folder->Current.Get();
        query.absolute = folder->AbsID;
        query.desktop = shell::DesktopFolder.Get();
        query.owner = ui::Application().Handle();
        query.flags = static_cast<DWORD>(enumFlags);
        query.mask = mask;
        list = shell::ListFolderItems(query);
    }
    if (list.empty()) {
        // The placeholder of a folder that lists nothing: "(なし)", disabled.
        auto placeholder = std::make_unique<ui::TMenuItem>();
        placeholder->Caption = core::messages::kNothing;
        placeholder->Enabled = false;
        listing.rows.push_back(std::move(placeholder));
        listing.entries.emplace_back();
        return listing;
    }

    // The names are asked from here on, on helper threads, while the items
    // are put in the folder's order.
    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(list.size());
    for (const shell::TFolderItem& listed : list) ids.push_back(listed.id.get());
    listing.names = std::make_unique<shell::TInFolderNames>(folder->Current.Get(), folder->AbsID, ids);
    ids = {};
    const std::vector<size_t> order = shell::FolderOrder(folder->Current.Get(), folder->Item.Get(), list);

    listing.rows.reserve(list.size());
    listing.entries.reserve(list.size());
    listing.itemOfRow.reserve(list.size());
    for (size_t i : order) {
        auto row = std::make_unique<ui::TMenuItem>();
        row->OnClick = onClick;
        listing.rows.push_back(std::move(row));
        TFolderEntry entry;
        entry.id = std::move(list[i].id);
        entry.opensSubMenu = list[i].isFolder;
        listing.entries.push_back(std::move(entry));
        listing.itemOfRow.push_back(static_cast<std::uint32_t>(i));
    }
    return listing;
}

}  // namespace folder
