#pragma once
// The in-folder names of many items of one folder, asked on a thread of
// their own while the caller does its own work on each item in turn.
//
// Asking the shell for a name is the bulk of listing a big folder (under
// Wine some 0.2 ms an item, most of it registry reads about the item's file
// type), and adding a row to a list costs the UI thread about half that
// again. With the names asked ahead on a second thread the two overlap: the
// listing takes about as long as the names alone.
#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace shell {

class TInFolderNames {
public:
    // Fewer items than this are named on the caller's thread: a thread and
    // a second binding of the folder would cost more than they save.
    static constexpr size_t kThreadedFrom = 64;

    // folder: the caller's own folder object, used on the caller's thread
    // only. absoluteId: the same folder as a list from the desktop (empty
    // for the desktop), which the thread binds in its own apartment. items:
    // lists relative to the folder. The thread works on copies of the
    // lists, so the caller may hand its own on or free them at once.
    TInFolderNames(IShellFolder* folder, LPCITEMIDLIST absoluteId, const std::vector<LPCITEMIDLIST>& items);
    // Stops the thread after the name it is asking, and waits for it.
    ~TInFolderNames();
    TInFolderNames(const TInFolderNames&) = delete;
    TInFolderNames& operator=(const TInFolderNames&) = delete;

    // The name of items[index], as GetInFolderName gives it; waits until the
    // thread has it. Each index is taken once.
    std::wstring Take(size_t index);
    // Whether the names come from a second thread (for tests).
    bool Threaded() const noexcept { return worker_.joinable(); }

private:
    void Run() noexcept;
    LPCITEMIDLIST Item(size_t index) const noexcept;

    IShellFolder* folder_;
    std::vector<LPCITEMIDLIST> callerItems_;  // for names asked on the caller's thread
    std::vector<BYTE> absoluteId_;            // copies for the thread: the folder,
    std::vector<BYTE> itemBytes_;             // every item's list end to end,
    std::vector<size_t> itemOffsets_;         // and where each one starts
    std::vector<std::wstring> names_;
    std::mutex mutex_;
    std::condition_variable ready_;
    size_t done_ = 0;         // names_[0, done_) are there; guarded by mutex_
    bool failed_ = false;     // the thread could not bind; guarded by mutex_
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

}  // namespace shell
