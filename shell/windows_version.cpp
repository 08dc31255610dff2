#include "shell/windows_version.h"

#include "sys/system_proc.h"

namespace shell {
namespace {

using RtlGetVersionFn = LONG(WINAPI*)(PRTL_OSVERSIONINFOW);

WindowsVersion ReadVersion() noexcept {
    WindowsVersion version;
    if (auto rtlGetVersion = sys::SystemProc<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion")) {
        RTL_OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (rtlGetVersion(&info) == 0) {
            version.major = info.dwMajorVersion;
            version.minor = info.dwMinorVersion;
            version.build = info.dwBuildNumber;
        }
    }
    return version;
}

}  // namespace

const WindowsVersion& GetWindowsVersion() {
    static const WindowsVersion version = ReadVersion();
    return version;
}

}  // namespace shell
