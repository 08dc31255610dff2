// Running a shell verb on an entry: the default command of a click, and the
// common course of every command with the hosting window's pre- and
// post-processing.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "core/file_name.h"
#include "folder/base_window.h"
#include "folder/folder_commands.h"
#include "folder/shell_commands_internal.h"
#include "ui/handles.h"
#include "ui/menu.h"

namespace folder {

Microsoft::WRL::ComPtr<IContextMenu> ContextMenuOf(HWND owner, const TShellObject* Item) {
    Microsoft::WRL::ComPtr<IContextMenu> menu;
    if (Item == nullptr || !Item->Parent || Item->RelID == nullptr) return menu;
    LPCITEMIDLIST child = Item->RelID;
    // The result code says nothing the interface pointer does not.
    Item->Parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr,
                                reinterpret_cast<void**>(menu.GetAddressOf()));
    return menu;
}

namespace {

// Opens an item through the shell by its ID list. Wine's file context menus
// fail "open" by name (E_FAIL) while ShellExecuteEx opens the same item.
HRESULT OpenThroughShell(HWND owner, const TShellObject& Item) {
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_INVOKEIDLIST;
    sei.hwnd = owner;
    sei.lpVerb = L"open";
    sei.lpIDList = Item.AbsID.get();
    sei.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&sei)) return S_OK;
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

TFolderCommands::TFolderCommands(ui::TForm& window, IShellCommandVerb& host, std::function<TShellObject*()> selected,
                                 std::wstring& savePath)
    : window_(window), host_(host), selected_(std::move(selected)), savePath_(savePath) {}

void TFolderCommands::RunVerb(IContextMenu* Menu, TShellObject* Item, const std::wstring& Verb, LPCSTR InvokeVerb,
                              bool CloseMenus) {
    IBaseWindow* base = BaseWindow();
    bool Handled = false;
    if (CloseMenus && base && base->RootForm()) base->RootForm()->Close();

    Microsoft::WRL::ComPtr<IShellCommandVerb> host;
    host_.QueryInterface(IID_IShellCommandVerb, reinterpret_cast<void**>(host.GetAddressOf()));
    HRESULT result = S_OK;
    if (host) host->VerbExecuting(Verb, Handled);
    if (!Handled) {
        if (base) base->Form().Hide();
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.hwnd = Window();
        info.lpVerb = InvokeVerb;
        info.nShow = SW_SHOWNORMAL;
        result = Menu->InvokeCommand(&info);
        if (FAILED(result) && Item && core::EqualsAsciiNoCase(Verb, L"open")) result = OpenThroughShell(Window(), *Item);
    }
    if (host) host->VerbExecuted(Verb, result == S_OK);
}

void TFolderCommands::InvokeDefaultCommand(TShellObject* Item) {
    Microsoft::WRL::ComPtr<IContextMenu> menu = ContextMenuOf(Window(), Item);
    if (!menu) return;
    // Handlers expect QueryContextMenu before InvokeCommand, even when the
    // menu is never shown.
    ui::UniqueMenu popup(CreatePopupMenu());
    if (popup) menu->QueryContextMenu(popup.get(), 0, kFirstCommandId, kLastCommandId, CMF_EXPLORE);
    // A click always runs "open", whatever the menu's default entry is.
    RunVerb(menu.Get(), Item, L"open", "open", true);
}

}  // namespace folder
