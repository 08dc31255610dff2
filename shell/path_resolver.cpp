#include "shell/path_resolver.h"

#include <wrl/client.h>

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
};

UniquePidl ParseFromDesktop(const std::wstring& path) {
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    CheckHr(SHGetDesktopFolder(&desktop), L"SHGetDesktopFolder", Failure::StartShell);
    return PathToPidl(desktop.Get(), path);
}

TPathResolver::TPathResolver(std::wstring path, Parse parse) : answer_(std::make_shared<TAnswer>()) {
    answer_->path = std::move(path);
    try {
        // The desktop folder and whatever it binds are apartment-threaded.
        // The list lives on the shell allocator, which is the same in every
        // apartment: it may be freed after the thread has left its own.
        worker_.emplace(sys::TApartment::Single, [answer = answer_, parse] { answer->pidl = parse(answer->path); });
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
    if (worker_) worker_->Release();
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

}  // namespace shell
