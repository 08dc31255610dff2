#include "sys/text.h"

namespace sys {

std::wstring Widen(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), n);
    return wide;
}

}  // namespace sys
