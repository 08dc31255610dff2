#pragma once
// Wildcard masks as used for file masks, window class and caption masks and
// the Control Panel test: '*', '?', bracket sets with ranges and '!' negation.
// Only ASCII letters are compared without case.
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace core {

// Raised for a malformed mask (unclosed or empty set, range without a first
// character, too many '*' runs).
class MaskError : public Error {
public:
    using Error::Error;
};

// A mask checked and compiled once, for matching many names against it.
//   '*'      any run of characters, also an empty one;
//   '?'      exactly one character, except after a '*' (directly or after
//            other such '?'), where it adds nothing: "*?" is the same as "*";
//   [abc]    one of the listed characters or ranges ("a-z"); "[!...]" one
//            character outside them. Sets hold codes 0..255: a listed
//            character above 255 is left out, a range is cut at 255, and a
//            name character above 255 is never a member (so it matches a
//            '!' set). A '-' right before the closing ']' is a hyphen.
//   other    itself; a-z equal A-Z (also inside sets), nothing else folded.
// The whole name must be consumed.
class WildcardMask {
public:
    // Raises MaskError when `mask` is malformed.
    explicit WildcardMask(std::wstring_view mask);

    bool Matches(std::wstring_view name) const;

    // A mask may hold at most this many runs of '*' ("**" and "*?*" are one).
    static constexpr int kMaxStarRuns = 30;

private:
    enum class Kind : std::uint8_t { Star, AnyOne, Literal, Set, NegatedSet };
    struct Token {
        Kind kind;
        std::uint32_t value;  // Literal: folded code; (Negated)Set: index into sets_
    };

    bool MatchesOne(const Token& token, std::uint32_t code) const;

    std::vector<Token> tokens_;
    std::vector<std::bitset<256>> sets_;
};

// True when the whole of `name` matches `mask`. Raises MaskError for a
// malformed mask, whatever the name.
bool MatchesMask(std::wstring_view name, std::wstring_view mask);

}  // namespace core
