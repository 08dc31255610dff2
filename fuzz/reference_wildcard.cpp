#include "reference_wildcard.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace fuzz {
namespace {

using Range = std::pair<std::uint32_t, std::uint32_t>;

std::uint32_t Code(wchar_t c) { return static_cast<std::uint32_t>(c); }

bool IsLower(std::uint32_t c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(std::uint32_t c) { return c >= 'A' && c <= 'Z'; }

// The other-case partner of an ASCII letter; any other code is its own.
std::uint32_t OtherCase(std::uint32_t c) {
    if (IsLower(c)) return c - 32;
    if (IsUpper(c)) return c + 32;
    return c;
}

bool SameLetter(std::uint32_t a, std::uint32_t b) { return a == b || OtherCase(a) == b; }

// A set written in the mask, from its '[' up to and including its ']'.
struct Set {
    bool ok = false;  // false: malformed
    bool negated = false;
    std::vector<Range> ranges;
    std::size_t end = 0;  // index just past the ']'
};

Set ReadSet(std::wstring_view mask, std::size_t open) {
    Set set;
    std::size_t i = open + 1;
    if (i < mask.size() && mask[i] == L'!') {
        set.negated = true;
        ++i;
    }
    while (i < mask.size()) {
        const wchar_t c = mask[i];
        if (c == L']') {
            if (set.ranges.empty()) return set;  // empty set
            set.ok = true;
            set.end = i + 1;
            return set;
        }
        if (c == L'-') {
            // Only "-]" is allowed: a hyphen as the last member.
            if (i + 1 < mask.size() && mask[i + 1] == L']') {
                set.ranges.push_back({'-', '-'});
                ++i;
                continue;
            }
            return set;
        }
        if (i + 2 < mask.size() && mask[i + 1] == L'-' && mask[i + 2] != L']') {
            set.ranges.push_back({Code(c), Code(mask[i + 2])});
            i += 3;
        } else {
            set.ranges.push_back({Code(c), Code(c)});
            i += 1;
        }
    }
    return set;  // no closing ']'
}

bool InSet(const Set& set, std::uint32_t c) {
    bool listed = false;
    // Codes above 255 are never members; for the others a range cut at 255
    // is the same as the range itself.
    if (c <= 255) {
        for (const Range& r : set.ranges) {
            const std::uint32_t other = OtherCase(c);
            if ((r.first <= c && c <= r.second) || (r.first <= other && other <= r.second)) listed = true;
        }
    }
    return set.negated ? !listed : listed;
}

ReferenceResult Match(std::wstring_view mask, std::size_t m, std::wstring_view name, std::size_t n, long& budget) {
    if (--budget < 0) return ReferenceResult::TooHard;
    if (m == mask.size()) return n == name.size() ? ReferenceResult::Match : ReferenceResult::NoMatch;

    if (mask[m] == L'*') {
        // The run of '*' and of the '?' that follow it is one "any run".
        std::size_t after = m;
        while (after < mask.size() && (mask[after] == L'*' || mask[after] == L'?')) ++after;
        for (std::size_t k = n; k <= name.size(); ++k) {
            const ReferenceResult r = Match(mask, after, name, k, budget);
            if (r != ReferenceResult::NoMatch) return r;
        }
        return ReferenceResult::NoMatch;
    }

    if (n == name.size()) return ReferenceResult::NoMatch;
    const std::uint32_t c = Code(name[n]);
    if (mask[m] == L'?') return Match(mask, m + 1, name, n + 1, budget);
    if (mask[m] == L'[') {
        const Set set = ReadSet(mask, m);
        if (!InSet(set, c)) return ReferenceResult::NoMatch;
        return Match(mask, set.end, name, n + 1, budget);
    }
    if (!SameLetter(Code(mask[m]), c)) return ReferenceResult::NoMatch;
    return Match(mask, m + 1, name, n + 1, budget);
}

}  // namespace

bool ReferenceMalformed(std::wstring_view mask) {
    int starRuns = 0;
    bool inStarRun = false;
    std::size_t i = 0;
    while (i < mask.size()) {
        if (mask[i] == L'*') {
            if (!inStarRun && ++starRuns > 30) return true;
            inStarRun = true;
            ++i;
        } else if (mask[i] == L'?') {
            ++i;  // neither starts nor ends a run of '*'
        } else if (mask[i] == L'[') {
            const Set set = ReadSet(mask, i);
            if (!set.ok) return true;
            inStarRun = false;
            i = set.end;
        } else {
            inStarRun = false;
            ++i;
        }
    }
    return false;
}

ReferenceResult ReferenceMatch(std::wstring_view mask, std::wstring_view name, long budget) {
    return Match(mask, 0, name, 0, budget);
}

}  // namespace fuzz
