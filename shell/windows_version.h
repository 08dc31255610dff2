#pragma once
// The real Windows version (RtlGetVersion; GetVersionEx lies to programs
// without a manifest that names the system), and looking up system functions
// that older systems may not have.
#include <windows.h>

namespace shell {

struct WindowsVersion {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    bool AtLeast(DWORD maj, DWORD min, DWORD bld = 0) const noexcept {
        if (major != maj) return major > maj;
        if (minor != min) return minor > min;
        return build >= bld;
    }
};

// Read once, then cached. All zero if ntdll has no RtlGetVersion.
const WindowsVersion& GetWindowsVersion();

// A function exported by an already loaded system module (kernel32, ntdll,
// user32, ...), or null where this system has none. Used for everything newer
// than Windows 7, so that the program still starts there.
template <typename Fn>
Fn SystemProc(const wchar_t* module, const char* name) noexcept {
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) return nullptr;
    // Through a generic function pointer: a direct cast from FARPROC draws
    // -Wcast-function-type.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
}

}  // namespace shell
