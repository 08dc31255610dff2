#include "core/messages.h"

#include <cwchar>

namespace core::messages {
namespace {

std::wstring Quoted(std::wstring_view subject) {
    std::wstring text(L"\"");
    text.append(subject);
    text += L'"';
    return text;
}

}  // namespace

std::wstring Sentence(Failure what, std::wstring_view subject) {
    switch (what) {
        case Failure::OpenFolder:
            return L"フォルダー " + Quoted(subject) + L" を開けません。";
        case Failure::ReadFolder:
            return L"フォルダー " + Quoted(subject) + L" の内容を読み取れません。";
        case Failure::FindDesktop:
            return L"デスクトップの場所を取得できません。";
        case Failure::StartShell:
            return L"シェルを開始できません。";
        case Failure::ReserveMemory:
            return L"メモリーを確保できません。";
        case Failure::UseItem:
            return subject.empty() ? L"項目を扱えません。" : L"項目 " + Quoted(subject) + L" を扱えません。";
        case Failure::CreateWindow:
            return L"ウィンドウ " + Quoted(subject) + L" を作成できません。";
        case Failure::UseMask:
            return L"マスク " + Quoted(subject) + L" は使えません。";
        case Failure::Unknown:
            break;
    }
    return L"原因不明のエラーが発生しました。";
}

std::wstring ErrorText(Failure what, std::wstring_view subject, std::wstring_view reason) {
    std::wstring text = Sentence(what, subject);
    if (!reason.empty()) {
        text += L"\n\n";
        text.append(reason);
    }
    return text;
}

std::wstring ErrorText(Failure what, std::wstring_view subject, std::wstring_view systemMessage,
                       std::wstring_view operation, std::uint32_t code) {
    std::wstring text = Sentence(what, subject);
    text += L"\n\n";
    if (!systemMessage.empty()) {
        text.append(systemMessage);
        text += L'\n';
    }
    text += L'(';
    if (!operation.empty()) {
        text.append(operation);
        text += L' ';
    }
    text += HexCode(code);
    text += L')';
    return text;
}

std::wstring HexCode(std::uint32_t code) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"0x%08lX", static_cast<unsigned long>(code));
    return buf;
}

std::wstring RenameFailed(std::wstring_view name, std::wstring_view typed) {
    std::wstring text(L"「");
    text.append(name);
    text += L"」の名前を「";
    text.append(typed);
    text += L"」に変更できませんでした。";
    return text;
}

std::wstring MoreErrors(int count) { return L"このほかに " + std::to_wstring(count) + L" 件のエラーが発生しました。"; }

}  // namespace core::messages
