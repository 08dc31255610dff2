// Display names from STRRET records and from folders that answer or refuse.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "fake_folder.h"
#include "shell/shell_utils.h"
#include "test_support.h"

using namespace shell;
using shell_test::FakeFolder;
using shell_test::MakeFake;

namespace {

// A one-item list whose item ID holds `text` (no terminator of its own) at
// offset 4, followed by `tail` bytes of padding before the terminator.
std::vector<BYTE> ListWithText(const std::string& text, size_t tail = 0) {
    const size_t cb = 4 + text.size() + tail;
    std::vector<BYTE> bytes(cb + 2, 0);
    bytes[0] = static_cast<BYTE>(cb & 0xFF);
    bytes[1] = static_cast<BYTE>(cb >> 8);
    bytes[2] = 0x31;
    bytes[3] = 0x00;
    std::memcpy(bytes.data() + 4, text.data(), text.size());
    for (size_t i = 0; i < tail; ++i) bytes[4 + text.size() + i] = 'x';
    return bytes;
}

std::wstring ViaWide(const wchar_t* text) {
    STRRET r{};
    shell_test::WideName(text, &r);
    auto list = shell_test::MakeList({});
    return StrRetToString(shell_test::AsPidl(list), r);
}

std::wstring ViaCStr(const char* text) {
    STRRET r{};
    r.uType = STRRET_CSTR;
    std::strcpy(r.cStr, text);
    auto list = shell_test::MakeList({});
    return StrRetToString(shell_test::AsPidl(list), r);
}

std::wstring ViaOffset(const char* text) {
    auto list = ListWithText(text);
    STRRET r{};
    r.uType = STRRET_OFFSET;
    r.uOffset = 4;
    return StrRetToString(shell_test::AsPidl(list), r);
}

}  // namespace

// Folders mark some names with "?" and a digit; the rule is the same
// whichever way the name arrives.
TEST(StrRet, QuestionMarkRuleForEveryKind) {
    const struct {
        const char* in;
        const wchar_t* out;
    } cases[] = {
        {"?12:30", L"12:30"}, {"?1?2", L"12"}, {"?", L"?"},     {"?a?b", L"?a?b"},
        {"a?1", L"a?1"},      {"??1", L"??1"}, {"?9", L"9"},    {"plain", L"plain"},
    };
    for (const auto& c : cases) {
        const std::wstring wide(c.in, c.in + std::strlen(c.in));
        EXPECT_EQ(ViaWide(wide.c_str()), c.out) << c.in;
        EXPECT_EQ(ViaCStr(c.in), c.out) << c.in;
        EXPECT_EQ(ViaOffset(c.in), c.out) << c.in;
    }
}

TEST(StrRet, WideStringIsFreedAndCleared) {
    shell_test::MallocSpyScope scope;
    STRRET r{};
    shell_test::WideName(L"name", &r);
    if (scope.registered()) {
        EXPECT_EQ(scope.spy().outstanding.size(), 1u);
    }
    auto list = shell_test::MakeList({});
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(list), r), L"name");
    EXPECT_EQ(r.pOleStr, nullptr);  // a second look cannot free it twice
    if (scope.registered()) {
        EXPECT_TRUE(scope.spy().outstanding.empty());
    }
}

TEST(StrRet, EmptyAnswers) {
    auto list = shell_test::MakeList({});
    STRRET nullWide{};
    nullWide.uType = STRRET_WSTR;
    nullWide.pOleStr = nullptr;
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(list), nullWide), L"");
    STRRET unknown{};
    unknown.uType = 3;
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(list), unknown), L"");
}

