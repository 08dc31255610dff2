#pragma once
// What the benchmark's watchers share: finding a program's menu windows and
// their lists from another process in the same wineserver, and the clock.
#include <windows.h>

#include <cwchar>
#include <vector>

namespace bench {

// The top-level windows (parent null) or the child windows of parent.
inline std::vector<HWND> Windows(HWND parent) {
    std::vector<HWND> list;
    auto add = [](HWND wnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
        return TRUE;
    };
    if (parent) EnumChildWindows(parent, add, reinterpret_cast<LPARAM>(&list));
    else EnumWindows(add, reinterpret_cast<LPARAM>(&list));
    return list;
}

inline bool HasClass(HWND wnd, const wchar_t* name) {
    wchar_t cls[64] = {};
    GetClassNameW(wnd, cls, 64);
    return _wcsicmp(cls, name) == 0;
}

// The visible top-level windows of class name.
inline std::vector<HWND> VisibleOfClass(const wchar_t* name) {
    std::vector<HWND> found;
    for (HWND wnd : Windows(nullptr))
        if (IsWindowVisible(wnd) && HasClass(wnd, name)) found.push_back(wnd);
    return found;
}

// The number of rows the list holds; -1 while it does not answer. The
// question waits while the program is busy (it answers on its next message),
// which only delays the caller; the bound keeps a hung program from stopping
// the clock.
inline long ListRows(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count)) return -1;
    return static_cast<long>(count);
}

// Seconds since the unix epoch (Wine reads the unix clock), to compare with
// the script's own clock.
inline double UnixNow() {
    FILETIME ft{};
    GetSystemTimePreciseAsFileTime(&ft);
    ULARGE_INTEGER t{};
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    // 100 ns units since 1601-01-01; the unix epoch is 11644473600 s later.
    return static_cast<double>(t.QuadPart) / 1e7 - 11644473600.0;
}

}  // namespace bench
