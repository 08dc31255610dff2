#include "shell/path_resolver.h"

#include <objbase.h>
#include <wrl/client.h>

#include <exception>
#include <thread>
#include <utility>

#include "shell/shell_error.h"
#include "shell/shell_utils.h"

namespace shell {

// Shared by the caller and the thread: whichever lets go last frees it. The
// thread writes pidl or error before it sets the event; the caller reads them
// only after seeing the event set, which orders the two.
struct TPathResolver::TState {
    std::wstring path;
    UniquePidl pidl;
    std::exception_ptr error;
    HANDLE finished = nullptr;
    ~TState() {
        if (finished) CloseHandle(finished);
    }
};

UniquePidl ParseFromDesktop(const std::wstring& path) {
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    CheckHr(SHGetDesktopFolder(&desktop), L"SHGetDesktopFolder", Failure::StartShell);
    return PathToPidl(desktop.Get(), path);
}

namespace {

void ParseInto(TPathResolver::Parse parse, const std::wstring& path, UniquePidl& pidl,
               std::exception_ptr& error) noexcept {
    try {
        pidl = parse(path);
    } catch (...) {
        error = std::current_exception();
    }
}

}  // namespace

TPathResolver::TPathResolver(std::wstring path, Parse parse) : state_(std::make_shared<TState>()) {
    state_->path = std::move(path);
    state_->finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!state_->finished) throw ShellError(HRESULT_FROM_WIN32(GetLastError()), L"CreateEvent", Failure::OpenFolder, state_->path);
    try {
        std::thread(&TPathResolver::Run, state_, parse).detach();
    } catch (...) {
        // No thread: this thread is already in an apartment of its own.
        ParseInto(parse, state_->path, state_->pidl, state_->error);
        SetEvent(state_->finished);
    }
}

TPathResolver::~TPathResolver() = default;

void TPathResolver::Run(std::shared_ptr<TState> state, Parse parse) noexcept {
    // The desktop folder and whatever it binds are apartment-threaded.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (FAILED(com)) {
        try {
            CheckHr(com, L"CoInitializeEx", Failure::OpenFolder, state->path);
        } catch (...) {
            state->error = std::current_exception();
        }
    } else {
        ParseInto(parse, state->path, state->pidl, state->error);
        // The list lives on the shell allocator, which is the same in every
        // apartment: it may be freed after this thread leaves COM.
        CoUninitialize();
    }
    SetEvent(state->finished);
}

HANDLE TPathResolver::Finished() const noexcept { return state_->finished; }

bool TPathResolver::Done() const noexcept { return WaitForSingleObject(state_->finished, 0) == WAIT_OBJECT_0; }

UniquePidl TPathResolver::Take() {
    if (state_->error) {
        std::exception_ptr error = std::exchange(state_->error, nullptr);
        std::rethrow_exception(error);
    }
    return std::move(state_->pidl);
}

}  // namespace shell
