#include "shell/small_icon_list.h"

#include <objbase.h>
#include <shellapi.h>

#include <system_error>
#include <thread>

namespace shell {

namespace {

HIMAGELIST AskForList() noexcept {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L".", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// The prefetch: started and read on the UI thread; the list is written by
// the thread and read only after joining it.
struct TPrefetch {
    std::thread thread;
    HIMAGELIST list = nullptr;
    bool asked = false;
    ~TPrefetch() {
        if (thread.joinable()) thread.join();
    }
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
        prefetch.thread = std::thread([&prefetch]() noexcept {
            const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            prefetch.list = AskForList();
            if (SUCCEEDED(com)) CoUninitialize();
        });
        prefetch.asked = true;
    } catch (const std::system_error&) {
        // No thread: the first window asks itself.
    }
}

HIMAGELIST SmallIconList() {
    TPrefetch& prefetch = Prefetch();
    if (prefetch.thread.joinable()) prefetch.thread.join();
    return prefetch.asked ? prefetch.list : AskForList();
}

}  // namespace shell
