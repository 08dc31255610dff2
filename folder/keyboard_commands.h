#pragma once
// Explorer's keys for the selected row of a menu window: the context-menu
// keys (the Apps key, Shift+F10) show the row's shell context menu beside
// the row, F2 renames it with Quince's own dialog, Delete runs its "delete"
// verb. Each ends the run as any command does.
#include <windows.h>
#include <shobjidl.h>

#include <string>

#include "folder/folder_commands.h"
#include "folder/list_box.h"

namespace folder {

class TRowKeys {
public:
    // commands: the window's command host; view: its list of rows.
    TRowKeys(TFolderCommands& commands, TListBox& view) noexcept : commands_(commands), view_(view) {}

    // A key pressed in the window's list; true when it was one of ours and
    // has been dealt with (the list then does nothing more with it).
    bool KeyDown(WORD key);
    // WM_CONTEXTMENU reaching the window. The keyboard's form (the point
    // -1,-1) shows the selected row's menu and answers true; a right click's
    // (a real point) is left to the mouse handling and answers false.
    bool ContextMenu(LPARAM point);

    // Runs verb on item through menu (already filled) as a command of the
    // window: found among the menu's commands by its verb, else asked for by
    // name. The run ends afterwards.
    void RunMenuVerb(IContextMenu* menu, TShellObject* item, const std::wstring& verb);

private:
    TFolderCommands& commands_;
    TListBox& view_;
};

// The flags a context menu is filled with when the user is to see it:
// Explorer's, and its extended verbs ("Copy as path" and the like) when
// extended is true.
UINT ShownMenuFlags(bool extended) noexcept;
// Whether the menu being shown now is to hold the extended verbs: Shift is
// held, and not merely as part of Shift+F10.
bool WantsExtendedVerbs() noexcept;

}  // namespace folder
