#include "core/wildcard.h"

#include <type_traits>

#include "core/messages.h"

namespace core {
namespace {

// wchar_t is unsigned 16-bit on Windows but signed 32-bit elsewhere; every
// comparison goes through the character's unsigned code.
std::uint32_t Code(wchar_t c) {
    return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

std::uint32_t FoldAscii(std::uint32_t code) {
    return code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code;
}

[[noreturn]] void Malformed(std::wstring_view mask, std::wstring_view problem) {
    throw MaskError(messages::ErrorText(messages::Failure::UseMask, mask, problem));
}

void AddRange(std::bitset<256>& set, std::uint32_t first, std::uint32_t last) {
    // An inverted range ("[z-a]") lists nothing; the set still counts as
    // written, it just matches no character through that range.
    for (std::uint32_t code = first; code <= last && code <= 255; ++code) {
        set.set(code);
        if (code >= 'a' && code <= 'z') set.set(code - ('a' - 'A'));
        if (code >= 'A' && code <= 'Z') set.set(code + ('a' - 'A'));
    }
}

}  // namespace

WildcardMask::WildcardMask(std::wstring_view mask) {
    const std::size_t n = mask.size();
    int starRuns = 0;
    // True while the mask is inside a run of '*', including any '?' that
    // follows a '*': such a '?' adds nothing and does not end the run.
    bool inStarRun = false;
    std::size_t i = 0;
    while (i < n) {
        const std::uint32_t c = Code(mask[i]);
        if (c == '*') {
            if (!inStarRun) {
                if (++starRuns > kMaxStarRuns) Malformed(mask, messages::kMaskTooManyStars);
                tokens_.push_back({Kind::Star, 0});
                inStarRun = true;
            }
            ++i;
            continue;
        }
        if (c == '?') {
            if (!inStarRun) tokens_.push_back({Kind::AnyOne, 0});
            ++i;
            continue;
        }
        inStarRun = false;
        if (c != '[') {
            tokens_.push_back({Kind::Literal, FoldAscii(c)});
            ++i;
            continue;
        }

        ++i;  // past '['
        bool negated = false;
        if (i < n && mask[i] == L'!') {
            negated = true;
            ++i;
        }
        std::bitset<256> set;
        bool listedAny = false;
        for (;;) {
            if (i >= n) Malformed(mask, messages::kMaskUnclosedSet);
            const std::uint32_t first = Code(mask[i]);
            if (first == ']') {
                if (!listedAny) Malformed(mask, messages::kMaskEmptySet);
                ++i;
                break;
            }
            if (first == '-') {
                if (i + 1 >= n) Malformed(mask, messages::kMaskUnclosedSet);
                if (mask[i + 1] != L']') Malformed(mask, messages::kMaskRangeWithoutStart);
            }
            ++i;
            std::uint32_t last = first;
            // "a-z" is a range; "a-]" is 'a' followed by a literal hyphen.
            if (i + 1 < n && mask[i] == L'-' && mask[i + 1] != L']') {
                last = Code(mask[i + 1]);
                i += 2;
            }
            AddRange(set, first, last);
            listedAny = true;
        }
        tokens_.push_back({negated ? Kind::NegatedSet : Kind::Set, static_cast<std::uint32_t>(sets_.size())});
        sets_.push_back(set);
    }
}

bool WildcardMask::MatchesOne(const Token& token, std::uint32_t code) const {
    switch (token.kind) {
        case Kind::AnyOne:
            return true;
        case Kind::Literal:
            return FoldAscii(code) == token.value;
        case Kind::Set:
            return code <= 255 && sets_[token.value].test(code);
        case Kind::NegatedSet:
            return code > 255 || !sets_[token.value].test(code);
        case Kind::Star:
            break;
    }
    return false;
}

bool WildcardMask::Matches(std::wstring_view name) const {
    // Every token but '*' consumes exactly one character, so on a mismatch it
    // is enough to retry from the most recent '*' with one more character
    // swallowed by it: an earlier '*' could only lead to the same states.
    // That keeps the match at O(name x mask) without recursion.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t t = 0;
    std::size_t j = 0;
    std::size_t starToken = kNone;
    std::size_t starName = 0;
    while (j < name.size()) {
        if (t < tokens_.size() && tokens_[t].kind == Kind::Star) {
            starToken = t++;
            starName = j;
        } else if (t < tokens_.size() && MatchesOne(tokens_[t], Code(name[j]))) {
            ++t;
            ++j;
        } else if (starToken != kNone) {
            t = starToken + 1;
            j = ++starName;
        } else {
            return false;
        }
    }
    while (t < tokens_.size() && tokens_[t].kind == Kind::Star) ++t;
    return t == tokens_.size();
}

bool MatchesMask(std::wstring_view name, std::wstring_view mask) {
    return WildcardMask(mask).Matches(name);
}

}  // namespace core
