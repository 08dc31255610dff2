#include "core/messages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/error.h"

namespace {

using core::messages::ErrorText;
using core::messages::Failure;
using core::messages::Sentence;

std::string Show(const std::wstring& text) { return core::Error(text).what(); }

TEST(UserMessages, MissingFolderReadsAsTheUserSeesIt) {
    EXPECT_EQ(ErrorText(Failure::OpenFolder, LR"(C:\does\not\exist)", L"File not found.", L"PathToPidl", 0x80070002u),
              L"フォルダー \"C:\\does\\not\\exist\" を開けません。\n\nFile not found.\n(PathToPidl 0x80070002)");
    EXPECT_EQ(ErrorText(Failure::ReadFolder, LR"(\\srv\share)", L"", L"EnumObjects", 0x80070035u),
              L"フォルダー \"\\\\srv\\share\" の内容を読み取れません。\n\n(EnumObjects 0x80070035)");
    // A code the system has no text for still names the call and the code.
    EXPECT_EQ(ErrorText(Failure::FindDesktop, L"ignored", L"", L"", 0xA1B2C3D4u),
              L"デスクトップの場所を取得できません。\n\n(0xA1B2C3D4)");
    // Without a code: the sentence and the reason only.
    EXPECT_EQ(ErrorText(Failure::UseMask, L"[a", core::messages::kMaskUnclosedSet),
              std::wstring(L"マスク \"[a\" は使えません。\n\n") + core::messages::kMaskUnclosedSet);
    EXPECT_EQ(ErrorText(Failure::UseMask, L"[a", L""), L"マスク \"[a\" は使えません。");
}

TEST(UserMessages, EveryKindIsOneJapaneseSentenceOfItsOwn) {
    const Failure all[] = {Failure::OpenFolder,    Failure::ReadFolder, Failure::FindDesktop,
                           Failure::StartShell,    Failure::ReserveMemory, Failure::UseItem,
                           Failure::CreateWindow,  Failure::UseMask,    Failure::Unknown};
    std::set<std::wstring> seen;
    for (Failure kind : all) {
        const std::wstring text = Sentence(kind, L"X:\\subject");
        EXPECT_TRUE(seen.insert(text).second) << "two kinds read alike: " << Show(text);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), L'。') << Show(text);
        EXPECT_EQ(text.find(L'\n'), std::wstring::npos) << Show(text);
        // No English left in the sentence itself, apart from the subject.
        std::wstring rest = text;
        if (const size_t at = rest.find(L"\"X:\\subject\""); at != std::wstring::npos) rest.erase(at, 12);
        for (wchar_t c : rest) EXPECT_FALSE((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) << Show(text);
    }
    // The kinds about a thing name it.
    for (Failure kind : {Failure::OpenFolder, Failure::ReadFolder, Failure::UseItem, Failure::CreateWindow,
                         Failure::UseMask})
        EXPECT_NE(Sentence(kind, L"C:\\x").find(L"\"C:\\x\""), std::wstring::npos) << Show(Sentence(kind, L"C:\\x"));
    EXPECT_EQ(Sentence(Failure::UseItem), L"項目を扱えません。");
}

TEST(UserMessages, DialogTextsAndCounts) {
    EXPECT_EQ(core::messages::RenameFailed(L"a.txt", L"b.txt"), L"「a.txt」の名前を「b.txt」に変更できませんでした。");
    EXPECT_EQ(core::messages::MoreErrors(3), L"このほかに 3 件のエラーが発生しました。");
    EXPECT_EQ(core::messages::HexCode(0x80004005u), L"0x80004005");
    EXPECT_EQ(std::wstring(core::messages::kNothing), L"(なし)");
}

}  // namespace
