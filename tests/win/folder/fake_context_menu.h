#pragma once
// A shell context menu of the tests' own: a "送る" submenu that the handler
// fills only when it sees WM_INITMENUPOPUP for it (as "Send to" and "Open
// with" do), and commands with verbs a test chooses.
#include <windows.h>
#include <shobjidl.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace folder_test {

class FakeContextMenu final : public shell_test::ComObject<IContextMenu3> {
public:
    // Command offsets (identifier - first identifier); 0 is the submenu.
    static constexpr UINT kOpen = 1, kRename = 2, kTarget = 3;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* name,
                                               UINT size) override;
    HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT msg, WPARAM wp, LPARAM lp) override;
    HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

    // Verbs by offset (the submenu's item is kTarget).
    std::string verbs[4] = {"", "open", "rename", "sendto-target"};
    HRESULT invokeResult = S_OK;
    std::function<void()> onInvoke;   // runs inside InvokeCommand

    UINT queryFlags = 0;
    UINT firstId = 0;
    HMENU submenu = nullptr;
    bool submenuFilled = false;
    std::vector<UINT> messages;            // every message offered
    std::vector<UINT> drawnTypes;          // CtlType of each WM_DRAWITEM offered
    std::vector<INT_PTR> invokedOffsets;   // -1 for a verb given by name
    std::vector<std::string> invokedVerbs;
    HWND invokeOwner = nullptr;
    int invokeShow = -1;
};

}  // namespace folder_test
