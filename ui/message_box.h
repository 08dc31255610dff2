#pragma once
// The toolkit's message box. Tests replace it (OnMessageBox) so that no
// modal box ever waits for a click that cannot come.
#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// Receives what would have been shown; returns the button "pressed".
using TMessageBoxHook = std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags)>;
extern TMessageBoxHook OnMessageBox;

// MessageBoxW, or OnMessageBox when one is set.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

}  // namespace ui
