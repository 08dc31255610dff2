// Filling a menu window on its first show: list the folder, keep the
// sub-folders and the items that match the mask, sort them as the folder
// does, and add one entry per item.
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
constexpr const wchar_t* kNothingCaption = core::messages::kNothing;

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

// Redrawing of a list suspended for the length of a scope.
class RedrawSuspended {
public:
    explicit RedrawSuspended(ui::TListBox& list) : list_(list) { list_.SetRedraw(false); }
    ~RedrawSuspended() { list_.SetRedraw(true); }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    ui::TListBox& list_;
};

}  // namespace

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

    // A library keeps the order its owner gave its locations.
    if (!shell::IsShellLibrary(Namespace->Item.Get())) {
        // A merge sort: a folder whose comparison is not a strict ordering
        // gives an odd order, never a read outside the list.
        std::stable_sort(list.begin(), list.end(), [folder](const TListedItem& a, const TListedItem& b) {
            const HRESULT order = folder->CompareIDs(0, a.id.get(), b.id.get());
            return static_cast<short>(HRESULT_CODE(order)) < 0;
        });
    }
    return list;
}

void TFolderForm::AddItem(TListedItem listed, const std::wstring& name, HDC canvas, const ui::TMenuMetrics& metrics,
                          int& width, int& height) {
    auto item = std::make_unique<ui::TMenuItem>();
    if (listed.id) {
        // The shell object adopts the list, also when it cannot be made.
        auto* object = new TShellObject(Namespace, listed.id.release());
        item->Tag = object;  // owned by this window from here on (FormDestroy)
        item->Caption = DoubleAmpersands(name);
        item->OnClick = ui::TNotifyEvent(this, &TFolderForm::MenuItemClick);
        item->HasSubMenu = listed.isFolder;
    } else {
        item->Caption = kNothingCaption;
        item->Enabled = false;
    }
    ui::TMenuItem& added = FileList.Add(std::move(item));
    // The row's child window is made when it is first shown (ChildForm).
    FileView->AddItem(added.Caption, nullptr);
    int w = 0;
    added.MeasureItem(canvas, metrics, w, height);
    width = std::max(width, w);
}

void TFolderForm::Populate(int& width, int& height) {
    RedrawSuspended suspended(*FileView);
    std::vector<TListedItem> list = CreateIDList();
    FileList.Reserve(list.size() ? list.size() : 1);
    FileView->Reserve(static_cast<int>(list.size()), list.size() * 32 * sizeof(wchar_t));
    const ui::TMenuMetrics& metrics = RowMetrics();
    ui::WindowDC canvas(FileView->Handle());

    // The names are asked ahead while the rows go in; each is taken before
    // its list is handed to the entry.
    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(list.size());
    for (const TListedItem& listed : list) ids.push_back(listed.id.get());
    shell::TInFolderNames names(Namespace ? Namespace->Current.Get() : nullptr, Namespace ? Namespace->AbsID : nullptr,
                                ids);
    for (size_t i = 0; i < list.size(); ++i) {
        const std::wstring name = names.Take(i);
        AddItem(std::move(list[i]), name, canvas.get(), metrics, width, height);
    }
    if (FileList.Count() == 0) AddItem(TListedItem{}, std::wstring(), canvas.get(), metrics, width, height);
}

}  // namespace folder
