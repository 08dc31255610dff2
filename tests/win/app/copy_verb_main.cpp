// Test helper: a run that copies one file through its context menu and ends.
//   app_copy_verb.exe <file path> [--abrupt]
// Starts the run as the program does, invokes the file's "copy" verb, then
// goes through the program's own end of the run; with --abrupt it exits
// straight after the copy instead. Exit code 0 when the verb ran.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>

#include "app/run_lifetime.h"

using Microsoft::WRL::ComPtr;

namespace {

HRESULT CopyThroughContextMenu(const std::wstring& path) {
    PIDLIST_ABSOLUTE absolute = nullptr;
    HRESULT hr = SHParseDisplayName(path.c_str(), nullptr, &absolute, 0, nullptr);
    if (FAILED(hr)) return hr;
    ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    hr = SHBindToParent(absolute, IID_PPV_ARGS(&parent), &child);
    ComPtr<IContextMenu> menu;
    if (SUCCEEDED(hr)) hr = parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, &menu);
    if (SUCCEEDED(hr)) {
        HMENU popup = CreatePopupMenu();
        hr = menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL);
        if (SUCCEEDED(hr)) {
            CMINVOKECOMMANDINFO info = {sizeof(info)};
            info.lpVerb = "copy";
            info.nShow = SW_SHOWNORMAL;
            hr = menu->InvokeCommand(&info);
        }
        DestroyMenu(popup);
    }
    CoTaskMemFree(absolute);
    return hr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    const std::wstring path = argv[1];
    const bool abrupt = argc > 2 && std::wstring(argv[2]) == L"--abrupt";
    LocalFree(argv);
    try {
        app::StartRun();
    } catch (...) {
        return 3;
    }
    HRESULT hr = CopyThroughContextMenu(path);
    if (abrupt) ExitProcess(SUCCEEDED(hr) ? 0 : 4);
    app::EndRun();
    return SUCCEEDED(hr) ? 0 : 4;
}
