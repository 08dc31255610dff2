#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using core::CommandLine;
using core::ParseCommandLine;
using core::SplitCommandLine;
using core::SplitPath;
using Tokens = std::vector<std::wstring>;

// ---- Argument splitting -------------------------------------------------

TEST(SplitCommandLine, BlanksAndControlCharactersSeparate) {
    EXPECT_EQ(SplitCommandLine(L"quince.exe -IF C:\\Data\\*.txt"),
              (Tokens{L"quince.exe", L"-IF", L"C:\\Data\\*.txt"}));
    EXPECT_EQ(SplitCommandLine(L"  a\t\tb\r\n\x01" L"c \x1f" L"d  "), (Tokens{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(SplitCommandLine(L""), Tokens{});
    EXPECT_EQ(SplitCommandLine(L"   "), Tokens{});
}

TEST(SplitCommandLine, QuotesGroupAndAreDropped) {
    EXPECT_EQ(SplitCommandLine(L"\"C:\\Program Files\\q.exe\" \"C:\\My Files\\*.doc\""),
              (Tokens{L"C:\\Program Files\\q.exe", L"C:\\My Files\\*.doc"}));
    // Quotes toggle anywhere inside a token.
    EXPECT_EQ(SplitCommandLine(L"q C:\\\"My Files\"\\x\" \"y"), (Tokens{L"q", L"C:\\My Files\\x y"}));
    // Inside quotes every character up to the closing one belongs to the token.
    EXPECT_EQ(SplitCommandLine(L"q \"a\tb\""), (Tokens{L"q", L"a\tb"}));
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(SplitCommandLine(L"q \"a b"), (Tokens{L"q", L"a b"}));
}

TEST(SplitCommandLine, NoEscapeCharacter) {
    // A backslash before a quote is kept and the quote still closes.
    EXPECT_EQ(SplitCommandLine(L"q \"C:\\Data\\\" x"), (Tokens{L"q", L"C:\\Data\\", L"x"}));
    EXPECT_EQ(SplitCommandLine(L"q a\\\"b c\""), (Tokens{L"q", L"a\\b c"}));
}

TEST(SplitCommandLine, EmptyQuotePairWhereTokenBeginsIsASeparator) {
    EXPECT_EQ(SplitCommandLine(L"q \"\" x"), (Tokens{L"q", L"x"}));
    EXPECT_EQ(SplitCommandLine(L"q \"\"\"\"x"), (Tokens{L"q", L"x"}));
    EXPECT_EQ(SplitCommandLine(L"q \"\""), (Tokens{L"q"}));
    // Inside a token a pair is just an empty quoted stretch.
    EXPECT_EQ(SplitCommandLine(L"q a\"\"b"), (Tokens{L"q", L"ab"}));
}

TEST(SplitCommandLine, StopsAtFirstEmptyTokenAndAtNul) {
    // A lone quote at the end makes an empty token: nothing after the
    // program name before it is lost, and nothing is invented.
    EXPECT_EQ(SplitCommandLine(L"q a \""), (Tokens{L"q", L"a"}));
    EXPECT_EQ(SplitCommandLine(L"q \"\"\""), (Tokens{L"q"}));
    EXPECT_EQ(SplitCommandLine(std::wstring_view(L"q a\0b", 5)), (Tokens{L"q", L"a"}));
}

TEST(SplitCommandLine, CharactersAboveBlankAreNeverSeparators) {
    // Codes with a low byte of 32 or less must not split (U+3000 is the
    // ideographic space, U+0120 has 0x20 as its low byte).
    EXPECT_EQ(SplitCommandLine(L"q a\u3000b c\u0120d"), (Tokens{L"q", L"a\u3000b", L"c\u0120d"}));
}

// ---- Path splitting -----------------------------------------------------

struct PathCase {
    const wchar_t* path;
    const wchar_t* directory;
    const wchar_t* fileName;
};

class SplitPathCase : public testing::TestWithParam<PathCase> {};

TEST_P(SplitPathCase, SplitsAtLastDelimiter) {
    const PathCase& c = GetParam();
    const core::PathParts parts = SplitPath(c.path);
    EXPECT_EQ(parts.directory, c.directory);
    EXPECT_EQ(parts.fileName, c.fileName);
}

INSTANTIATE_TEST_SUITE_P(All, SplitPathCase, testing::Values(
    PathCase{L"C:\\Data\\*.txt", L"C:\\Data", L"*.txt"},
    PathCase{L"C:\\Data\\", L"C:\\Data", L""},
    PathCase{L"C:\\Data", L"C:\\", L"Data"},
    PathCase{L"C:\\*.txt", L"C:\\", L"*.txt"},
    PathCase{L"\\*.txt", L"\\", L"*.txt"},
    PathCase{L"\\\\server\\share\\*", L"\\\\server\\share", L"*"},
    PathCase{L"\\\\server", L"\\\\", L"server"},
    PathCase{L"C:", L"C:", L""},
    PathCase{L"C:*.txt", L"C:", L"*.txt"},
    PathCase{L"::{GUID}", L"::", L"{GUID}"},
    PathCase{L"::{G1}\\::{G2}", L"::{G1}\\::", L"{G2}"},
    PathCase{L"*.txt", L"", L"*.txt"},
    PathCase{L"", L"", L""},
    PathCase{L"C:/Data/x", L"C:", L"/Data/x"}));  // '/' is no delimiter

// ---- Command line -------------------------------------------------------

CommandLine Parse(const wchar_t* argumentsLine) {
    // The tests give the arguments as a line after a program name, as the
    // process gets them.
    Tokens tokens = SplitCommandLine(std::wstring(L"quince.exe ") + argumentsLine);
    tokens.erase(tokens.begin());
    return ParseCommandLine(tokens);
}

struct FlagCase {
    const wchar_t* arguments;
    std::int32_t flags;
};

class SwitchFlags : public testing::TestWithParam<FlagCase> {};

TEST_P(SwitchFlags, GiveEnumerationFlags) {
    const CommandLine cl = Parse(GetParam().arguments);
    EXPECT_EQ(cl.enumFlags, GetParam().flags);
    EXPECT_EQ(cl.rootPath, L"");
    EXPECT_EQ(cl.fileMask, L"**");
}

INSTANTIATE_TEST_SUITE_P(All, SwitchFlags, testing::Values(
    FlagCase{L"", 0x10E0},
    FlagCase{L"-IF", 0x1020},
    FlagCase{L"/INH", 0x10C0},
    FlagCase{L"-IH", 0x1080},
    FlagCase{L"-I", 0x10E0},
    FlagCase{L"-IFF", 0x1020},
    FlagCase{L"-IF -IF", 0x1020},
    FlagCase{L"-IF /IN", 0x1060},
    FlagCase{L"-IxyzHqq", 0x1080},                  // letters anywhere after "I"
    FlagCase{L"-iF", 0x10E0},
    FlagCase{L"-If", 0x10E0},
    FlagCase{L"-X", 0x10E0},
    FlagCase{L"-", 0x10E0},
    FlagCase{L"/", 0x10E0},
    FlagCase{L"-FI", 0x10E0},                       // "I" must come second
    FlagCase{L"-X -IN", 0x1040}));

TEST(ParseCommandLine, PathArgumentGivesRootAndMask) {
    CommandLine cl = Parse(L"C:\\Data\\*.txt");
    EXPECT_EQ(cl.rootPath, L"C:\\Data");
    EXPECT_EQ(cl.fileMask, L"*.txt");
    EXPECT_EQ(cl.enumFlags, 0x10E0);

    cl = Parse(L"C:\\Data\\");
    EXPECT_EQ(cl.rootPath, L"C:\\Data");
    EXPECT_EQ(cl.fileMask, L"**");

    cl = Parse(L"C:\\Data");
    EXPECT_EQ(cl.rootPath, L"C:\\");
    EXPECT_EQ(cl.fileMask, L"Data");

    cl = Parse(L"*.txt");
    EXPECT_EQ(cl.rootPath, L"");
    EXPECT_EQ(cl.fileMask, L"*.txt");

    cl = Parse(L"\\\\server\\share\\*");
    EXPECT_EQ(cl.rootPath, L"\\\\server\\share");
    EXPECT_EQ(cl.fileMask, L"*");
}

TEST(ParseCommandLine, QuotedPathWithBlanksIsOneArgument) {
    const CommandLine cl = Parse(L"-IN \"C:\\My Files\\*.doc\"");
    EXPECT_EQ(cl.rootPath, L"C:\\My Files");
    EXPECT_EQ(cl.fileMask, L"*.doc");
    EXPECT_EQ(cl.enumFlags, 0x1040);
}

TEST(ParseCommandLine, LastPathArgumentDecidesBothRootAndMask) {
    CommandLine cl = Parse(L"C:\\A\\*.txt -IF D:\\B\\");
    EXPECT_EQ(cl.rootPath, L"D:\\B");
    EXPECT_EQ(cl.fileMask, L"**");  // not the earlier "*.txt"
    EXPECT_EQ(cl.enumFlags, 0x1020);

    cl = Parse(L"C:\\A\\*.txt *.doc");
    EXPECT_EQ(cl.rootPath, L"");    // back to the desktop
    EXPECT_EQ(cl.fileMask, L"*.doc");
}

TEST(ParseCommandLine, OnlyHyphenAndSlashStartSwitches) {
    // U+012D and U+012F share their low byte with '-' and '/'.
    CommandLine cl = Parse(L"\u012DIF");
    EXPECT_EQ(cl.enumFlags, 0x10E0);
    EXPECT_EQ(cl.fileMask, L"\u012DIF");
    cl = Parse(L"\u012FIF");
    EXPECT_EQ(cl.fileMask, L"\u012FIF");
}

TEST(ParseCommandLine, MalformedMaskIsAcceptedAsGiven) {
    const CommandLine cl = Parse(L"C:\\Data\\[abc");
    EXPECT_EQ(cl.rootPath, L"C:\\Data");
    EXPECT_EQ(cl.fileMask, L"[abc");
}

TEST(ParseCommandLine, EmptyArgumentIsIgnored) {
    const CommandLine cl = ParseCommandLine({L"C:\\Data\\*.txt", L""});
    EXPECT_EQ(cl.rootPath, L"C:\\Data");
    EXPECT_EQ(cl.fileMask, L"*.txt");
}

}  // namespace
