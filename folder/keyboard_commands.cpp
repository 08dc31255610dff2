#include "folder/keyboard_commands.h"

#include <windowsx.h>

#include "core/file_name.h"
#include "folder/base_window.h"
#include "folder/shell_commands_internal.h"
#include "ui/handles.h"

namespace folder {

namespace {

bool KeyHeld(int vk) noexcept { return GetKeyState(vk) < 0; }

// The command offset of verb in a filled menu (its submenus included), or -1.
int OffsetOfVerb(IContextMenu* menu, HMENU popup, const std::wstring& verb) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(popup, i)) {
            if (const int found = OffsetOfVerb(menu, sub, verb); found >= 0) return found;
            continue;
        }
        const UINT id = GetMenuItemID(popup, i);
        if (id == static_cast<UINT>(-1) || id < kFirstCommandId || id > kLastCommandId) continue;
        if (core::EqualsAsciiNoCase(VerbOf(menu, id - kFirstCommandId), verb))
            return static_cast<int>(id - kFirstCommandId);
    }
    return -1;
}

// After a command of ours: if nothing was run, nothing else ends the run.
void EndRunIfNothingRan() {
    IBaseWindow* base = BaseWindow();
    if (base && !base->IdleSlot()) base->Form().Close();
}

}  // namespace

UINT ShownMenuFlags(bool extended) noexcept {
    return CMF_EXPLORE | CMF_CANRENAME | (extended ? CMF_EXTENDEDVERBS : 0u);
}

bool WantsExtendedVerbs() noexcept {
    // Shift+F10 arrives while F10 is still down: that Shift names the key,
    // it does not ask for more verbs.
    return KeyHeld(VK_SHIFT) && !KeyHeld(VK_F10);
}

bool TRowKeys::KeyDown(WORD key) {
    if (key != VK_F2 && key != VK_DELETE) return false;
    // Ctrl, Alt or Shift with them mean something else in Explorer (Shift+Delete
    // deletes for good); we leave those alone.
    if (KeyHeld(VK_CONTROL) || KeyHeld(VK_MENU) || KeyHeld(VK_SHIFT)) return false;
    TShellObject* item = commands_.Selected();
    if (!item) return true;
    Microsoft::WRL::ComPtr<IContextMenu> menu = ContextMenuOf(commands_.Window(), item);
    if (!menu) return true;
    RunMenuVerb(menu.Get(), item, key == VK_F2 ? L"rename" : L"delete");
    return true;
}

void TRowKeys::RunMenuVerb(IContextMenu* menu, TShellObject* item, const std::wstring& verb) {
    ui::UniqueMenu popup(CreatePopupMenu());
    if (!popup) return;
    menu->QueryContextMenu(popup.get(), 0, kFirstCommandId, kLastCommandId, ShownMenuFlags(false));
    const int offset = OffsetOfVerb(menu, popup.get(), verb);
    // A verb the menu does not list may still be known to its handler by name.
    const std::string byName(verb.begin(), verb.end());
    commands_.RunVerb(menu, item, verb, offset >= 0 ? MAKEINTRESOURCEA(offset) : byName.c_str(), true);
    EndRunIfNothingRan();
}

bool TRowKeys::ContextMenu(LPARAM point) {
    if (GET_X_LPARAM(point) != -1 || GET_Y_LPARAM(point) != -1) return false;
    const int index = view_.ItemIndex();
    if (index < 0 || index >= view_.Count()) return true;
    // Beside the row, where its sub-menu would open: the row's right edge,
    // level with its top.
    const RECT row = view_.ItemRect(index);
    POINT at{row.right, row.top};
    ClientToScreen(view_.Handle(), &at);
    commands_.ShowContextMenu(commands_.Selected(), at.x, at.y);
    EndRunIfNothingRan();
    return true;
}

}  // namespace folder
