#pragma once
// Every text Quince shows its user, in Japanese, in one place: the sentences
// of its error reports and the words of its own dialogs. An error report
// says first what could not be done and to what, then, for whoever helps
// the user, the system's message and the code.
#include <cstdint>
#include <string>
#include <string_view>

namespace core::messages {

// What could not be done. Each kind reads as one sentence; the kinds that
// name something put their subject (a path, a name) in double quotes.
enum class Failure {
    OpenFolder,     // a root or sub-folder path the shell cannot parse
    ReadFolder,     // a folder whose items cannot be listed
    FindDesktop,    // the desktop's own ID list
    StartShell,     // the desktop folder object at start-up
    ReserveMemory,  // the shell allocator, or a block from it
    UseItem,        // an item that cannot be wrapped as a shell object
    CreateWindow,   // a window of Quince's own (subject: its class)
    UseMask,        // a malformed file mask
    Unknown,        // an error that carries no text
};

// "フォルダー "C:\x" を開けません。" and so on; subject is ignored by the
// kinds that name nothing.
std::wstring Sentence(Failure what, std::wstring_view subject = {});

// The sentence, then a blank line and the reason (when there is one).
std::wstring ErrorText(Failure what, std::wstring_view subject, std::wstring_view reason);

// The sentence, a blank line, the system's message (when it has one) and,
// on a line of its own, the failing call and its code:
//   フォルダー "C:\x" を開けません。
//
//   File not found.
//   (PathToPidl 0x80070002)
std::wstring ErrorText(Failure what, std::wstring_view subject, std::wstring_view systemMessage,
                       std::wstring_view operation, std::uint32_t code);

// "0x80070002"
std::wstring HexCode(std::uint32_t code);

// What a malformed mask lacks (the reason of a UseMask report).
inline constexpr wchar_t kMaskUnclosedSet[] = L"\"[\" に対応する \"]\" がありません。";
inline constexpr wchar_t kMaskEmptySet[] = L"\"[]\" の中に文字がありません。";
inline constexpr wchar_t kMaskRangeWithoutStart[] = L"範囲 \"-\" の前に文字がありません。";
inline constexpr wchar_t kMaskTooManyStars[] = L"\"*\" が 30 か所を超えています。";

// The placeholder row of a folder that lists nothing.
inline constexpr wchar_t kNothing[] = L"(\u306A\u3057)";

// The rename dialog and what it answers.
inline constexpr wchar_t kRenameCaption[] = L"名前の変更";
inline constexpr wchar_t kRenamePrompt[] = L"新しい名前:";
inline constexpr wchar_t kNameEmpty[] = L"名前を入力してください。";
inline constexpr wchar_t kNameOnlyBlanksOrDots[] = L"空白とピリオドだけの名前は使えません。";
inline constexpr wchar_t kNameReservedCharacter[] = L"ファイル名に次の文字は使えません: \\ / : * ? \" < > |";
inline constexpr wchar_t kNameControlCharacter[] = L"ファイル名に制御文字は使えません。";
// 「old」の名前を「typed」に変更できませんでした。
std::wstring RenameFailed(std::wstring_view name, std::wstring_view typed);

// The one-value input dialog's buttons.
inline constexpr wchar_t kOk[] = L"OK";
inline constexpr wchar_t kCancel[] = L"キャンセル";

// After a burst of errors, the one report that stands for the rest.
std::wstring MoreErrors(int count);

}  // namespace core::messages
