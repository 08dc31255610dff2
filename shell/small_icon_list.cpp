#include "shell/small_icon_list.h"

#include <objbase.h>
#include <shellapi.h>

#include <future>
#include <system_error>

namespace shell {

namespace {

HIMAGELIST AskForList() noexcept {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L".", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// UI thread only: started and read there.
std::shared_future<HIMAGELIST>& Prefetch() {
    static std::shared_future<HIMAGELIST> list;
    return list;
}

}  // namespace

void PrefetchSmallIconList() {
    if (Prefetch().valid()) return;
    try {
        Prefetch() = std::async(std::launch::async, []() noexcept {
                         const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
                         HIMAGELIST list = AskForList();
                         if (SUCCEEDED(com)) CoUninitialize();
                         return list;
                     }).share();
    } catch (const std::system_error&) {
        // No thread: the first window asks itself.
    }
}

HIMAGELIST SmallIconList() {
    if (Prefetch().valid()) return Prefetch().get();
    return AskForList();
}

}  // namespace shell
