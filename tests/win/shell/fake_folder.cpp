#include "fake_folder.h"

#include <cstring>

#include "shell/shell_types.h"

namespace shell_test {

HRESULT FakeEnum::Next(ULONG celt, PITEMID_CHILD* rgelt, ULONG* fetched) {
    if (errorModeSeen_ != nullptr) *errorModeSeen_ = GetErrorMode();
    if (fetched != nullptr) *fetched = 0;
    if (celt != 1) return E_INVALIDARG;
    if (nextResult_ != S_OK) return nextResult_;
    if (items_ == 0) return S_FALSE;
    --items_;
    auto list = MakeList({4});
    auto* item = static_cast<BYTE*>(CoTaskMemAlloc(list.size()));
    std::memcpy(item, list.data(), list.size());
    *rgelt = reinterpret_cast<PITEMID_CHILD>(item);
    if (fetched != nullptr) *fetched = 1;
    return S_OK;
}

HRESULT FakeFolder::EnumObjects(HWND, SHCONTF, IEnumIDList** out) {
    ++enumCalls;
    errorModeInEnum = GetErrorMode();
    *out = nullptr;
    if (giveEnumerator) *out = MakeFake<FakeEnum>(items, nextResult, &errorModeInNext).Detach();
    return enumResult;
}

HRESULT FakeFolder::BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID riid, void** ppv) {
    ++bindCalls;
    *ppv = nullptr;
    if (!child) return E_FAIL;
    return child->QueryInterface(riid, ppv);
}

HRESULT FakeFolder::GetAttributesOf(UINT cidl, PCUITEMID_CHILD_ARRAY apidl, SFGAOF* inOut) {
    ++attributeCalls;
    if (cidl == 1) attributeListCount = shell::PidlCount(apidl[0]);
    if (FAILED(attributesResult)) return attributesResult;
    *inOut &= attributes;
    return attributesResult;
}

HRESULT WideName(const wchar_t* text, STRRET* out) {
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    std::memcpy(copy, text, bytes);
    out->uType = STRRET_WSTR;
    out->pOleStr = copy;
    return S_OK;
}

}  // namespace shell_test
