#pragma once
// The real Windows version (RtlGetVersion; GetVersionEx lies to programs
// without a manifest that names the system).
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

}  // namespace shell
