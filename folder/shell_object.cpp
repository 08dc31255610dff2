#include "folder/shell_object.h"

#include <shlobj.h>

#include <atomic>

#include "shell/shell_error.h"
#include "shell/shell_types.h"

namespace folder {

namespace {
std::atomic<long> g_live{0};
}

long TShellObject::LiveCount() noexcept { return g_live.load(); }

TShellObject::TShellObject(const TShellObject* AParent, LPITEMIDLIST AItemID) : RelID(AItemID) {
    try {
        Build(AParent);
    } catch (...) {
        // The destructor does not run for a half-built object: free the
        // adopted list and whatever was made so far here.
        FreeLists();
        throw;
    }
    ++g_live;
}

TShellObject::~TShellObject() {
    FreeLists();
    --g_live;
}

void TShellObject::FreeLists() noexcept {
    shell::PidlFree(RelID);
    RelID = nullptr;
    shell::PidlFree(AbsID);
    AbsID = nullptr;
}

void TShellObject::Build(const TShellObject* AParent) {
    if (!RelID) throw shell::ShellError(E_POINTER, L"TShellObject", shell::Failure::UseItem);
    HRESULT hr;
    if (AParent) {
        AbsID = shell::PidlConcat(AParent->AbsID, RelID);
        if (!AbsID) throw shell::ShellError(E_OUTOFMEMORY, L"PidlConcat", shell::Failure::ReserveMemory);
        Parent = AParent->Current.Get();
        hr = SHCreateShellItem(AParent->AbsID, Parent.Get(), RelID, &Item);
    } else {
        AbsID = shell::PidlCopy(RelID);
        if (!AbsID) throw shell::ShellError(E_OUTOFMEMORY, L"PidlCopy", shell::Failure::ReserveMemory);
        hr = SHCreateShellItem(nullptr, nullptr, AbsID, &Item);
    }
    if (!Item) throw shell::ShellError(FAILED(hr) ? hr : E_FAIL, L"SHCreateShellItem", shell::Failure::UseItem);
}

IShellFolder* TLazyFolder::Get() const {
    if (!bound_) {
        bound_ = true;
        // A file cannot be bound as a folder; the folder then stays null, quietly.
        if (item_) item_->BindToHandler(nullptr, BHID_SFObject, IID_PPV_ARGS(&folder_));
    }
    return folder_.Get();
}

TLazyFolder& TLazyFolder::operator=(Microsoft::WRL::ComPtr<IShellFolder> folder) noexcept {
    folder_ = std::move(folder);
    bound_ = true;
    return *this;
}

}  // namespace folder
