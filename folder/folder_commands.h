#pragma once
// The command host of a menu window: runs an entry's "open", shows its
// shell context menu and runs the verb chosen there, with the window's pre-
// and post-processing (IShellCommandVerb) around every command.
#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>

#include "folder/shell_command_verb.h"
#include "folder/shell_object.h"
#include "ui/form.h"

namespace folder {

class TFolderCommands {
public:
    // window: the menu window (owner of the shell's menus and dialogs);
    // host: its pre- and post-processing; selected: the shell object of its
    // selected row, or null; savePath: where the current directory is kept
    // while "open" runs.
    TFolderCommands(ui::TForm& window, IShellCommandVerb& host, std::function<TShellObject*()> selected,
                    std::wstring& savePath);
    TFolderCommands(const TFolderCommands&) = delete;
    TFolderCommands& operator=(const TFolderCommands&) = delete;

    HWND Window() const noexcept { return window_.Handle(); }
    TShellObject* Selected() const { return selected_ ? selected_() : nullptr; }

    // Runs "open" on Item through its context menu. Item may be null.
    void InvokeDefaultCommand(TShellObject* Item);
    // Shows Item's full context menu at the screen point X, Y and runs the
    // command chosen. Item may be null.
    void ShowContextMenu(TShellObject* Item, int X, int Y);
    // What ShowContextMenu does once it has the item's context menu: fill,
    // track, run. Item (may be null) is opened through the shell when the
    // menu fails to run "open".
    void RunContextMenu(IContextMenu* Menu, TShellObject* Item, int X, int Y);
    // Runs Verb through Menu with the window's pre- and post-processing;
    // CloseMenus closes the menu windows first.
    void RunVerb(IContextMenu* Menu, TShellObject* Item, const std::wstring& Verb, LPCSTR InvokeVerb, bool CloseMenus);
    // Offers a message to the context menu being tracked; true if it took it.
    bool ForwardMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    // The window's IShellCommandVerb answers: rename is the window's own,
    // "open" runs in the opened folder, and every command ends the run.
    HRESULT VerbExecuting(const std::wstring& Verb, bool& Handled);
    HRESULT VerbExecuted(const std::wstring& Verb, bool Succeeded);

private:
    UINT TrackContextMenu(IContextMenu* Menu, HMENU Popup, int X, int Y);
    void RenameEntry(TShellObject& Item);

    ui::TForm& window_;
    IShellCommandVerb& host_;
    std::function<TShellObject*()> selected_;
    std::wstring& savePath_;
    // Held only while TrackPopupMenuEx runs: the handlers of delay-filled
    // submenus ("Send to", "Open with") see the menu's messages through them.
    Microsoft::WRL::ComPtr<IContextMenu2> contextMenu2_;
    Microsoft::WRL::ComPtr<IContextMenu3> contextMenu3_;
};

}  // namespace folder
