#pragma once
// Whether a name the user typed can become a file's new name in its folder.
// The check is strict on purpose: a rename must never move a file elsewhere
// ("..\x"), nor leave a name the file system quietly trims to nothing.
#include <string_view>

namespace core {

enum class FileNameProblem {
    None,               // usable
    Empty,              // nothing typed
    OnlyBlanksOrDots,   // the file system strips trailing blanks and dots
    ReservedCharacter,  // one of \ / : * ? " < > |
    ControlCharacter,   // a code below U+0020
};

FileNameProblem CheckFileName(std::wstring_view name) noexcept;

// True for the characters no file name may hold: \ / : * ? " < > |.
bool IsReservedFileNameChar(wchar_t c) noexcept;

// ASCII-only case-insensitive equality (shell verbs are compared so).
bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace core