// Offset names live inside the first item ID: they end at the first zero
// byte, never carry it, and never run past the item ID.
TEST(StrRet, OffsetTextIsBoundedByItemAndZero) {
    auto list = ListWithText(std::string("abc\0", 4));
    STRRET r{};
    r.uType = STRRET_OFFSET;
    r.uOffset = 4;
    const std::wstring name = StrRetToString(shell_test::AsPidl(list), r);
    EXPECT_EQ(name, L"abc");
    EXPECT_EQ(name.size(), 3u);

    auto unterminated = ListWithText("abc", 2);  // "abcxx" then the next count
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(unterminated), r), L"abcxx");

    auto second = shell_test::MakeList({});
    r.uOffset = static_cast<UINT>(list.size());  // beyond the item ID
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(list), r), L"");
    r.uOffset = 0;
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(second), r), L"");  // empty list
}

TEST(StrRet, InlineTextStopsAtRecordEnd) {
    STRRET r{};
    r.uType = STRRET_CSTR;
    std::memset(r.cStr, 'q', sizeof r.cStr);  // no terminator at all
    auto list = shell_test::MakeList({});
    EXPECT_EQ(StrRetToString(shell_test::AsPidl(list), r), std::wstring(sizeof r.cStr, L'q'));
}

TEST(DisplayName, RefusedItemGivesEmptyName) {
    auto folder = MakeFake<FakeFolder>();
    auto item = shell_test::MakeList({6});
    std::wstring name = L"unchanged";
    EXPECT_NO_THROW(name = GetDisplayName(folder.Get(), shell_test::AsPidl(item), SHGDN_NORMAL));
    EXPECT_EQ(name, L"");
}

TEST(DisplayName, FlagsReachTheFolder) {
    auto folder = MakeFake<FakeFolder>();
    folder->displayName = [](PCUITEMID_CHILD, SHGDNF flags, STRRET* out) {
        return shell_test::WideName(flags == SHGDN_FORPARSING ? L"parsing"
                                    : flags == SHGDN_INFOLDER ? L"infolder"
                                                              : L"other",
                                    out);
    };
    auto item = shell_test::MakeList({6});
    EXPECT_EQ(GetParsingName(folder.Get(), shell_test::AsPidl(item)), L"parsing");
    EXPECT_EQ(GetInFolderName(folder.Get(), shell_test::AsPidl(item)), L"infolder");
}

TEST(DisplayName, OffsetAnswerReadsTheListAskedAbout) {
    auto folder = MakeFake<FakeFolder>();
    folder->displayName = [](PCUITEMID_CHILD, SHGDNF, STRRET* out) {
        out->uType = STRRET_OFFSET;
        out->uOffset = 4;
        return S_OK;
    };
    auto item = ListWithText(std::string("Drive\0", 6));
    EXPECT_EQ(GetInFolderName(folder.Get(), shell_test::AsPidl(item)), L"Drive");
}

// GetDisplayName brings COM up for its own call and takes down only what it
// brought up: a thread's own apartment survives it.
TEST(DisplayName, LeavesTheThreadsApartmentAlone) {
    auto folder = MakeFake<FakeFolder>();
    folder->displayName = [](PCUITEMID_CHILD, SHGDNF, STRRET* out) { return shell_test::WideName(L"x", out); };
    auto item = shell_test::MakeList({6});
    std::wstring bare, inMta;
    HRESULT afterBare = S_OK, afterMta = E_FAIL;
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    std::thread([&] {
        bare = GetDisplayName(folder.Get(), shell_test::AsPidl(item), SHGDN_NORMAL);
        afterBare = CoGetApartmentType(&type, &qualifier);
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        inMta = GetDisplayName(folder.Get(), shell_test::AsPidl(item), SHGDN_NORMAL);
        afterMta = CoGetApartmentType(&type, &qualifier);
        CoUninitialize();
    }).join();
    EXPECT_EQ(bare, L"x");
    EXPECT_EQ(afterBare, CO_E_NOTINITIALIZED);
    EXPECT_EQ(inMta, L"x");
    EXPECT_EQ(afterMta, S_OK);
    EXPECT_EQ(type, APTTYPE_MTA);
}
