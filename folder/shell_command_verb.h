#pragma once
// The program's own interface between the command routines and the window
// that hosts a command: asked once before the shell runs a verb (it may take
// the verb over) and once after. In-process only, never marshalled.
#include <windows.h>
#include <unknwn.h>

#include <string>

namespace folder {

// {455ABA70-60F0-4B7E-BBDF-3E46FEF55A04}
inline constexpr IID IID_IShellCommandVerb = {
    0x455aba70, 0x60f0, 0x4b7e, {0xbb, 0xdf, 0x3e, 0x46, 0xfe, 0xf5, 0x5a, 0x04}};

// Both methods answer with an HRESULT, as COM methods do: an implementation
// catches its own errors (none may cross the interface) and can still tell
// the caller that it failed. The command routines act on Handled and
// Succeeded alone; a failure code is only a note.
class IShellCommandVerb : public IUnknown {
public:
    // Before the command runs. Handled is false on entry; true means the
    // window has dealt with the verb itself and the shell is not asked.
    virtual HRESULT STDMETHODCALLTYPE VerbExecuting(const std::wstring& Verb, bool& Handled) = 0;
    // After the command has run or was handled; Succeeded is true when the
    // shell answered exactly S_OK, or the window handled it.
    virtual HRESULT STDMETHODCALLTYPE VerbExecuted(const std::wstring& Verb, bool Succeeded) = 0;
};

// An IShellCommandVerb that lives as long as its owner says, not as long as
// it is referenced: counting means nothing, and it answers for IUnknown and
// IShellCommandVerb alone.
class TOwnedCommandVerb : public IShellCommandVerb {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, IID_IShellCommandVerb)) {
            *ppv = static_cast<IShellCommandVerb*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

protected:
    ~TOwnedCommandVerb() = default;
};

}  // namespace folder
