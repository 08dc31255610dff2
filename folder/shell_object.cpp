#include "folder/shell_object.h"

#include <shlobj.h>

#include "shell/shell_error.h"
#include "shell/shell_types.h"

namespace folder {

namespace {

shell::AbsolutePidl AbsoluteList(const TShellObject* parent, LPCITEMIDLIST relative) {
    if (!relative) throw shell::ShellError(E_POINTER, L"TShellObject", shell::Failure::UseItem);
    shell::UniquePidl absolute = parent ? shell::PidlConcat(parent->AbsID, relative) : shell::PidlCopy(relative);
    if (!absolute) {
        throw shell::ShellError(E_OUTOFMEMORY, parent ? L"PidlConcat" : L"PidlCopy", shell::Failure::ReserveMemory);
    }
    return absolute;
}

}  // namespace

TShellObject::TShellObject(const TShellObject* AParent, shell::RelativePidl AItemID)
    : RelID(std::move(AItemID)), AbsID(AbsoluteList(AParent, RelID)) {
    HRESULT hr;
    if (AParent) {
        Parent = AParent->Current.Get();
        hr = SHCreateShellItem(AParent->AbsID, Parent.Get(), RelID, &Item);
    } else {
        hr = SHCreateShellItem(nullptr, nullptr, AbsID, &Item);
    }
    if (!Item) throw shell::ShellError(FAILED(hr) ? hr : E_FAIL, L"SHCreateShellItem", shell::Failure::UseItem);
}

TShellObject::~TShellObject() = default;

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
