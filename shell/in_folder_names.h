#pragma once
// The in-folder names of many items of one folder, asked on a few threads
// at once while the caller does other work, and then by the caller too.
//
// Asking the shell for a name is the bulk of listing a big folder (under
// Wine some 0.2 ms an item, most of it registry reads about the item's file
// type). The names depend on nothing else the listing does, so they are
// asked from the moment the folder is enumerated, in no particular order:
// helper threads, each with its own binding of the folder in its own
// apartment, take blocks of items from a shared counter; the caller sorts
// meanwhile, then takes blocks itself until none are left.
#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace shell {

class TInFolderNames {
public:
    // Fewer items than this are named on the caller's thread alone: a thread
    // and a second binding of the folder would cost more than they save.
    static constexpr size_t kThreadedFrom = 64;
    // Threads besides the caller's. The shell's registry reads behind a name
    // go through one server process, so more threads gain little (measured:
    // 2.85 s for 11,000 names on one thread, 2.31 s on two, 2.11 s on four).
    static constexpr int kHelpers = 2;

    // folder: the caller's own folder object, used on the caller's thread
    // only. absoluteId: the same folder as a list from the desktop (empty
    // for the desktop), which each helper binds in its own apartment.
    // items: lists relative to the folder. Every thread works on copies of
    // the lists, so the caller may free its own at once. The helpers start
    // here.
    TInFolderNames(IShellFolder* folder, LPCITEMIDLIST absoluteId, const std::vector<LPCITEMIDLIST>& items);
    // Stops the helpers after the item each is asking, and waits for them.
    ~TInFolderNames();
    TInFolderNames(const TInFolderNames&) = delete;
    TInFolderNames& operator=(const TInFolderNames&) = delete;

    // Every item's name, as GetInFolderName gives it, in the items' order.
    // The caller names blocks too; items a helper could not name (it could
    // not bind the folder, or ran out of memory) are named here. Once only.
    std::vector<std::wstring> TakeAll();
    // Helper threads started (for tests).
    int Helpers() const noexcept { return static_cast<int>(helpers_.size()); }

private:
    static constexpr size_t kBlock = 16;
    // Names the blocks left on the counter with folder; stops early on stop_.
    void NameBlocks(IShellFolder* folder);
    void RunHelper() noexcept;
    LPCITEMIDLIST Item(size_t index) const noexcept;
    void JoinHelpers() noexcept;

    IShellFolder* folder_;
    std::vector<BYTE> absoluteId_;     // copies: the folder,
    std::vector<BYTE> itemBytes_;      // every item's list end to end,
    std::vector<size_t> itemOffsets_;  // and where each one starts
    // Each slot is written by the one thread that claimed its block; read
    // by the caller after the helpers are joined.
    std::vector<std::wstring> names_;
    std::vector<std::uint8_t> named_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::vector<std::thread> helpers_;
};

}  // namespace shell
