#pragma once
// Dragging an entry out of a menu window: an OLE drag of the item's own data
// object (from its parent folder), offering copy, move and link as the item
// allows. The menus stay up while it runs; a drop on a target is a command
// that has run and ends the run, a cancelled drag (Escape, a drop on
// nothing) leaves everything as it was.
#include <windows.h>
#include <ole2.h>

#include "folder/folder_commands.h"
#include "folder/list_box.h"

namespace folder {

// What DoDragDrop is offered for an item of the given SFGAO_CAN* attributes
// (they have the DROPEFFECT values): those it allows, all three when the
// folder cannot say.
DWORD DragEffectsFor(bool attributesKnown, ULONG attributes) noexcept;
// Whether a drag ended in a drop that a target took: DoDragDrop's result and
// effect, and the effect the target recorded in the data object (its
// logical performed drop effect, or DROPEFFECT_NONE).
bool DropTookPlace(HRESULT result, DWORD effect, DWORD performed) noexcept;

class TDragOut {
public:
    // commands: the window's command host; view: its list of rows.
    TDragOut(TFolderCommands& commands, TListBox& view) noexcept : commands_(commands), view_(view) {}
    // Drags row out (the row the press was on). Nothing for a row without
    // a shell item, or an item whose folder gives no data object.
    void Run(int row);

private:
    TFolderCommands& commands_;
    TListBox& view_;
};

// The drop source of a left-button drag: Escape cancels, the release drops.
class TDropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    // Lives on the caller's stack for the length of DoDragDrop.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;
};

}  // namespace folder
