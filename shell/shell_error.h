#pragma once
// Errors for failing shell and COM results.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/error.h"

namespace shell {

// A failing HRESULT, with the operation that gave it, its argument (a path,
// say) and the system's own message text.
class ShellError : public core::Error {
public:
    ShellError(HRESULT hr, std::wstring_view operation, std::wstring_view argument = {});
    HRESULT Result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// The system's message text for an HRESULT, without the trailing line break;
// empty when the system has none.
std::wstring SystemMessage(HRESULT hr);

// Raises ShellError when hr is a failure code.
inline void CheckHr(HRESULT hr, std::wstring_view operation, std::wstring_view argument = {}) {
    if (FAILED(hr)) throw ShellError(hr, operation, argument);
}

}  // namespace shell
