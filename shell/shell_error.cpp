#include "shell/shell_error.h"

#include <memory>

namespace shell {
namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t* p) const noexcept { LocalFree(p); }
};

std::wstring FormatSystemMessage(DWORD code) {
    wchar_t* raw = nullptr;
    const DWORD len = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    std::unique_ptr<wchar_t, LocalFreeDeleter> owner(raw);
    if (len == 0 || raw == nullptr) return {};
    std::wstring text(raw, len);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'\t'))
        text.pop_back();
    return text;
}

}  // namespace

ShellError::ShellError(HRESULT hr, std::wstring_view operation, Failure what, std::wstring_view subject)
    : core::Error(core::messages::ErrorText(what, subject, SystemMessage(hr), operation, static_cast<std::uint32_t>(hr))),
      hr_(hr),
      what_(what) {}

std::wstring SystemMessage(HRESULT hr) {
    std::wstring text = FormatSystemMessage(static_cast<DWORD>(hr));
    // Not every system knows the HRESULT form of a Win32 error; the plain
    // error code has a message wherever the HRESULT has one.
    if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32)
        text = FormatSystemMessage(static_cast<DWORD>(HRESULT_CODE(hr)));
    return text;
}

}  // namespace shell
