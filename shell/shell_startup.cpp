#include <windows.h>

#include "shell/shell_error.h"
#include "shell/shell_utils.h"
#include "shell/windows_version.h"
#include "sys/system_proc.h"

namespace shell {

Microsoft::WRL::ComPtr<IShellFolder> DesktopFolder;
Microsoft::WRL::ComPtr<IShellLibrary> ShellLibrary;

namespace {

// Whether our OleInitialize took; only then is OleUninitialize ours to call.
bool oleInitialized = false;

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// "Copy" and "Cut" put a shell data object on the clipboard; it lives in this
// process, so without a flush the files could no longer be pasted once the
// program has ended. OleIsCurrentClipboard would need the very object the
// shell handed to OleSetClipboard, which we never see (OleGetClipboard gives
// a wrapper); the clipboard is ours while OLE's clipboard window in this
// process owns it, and OleFlushClipboard renders only a data object of ours.
void FlushOwnClipboard() noexcept {
    HWND owner = GetClipboardOwner();
    if (!owner) return;
    DWORD process = 0;
    GetWindowThreadProcessId(owner, &process);
    if (process != GetCurrentProcessId()) return;
    OleFlushClipboard();
}

}  // namespace

void HardenDllSearchOrder() noexcept {
    // Shell extensions and OLE load DLLs by bare name; keep the current
    // directory (and with it a planted DLL) out of the search.
    // SetDefaultDllDirectories is Windows 8 (or Windows 7 with KB2533623).
    if (auto setDefault = sys::SystemProc<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories")) {
        if (setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) return;
    }
    SetDllDirectoryW(L"");
}

void ShellStartup() {
    HardenDllSearchOrder();
    if (!oleInitialized) oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    try {
        DesktopFolder.Reset();
        CheckHr(SHGetDesktopFolder(&DesktopFolder), L"SHGetDesktopFolder", Failure::StartShell);
    } catch (...) {
        ShellShutdown();
        throw;
    }
    ShellLibrary.Reset();
    if (GetWindowsVersion().AtLeast(6, 1)) {
        // Wine registers no shell library class (REGDB_E_CLASSNOTREG); the
        // program then runs without one and sees no item as a library.
        if (FAILED(CoCreateInstance(CLSID_ShellLibrary, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&ShellLibrary))))
            ShellLibrary.Reset();
    }
}

void ShellShutdown() {
    // First, while the shell's objects can still render what was copied.
    if (oleInitialized) FlushOwnClipboard();
    // The objects go before OLE does: releasing them in a torn-down
    // apartment would run their code after their DLLs may have been unloaded.
    ShellLibrary.Reset();
    DesktopFolder.Reset();
    ForgetControlPanel();
    if (oleInitialized) {
        oleInitialized = false;
        OleUninitialize();
    }
}

}  // namespace shell
