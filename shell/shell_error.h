#pragma once
// Errors for failing shell and COM results.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/error.h"
#include "core/messages.h"

namespace shell {

using core::messages::Failure;

// A failing HRESULT. Its text is for the user: what could not be done and to
// what (subject: a path, say), then the system's message, the call that
// failed and the code.
class ShellError : public core::Error {
public:
    ShellError(HRESULT hr, std::wstring_view operation, Failure what, std::wstring_view subject = {});
    HRESULT Result() const noexcept { return hr_; }
    Failure What() const noexcept { return what_; }

private:
    HRESULT hr_;
    Failure what_;
};

// The system's message text for an HRESULT, without the trailing line break;
// empty when the system has none.
std::wstring SystemMessage(HRESULT hr);

// Raises ShellError when hr is a failure code.
inline void CheckHr(HRESULT hr, std::wstring_view operation, Failure what, std::wstring_view subject = {}) {
    if (FAILED(hr)) throw ShellError(hr, operation, what, subject);
}

}  // namespace shell
