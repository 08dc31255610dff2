#include "core/wildcard.h"
#include "core/messages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using core::MaskError;
using core::MatchesMask;
using core::WildcardMask;

struct MatchCase {
    const wchar_t* mask;
    const wchar_t* name;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << core::Error(std::wstring(L"mask '") + c.mask + L"' name '" + c.name + L"'").what();
}

class MaskMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(MaskMatch, GivesExpectedResult) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches);
}

INSTANTIATE_TEST_SUITE_P(Star, MaskMatch, testing::Values(
    MatchCase{L"*", L"", true},
    MatchCase{L"*", L"anything at all", true},
    MatchCase{L"**", L"", true},
    MatchCase{L"**", L"C:\\Data\\x.txt", true},
    MatchCase{L"*.txt", L"C:\\Data\\notes.txt", true},
    MatchCase{L"*.txt", L"notes.txt.bak", false},
    MatchCase{L"a*", L"C:\\a.txt", false},          // a full path begins with the drive
    MatchCase{L"a*b*c", L"abc", true},
    MatchCase{L"a*b*c", L"a-x-b-y-c", true},
    MatchCase{L"a*b*c", L"a-x-b-y-c-", false},
    MatchCase{L"::*", L"::{21EC2020-3AEA-1069-A2DD-08002B30309D}", true},
    MatchCase{L"::{A}\\::*", L"::{a}\\::{B}", true},
    MatchCase{L"::{A}\\::*", L"::{B}\\::{B}", false}));

INSTANTIATE_TEST_SUITE_P(Question, MaskMatch, testing::Values(
    MatchCase{L"?", L"", false},
    MatchCase{L"?", L"x", true},
    MatchCase{L"?", L"xy", false},
    MatchCase{L"a?c", L"abc", true},
    MatchCase{L"a?c", L"ac", false},
    MatchCase{L"??", L"ab", true},
    MatchCase{L"??", L"a", false},
    MatchCase{L"?*", L"", false},                   // '?' before '*' still counts
    MatchCase{L"?*", L"a", true},
    // A '?' after '*' (directly or after other such '?') adds nothing.
    MatchCase{L"*?", L"", true},
    MatchCase{L"*??", L"a", true},
    MatchCase{L"a*?", L"a", true},
    MatchCase{L"a*?b", L"ab", true},
    MatchCase{L"*?*?x", L"x", true},
    // ...but a literal or a set between them ends that.
    MatchCase{L"*x?", L"x", false},
    MatchCase{L"*x?", L"xy", true},
    MatchCase{L"*[x]?", L"x", false}));

INSTANTIATE_TEST_SUITE_P(Sets, MaskMatch, testing::Values(
    MatchCase{L"[abc]", L"b", true},
    MatchCase{L"[abc]", L"d", false},
    MatchCase{L"[abc]", L"", false},
    MatchCase{L"[abc]", L"ab", false},
    MatchCase{L"[a-c]x", L"bx", true},
    MatchCase{L"[a-c]x", L"dx", false},
    MatchCase{L"[0-9a-f]", L"7", true},
    MatchCase{L"[0-9a-f]", L"g", false},
    MatchCase{L"[!a-c]", L"d", true},
    MatchCase{L"[!a-c]", L"b", false},
    MatchCase{L"[!a-c]", L"", false},
    MatchCase{L"[!!]", L"!", false},
    MatchCase{L"[!!]", L"a", true},
    MatchCase{L"[a!]", L"!", true},                 // '!' later in a set is a member
    MatchCase{L"[*?]", L"*", true},                 // no wildcards inside a set
    MatchCase{L"[*?]", L"x", false},
    MatchCase{L"[[]", L"[", true},
    MatchCase{L"[a-]", L"-", true},                 // trailing '-' is a hyphen
    MatchCase{L"[a-]", L"a", true},
    MatchCase{L"[a-]", L"b", false},
    MatchCase{L"[-]", L"-", true},
    MatchCase{L"[z-a]", L"m", false},               // inverted range lists nothing
    MatchCase{L"[z-a]", L"z", false},
    MatchCase{L"[\u00e0-\u00ff]", L"\u00e9", true},
    MatchCase{L"*[0-9].log", L"app12.log", true},
    MatchCase{L"*[0-9].log", L"app1x.log", false}));

// Sets hold codes up to 255: a name character above that is never a member.
INSTANTIATE_TEST_SUITE_P(WideCharacters, MaskMatch, testing::Values(
    MatchCase{L"[\u3042]", L"\u3042", false},
    MatchCase{L"[\u3042a]", L"a", true},
    MatchCase{L"[a-\u3042]", L"\u00ff", true},
    MatchCase{L"[a-\u3042]", L"\u0100", false},
    MatchCase{L"[!a]", L"\u3042", true},
    MatchCase{L"[!\u3042]", L"\u3042", true},
    // 0x161 and 0x141 would alias 'a' and 'A' if cut to their low byte.
    MatchCase{L"[a]", L"\u0161", false},
    MatchCase{L"[!a]", L"\u0141", true},
    MatchCase{L"\u3042*", L"\u3042\u3044", true},
    MatchCase{L"?", L"\u3042", true}));

