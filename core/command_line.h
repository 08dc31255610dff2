#pragma once
// The program's command line: argument splitting and the switches / path
// argument that choose the root folder, the enumeration flags and the mask.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Enumeration bits (the shell's SHCONTF values).
inline constexpr std::int32_t kEnumFolders = 0x20;
inline constexpr std::int32_t kEnumNonFolders = 0x40;
inline constexpr std::int32_t kEnumIncludeHidden = 0x80;
inline constexpr std::int32_t kEnumNavigation = 0x1000;
inline constexpr std::int32_t kEnumDefault = kEnumFolders | kEnumNonFolders | kEnumIncludeHidden;
inline constexpr wchar_t kDefaultFileMask[] = L"**";

// Splits a whole process command line into tokens the way the runtime does:
// characters 1..32 separate, double quotes group and are dropped, no escapes;
// a "" pair where a token would begin is skipped like a blank. Tokens end at
// the first empty one (a NUL ends the line). Element 0, if any, is the
// program's own name; the arguments are the elements after it.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// Directory part / file-name part of a path, split at the last '\' or ':'
// (a '/' is an ordinary character). The directory keeps a last ':', and a
// last '\' only when it is the first character or follows ':' or '\':
// "C:\Data" gives "C:\" + "Data", "\\srv\share\*" gives "\\srv\share" + "*".
// Where the last component of a path begins: just after its last '\' or
// ':' (0 when it has neither). "C:\Data\a.txt" gives 8, "::{GUID}" 2.
std::size_t NameStart(std::wstring_view path) noexcept;

struct PathParts {
    std::wstring directory;
    std::wstring fileName;
};
PathParts SplitPath(std::wstring_view path);

struct CommandLine {
    std::wstring rootPath;                               // empty: the desktop
    std::int32_t enumFlags = kEnumDefault | kEnumNavigation;
    std::wstring fileMask = kDefaultFileMask;
};

// Reads the arguments (without the program name) into a CommandLine:
// "-I" or "/I" followed by any of F, N, H (case-sensitive) select folders,
// non-folders and hidden items; other switches are ignored; the last path
// argument gives both root and mask. The mask is not checked here.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

}  // namespace core
