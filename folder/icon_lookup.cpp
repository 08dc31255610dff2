#include "folder/icon_lookup.h"

#include <atomic>
#include <memory>

#include "folder/folder_form.h"
#include "folder/icon_lookup_pool.h"
#include "shell/shell_types.h"
#include "shell/shell_utils.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace folder {

namespace {

int SystemIcon(LPCITEMIDLIST absolute) { return shell::GetSysIconIndex(absolute, false, false); }

std::atomic<TIconResolver> g_resolver{&SystemIcon};
std::atomic<long> g_started{0};

// Live owners by id, UI thread only. A lookup carries the id, never a
// pointer, so one that ends after its window is gone finds nothing here.
std::unordered_map<std::uint64_t, TIconLookups*>& Registry() {
    static std::unordered_map<std::uint64_t, TIconLookups*> registry;
    return registry;
}
std::uint64_t g_nextId = 1;

}  // namespace

TIconLookups::TIconLookups(TFolderForm& form) : form_(form), id_(g_nextId++) { Registry()[id_] = this; }

TIconLookups::~TIconLookups() { Registry().erase(id_); }

long TIconLookups::Started() noexcept { return g_started.load(); }

TIconResolver TIconLookups::SetResolver(TIconResolver resolver) noexcept { return g_resolver.exchange(resolver); }

TIconLookups::TState TIconLookups::State(const ui::TMenuItem& item) const {
    auto found = states_.find(&item);
    return found == states_.end() ? TState::None : found->second;
}

void TIconLookups::Request(int index, const ui::TMenuItem& item, LPCITEMIDLIST absolute) {
    TState& state = states_[&item];
    if (state != TState::None || !absolute) return;
    TIconJob job;
    job.owner = id_;
    job.index = index;
    job.item = &item;
    job.absolute.reset(shell::PidlCopy(absolute));
    job.resolver = g_resolver.load();
    if (!job.absolute) return;  // no memory: asked again at the next drawing
    state = TState::Pending;
    ++g_started;
    StartIconJob(std::move(job));
}

void TIconLookups::Deliver(std::uint64_t owner, int index, const ui::TMenuItem* item, int icon) {
    auto found = Registry().find(owner);
    if (found != Registry().end()) found->second->Apply(index, item, icon);
}

void TIconLookups::Apply(int index, const ui::TMenuItem* item, int icon) {
    auto state = states_.find(item);
    if (state == states_.end()) return;
    state->second = icon < 0 ? TState::NoneFound : TState::Done;
    // Rows never move in the list; the index is only checked, and searched
    // for should the list ever have been refilled since.
    ui::TPopupMenu& list = form_.FileList;
    if (index < 0 || index >= list.Count() || &list.Item(index) != item) {
        index = -1;
        for (int i = 0; i < list.Count(); ++i) {
            if (&list.Item(i) == item) index = i;
        }
        if (index < 0) return;
    }
    list.Item(index).ImageIndex = icon;
    if (icon < 0 || !form_.FileView) return;

    // The row where it is now, in its present state, drawn at once through
    // the list's own owner-draw path. Invalidating would do as well under
    // Windows, but the system list (Wine's too) then redraws every visible
    // row, clipped, for each icon that arrives.
    HWND view = form_.FileView->Handle();
    if (!view || !IsWindowVisible(view)) return;
    const RECT row = form_.FileView->ItemRect(index);
    const RECT client = form_.FileView->ClientRect();
    RECT visible{};
    if (!IntersectRect(&visible, &row, &client)) return;  // drawn when scrolled back
    ui::WindowDC canvas(view);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(view));
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = form_.FileView->ItemIndex() == index ? ODS_SELECTED : 0;
    dis.hwndItem = view;
    dis.hDC = canvas.get();
    dis.rcItem = row;
    SendMessageW(view, ui::kReflectBase + WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

}  // namespace folder
