// Questions about shell items: icons, Control Panel items, sub-menus,
// children, libraries.
#include "shell/shell_utils.h"

#include <shellapi.h>

#include <mutex>
#include <optional>

#include "core/command_line.h"
#include "core/wildcard.h"
#include "shell/shell_types.h"

namespace shell {
namespace {

using Microsoft::WRL::ComPtr;

// Sets the process error mode for the length of a scope.
class ErrorModeScope {
public:
    explicit ErrorModeScope(UINT mode) noexcept : previous_(SetErrorMode(mode)) {}
    ~ErrorModeScope() { SetErrorMode(previous_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    UINT previous_;
};

// Characters of a name that the mask matcher would read as wildcards are put
// into one-character sets, so that the name matches only itself.
std::wstring LiteralMask(std::wstring_view text) {
    std::wstring mask;
    mask.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'*' || c == L'?' || c == L'[') {
            mask += L'[';
            mask += c;
            mask += L']';
        } else {
            mask += c;
        }
    }
    return mask;
}

// The mask of the Control Panel's items, found once per run: asking for the
// Control Panel's location for every listed item costs as much as listing.
// An empty mask: the system has no Control Panel. Folders are listed on
// more than one thread (the root on the thread that found it), hence the lock.
std::mutex controlPanelLock;
std::optional<std::wstring> controlPanelMask;

std::wstring ControlPanelItemMask() {
    const std::lock_guard<std::mutex> lock(controlPanelLock);
    if (!controlPanelMask) {
        // Before the shell layer is up there is nobody to ask; ask again later.
        if (!DesktopFolder) return {};
        const std::wstring controlPanel = GetSpecialFolderPath(CSIDL_CONTROLS);
        controlPanelMask = controlPanel.empty() ? std::wstring() : ControlPanelMask(controlPanel);
    }
    return *controlPanelMask;
}

}  // namespace

void ForgetControlPanel() noexcept {
    const std::lock_guard<std::mutex> lock(controlPanelLock);
    controlPanelMask.reset();
}

UINT SysIconFlags(bool large, bool open) noexcept {
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
    if (open) flags |= SHGFI_OPENICON;
    if (!large) flags |= SHGFI_SMALLICON;
    return flags;
}

int GetSysIconIndex(LPCITEMIDLIST absolutePidl, bool large, bool open) {
    SHFILEINFOW info{};
    const DWORD_PTR result = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(absolutePidl), 0, &info, sizeof info,
                                            SysIconFlags(large, open));
    return result == 0 ? -1 : info.iIcon;
}

std::wstring ControlPanelMask(const std::wstring& controlPanelName) {
    // The directory part, cut as the command line cuts a path: up to the
    // last "\" or ":", keeping the "\" of a root ("C:\", "\\").
    return LiteralMask(core::SplitPath(controlPanelName).directory) + L'*';
}

bool IsControlPanelItemNamed(const std::wstring& parsingName) {
    const std::wstring mask = ControlPanelItemMask();
    if (mask.empty()) return false;
    return core::MatchesMask(parsingName, mask);
}

bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST pidl) {
    if (ControlPanelItemMask().empty()) return IsFolderItem(folder, pidl, std::wstring());
    return IsFolderItem(folder, pidl, GetParsingName(folder, pidl));
}

bool IsFolderItem(IShellFolder* folder, LPCITEMIDLIST pidl, const std::wstring& parsingName) {
    ComPtr<IShellFolder> workFolder = folder;
    LPCITEMIDLIST workList = pidl;
    UniquePidl lastItem;
    // The desktop answers attribute questions only about its own children;
    // a deeper item is asked of its parent folder instead.
    if (DesktopFolder && folder == DesktopFolder.Get() && PidlCount(pidl) > 1) {
        UniquePidl parentList = PidlCopy(pidl);
        if (!parentList) return false;
        PidlStripLast(parentList.get());
        workFolder.Reset();
        if (FAILED(DesktopFolder->BindToObject(parentList.get(), nullptr, IID_PPV_ARGS(&workFolder))) ||
            !workFolder)
            return false;  // no parent folder, nobody to ask
        lastItem = PidlLastCopy(pidl);
        if (!lastItem) return false;
        workList = lastItem.get();
    }

    // The attribute word goes in as the question; a folder that refuses the
    // item leaves it as it was, which must not read as an answer.
    SFGAOF attributes = SFGAO_FOLDER;
    bool isFolder = SUCCEEDED(workFolder->GetAttributesOf(1, &workList, &attributes)) &&
                    (attributes & SFGAO_FOLDER) != 0;

    // Control Panel items claim or deny the folder attribute regardless of
    // whether they can be browsed; what counts is whether one lists anything.
    // The item's parsing name is the same whichever folder answers for it.
    if (IsControlPanelItemNamed(parsingName)) {
        ComPtr<IShellFolder> itemFolder;
        if (FAILED(workFolder->BindToObject(workList, nullptr, IID_PPV_ARGS(&itemFolder)))) itemFolder.Reset();
        isFolder = HasChildItems(itemFolder.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    }
    return isFolder;
}

TFirstChildItem FirstChildItem(IShellFolder* folder, DWORD flags) {
    TFirstChildItem first;
    if (folder == nullptr) return first;
    // No "insert a disk" box for an empty drive while we probe it.
    ErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
    // S_FALSE means "nothing to list" and may come without an enumerator.
    if (folder->EnumObjects(nullptr, flags, &first.enumerator) != S_OK || !first.enumerator) return {};
    LPITEMIDLIST raw = nullptr;
    ULONG fetched = 0;
    const HRESULT hr = first.enumerator->Next(1, &raw, &fetched);
    first.item.reset(raw);
    if (hr != S_OK) return {};
    first.found = true;
    return first;
}

bool HasChildItems(IShellFolder* folder, DWORD flags) { return FirstChildItem(folder, flags).found; }

bool IsShellLibrary(IShellItem* item) {
    if (!ShellLibrary) return false;
    return SUCCEEDED(ShellLibrary->LoadLibraryFromItem(item, STGM_READ));
}

}  // namespace shell
