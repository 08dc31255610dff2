#include "shell/folder_items.h"

#include <wrl/client.h>

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/command_line.h"
#include "core/wildcard.h"
#include "shell/shell_utils.h"

namespace shell {

namespace {

// The last component of a parsing name: what follows the last "\" or ":".
// "C:\Data\a.txt" gives "a.txt"; "::{GUID}" gives "{GUID}".
std::wstring_view NamePart(std::wstring_view parsingName) { return parsingName.substr(core::NameStart(parsingName)); }

bool Abandoned(const TFolderQuery& query) noexcept {
    return query.abandoned && query.abandoned->load(std::memory_order_relaxed);
}

}  // namespace

std::vector<TFolderItem> ListFolderItems(const TFolderQuery& query) {
    std::vector<TFolderItem> list;
    IShellFolder* folder = query.folder;
    // The probe's enumeration, which decides whether there is anything to
    // list at all, is the listing: a folder's enumerator may read the whole
    // folder as it is made (Wine's does), and a second one would read it
    // all again.
    TFirstChildItem first = FirstChildItem(folder, query.flags);
    if (!first.found) return list;

    // Compiled at the first item that is no folder, so that a bad mask is
    // reported only where it would be used.
    std::optional<core::WildcardMask> mask;
    auto keep = [&](UniquePidl id) {
        if (!id) return;
        // One parsing name per item serves both the folder test and the mask.
        const std::wstring name = GetParsingName(folder, id.get());
        const bool isFolder = IsFolderItem(folder, id.get(), name);
        if (!isFolder) {
            if (!mask) mask.emplace(query.mask);
            // The mask is for the item's own name: matched against the full
            // path, "a*" could never list a file and "*a*" would list every
            // file of a folder whose path holds an "a".
            if (!mask->Matches(NamePart(name))) return;
        }
        list.push_back(TFolderItem{std::move(id), isFolder});
    };
    keep(std::move(first.item));
    LPITEMIDLIST raw = nullptr;
    ULONG fetched = 0;
    while (!Abandoned(query) && first.enumerator->Next(1, &raw, &fetched) == S_OK) {
        keep(UniquePidl(raw));
        raw = nullptr;
    }
    if (Abandoned(query)) return {};
    return list;
}

TListedFolder ListFolderInOrder(const TFolderQuery& query, IShellItem* item) {
    TListedFolder listed;
    listed.items = ListFolderItems(query);
    if (listed.items.empty() || Abandoned(query)) return {};
    // The names are asked from here on, on helper threads, while the items
    // are put in the folder's order.
    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(listed.items.size());
    for (const TFolderItem& one : listed.items) ids.push_back(one.id.get());
    listed.names = std::make_unique<TInFolderNames>(query.folder, query.absolute, ids);
    ids = {};
    listed.order = FolderOrder(query.folder, item, listed.items);
    return listed;
}

std::vector<size_t> FolderOrder(IShellFolder* folder, IShellItem* item, const std::vector<TFolderItem>& items) {
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (!folder || IsShellLibrary(item)) return order;
    // A merge sort: a folder whose comparison is not a strict ordering
    // gives an odd order, never a read outside the list.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const HRESULT answer = folder->CompareIDs(0, items[a].id.get(), items[b].id.get());
        return static_cast<short>(HRESULT_CODE(answer)) < 0;
    });
    return order;
}

}  // namespace shell
