#pragma once
// Fonts shared by forms: every menu window asks for the same face and height,
// and one GDI font serves them all instead of one per window.
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace ui {

using SharedFont = std::shared_ptr<std::remove_pointer_t<HFONT>>;

// The font of this face and height (LOGFONT lfHeight), made on first use and
// deleted when the last holder lets go. Main thread only. Null if GDI fails.
SharedFont AcquireFormFont(const std::wstring& name, int height);

}  // namespace ui
