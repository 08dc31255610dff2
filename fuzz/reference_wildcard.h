#pragma once
// A deliberately naive wildcard matcher, used only as the fuzzer's oracle.
// It walks the mask text directly and backtracks recursively on '*', with no
// compilation step and no cleverness, so that it is easy to check by eye
// against the rules in core/wildcard.h.
#include <string_view>

namespace fuzz {

// True when the mask breaks a rule: a set without its closing ']', an empty
// set, a '-' opening a range without a first character, more than 30 runs
// of '*'.
bool ReferenceMalformed(std::wstring_view mask);

enum class ReferenceResult { NoMatch, Match, TooHard };

// Matches a well-formed mask. Backtracking is exponential on masks with many
// stars, so after `budget` steps it gives up with TooHard instead.
ReferenceResult ReferenceMatch(std::wstring_view mask, std::wstring_view name, long budget = 20000);

}  // namespace fuzz
