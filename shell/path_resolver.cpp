#include "shell/path_resolver.h"

#include <wrl/client.h>

#include <atomic>
#include <exception>
#include <system_error>
#include <utility>

#include "shell/shell_error.h"
#include "shell/shell_utils.h"

namespace shell {

// Shared by the caller and the thread: whichever lets go last frees it. The
// thread writes pidl before its end is signalled; the caller reads it only
// after joining the thread.
struct TPathResolver::TAnswer {
    std::wstring path;
    UniquePidl pidl;
    std::exception_ptr error;  // of a parse here and now, for want of a thread
    std::optional<TListRequest> request;
    bool listed = false;
    TListedFolder listing;
    std::exception_ptr listingError;
    std::atomic<bool> abandoned{false};  // the caller let go before the answer came
};

UniquePidl ParseFromDesktop(const std::wstring& path) {
    if (path.empty()) return GetDesktopPidl();
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    CheckHr(SHGetDesktopFolder(&desktop), L"SHGetDesktopFolder", Failure::StartShell);
    return PathToPidl(desktop.Get(), path);
}

TPathResolver::TPathResolver(std::wstring path, Parse parse, std::optional<TListRequest> list)
    : answer_(std::make_shared<TAnswer>()) {
    answer_->path = std::move(path);
    answer_->request = std::move(list);
    try {
        // The desktop folder and whatever it binds are apartment-threaded.
        // The lists live on the shell allocator, which is the same in every
        // apartment: they may be freed after the thread has left its own.
        worker_.emplace(sys::TApartment::Single, [answer = answer_, parse] {
            answer->pidl = parse(answer->path);
            if (!answer->request || !answer->pidl || answer->abandoned) return;
            try {
                answer->listing = ListFromDesktop(answer->pidl.get(), *answer->request, &answer->abandoned);
            } catch (...) {
                // Raised where the window would have listed it itself.
                answer->listingError = std::current_exception();
            }
            answer->listed = true;
        });
    } catch (const std::system_error&) {
        // No thread: this thread is already in an apartment of its own.
        try {
            answer_->pidl = parse(answer_->path);
        } catch (...) {
            answer_->error = std::current_exception();
        }
    }
}

TPathResolver::~TPathResolver() {
    if (!worker_) return;
    // Nobody will read the listing: the thread stops it at the next item
    // and ends, freeing what it found.
    answer_->abandoned = true;
    worker_->Release();
}

HANDLE TPathResolver::Finished() const noexcept { return worker_ ? worker_->Finished() : nullptr; }

bool TPathResolver::Done() const noexcept { return !worker_ || worker_->Done(); }

UniquePidl TPathResolver::Take() {
    if (worker_) {
        std::optional<sys::TWorkerThread> worker = std::exchange(worker_, std::nullopt);
        try {
            worker->Join();
        } catch (const sys::ApartmentError& e) {
            throw ShellError(e.Result(), L"CoInitializeEx", Failure::OpenFolder, answer_->path);
        }
    }
    if (answer_->error) std::rethrow_exception(std::exchange(answer_->error, nullptr));
    return std::move(answer_->pidl);
}

bool TPathResolver::Listed() const noexcept { return !worker_ && answer_->listed; }

TListedFolder TPathResolver::TakeListing() {
    answer_->listed = false;
    if (answer_->listingError) std::rethrow_exception(std::exchange(answer_->listingError, nullptr));
    return std::move(answer_->listing);
}

}  // namespace shell
