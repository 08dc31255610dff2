// Hosting an item's shell context menu in a menu window: filled by the
// shell, tracked with the window as owner, and the chosen verb run.
#include <string>

#include "core/file_name.h"
#include "core/scope_exit.h"
#include "folder/folder_commands.h"
#include "folder/keyboard_commands.h"
#include "folder/shell_commands_internal.h"
#include "sys/text.h"
#include "ui/handles.h"

namespace folder {

// GCS_VERBA answers in the ANSI code page; handlers that answer only in
// UTF-16 are asked that way next.
std::wstring VerbOf(IContextMenu* Menu, UINT offset) {
    char narrow[261] = {};
    if (SUCCEEDED(Menu->GetCommandString(offset, GCS_VERBA, nullptr, narrow, sizeof(narrow)))) {
        narrow[sizeof(narrow) - 1] = '\0';
        if (std::wstring verb = sys::Widen(narrow); !verb.empty()) return verb;
    }
    wchar_t wide[261] = {};
    if (SUCCEEDED(Menu->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<char*>(wide), 261))) {
        wide[260] = L'\0';
        return wide;
    }
    return {};
}

void TFolderCommands::ShowContextMenu(TShellObject* Item, int X, int Y) {
    Microsoft::WRL::ComPtr<IContextMenu> menu = ContextMenuOf(Window(), Item);
    if (menu) RunContextMenu(menu.Get(), Item, X, Y);
}

void TFolderCommands::RunContextMenu(IContextMenu* Menu, TShellObject* Item, int X, int Y) {
    if (Menu == nullptr) return;
    ui::UniqueMenu popup(CreatePopupMenu());
    if (!popup) return;
    Menu->QueryContextMenu(popup.get(), 0, kFirstCommandId, kLastCommandId, ShownMenuFlags(WantsExtendedVerbs()));
    const UINT chosen = TrackContextMenu(Menu, popup.get(), X, Y);
    // Nothing chosen: the caller ends the run, as no end-of-run handler is set.
    if (chosen == 0) return;
    const UINT offset = chosen - kFirstCommandId;
    const std::wstring verb = VerbOf(Menu, offset);
    // "runas" starts an elevated copy of the command; the menus stay open
    // while it asks for consent.
    RunVerb(Menu, Item, verb, MAKEINTRESOURCEA(offset), !core::EqualsAsciiNoCase(verb, L"runas"));
}

UINT TFolderCommands::TrackContextMenu(IContextMenu* Menu, HMENU Popup, int X, int Y) {
    // Kept for the time of the menu loop, and put back as they were
    // afterwards (a context menu may be tracked inside another one).
    const auto kept = core::ScopeExit([this, menu2 = contextMenu2_, menu3 = contextMenu3_]() mutable {
        contextMenu2_ = std::move(menu2);
        contextMenu3_ = std::move(menu3);
    });
    contextMenu3_.Reset();
    contextMenu2_.Reset();
    if (FAILED(Menu->QueryInterface(IID_PPV_ARGS(&contextMenu3_)))) contextMenu3_.Reset();
    if (!contextMenu3_ && FAILED(Menu->QueryInterface(IID_PPV_ARGS(&contextMenu2_)))) contextMenu2_.Reset();
    // A menu whose owner is not the foreground window does not close on a
    // click outside it.
    SetForegroundWindow(Window());
    return static_cast<UINT>(TrackPopupMenuEx(Popup, TPM_RETURNCMD | TPM_RECURSE, X, Y, Window(), nullptr));
}

bool TFolderCommands::ForwardMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!contextMenu3_ && !contextMenu2_) return false;
    switch (msg) {
        case WM_INITMENUPOPUP:
        case WM_MENUCHAR:
            break;
        case WM_DRAWITEM:
            // Our own owner-drawn list draws itself.
            if (reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->CtlType != ODT_MENU) return false;
            break;
        case WM_MEASUREITEM:
            if (reinterpret_cast<const MEASUREITEMSTRUCT*>(lp)->CtlType != ODT_MENU) return false;
            break;
        default:
            return false;
    }
    if (contextMenu3_) {
        LRESULT answer = 0;
        if (FAILED(contextMenu3_->HandleMenuMsg2(msg, wp, lp, &answer))) return false;
        result = answer;
        return true;
    }
    // IContextMenu2 has no answer to give and knows nothing of WM_MENUCHAR.
    if (msg == WM_MENUCHAR || FAILED(contextMenu2_->HandleMenuMsg(msg, wp, lp))) return false;
    result = (msg == WM_INITMENUPOPUP) ? 0 : TRUE;
    return true;
}

}  // namespace folder
