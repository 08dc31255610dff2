// The menu window's side of a command: rename with its own dialog, the
// current directory moved around "open", the pause after "eject" and the
// end-of-run handler after every verb.
#include <string>

#include "core/command_line.h"
#include "core/file_name.h"
#include "core/messages.h"
#include "folder/base_window.h"
#include "folder/folder_commands.h"
#include "shell/shell_error.h"
#include "shell/shell_utils.h"
#include "ui/input_dialog.h"
#include "ui/message_box.h"

namespace folder {

namespace {

using core::messages::kRenameCaption;
using core::messages::kRenamePrompt;
// A drive needs a moment after "eject" before the shell sees it gone.
constexpr DWORD kEjectPauseMs = 1000;

bool IsVerb(const std::wstring& verb, const wchar_t* name) { return core::EqualsAsciiNoCase(verb, name); }

std::wstring CurrentDirectory() {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::wstring dir(size, L'\0');
    DWORD n = GetCurrentDirectoryW(size, dir.data());
    dir.resize(n < size ? n : 0);
    return dir;
}

std::wstring ParsingName(const TShellObject& item) {
    if (!shell::DesktopFolder || item.AbsID == nullptr) return {};
    return shell::GetParsingName(shell::DesktopFolder.Get(), item.AbsID);
}

std::wstring ProblemText(core::FileNameProblem problem) {
    switch (problem) {
        case core::FileNameProblem::Empty:
            return core::messages::kNameEmpty;
        case core::FileNameProblem::OnlyBlanksOrDots:
            return core::messages::kNameOnlyBlanksOrDots;
        case core::FileNameProblem::ReservedCharacter:
            return core::messages::kNameReservedCharacter;
        case core::FileNameProblem::ControlCharacter:
            return core::messages::kNameControlCharacter;
        case core::FileNameProblem::None:
            break;
    }
    return {};
}

HWND DialogOwner(HWND fallback) {
    IBaseWindow* base = BaseWindow();
    return base && base->Form().Handle() ? base->Form().Handle() : fallback;
}

}  // namespace

HRESULT TFolderCommands::VerbExecuting(const std::wstring& Verb, bool& Handled) {
    return ui::Application().GuardHr([&] {
        TShellObject* item = Selected();
        if (IsVerb(Verb, L"rename")) {
            // Ours alone, confirmed or not: the shell is never asked.
            Handled = true;
            if (item) RenameEntry(*item);
        } else if (IsVerb(Verb, L"open")) {
            savePath_ = CurrentDirectory();
            // A folder opens with itself as the current directory; for a file
            // this fails, quietly, and nothing moves.
            if (item) SetCurrentDirectoryW(ParsingName(*item).c_str());
        }
        return S_OK;
    });
}

HRESULT TFolderCommands::VerbExecuted(const std::wstring& Verb, bool Succeeded) {
    auto& app = ui::Application();
    const HRESULT restored = app.GuardHr([&] {
        if (Succeeded && IsVerb(Verb, L"open")) {
            if (!savePath_.empty()) SetCurrentDirectoryW(savePath_.c_str());
        } else if (Succeeded && IsVerb(Verb, L"eject")) {
            Sleep(kEjectPauseMs);
        }
        return S_OK;
    });
    // Whatever the outcome, also of the above, the run ends now (after
    // "properties" once its sheet has come and gone).
    const HRESULT ended = app.GuardHr([&] {
        if (IBaseWindow* base = BaseWindow()) base->InstallEndOfRun(IsVerb(Verb, L"properties"));
        return S_OK;
    });
    return FAILED(restored) ? restored : ended;
}

void TFolderCommands::RenameEntry(TShellObject& Item) {
    const std::wstring path = ParsingName(Item);
    const size_t cut = core::NameStart(path);
    const std::wstring folder = path.substr(0, cut);
    const std::wstring name = path.substr(cut);

    const HWND owner = DialogOwner(Window());
    std::wstring typed = name;
    if (!ui::InputQuery(owner, kRenameCaption, kRenamePrompt, typed)) return;
    if (typed == name) return;
    // Checked, so that a typed "..\x" cannot move the file elsewhere.
    if (const core::FileNameProblem problem = core::CheckFileName(typed); problem != core::FileNameProblem::None) {
        ui::ShowMessageBox(owner, ProblemText(problem), kRenameCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    if (!MoveFileW(path.c_str(), (folder + typed).c_str())) {
        const DWORD error = GetLastError();
        std::wstring text = core::messages::RenameFailed(name, typed);
        const std::wstring reason = shell::SystemMessage(HRESULT_FROM_WIN32(error));
        if (!reason.empty()) text += L"\n\n" + reason;
        ui::ShowMessageBox(owner, text, kRenameCaption, MB_OK | MB_ICONERROR);
    }
}

}  // namespace folder
