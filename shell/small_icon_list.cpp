#include "shell/small_icon_list.h"

#include <shellapi.h>

#include <optional>
#include <system_error>

#include "sys/worker_thread.h"

namespace shell {

namespace {

HIMAGELIST AskForList() noexcept {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L".", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// The prefetch: started and read on the UI thread; the list is written by
// the thread and read only after joining it. A plain thread, joined by its
// reader (or at the end of the run): a process that ended while it was
// still in the shell's icon code could hang in the shell's clean-up.
struct TPrefetch {
    std::optional<sys::TWorkerThread> thread;
    HIMAGELIST list = nullptr;
    bool asked = false;
};

TPrefetch& Prefetch() {
    static TPrefetch prefetch;
    return prefetch;
}

}  // namespace

void PrefetchSmallIconList() {
    TPrefetch& prefetch = Prefetch();
    if (prefetch.asked) return;
    try {
        prefetch.thread.emplace(sys::TApartment::Single, [&prefetch] { prefetch.list = AskForList(); });
        prefetch.asked = true;
    } catch (const std::system_error&) {
        // No thread: the first window asks itself.
    }
}

HIMAGELIST SmallIconList() {
    TPrefetch& prefetch = Prefetch();
    if (prefetch.thread) {
        try {
            prefetch.thread->Join();
        } catch (const sys::ApartmentError&) {
            prefetch.list = AskForList();  // the thread never asked
        }
        prefetch.thread.reset();
    }
    return prefetch.asked ? prefetch.list : AskForList();
}

}  // namespace shell
