#pragma once
// Looking up system functions that older systems may not have.
#include <windows.h>

namespace sys {

// A function exported by module, or null where it has none (or module is
// null).
template <typename Fn>
Fn ModuleProc(HMODULE module, const char* name) noexcept {
    if (module == nullptr) return nullptr;
    // Through a generic function pointer: a direct cast from FARPROC draws
    // -Wcast-function-type.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A function exported by an already loaded system module (kernel32, ntdll,
// user32, ...), or null where this system has none. Used for everything newer
// than Windows 7, so that the program still starts there.
template <typename Fn>
Fn SystemProc(const wchar_t* module, const char* name) noexcept {
    return ModuleProc<Fn>(GetModuleHandleW(module), name);
}

}  // namespace sys
