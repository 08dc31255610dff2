#pragma once
// Questions asked of the shell namespace, and the two shell objects that live
// for the whole run.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>

#include "shell/shell_types.h"

namespace shell {

// The desktop folder; set between ShellStartup and ShellShutdown.
extern Microsoft::WRL::ComPtr<IShellFolder> DesktopFolder;
// One shell library object (Windows 7 and later); null where the system has
// none registered (Wine), in which case nothing is a library.
extern Microsoft::WRL::ComPtr<IShellLibrary> ShellLibrary;

// Takes the current directory out of the DLL search order. ShellStartup calls
// it first; the entry point may call it earlier still.
void HardenDllSearchOrder() noexcept;
// Runs before the first window: DLL search order, OLE, DesktopFolder,
// ShellLibrary. Raises ShellError when the desktop folder cannot be had; a
// missing shell library class is no error.
void ShellStartup();
// Runs after the message loop: both objects released, then OLE down.
void ShellShutdown();

// Parses a path relative to folder into a new list (caller frees).
// Raises ShellError naming the path.
UniquePidl PathToPidl(IShellFolder* folder, const std::wstring& path);
// The text of a GetDisplayNameOf answer about pidl. A shell-allocated string
// (STRRET_WSTR) is freed and the record's pointer cleared. A name never
// carries U+0000. A leading "?" followed by a digit marks a name whose every
// "?" is dropped.
std::wstring StrRetToString(LPCITEMIDLIST pidl, STRRET& strret);
// Empty when the folder does not answer.
std::wstring GetDisplayName(IShellFolder* folder, LPCITEMIDLIST pidl, DWORD flags);
std::wstring GetInFolderName(IShellFolder* folder, LPCITEMIDLIST pidl);
std::wstring GetParsingName(IShellFolder* folder, LPCITEMIDLIST pidl);
// The parsing name of a CSIDL folder; empty when the system has no such folder.
std::wstring GetSpecialFolderPath(int csidl);

// SHGetFileInfoW flags for a system icon index of the given kind.
UINT SysIconFlags(bool large, bool open) noexcept;
// Index into the system image list, or -1.
int GetSysIconIndex(LPCITEMIDLIST absolutePidl, bool large, bool open);

// The mask that items inside the Control Panel match: the directory part of
// the Control Panel's parsing name, taken literally, followed by "*".
std::wstring ControlPanelMask(const std::wstring& controlPanelName);
// True if an item's parsing name matches ControlPanelMask of the Control
// Panel's parsing name; false when the system has no Control Panel. The
// Control Panel is located once per run of the shell layer.
bool IsControlPanelItemNamed(const std::wstring& parsingName);
// True if the item opens as a sub-menu: a folder, or a Control Panel item
// that binds as a folder listing at least one item.
bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST pidl);
// The same, for a caller that already has the item's parsing name.
bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST pidl, const std::wstring& parsingName);
// Forgets what was found out once per run (ShellShutdown calls it).
void ForgetControlPanel() noexcept;
// A folder's enumeration opened for a probe, and the first item it gave.
struct TFirstChildItem {
    Microsoft::WRL::ComPtr<IEnumIDList> enumerator;
    bool found = false;  // the enumeration gave an item (false: nothing to list)
    UniquePidl item;     // that item (a folder may give a null one)
};
// Opens folder's enumeration with no owner window and the system's
// critical-error boxes off (only for this call) and takes one item. No item
// for a null folder, a failing or empty enumeration.
TFirstChildItem FirstChildItem(IShellFolder* folder, DWORD flags);
// Probes for one item; false for a null folder or an empty enumeration.
bool HasChildItems(IShellFolder* folder, DWORD flags);
bool IsShellLibrary(IShellItem* item);

}  // namespace shell
