#include "app/process_reference.h"

#include <shlobj.h>

#include <algorithm>

namespace app {

namespace {
constexpr DWORD kPollWithoutEventMs = 100;
}

TProcessReference::TProcessReference() : released_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TProcessReference::~TProcessReference() {
    if (registered_) SHSetInstanceExplorer(nullptr);
    if (released_) CloseHandle(released_);
}

void TProcessReference::Register() noexcept {
    // The shell keeps the pointer without a reference of its own; it adds
    // one for each caller of SHGetInstanceExplorer.
    SHSetInstanceExplorer(this);
    registered_ = true;
}

ULONG TProcessReference::References() const noexcept {
    return static_cast<ULONG>(InterlockedCompareExchange(const_cast<volatile LONG*>(&references_), 0, 0));
}

HRESULT STDMETHODCALLTYPE TProcessReference::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TProcessReference::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE TProcessReference::Release() {
    LONG left = InterlockedDecrement(&references_);
    // Not deleted at zero: the object's life is the run's, not COM's.
    if (left == 0 && released_) SetEvent(released_);
    return static_cast<ULONG>(left);
}

bool TProcessReference::ReleaseAndWait(std::chrono::milliseconds limit) noexcept {
    // Nobody new may take a reference once we have begun to wait.
    if (registered_) {
        SHSetInstanceExplorer(nullptr);
        registered_ = false;
    }
    if (!ownReleased_) {
        ownReleased_ = true;
        Release();
    }
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(std::max<long long>(0, limit.count()));
    while (References() != 0) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        // Without an event (out of handles) the count is looked at anew
        // every so often instead.
        const DWORD slice = released_ ? INFINITE - 1 : kPollWithoutEventMs;
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(end - now, slice));
        const DWORD handles = released_ ? 1 : 0;
        // The shell's threads may call into objects of this thread's
        // apartment, and those calls arrive as messages: keep them flowing.
        DWORD r = MsgWaitForMultipleObjectsEx(handles, &released_, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0 + handles) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                // The loop that ended the run has had its quit; a late one
                // (a shell window's) changes nothing here.
                if (msg.message == WM_QUIT) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    return true;
}

}  // namespace app
