#pragma once
// The in-folder names of many items of one folder, asked on a few threads
// at once while the caller does other work, and by the caller too.
//
// Asking the shell for a name is the bulk of listing a big folder (under
// Wine some 0.2 ms an item, most of it registry reads about the item's file
// type). The names depend on nothing else the listing does, so they are
// asked from the moment the folder is enumerated: helper threads, each with
// its own binding of the folder in its own apartment, take blocks of items
// from a shared counter. The caller takes blocks too when it has time, and
// asks any one item itself that it needs before a helper has named it.
#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sys/worker_thread.h"

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
    // Stops the helpers after the item each is asking, and waits for them
    // (answering the messages sent to this thread meanwhile).
    ~TInFolderNames();
    TInFolderNames(const TInFolderNames&) = delete;
    TInFolderNames& operator=(const TInFolderNames&) = delete;

    // Hands the caller's part to another thread: from now on it asks on
    // folder, the same folder as bound in that thread's apartment. Called by
    // that thread before it takes or names anything.
    void Adopt(IShellFolder* folder) noexcept { folder_ = folder; }

    size_t Count() const noexcept { return names_.size(); }
    // Whether item index has its name (then Take does not wait).
    bool Named(size_t index) const noexcept;
    // Whether every item has its name.
    bool AllNamed() const noexcept { return named_.load(std::memory_order_acquire) == names_.size(); }
    // Item index's name, as GetInFolderName gives it: asked here unless a
    // helper has it already. Each index is taken once.
    std::wstring Take(size_t index);
    // Names blocks of items on the caller's thread while more() says so and
    // blocks are left; gives whether any are left.
    template <class More>
    bool NameWhile(More more) {
        while (more())
            if (!NameBlock(folder_)) return false;
        return next_.load() < names_.size();
    }
    // Every name, in the items' order, the caller naming what is left.
    std::vector<std::wstring> TakeAll();
    // Helper threads started (for tests).
    int Helpers() const noexcept { return static_cast<int>(helpers_.size()); }

private:
    static constexpr size_t kBlock = 16;
    enum : std::uint8_t { kFree, kClaimed, kDone };
    // Claims the next block and names what no one else has claimed; false
    // when no block was left.
    bool NameBlock(IShellFolder* folder);
    // Names item index if it is still free; false if someone else has it.
    bool NameIfFree(IShellFolder* folder, size_t index);
    void RunHelper();
    LPCITEMIDLIST Item(size_t index) const noexcept;

    IShellFolder* folder_;
    std::vector<BYTE> absoluteId_;     // copies: the folder,
    std::vector<BYTE> itemBytes_;      // every item's list end to end,
    std::vector<size_t> itemOffsets_;  // and where each one starts
    // Each slot is written by the one thread that claimed it (state
    // kClaimed), then published (kDone, release); read after an acquire.
    std::vector<std::wstring> names_;
    std::unique_ptr<std::atomic<std::uint8_t>[]> states_;
    std::atomic<size_t> named_{0};
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::vector<sys::TWorkerThread> helpers_;
};

}  // namespace shell
