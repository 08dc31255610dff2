#pragma once
// Window captions, class names and a finder for a process's top-level window.
#include <windows.h>

#include <string>

namespace wndinfo {

// The window's text, at most 260 characters; empty when it cannot be read.
std::wstring GetWindowCaption(HWND wnd);
// The window's class name, at most 260 characters; empty when it cannot be read.
std::wstring GetWindowClass(HWND wnd);
// Class name matches classMask and caption matches captionMask (wildcards).
bool WindowMatches(HWND wnd, const std::wstring& classMask, const std::wstring& captionMask);
// First top-level window of the process, in enumeration order, that matches
// both masks; null when there is none. The enumeration stops at that window.
// A malformed mask raises core::MaskError, once the enumeration has ended; the
// caption mask is only tried on windows whose class matched.
HWND FindProcessWindow(DWORD processId, const std::wstring& classMask, const std::wstring& captionMask);

}  // namespace wndinfo
