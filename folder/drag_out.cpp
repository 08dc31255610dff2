#include "folder/drag_out.h"

#include <shldisp.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "folder/base_window.h"
#include "ui/application.h"

namespace folder {

namespace {

constexpr DWORD kAllEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// The base window covers the whole screen to catch clicks outside the menus,
// so it would be the window under the pointer wherever the drop goes. For
// the length of the drag it lets the pointer through (a layered window
// marked transparent is skipped by hit-testing), and the targets below it
// see the drag.
class PassThroughBase {
public:
    PassThroughBase() {
        IBaseWindow* base = BaseWindow();
        wnd_ = base ? base->Form().Handle() : nullptr;
        if (!wnd_) return;
        saved_ = GetWindowLongPtrW(wnd_, GWL_EXSTYLE);
        SetWindowLongPtrW(wnd_, GWL_EXSTYLE, saved_ | WS_EX_LAYERED | WS_EX_TRANSPARENT);
    }
    ~PassThroughBase() {
        if (wnd_ && IsWindow(wnd_)) SetWindowLongPtrW(wnd_, GWL_EXSTYLE, saved_);
    }
    PassThroughBase(const PassThroughBase&) = delete;
    PassThroughBase& operator=(const PassThroughBase&) = delete;

private:
    HWND wnd_ = nullptr;
    LONG_PTR saved_ = 0;
};

// What a target says it did, through the data object, when DoDragDrop
// reports no effect: an optimised move (the target moved the file itself)
// comes back as DROPEFFECT_NONE with the move noted here.
DWORD LogicalPerformedEffect(IDataObject* data) {
    static const CLIPFORMAT format =
        static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_LOGICALPERFORMEDDROPEFFECT));
    FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (format == 0 || FAILED(data->GetData(&request, &medium))) return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    if (const void* block = GlobalLock(medium.hGlobal)) {
        if (GlobalSize(medium.hGlobal) >= sizeof(DWORD)) effect = *static_cast<const DWORD*>(block);
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return effect;
}

}  // namespace

bool DropTookPlace(HRESULT result, DWORD effect, DWORD performed) noexcept {
    return result == DRAGDROP_S_DROP && (effect != DROPEFFECT_NONE || performed != DROPEFFECT_NONE);
}

DWORD DragEffectsFor(bool attributesKnown, ULONG attributes) noexcept {
    static_assert(SFGAO_CANCOPY == DROPEFFECT_COPY && SFGAO_CANMOVE == DROPEFFECT_MOVE &&
                  SFGAO_CANLINK == DROPEFFECT_LINK);
    return attributesKnown ? (attributes & kAllEffects) : kAllEffects;
}

void TDragOut::Run(int row) {
    if (row < 0 || row >= view_.Count()) return;
    // The pointer may have crossed into the next row on its way out.
    view_.SetItemIndex(row);
    TShellObject* item = commands_.Selected();
    if (!item || !item->Parent || !item->RelID) return;
    LPCITEMIDLIST child = item->RelID;
    Microsoft::WRL::ComPtr<IDataObject> data;
    if (FAILED(item->Parent->GetUIObjectOf(commands_.Window(), 1, &child, IID_IDataObject, nullptr,
                                           reinterpret_cast<void**>(data.GetAddressOf()))) ||
        !data)
        return;
    // A target that would finish the drop later, on a thread of its own,
    // could find this process gone: the run ends right after the drop.
    // Asked to, the shell's data object makes it take everything in Drop.
    Microsoft::WRL::ComPtr<IDataObjectAsyncCapability> async;
    if (SUCCEEDED(data->QueryInterface(IID_IDataObjectAsyncCapability, reinterpret_cast<void**>(async.GetAddressOf()))) &&
        async)
        async->SetAsyncMode(FALSE);
    ULONG attributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
    const bool known = SUCCEEDED(item->Parent->GetAttributesOf(1, &child, &attributes));
    const DWORD allowed = DragEffectsFor(known, attributes);
    if (allowed == DROPEFFECT_NONE) return;

    // A rest on a folder row during the drag must not open its window.
    view_.TrackHover(TME_CANCEL | TME_HOVER);
    TDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result;
    {
        PassThroughBase passThrough;
        result = DoDragDrop(data.Get(), &source, allowed, &effect);
    }
    // A release over nothing, or over a window that wants none of it, ends
    // the drag with no effect: cancelled as Escape is, the menus stay.
    const DWORD performed = effect == DROPEFFECT_NONE && result == DRAGDROP_S_DROP ? LogicalPerformedEffect(data.Get())
                                                                                    : DROPEFFECT_NONE;
    if (!DropTookPlace(result, effect, performed)) return;
    // The target has what it asked for: as after any command, the menus
    // close and the run ends on the next idle turn, waiting for shell work
    // still going on.
    IBaseWindow* base = BaseWindow();
    if (!base) return;
    if (base->RootForm()) base->RootForm()->Close();
    base->Form().Hide();
    base->InstallEndOfRun(false);
}

HRESULT STDMETHODCALLTYPE TDropSource::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, IID_IDropSource)) {
        *ppv = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// Called by OLE's drag loop: nothing may escape into it.
HRESULT STDMETHODCALLTYPE TDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    return ui::Application().GuardHr([&]() -> HRESULT {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE TDropSource::GiveFeedback(DWORD) {
    return ui::Application().GuardHr([] { return DRAGDROP_S_USEDEFAULTCURSORS; });
}

}  // namespace folder
