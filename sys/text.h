#pragma once
// Narrow text from the system or a library, as UTF-16.
#include <windows.h>

#include <string>
#include <string_view>

namespace sys {

// text in the given code page (the ANSI one unless told) as UTF-16; empty
// when the system cannot convert it. Characters the code page does not map
// become the system's replacement character.
std::wstring Widen(std::string_view text, UINT codePage = CP_ACP);

}  // namespace sys
