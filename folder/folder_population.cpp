// Filling a menu window on its first show: list the folder, keep the
// sub-folders and the items that match the mask, sort them as the folder
// does, and make one entry per item. The list shows the entries as rows
// of its own (a count, no strings), so filling it costs nothing per row.
#include <algorithm>
#include <optional>
#include <string_view>

#include "core/command_line.h"
#include "core/wildcard.h"
#include "folder/folder_form.h"
#include "folder/pending_captions.h"
#include "shell/in_folder_names.h"
#include "shell/shell_error.h"
#include "shell/shell_utils.h"
#include "ui/handles.h"
#include "ui/menu_metrics.h"

namespace folder {

namespace {

// The placeholder of a folder that lists nothing: "(なし)", "none".
constexpr const wchar_t* kNothingCaption = core::messages::kNothing;

// The last component of a parsing name: what follows the last "\" or ":".
// "C:\Data\a.txt" gives "a.txt"; "::{GUID}" gives "{GUID}".
std::wstring_view NamePart(std::wstring_view parsingName) { return parsingName.substr(core::NameStart(parsingName)); }

}  // namespace

std::vector<size_t> TFolderForm::SortedOrder(const std::vector<TListedItem>& list) const {
    std::vector<size_t> order(list.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // A library keeps the order its owner gave its locations.
    if (!Namespace || shell::IsShellLibrary(Namespace->Item.Get())) return order;
    IShellFolder* folder = Namespace->Current.Get();
    // A merge sort: a folder whose comparison is not a strict ordering
    // gives an odd order, never a read outside the list.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const HRESULT answer = folder->CompareIDs(0, list[a].id.get(), list[b].id.get());
        return static_cast<short>(HRESULT_CODE(answer)) < 0;
    });
    return order;
}

std::vector<TFolderForm::TListedItem> TFolderForm::CreateIDList() {
    std::vector<TListedItem> list;
    IShellFolder* folder = Namespace ? Namespace->Current.Get() : nullptr;
    if (!shell::HasChildItems(folder, static_cast<DWORD>(EnumFlags))) return list;

    Microsoft::WRL::ComPtr<IEnumIDList> enumerator;
    const HRESULT hr = folder->EnumObjects(ui::Application().Handle(), static_cast<SHCONTF>(EnumFlags), &enumerator);
    if (FAILED(hr)) {
        throw shell::ShellError(hr, L"EnumObjects", shell::Failure::ReadFolder, shell::GetParsingName(shell::DesktopFolder.Get(), Namespace->AbsID));
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
            if (!mask) mask.emplace(FileMask);
            // The mask is for the item's own name: matched against the full
            // path, "a*" could never list a file and "*a*" would list every
            // file of a folder whose path holds an "a".
            if (!mask->Matches(NamePart(name))) continue;
        }
        list.push_back(TListedItem{std::move(id), isFolder});
    }
    enumerator.Reset();

    return list;
}

std::unique_ptr<ui::TMenuItem> TFolderForm::MakeEntry(bool isFolder) {
    auto item = std::make_unique<ui::TMenuItem>();
    item->OnClick = ui::TNotifyEvent(this, &TFolderForm::MenuItemClick);
    item->HasSubMenu = isFolder;
    return item;
}

std::unique_ptr<ui::TMenuItem> TFolderForm::MakePlaceholder() {
    auto item = std::make_unique<ui::TMenuItem>();
    item->Caption = kNothingCaption;
    item->Enabled = false;
    return item;
}

void TFolderForm::Populate(int& width, int& height) {
    std::vector<TListedItem> list = CreateIDList();
    IShellFolder* folder = Namespace ? Namespace->Current.Get() : nullptr;

    // The names are asked from here on, on helper threads, while the items
    // are put in the folder's order.
    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(list.size());
    for (const TListedItem& listed : list) ids.push_back(listed.id.get());
    auto names = std::make_unique<shell::TInFolderNames>(folder, Namespace ? Namespace->AbsID : nullptr, ids);
    ids = {};
    const std::vector<size_t> order = SortedOrder(list);

    // The entries are made apart and handed to the window only when all are
    // there: an error midway leaves the window empty, and the next show
    // tries again. Their shell objects are made when first needed.
    std::vector<std::unique_ptr<ui::TMenuItem>> entries;
    std::vector<shell::UniquePidl> entryIds;
    std::vector<std::uint32_t> itemOfEntry;
    entries.reserve(list.size() ? list.size() : 1);
    entryIds.reserve(list.size());
    itemOfEntry.reserve(list.size());
    for (size_t i : order) {
        entries.push_back(MakeEntry(list[i].isFolder));
        entryIds.push_back(std::move(list[i].id));
        itemOfEntry.push_back(static_cast<std::uint32_t>(i));
    }
    list.clear();
    const bool nothing = entries.empty();
    if (nothing) entries.push_back(MakePlaceholder());
    FileList.Reserve(entries.size());
    for (auto& entry : entries) FileList.Add(std::move(entry));
    FEntryIds = std::move(entryIds);
    FileView->SetCount(FileList.Count());

    height = RowMetrics().RowHeight();
    FWidest = 0;
    FMeasureDC.reset(CreateCompatibleDC(nullptr));
    if (nothing) {
        CaptionArrived(0);
    } else {
        const bool helped = names->Helpers() > 0;
        FPendingCaptions = std::make_unique<TPendingCaptions>(std::move(names), std::move(itemOfEntry), FileList,
                                                              [this](int entry) { CaptionArrived(entry); });
        // The window shows once the rows it can show at first have their
        // captions (as many as the work area holds); a few names only are
        // not worth the wait for a later caption.
        const RECT work = WorkArea();
        const int first = helped ? (work.bottom - work.top) / std::max(1, height) + 1 : FileList.Count();
        for (int e = 0; e < std::min(first, FileList.Count()); ++e) FPendingCaptions->Ensure(e);
        FPendingCaptions->Collect();
    }
    width = FWidest;
    if (!FPendingCaptions || FPendingCaptions->Done()) CaptionsDone();
}

}  // namespace folder
