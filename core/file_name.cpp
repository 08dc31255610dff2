#include "core/file_name.h"

namespace core {

bool IsReservedFileNameChar(wchar_t c) noexcept {
    switch (c) {
        case L'\\': case L'/': case L':': case L'*': case L'?': case L'"': case L'<': case L'>': case L'|':
            return true;
        default:
            return false;
    }
}

FileNameProblem CheckFileName(std::wstring_view name) noexcept {
    if (name.empty()) return FileNameProblem::Empty;
    bool onlyBlanksOrDots = true;
    // Control characters first: a name like "\x01" says more as that than as
    // anything else.
    for (wchar_t c : name)
        if (c < 0x20) return FileNameProblem::ControlCharacter;
    for (wchar_t c : name) {
        if (IsReservedFileNameChar(c)) return FileNameProblem::ReservedCharacter;
        if (c != L' ' && c != L'.') onlyBlanksOrDots = false;
    }
    return onlyBlanksOrDots ? FileNameProblem::OnlyBlanksOrDots : FileNameProblem::None;
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) return false;
    auto fold = [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

}  // namespace core
