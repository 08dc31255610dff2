// input_dialog.exe: shows the toolkit's one-value input dialog as the rename
// command does, so that a scenario can picture it where Wine's context menus
// offer no rename (at other DPIs, say). Prints "ok TEXT" or "cancel" when
// the dialog closes.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "ui/input_dialog.h"

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    // Per-monitor aware, as quince.exe is by its manifest.
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    if (auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
        set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    }
    std::wstring value = argc > 1 ? argv[1] : L"a rather long file name.txt";
    const bool ok = ui::InputQuery(nullptr, L"\u540D\u524D\u306E\u5909\u66F4", L"\u65B0\u3057\u3044\u540D\u524D:", value);
    std::printf(ok ? "ok\n" : "cancel\n");
    return ok ? 0 : 1;
}
