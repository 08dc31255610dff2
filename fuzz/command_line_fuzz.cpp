// Input: arbitrary text, used twice: as a whole process command line (split,
// then parsed without the program name), and line by line as an argument
// vector handed straight to ParseCommandLine (so empty arguments and
// arguments holding quotes or blanks, which the splitter never makes, are
// parsed too).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "fuzz_input.h"

namespace {

using Tokens = std::vector<std::wstring>;

std::string ShowAll(const Tokens& tokens) {
    std::string out = "{";
    for (const std::wstring& t : tokens) out += fuzz::Show(t) + " ";
    return out + "}";
}

void CheckTokens(const std::wstring& line, const Tokens& tokens) {
    std::wstring quoted;
    for (const std::wstring& token : tokens) {
        if (token.empty()) fuzz::Fail("empty token from " + fuzz::Show(line));
        if (token.find(L'"') != std::wstring::npos) fuzz::Fail("a quote reached a token from " + fuzz::Show(line));
        if (token.find(L'\0') != std::wstring::npos) fuzz::Fail("a NUL reached a token from " + fuzz::Show(line));
        quoted += L'"' + token + L"\" ";
    }
    const Tokens again = core::SplitCommandLine(quoted);
    if (again != tokens) {
        fuzz::Fail("quoting and splitting again changed " + ShowAll(tokens) + " into " + ShowAll(again));
    }
}

void CheckSplitPath(const std::wstring& path) {
    const core::PathParts parts = core::SplitPath(path);
    if (parts.fileName.find_first_of(L"\\:") != std::wstring::npos) fuzz::Fail("delimiter in file part of " + fuzz::Show(path));
    // Only a last backslash may be dropped; nothing else is lost or added.
    if (parts.directory + parts.fileName != path && parts.directory + L'\\' + parts.fileName != path) {
        fuzz::Fail("split of " + fuzz::Show(path) + " gives " + fuzz::Show(parts.directory) + " + " + fuzz::Show(parts.fileName));
    }
}

bool IsSwitch(const std::wstring& a) { return !a.empty() && (a[0] == L'-' || a[0] == L'/'); }

void CheckParse(const Tokens& arguments) {
    const core::CommandLine cl = core::ParseCommandLine(arguments);
    if ((cl.enumFlags & 0x1000) == 0 || (cl.enumFlags & ~0x10E0) != 0) {
        fuzz::Fail("flags " + std::to_string(cl.enumFlags) + " from " + ShowAll(arguments));
    }
    if (cl.fileMask.empty()) fuzz::Fail("empty mask from " + ShowAll(arguments));

    std::int32_t flags = 0;
    const std::wstring* lastPath = nullptr;
    for (const std::wstring& a : arguments) {
        if (IsSwitch(a)) {
            if (a.size() >= 2 && a[1] == L'I') {
                if (a.find(L'F') != std::wstring::npos) flags |= 0x20;
                if (a.find(L'N') != std::wstring::npos) flags |= 0x40;
                if (a.find(L'H') != std::wstring::npos) flags |= 0x80;
            }
        } else if (!a.empty()) {
            lastPath = &a;
        }
    }
    if (cl.enumFlags != ((flags == 0 ? 0xE0 : flags) | 0x1000)) fuzz::Fail("wrong flags from " + ShowAll(arguments));

    if (lastPath == nullptr) {
        if (!cl.rootPath.empty() || cl.fileMask != L"**") fuzz::Fail("root or mask without a path from " + ShowAll(arguments));
        return;
    }
    CheckSplitPath(*lastPath);
    const core::CommandLine alone = core::ParseCommandLine({*lastPath});
    if (alone.rootPath != cl.rootPath || alone.fileMask != cl.fileMask) {
        fuzz::Fail("not the last path alone decides root and mask in " + ShowAll(arguments));
    }
    const core::PathParts parts = core::SplitPath(*lastPath);
    if (cl.rootPath != parts.directory || cl.fileMask != (parts.fileName.empty() ? L"**" : parts.fileName)) {
        fuzz::Fail("root/mask differ from the split of the last path in " + ShowAll(arguments));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::Decode(data, size);

    Tokens tokens = core::SplitCommandLine(text);
    CheckTokens(text, tokens);
    if (!tokens.empty()) tokens.erase(tokens.begin());  // the program's name
    CheckParse(tokens);

    const Tokens lines = fuzz::Lines(text);
    CheckParse(lines);
    for (const std::wstring& line : lines) CheckSplitPath(line);
    return 0;
}
