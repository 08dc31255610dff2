#include "folder/folder_listing.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/command_line.h"
#include "core/messages.h"
#include "core/wildcard.h"
#include "shell/shell_error.h"
#include "shell/shell_utils.h"
#include "ui/application.h"

namespace folder {

namespace {

// One item as the enumeration found it.
struct TListedItem {
    shell::UniquePidl id;   // relative to the listed folder
    bool isFolder = false;  // opens as a sub-menu
};

// The last component of a parsing name: what follows the last "\" or ":".
// "C:\Data\a.txt" gives "a.txt"; "::{GUID}" gives "{GUID}".
std::wstring_view NamePart(std::wstring_view parsingName) { return parsingName.substr(core::NameStart(parsingName)); }

// The kept items, in the order the folder gave them.
std::vector<TListedItem> ListItems(const TShellObject& folderObject, std::int32_t enumFlags, const std::wstring& fileMask) {
    std::vector<TListedItem> list;
    IShellFolder* folder = folderObject.Current.Get();
    if (!shell::HasChildItems(folder, static_cast<DWORD>(enumFlags))) return list;

    Microsoft::WRL::ComPtr<IEnumIDList> enumerator;
    const HRESULT hr = folder->EnumObjects(ui::Application().Handle(), static_cast<SHCONTF>(enumFlags), &enumerator);
    if (FAILED(hr)) {
        throw shell::ShellError(hr, L"EnumObjects", shell::Failure::ReadFolder,
                                shell::GetParsingName(shell::DesktopFolder.Get(), folderObject.AbsID));
    }
    // A success other than S_OK may come without an enumerator: nothing to list.
    if (!enumerator) return list;

    // Compiled at the first item that is no folder, so that a bad mask is
    // reported only where it would be used.
    std::optional<core::WildcardMask> mask;
    LPITEMIDLIST raw = nullptr;
    ULONG fetched = 0;
    while (enumerator->Next(1, &raw, &fetched) == S_OK) {
        shell::UniquePidl id(raw);
        raw = nullptr;
        if (!id) continue;
        // One parsing name per item serves both the folder test and the mask.
        const std::wstring name = shell::GetParsingName(folder, id.get());
        const bool isFolder = shell::IsFolderItem(folder, id.get(), name);
        if (!isFolder) {
            if (!mask) mask.emplace(fileMask);
            // The mask is for the item's own name: matched against the full
            // path, "a*" could never list a file and "*a*" would list every
            // file of a folder whose path holds an "a".
            if (!mask->Matches(NamePart(name))) continue;
        }
        list.push_back(TListedItem{std::move(id), isFolder});
    }
    return list;
}

// The order in which the items are shown: the folder's own sort.
std::vector<size_t> SortedOrder(const TShellObject& folderObject, const std::vector<TListedItem>& list) {
    std::vector<size_t> order(list.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // A library keeps the order its owner gave its locations.
    if (shell::IsShellLibrary(folderObject.Item.Get())) return order;
    IShellFolder* folder = folderObject.Current.Get();
    // A merge sort: a folder whose comparison is not a strict ordering
    // gives an odd order, never a read outside the list.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const HRESULT answer = folder->CompareIDs(0, list[a].id.get(), list[b].id.get());
        return static_cast<short>(HRESULT_CODE(answer)) < 0;
    });
    return order;
}

}  // namespace

TFolderListing ListFolder(const TShellObject* folder, std::int32_t enumFlags, const std::wstring& mask,
                          const ui::TNotifyEvent& onClick) {
    TFolderListing listing;
    std::vector<TListedItem> list;
    if (folder) list = ListItems(*folder, enumFlags, mask);
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
    for (const TListedItem& listed : list) ids.push_back(listed.id.get());
    listing.names = std::make_unique<shell::TInFolderNames>(folder->Current.Get(), folder->AbsID, ids);
    ids = {};
    const std::vector<size_t> order = SortedOrder(*folder, list);

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
