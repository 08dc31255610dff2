#pragma once
// Item ID lists on the shell allocator: allocation, walking, copying, joining
// and freeing. Every list made here is zero-filled and is freed with PidlFree.
#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace shell {

// A new zero-filled block from the shell allocator, or null when the allocator
// has none. Raises ShellError when the allocator itself cannot be had.
LPITEMIDLIST PidlAlloc(UINT size);
// The second item ID of a list (the same address on a terminator).
LPITEMIDLIST PidlNext(LPCITEMIDLIST pidl);
// Cuts the last item ID off in place; null and empty lists stay as they are.
void PidlStripLast(LPITEMIDLIST pidl);
// Number of item IDs before the terminator.
int PidlCount(LPCITEMIDLIST pidl);
// Size in bytes including the terminator; 0 for null.
int PidlSize(LPCITEMIDLIST pidl);
LPITEMIDLIST PidlCopy(LPCITEMIDLIST pidl);
// first (may be null) followed by second; one terminator.
LPITEMIDLIST PidlConcat(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A new list of the last item ID alone (the empty list for the empty list).
LPITEMIDLIST PidlLastCopy(LPCITEMIDLIST pidl);
void PidlFree(LPCITEMIDLIST pidl);
// The desktop's absolute list (the empty list). Raises ShellError on failure.
LPITEMIDLIST GetDesktopPidl();

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const noexcept { PidlFree(pidl); }
};
// Owns one item ID list.
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

}  // namespace shell
