#include "fake_context_menu.h"

#include <cstring>

namespace folder_test {

HRESULT STDMETHODCALLTYPE FakeContextMenu::QueryInterface(REFIID riid, void** ppv) {
    if (ppv && (riid == __uuidof(IContextMenu) || riid == __uuidof(IContextMenu2))) {
        *ppv = static_cast<IContextMenu3*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject<IContextMenu3>::QueryInterface(riid, ppv);
}

HRESULT STDMETHODCALLTYPE FakeContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT first, UINT, UINT flags) {
    queryFlags = flags;
    firstId = first;
    submenu = CreatePopupMenu();
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_SUBMENU | MIIM_STRING | MIIM_ID;
    mii.wID = first;
    mii.hSubMenu = submenu;
    wchar_t sendTo[] = L"送る";
    mii.dwTypeData = sendTo;
    InsertMenuItemW(menu, index, TRUE, &mii);
    AppendMenuW(menu, MF_STRING, first + kOpen, L"開く");
    AppendMenuW(menu, MF_STRING, first + kRename, L"名前の変更");
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kTarget + 1);
}

HRESULT STDMETHODCALLTYPE FakeContextMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (IS_INTRESOURCE(info->lpVerb)) {
        invokedOffsets.push_back(static_cast<INT_PTR>(reinterpret_cast<UINT_PTR>(info->lpVerb)));
        invokedVerbs.emplace_back();
    } else {
        invokedOffsets.push_back(-1);
        invokedVerbs.emplace_back(info->lpVerb);
    }
    invokeOwner = info->hwnd;
    invokeShow = info->nShow;
    if (onInvoke) onInvoke();
    return invokeResult;
}

HRESULT STDMETHODCALLTYPE FakeContextMenu::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* name, UINT size) {
    if (type != GCS_VERBA || offset >= 4 || verbs[offset].empty() || size == 0) return E_INVALIDARG;
    strncpy(name, verbs[offset].c_str(), size - 1);
    name[size - 1] = '\0';
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeContextMenu::HandleMenuMsg(UINT msg, WPARAM wp, LPARAM lp) {
    return HandleMenuMsg2(msg, wp, lp, nullptr);
}

HRESULT STDMETHODCALLTYPE FakeContextMenu::HandleMenuMsg2(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    messages.push_back(msg);
    if (result) *result = 0;
    if (msg == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wp) == submenu && !submenuFilled) {
        // Filled late, only now that it opens.
        AppendMenuW(submenu, MF_STRING, firstId + kTarget, L"デスクトップ");
        submenuFilled = true;
    } else if (msg == WM_DRAWITEM) {
        drawnTypes.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlType);
        if (result) *result = TRUE;
    }
    return S_OK;
}

}  // namespace folder_test
