#pragma once
// Shared by the command routines' files; not for other modules.
#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace folder {

class TShellObject;

// The shell fills a context menu with identifiers in this range; 0 is left
// free for "nothing chosen".
inline constexpr UINT kFirstCommandId = 1;
inline constexpr UINT kLastCommandId = 0x7FFF;

// The context menu of Item from its parent folder, or null (also for a null
// Item or a root item, which has no parent folder).
Microsoft::WRL::ComPtr<IContextMenu> ContextMenuOf(HWND owner, const TShellObject* Item);

}  // namespace folder