// Only a-z and A-Z are equal; no other letters are folded.
INSTANTIATE_TEST_SUITE_P(CaseFolding, MaskMatch, testing::Values(
    MatchCase{L"StubWindow32", L"stubwindow32", true},
    MatchCase{L"*.TXT", L"notes.txt", true},
    MatchCase{L"[a-c]", L"B", true},
    MatchCase{L"[A-C]", L"b", true},
    MatchCase{L"[!a]", L"A", false},
    MatchCase{L"\u00e9", L"\u00c9", false},        // é / É
    MatchCase{L"[\u00e9]", L"\u00c9", false},
    MatchCase{L"\u00e9", L"\u00e9", true},
    MatchCase{L"\u0434", L"\u0414", false},        // Cyrillic д / Д
    MatchCase{L"@", L"`", false},                   // neighbours of A..Z / a..z
    MatchCase{L"[[]", L"{", false}));

INSTANTIATE_TEST_SUITE_P(Literals, MaskMatch, testing::Values(
    MatchCase{L"", L"", true},
    MatchCase{L"", L"a", false},
    MatchCase{L"abc", L"abc", true},
    MatchCase{L"abc", L"abcd", false},              // the whole name must be used
    MatchCase{L"abc", L"ab", false},
    MatchCase{L"a]b", L"a]b", true},
    MatchCase{L"a-b!", L"a-b!", true}));

struct MalformedCase {
    const wchar_t* mask;
    const wchar_t* problem;
};

class MalformedMask : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedMask, RaisesErrorNamingTheMask) {
    const MalformedCase& c = GetParam();
    // Raised whatever the name, even one that would fail before the fault.
    for (const wchar_t* name : {L"", L"x", L"zzz"}) {
        try {
            MatchesMask(name, c.mask);
            ADD_FAILURE() << "no error for " << core::Error(c.mask).what();
        } catch (const MaskError& e) {
            EXPECT_NE(e.Message().find(c.mask), std::wstring::npos) << e.what();
            EXPECT_EQ(e.Message(), core::messages::ErrorText(core::messages::Failure::UseMask, c.mask, c.problem))
                << e.what();
        }
    }
}

using namespace core::messages;
INSTANTIATE_TEST_SUITE_P(All, MalformedMask, testing::Values(
    MalformedCase{L"[abc", kMaskUnclosedSet},
    MalformedCase{L"x*[", kMaskUnclosedSet},
    MalformedCase{L"[!", kMaskUnclosedSet},
    MalformedCase{L"[a-", kMaskUnclosedSet},
    MalformedCase{L"[]", kMaskEmptySet},
    MalformedCase{L"[!]", kMaskEmptySet},
    MalformedCase{L"a[]]", kMaskEmptySet},
    MalformedCase{L"[-a]", kMaskRangeWithoutStart},
    MalformedCase{L"[!-a]", kMaskRangeWithoutStart},
    MalformedCase{L"[a-c-e]", kMaskRangeWithoutStart}));

std::wstring StarRuns(int runs, const std::wstring& run) {
    std::wstring mask;
    for (int i = 0; i < runs; ++i) mask += run + L"x";
    return mask;
}

TEST(MaskStarRuns, ThirtyRunsAreAllowedThirtyOneAreNot) {
    EXPECT_TRUE(MatchesMask(std::wstring(30, L'x'), StarRuns(30, L"*")));
    EXPECT_THROW(MatchesMask(L"x", StarRuns(31, L"*")), MaskError);
}

TEST(MaskStarRuns, AdjacentStarsAndSkippedQuestionMarksFormOneRun) {
    EXPECT_NO_THROW(MatchesMask(L"x", StarRuns(30, L"***")));
    EXPECT_NO_THROW(MatchesMask(L"x", StarRuns(30, L"*?*?")));
    EXPECT_NO_THROW(MatchesMask(L"x", std::wstring(1000, L'*')));
    EXPECT_THROW(MatchesMask(L"x", StarRuns(31, L"**")), MaskError);
    // A set or literal between stars separates runs; a leading '?' does too.
    EXPECT_THROW(MatchesMask(L"x", StarRuns(31, L"?*")), MaskError);
}

TEST(MaskPerformance, PathologicalMasksFinishQuickly) {
    const std::wstring as(20000, L'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchesMask(as, L"*a*a*a*a*b"));
    EXPECT_FALSE(MatchesMask(as, StarRuns(30, L"*a") + L"b"));
    EXPECT_FALSE(MatchesMask(as, L"*aaaaaaaaaaaaaaaaaaaab"));
    EXPECT_TRUE(MatchesMask(as + L"b", L"*a*a*a*a*b"));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Exponential backtracking would take far longer than this even for
    // a few hundred characters; the linear scan needs milliseconds.
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

TEST(WildcardMask, CompiledOnceMatchesManyNames) {
    const WildcardMask mask(L"*.[ch]");
    EXPECT_TRUE(mask.Matches(L"main.c"));
    EXPECT_TRUE(mask.Matches(L"MAIN.H"));
    EXPECT_FALSE(mask.Matches(L"main.cpp"));
    EXPECT_THROW(WildcardMask(L"[x"), MaskError);
}

}  // namespace
