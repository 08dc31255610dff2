#pragma once
// Turning fuzzer bytes into UTF-16 text, and reporting a finding.
//
// Bytes below 0x80 are ASCII, so seed files stay readable and the fuzzer's
// mutations mostly produce the characters the parsers care about; 0x80..0xFE
// stand for U+0080..U+00FE; 0xFF followed by two bytes (high, low) is any
// 16-bit code, so characters above 255 and the aliases of '-', '/', 'a' in
// their low byte are reachable too.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::wstring Decode(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.push_back(static_cast<wchar_t>((data[i + 1] << 8) | data[i + 2]));
            i += 2;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return text;
}

inline std::vector<std::wstring> Lines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L'\n', start);
        lines.emplace_back(text.substr(start, end == std::wstring_view::npos ? end : end - start));
        if (end == std::wstring_view::npos) return lines;
        start = end + 1;
    }
}

// Printable rendering for a report: ASCII as is, anything else as \uXXXX.
inline std::string Show(std::wstring_view text) {
    std::string out = "\"";
    for (wchar_t c : text) {
        const auto code = static_cast<unsigned long>(static_cast<std::uint32_t>(c) & 0xFFFFFFFFu);
        if (code >= 0x20 && code < 0x7F && c != L'\\' && c != L'"') {
            out.push_back(static_cast<char>(c));
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\u%04lX", code);
            out += buffer;
        }
    }
    return out + "\"";
}

// A finding: libFuzzer treats the abort as a crash and saves the input.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "\n*** FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzz
