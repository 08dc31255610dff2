#include "core/command_line.h"

#include <type_traits>

namespace core {
namespace {

std::uint32_t Code(wchar_t c) {
    return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

// Codes 1..32 are blanks (a NUL is cut off before splitting).
bool IsBlank(wchar_t c) {
    const std::uint32_t code = Code(c);
    return code >= 1 && code <= 32;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    // The line is a C string to the runtime: nothing after a NUL is seen.
    if (const auto nul = commandLine.find(L'\0'); nul != std::wstring_view::npos) {
        commandLine = commandLine.substr(0, nul);
    }
    const std::size_t n = commandLine.size();
    std::vector<std::wstring> tokens;
    std::size_t i = 0;
    for (;;) {
        for (;;) {
            while (i < n && IsBlank(commandLine[i])) ++i;
            if (i + 1 < n && commandLine[i] == L'"' && commandLine[i + 1] == L'"') {
                i += 2;  // "" where a token would begin is just a separator
            } else {
                break;
            }
        }
        std::wstring token;
        while (i < n && !IsBlank(commandLine[i])) {
            if (commandLine[i] == L'"') {
                ++i;
                while (i < n && commandLine[i] != L'"') token.push_back(commandLine[i++]);
                if (i < n) ++i;  // the closing quote
            } else {
                token.push_back(commandLine[i++]);
            }
        }
        // The runtime counts arguments up to the first empty token, so
        // anything behind one (only a lone '"' at the very end makes one
        // before the line ends) is never seen.
        if (token.empty()) break;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::size_t NameStart(std::wstring_view path) noexcept {
    const std::size_t last = path.find_last_of(L"\\:");
    return last == std::wstring_view::npos ? 0 : last + 1;
}

PathParts SplitPath(std::wstring_view path) {
    if (NameStart(path) == 0) return {std::wstring(), std::wstring(path)};
    const std::size_t last = NameStart(path) - 1;

    PathParts parts{std::wstring(path.substr(0, last)), std::wstring(path.substr(last + 1))};
    // Keep the backslash where dropping it would change the folder meant:
    // "C:\" (the drive's root, not its current directory), "\" (the root
    // of the current drive) and "\\" (the start of a UNC name).
    const bool keepDelimiter =
        path[last] == L':' || last == 0 || path[last - 1] == L':' || path[last - 1] == L'\\';
    if (keepDelimiter) parts.directory.push_back(path[last]);
    return parts;
}

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
    CommandLine result;
    result.enumFlags = 0;
    result.fileMask.clear();
    for (const std::wstring& argument : arguments) {
        // An empty argument names nothing (the splitter never yields one).
        if (argument.empty()) continue;
        if (argument[0] == L'-' || argument[0] == L'/') {
            if (argument.size() >= 2 && argument[1] == L'I') {
                if (argument.find(L'F') != std::wstring::npos) result.enumFlags |= kEnumFolders;
                if (argument.find(L'N') != std::wstring::npos) result.enumFlags |= kEnumNonFolders;
                if (argument.find(L'H') != std::wstring::npos) result.enumFlags |= kEnumIncludeHidden;
            }
            continue;  // any other switch is ignored silently
        }
        PathParts parts = SplitPath(argument);
        result.rootPath = std::move(parts.directory);
        result.fileMask = std::move(parts.fileName);
    }
    if (result.enumFlags == 0) result.enumFlags = kEnumDefault;
    result.enumFlags |= kEnumNavigation;
    if (result.fileMask.empty()) result.fileMask = kDefaultFileMask;
    return result;
}

}  // namespace core
