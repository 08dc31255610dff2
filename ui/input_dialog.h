#pragma once
// The toolkit's modal one-value input dialog: a prompt over a one-line edit
// and the buttons "OK" (default) and "キャンセル" (Escape too), with the
// system's message font for the dialog's DPI, centred on the screen.
#include <windows.h>

#include <string>

namespace ui {

// At most this many characters can be typed.
inline constexpr int kInputQueryMaxLength = 255;

// Shows the dialog with value as the initial text, fully selected. Returns
// true and the entered text in value when the user confirms; false (value
// unchanged) when the dialog is cancelled or cannot be shown.
bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& value);

// Control identifiers inside the dialog (besides IDOK and IDCANCEL).
inline constexpr int kInputQueryPromptId = 100;
inline constexpr int kInputQueryEditId = 101;

}  // namespace ui
