#pragma once
// The window classes of the toolkit's own windows, and the errors for
// windows that could not be made.
#include <windows.h>

#include <string_view>

#include "core/error.h"

namespace ui {

// Registers wc, once per class name for the run (UI thread). Raises
// core::Error with the system's last error code when the system refuses the
// class; one registered before, by anyone, is no error.
void RegisterWindowClass(const WNDCLASSEXW& wc);

// The error for a window of class className that CreateWindowEx did not
// make, with the system's last error code.
core::Error WindowNotCreated(std::wstring_view className);

}  // namespace ui
