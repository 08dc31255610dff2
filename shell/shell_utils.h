#pragma once
// Questions asked of the shell namespace, and the two shell objects that live
// for the whole run.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>

namespace shell {

// The desktop folder; set between ShellStartup and ShellShutdown.
extern Microsoft::WRL::ComPtr<IShellFolder> DesktopFolder;
// One shell library object (Windows 7 and later); null where the system has
// none registered (Wine), in which case nothing is a library.
extern Microsoft::WRL::ComPtr<IShellLibrary> ShellLibrary;

// Runs before the first window: OLE, DesktopFolder, ShellLibrary.
void ShellStartup();
// Runs after the message loop: OLE down, both objects released.
void ShellShutdown();

// Parses a path relative to folder into a new list (caller frees).
// Raises ShellError naming the path.
LPITEMIDLIST PathToPidl(IShellFolder* folder, const std::wstring& path);
std::wstring StrRetToString(LPCITEMIDLIST pidl, STRRET& strret);
// Empty when the folder does not answer.
std::wstring GetDisplayName(IShellFolder* folder, LPCITEMIDLIST pidl, DWORD flags);
std::wstring GetInFolderName(IShellFolder* folder, LPCITEMIDLIST pidl);
std::wstring GetParsingName(IShellFolder* folder, LPCITEMIDLIST pidl);
std::wstring GetSpecialFolderPath(int csidl);
// Index into the system image list, or -1.
int GetSysIconIndex(LPCITEMIDLIST absolutePidl, bool large, bool open);
bool IsControlPanelItem(IShellFolder* folder, LPCITEMIDLIST pidl);
bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST pidl);
bool HasChildItems(IShellFolder* folder, DWORD flags);
bool IsShellLibrary(IShellItem* item);

}  // namespace shell
