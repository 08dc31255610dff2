#include "core/file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using core::CheckFileName;
using core::FileNameProblem;

TEST(FileName, OrdinaryNamesAreAccepted) {
    for (const wchar_t* name : {L"b.txt", L"a", L"新しいフォルダー", L".profile", L"a b.txt", L"R&D", L"x..y",
                                L"\U0001F600.txt", L"\u05D0\u05D1.txt", L" lead", L"\u3000"}) {
        SCOPED_TRACE(testing::Message() << "name length " << std::wstring(name).size());
        EXPECT_EQ(CheckFileName(name), FileNameProblem::None);
    }
}

TEST(FileName, NamesTheFileSystemWouldTrimToNothingAreRejected) {
    EXPECT_EQ(CheckFileName(L""), FileNameProblem::Empty);
    for (const wchar_t* name : {L" ", L"   ", L".", L"..", L" . .", L"..."})
        EXPECT_EQ(CheckFileName(name), FileNameProblem::OnlyBlanksOrDots);
}

TEST(FileName, EveryReservedCharacterAnywhereIsRejected) {
    for (wchar_t c : std::wstring(L"\\/:*?\"<>|")) {
        for (std::wstring name : {std::wstring(1, c), L"a" + std::wstring(1, c) + L"b", L"ab" + std::wstring(1, c)}) {
            SCOPED_TRACE(testing::Message() << "character " << static_cast<int>(c));
            EXPECT_EQ(CheckFileName(name), FileNameProblem::ReservedCharacter);
        }
    }
    // The path tricks the check exists for.
    EXPECT_EQ(CheckFileName(L"..\\x"), FileNameProblem::ReservedCharacter);
    EXPECT_EQ(CheckFileName(L"C:x"), FileNameProblem::ReservedCharacter);
}

TEST(FileName, ControlCharactersAreRejected) {
    for (wchar_t c = 1; c < 0x20; ++c) EXPECT_EQ(CheckFileName(L"a" + std::wstring(1, c)), FileNameProblem::ControlCharacter);
    EXPECT_EQ(CheckFileName(std::wstring(L"a\0b", 3)), FileNameProblem::ControlCharacter);
    EXPECT_EQ(CheckFileName(L"\t"), FileNameProblem::ControlCharacter);
    EXPECT_EQ(CheckFileName(L"a\x7F"), FileNameProblem::None);  // DEL is allowed
}

TEST(FileName, VerbsCompareWithoutAsciiCaseOnly) {
    EXPECT_TRUE(core::EqualsAsciiNoCase(L"OPEN", L"open"));
    EXPECT_TRUE(core::EqualsAsciiNoCase(L"Properties", L"properties"));
    EXPECT_FALSE(core::EqualsAsciiNoCase(L"open", L"ope"));
    EXPECT_FALSE(core::EqualsAsciiNoCase(L"open", L"opem"));
    // Only A-Z fold: no other letter is made equal.
    EXPECT_FALSE(core::EqualsAsciiNoCase(L"\u00C9", L"\u00E9"));
    EXPECT_FALSE(core::EqualsAsciiNoCase(L"[", L"{"));
}

}  // namespace
