#include "shell/shell_types.h"

#include <wrl/client.h>

#include <cstring>

#include "shell/shell_error.h"

namespace shell {
namespace {

// The item ID count at p, read byte-wise: item IDs carry no alignment promise.
USHORT CountAt(const void* p) noexcept {
    USHORT cb;
    std::memcpy(&cb, p, sizeof cb);
    return cb;
}

const BYTE* Bytes(LPCITEMIDLIST pidl) noexcept { return reinterpret_cast<const BYTE*>(pidl); }

}  // namespace

void PidlDeleter::operator()(ITEMIDLIST* pidl) const noexcept { PidlFree(pidl); }

UniquePidl PidlAlloc(UINT size) {
    // Asked for anew each time: no allocator reference outlives the call, so
    // this is safe on any thread.
    Microsoft::WRL::ComPtr<IMalloc> malloc;
    CheckHr(SHGetMalloc(&malloc), L"SHGetMalloc", Failure::ReserveMemory);
    void* block = malloc->Alloc(size);
    if (block != nullptr) std::memset(block, 0, size);
    return UniquePidl(static_cast<LPITEMIDLIST>(block));
}

LPITEMIDLIST PidlNext(LPCITEMIDLIST pidl) {
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(Bytes(pidl) + CountAt(pidl)));
}

void PidlStripLast(LPITEMIDLIST pidl) {
    if (pidl == nullptr) return;
    BYTE* last = nullptr;
    for (BYTE* p = reinterpret_cast<BYTE*>(pidl); CountAt(p) != 0; p += CountAt(p)) last = p;
    if (last != nullptr) std::memset(last, 0, sizeof(USHORT));
}

int PidlCount(LPCITEMIDLIST pidl) {
    int count = 0;
    for (const BYTE* p = Bytes(pidl); CountAt(p) != 0; p += CountAt(p)) ++count;
    return count;
}

int PidlSize(LPCITEMIDLIST pidl) {
    if (pidl == nullptr) return 0;
    int size = sizeof(USHORT);
    for (const BYTE* p = Bytes(pidl); CountAt(p) != 0; p += CountAt(p)) size += CountAt(p);
    return size;
}

UniquePidl PidlCopy(LPCITEMIDLIST pidl) {
    const int size = PidlSize(pidl);
    UniquePidl copy = PidlAlloc(static_cast<UINT>(size));
    if (copy != nullptr) std::memcpy(copy.get(), pidl, static_cast<size_t>(size));
    return copy;
}

UniquePidl PidlConcat(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    // The first list goes in without its terminator, so that the second
    // list's terminator is the only one.
    const int firstPart = first != nullptr ? PidlSize(first) - static_cast<int>(sizeof(USHORT)) : 0;
    const int secondPart = PidlSize(second);
    UniquePidl joined = PidlAlloc(static_cast<UINT>(firstPart + secondPart));
    if (joined == nullptr) return nullptr;
    BYTE* out = reinterpret_cast<BYTE*>(joined.get());
    if (firstPart > 0) std::memcpy(out, first, static_cast<size_t>(firstPart));
    std::memcpy(out + firstPart, second, static_cast<size_t>(secondPart));
    return joined;
}

UniquePidl PidlLastCopy(LPCITEMIDLIST pidl) {
    LPCITEMIDLIST tail = pidl;
    while (CountAt(tail) != 0 && CountAt(PidlNext(tail)) != 0) tail = PidlNext(tail);
    return PidlCopy(tail);
}

void PidlFree(LPCITEMIDLIST pidl) {
    // Lists from SHGetMalloc and from the shell itself all live on the COM
    // task heap, so one free serves both.
    if (pidl != nullptr) CoTaskMemFree(const_cast<LPITEMIDLIST>(pidl));
}

UniquePidl GetDesktopPidl() {
    LPITEMIDLIST pidl = nullptr;
    CheckHr(SHGetFolderLocation(nullptr, CSIDL_DESKTOP, nullptr, 0, &pidl), L"SHGetFolderLocation",
            Failure::FindDesktop);
    return UniquePidl(pidl);
}

}  // namespace shell
