#pragma once
// Base of every error Quince raises itself. It carries a UTF-16 text so that
// paths and shell names survive unchanged up to the error message box.
#include <exception>
#include <string>

namespace core {

class Error : public std::exception {
public:
    explicit Error(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    // ASCII rendering of the message (non-ASCII characters become '?').
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};

}  // namespace core
