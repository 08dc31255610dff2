#pragma once
// Shared by the command routines' files; not for other modules.
#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>

namespace folder {

class TShellObject;

// The shell fills a context menu with identifiers in this range; 0 is left
// free for "nothing chosen".
inline constexpr UINT kFirstCommandId = 1;
inline constexpr UINT kLastCommandId = 0x7FFF;

// The context menu of Item from its parent folder, or null (also for a null
// Item or a root item, which has no parent folder).
Microsoft::WRL::ComPtr<IContextMenu> ContextMenuOf(HWND owner, const TShellObject* Item);

// The verb of a command offset of a filled menu; empty when the handler
// names none (that matches no special verb).
std::wstring VerbOf(IContextMenu* Menu, UINT offset);

}  // namespace folder
