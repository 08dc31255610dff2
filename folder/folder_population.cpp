// Filling a menu window on its first show: list the folder, keep the
// sub-folders and the items that match the mask, sort them as the folder
// does, and make one entry per item. The list shows the entries as rows
// of its own (a count, no strings), so filling it costs nothing per row.
#include <algorithm>
#include <optional>
#include <string_view>

#include "core/wildcard.h"
#include "folder/folder_form.h"
#include "shell/in_folder_names.h"
#include "shell/shell_error.h"
#include "shell/shell_utils.h"
#include "ui/handles.h"
#include "ui/menu_metrics.h"

namespace folder {

namespace {

// The placeholder of a folder that lists nothing: "(なし)", "none".
constexpr wchar_t kNothingCaption[] = L"(\u306A\u3057)";

// The last component of a parsing name: what follows the last "\" or ":".
// "C:\Data\a.txt" gives "a.txt"; "::{GUID}" gives "{GUID}".
std::wstring_view NamePart(std::wstring_view parsingName) {
    const size_t pos = parsingName.find_last_of(L"\\:");
    return pos == std::wstring_view::npos ? parsingName : parsingName.substr(pos + 1);
}

// A single "&" would mark an accelerator; names are shown as they are.
std::wstring DoubleAmpersands(const std::wstring& name) {
    if (name.find(L'&') == std::wstring::npos) return name;
    std::wstring caption;
    caption.reserve(name.size() + 4);
    for (wchar_t c : name) {
        caption += c;
        if (c == L'&') caption += L'&';
    }
    return caption;
}


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
        throw shell::ShellError(hr, L"EnumObjects", shell::GetParsingName(shell::DesktopFolder.Get(), Namespace->AbsID));
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

std::unique_ptr<ui::TMenuItem> TFolderForm::MakeEntry(TListedItem listed, const std::wstring& name) {
    auto item = std::make_unique<ui::TMenuItem>();
    if (listed.id) {
        // The shell object adopts the list, also when it cannot be made.
        item->Adopt(std::make_unique<TShellObject>(Namespace, listed.id.release()));
        item->Caption = DoubleAmpersands(name);
        item->OnClick = ui::TNotifyEvent(this, &TFolderForm::MenuItemClick);
        item->HasSubMenu = listed.isFolder;
    } else {
        item->Caption = kNothingCaption;
        item->Enabled = false;
    }
    return item;
}

void TFolderForm::Populate(int& width, int& height) {
    std::vector<TListedItem> list = CreateIDList();
    IShellFolder* folder = Namespace ? Namespace->Current.Get() : nullptr;

    // The names are asked from here on, on helper threads, while the items
    // are put in the folder's order; then this thread joins in.
    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(list.size());
    for (const TListedItem& listed : list) ids.push_back(listed.id.get());
    shell::TInFolderNames names(folder, Namespace ? Namespace->AbsID : nullptr, ids);
    ids = {};
    const std::vector<size_t> order = SortedOrder(list);
    std::vector<std::wstring> captions = names.TakeAll();

    // The entries are made apart and handed to the window only when all are
    // there: an error midway leaves the window empty, and the next show
    // tries again. An item whose shell object cannot be made is left out.
    std::vector<std::unique_ptr<ui::TMenuItem>> entries;
    entries.reserve(list.size() ? list.size() : 1);
    for (size_t i : order) {
        try {
            entries.push_back(MakeEntry(std::move(list[i]), captions[i]));
        } catch (const shell::ShellError&) {
        }
        captions[i] = std::wstring();
    }
    if (entries.empty()) entries.push_back(MakeEntry(TListedItem{}, std::wstring()));

    const ui::TMenuMetrics& metrics = RowMetrics();
    ui::WindowDC canvas(FileView->Handle());
    FileList.Reserve(entries.size());
    for (auto& entry : entries) {
        int w = 0;
        entry->MeasureItem(canvas.get(), metrics, w, height);
        width = std::max(width, w);
        FileList.Add(std::move(entry));
    }
    FileView->SetCount(FileList.Count());
}

}  // namespace folder
