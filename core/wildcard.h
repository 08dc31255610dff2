#pragma once
// Wildcard masks as used for file masks, window class and caption masks and
// the Control Panel test: '*', '?', bracket sets with ranges and '!' negation.
// Only ASCII letters are compared without case.
#include <string>
#include <string_view>

#include "core/error.h"

namespace core {

// Raised for a malformed mask (unclosed or empty set, range without a first
// character, too many '*' runs).
class MaskError : public Error {
public:
    using Error::Error;
};

// True when the whole of `name` matches `mask`. Raises MaskError for a
// malformed mask.
bool MatchesMask(std::wstring_view name, std::wstring_view mask);

}  // namespace core
