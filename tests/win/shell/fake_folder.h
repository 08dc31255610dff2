#pragma once
// A scriptable IShellFolder for what no real folder does on demand: each
// STRRET kind, refusing an item, empty enumerations, and watching the error
// mode while it is asked.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <functional>

#include "test_support.h"

namespace shell_test {

class FakeEnum : public ComObject<IEnumIDList> {
public:
    FakeEnum(int items, HRESULT nextResult, UINT* errorModeSeen)
        : items_(items), nextResult_(nextResult), errorModeSeen_(errorModeSeen) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, PITEMID_CHILD* rgelt, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumIDList**) override { return E_NOTIMPL; }

private:
    int items_;
    HRESULT nextResult_;
    UINT* errorModeSeen_;
};

class FakeFolder : public ComObject<IShellFolder> {
public:
    // GetDisplayNameOf; refuses every item unless set.
    std::function<HRESULT(PCUITEMID_CHILD, SHGDNF, STRRET*)> displayName;
    // EnumObjects answers enumResult and, if giveEnumerator, an enumerator
    // holding `items` one-item lists whose Next answers nextResult first.
    HRESULT enumResult = S_OK;
    bool giveEnumerator = true;
    int items = 0;
    HRESULT nextResult = S_OK;
    // GetAttributesOf: the result, and the bits it leaves in the word.
    HRESULT attributesResult = S_OK;
    SFGAOF attributes = 0;
    // BindToObject hands out this folder (E_FAIL when null).
    Microsoft::WRL::ComPtr<IShellFolder> child;

    // What the folder saw.
    int enumCalls = 0;
    UINT errorModeInEnum = ~0u;
    UINT errorModeInNext = ~0u;
    int bindCalls = 0;
    int attributeCalls = 0;
    int attributeListCount = -1;  // item IDs in the last list asked about

    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** out) override;
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, PCUITEMID_CHILD_ARRAY apidl, SFGAOF* inOut) override;
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags, STRRET* name) override {
        return displayName ? displayName(pidl, flags, name) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override {
        return E_NOTIMPL;
    }
};

// A STRRET_WSTR answer with a copy of text on the task allocator.
HRESULT WideName(const wchar_t* text, STRRET* out);

}  // namespace shell_test
