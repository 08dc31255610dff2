#include "shell/folder_lister.h"

#include <wrl/client.h>

#include <system_error>
#include <utility>

#include "shell/shell_error.h"
#include "shell/shell_utils.h"

namespace shell {

TListedFolder ListFromDesktop(LPCITEMIDLIST absolute, const TListRequest& request,
                              const std::atomic<bool>* abandoned) {
    Microsoft::WRL::ComPtr<IShellItem> item;
    const HRESULT hr = SHCreateShellItem(nullptr, nullptr, absolute, &item);
    if (!item) throw ShellError(FAILED(hr) ? hr : E_FAIL, L"SHCreateShellItem", Failure::UseItem);
    Microsoft::WRL::ComPtr<IShellFolder> folder;
    item->BindToHandler(nullptr, BHID_SFObject, IID_PPV_ARGS(&folder));
    TFolderQuery query;
    query.folder = folder.Get();
    query.absolute = absolute;
    query.flags = request.flags;
    query.mask = request.mask;
    query.abandoned = abandoned;
    return ListFolderInOrder(query, item.Get());
}

// Shared by the caller and the thread: whichever lets go last frees it. The
// thread writes the listing before its end is signalled; the caller reads
// it only after joining the thread.
struct TFolderLister::TAnswer {
    UniquePidl absolute;
    TListRequest request;
    TListedNotice notice;
    TListedFolder listing;
    std::exception_ptr error;
    std::atomic<bool> abandoned{false};
};

TFolderLister::TFolderLister(LPCITEMIDLIST absolute, TListRequest request, TListedNotice notice)
    : answer_(std::make_shared<TAnswer>()) {
    answer_->absolute.reset(ILClone(absolute));
    if (!answer_->absolute) throw ShellError(E_OUTOFMEMORY, L"ILClone", Failure::OpenFolder);
    answer_->request = std::move(request);
    answer_->notice = notice;
    try {
        worker_.emplace(sys::TApartment::Single, [answer = answer_] {
            try {
                answer->listing = ListFromDesktop(answer->absolute.get(), answer->request, &answer->abandoned);
            } catch (...) {
                answer->error = std::current_exception();
            }
            const TListedNotice& to = answer->notice;
            if (to.window && !answer->abandoned) PostMessageW(to.window, to.message, to.tag, 0);
        });
    } catch (const std::system_error&) {
        // No thread: Take lists here.
    }
}

TFolderLister::~TFolderLister() {
    if (!worker_) return;
    answer_->abandoned = true;
    worker_->Release();
}

HANDLE TFolderLister::Finished() const noexcept { return worker_ ? worker_->Finished() : nullptr; }

bool TFolderLister::Done() const noexcept { return !worker_ || worker_->Done(); }

TListedFolder TFolderLister::Take() {
    if (!worker_) {
        const UniquePidl absolute = std::move(answer_->absolute);
        return absolute ? ListFromDesktop(absolute.get(), answer_->request) : TListedFolder{};
    }
    std::optional<sys::TWorkerThread> worker = std::exchange(worker_, std::nullopt);
    try {
        worker->Join();
    } catch (const sys::ApartmentError& e) {
        throw ShellError(e.Result(), L"CoInitializeEx", Failure::OpenFolder);
    }
    answer_->absolute.reset();
    if (answer_->error) std::rethrow_exception(std::exchange(answer_->error, nullptr));
    return std::move(answer_->listing);
}

}  // namespace shell
