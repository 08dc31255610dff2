#pragma once
// Item ID lists on the shell allocator: allocation, walking, copying, joining
// and freeing. Every list made here is zero-filled and is freed with PidlFree.
#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace shell {

struct PidlDeleter {
    void operator()(ITEMIDLIST* pidl) const noexcept;
};
// Owns one item ID list.
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlDeleter>;

// An owned list that says what it is relative to, so that an absolute list
// cannot be handed where a folder's child is meant. Reads as the list itself.
template <class Kind>
class TypedPidl {
public:
    TypedPidl() noexcept = default;
    TypedPidl(UniquePidl list) noexcept : list_(std::move(list)) {}  // NOLINT: adopting is the point
    LPITEMIDLIST get() const noexcept { return list_.get(); }
    operator LPCITEMIDLIST() const noexcept { return list_.get(); }
    explicit operator bool() const noexcept { return list_ != nullptr; }
    UniquePidl Take() noexcept { return std::move(list_); }

private:
    UniquePidl list_;
};
// Relative to the desktop.
using AbsolutePidl = TypedPidl<struct AbsoluteKind>;
// Relative to the folder that holds the item (for a root item, the desktop).
using RelativePidl = TypedPidl<struct RelativeKind>;

// A new zero-filled block from the shell allocator, or null when the allocator
// has none. Raises ShellError when the allocator itself cannot be had.
UniquePidl PidlAlloc(UINT size);
// The second item ID of a list (the same address on a terminator).
LPITEMIDLIST PidlNext(LPCITEMIDLIST pidl);
// Cuts the last item ID off in place; null and empty lists stay as they are.
void PidlStripLast(LPITEMIDLIST pidl);
// Number of item IDs before the terminator.
int PidlCount(LPCITEMIDLIST pidl);
// Size in bytes including the terminator; 0 for null.
int PidlSize(LPCITEMIDLIST pidl);
UniquePidl PidlCopy(LPCITEMIDLIST pidl);
// first (may be null) followed by second; one terminator.
UniquePidl PidlConcat(LPCITEMIDLIST first, LPCITEMIDLIST second);
// A new list of the last item ID alone (the empty list for the empty list).
UniquePidl PidlLastCopy(LPCITEMIDLIST pidl);
void PidlFree(LPCITEMIDLIST pidl);
// The desktop's absolute list (the empty list). Raises ShellError on failure.
UniquePidl GetDesktopPidl();

}  // namespace shell
