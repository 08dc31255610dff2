#include "shell/in_folder_names.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <system_error>

#include "shell/shell_utils.h"

namespace shell {

namespace {

void AppendIdList(std::vector<BYTE>& bytes, LPCITEMIDLIST id) {
    const UINT size = id ? ILGetSize(id) : 0;
    if (size < sizeof(USHORT)) {
        bytes.insert(bytes.end(), {0, 0});  // a list of no items
        return;
    }
    const auto* first = reinterpret_cast<const BYTE*>(id);
    bytes.insert(bytes.end(), first, first + size);
}

}  // namespace

TInFolderNames::TInFolderNames(IShellFolder* folder, LPCITEMIDLIST absoluteId,
                               const std::vector<LPCITEMIDLIST>& items)
    : folder_(folder), callerItems_(items), names_(items.size()) {
    if (items.size() < kThreadedFrom) return;
    AppendIdList(absoluteId_, absoluteId);
    itemOffsets_.reserve(items.size());
    itemBytes_.reserve(items.size() * 64);
    for (LPCITEMIDLIST id : items) {
        itemOffsets_.push_back(itemBytes_.size());
        AppendIdList(itemBytes_, id);
    }
    try {
        worker_ = std::thread(&TInFolderNames::Run, this);
    } catch (const std::system_error&) {
        // No thread to be had: every name is asked here instead.
    }
}

TInFolderNames::~TInFolderNames() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

LPCITEMIDLIST TInFolderNames::Item(size_t index) const noexcept {
    return reinterpret_cast<LPCITEMIDLIST>(itemBytes_.data() + itemOffsets_[index]);
}

void TInFolderNames::Run() noexcept {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        // The folder as this apartment's own object: the caller's one
        // belongs to the caller's apartment.
        Microsoft::WRL::ComPtr<IShellFolder> desktop, folder;
        HRESULT hr = SHGetDesktopFolder(&desktop);
        const auto* id = reinterpret_cast<LPCITEMIDLIST>(absoluteId_.data());
        if (SUCCEEDED(hr)) {
            hr = id->mkid.cb == 0 ? desktop.As(&folder) : desktop->BindToObject(id, nullptr, IID_PPV_ARGS(&folder));
        }
        if (FAILED(hr) || !folder) {
            std::lock_guard lock(mutex_);
            failed_ = true;
        } else {
            for (size_t i = 0; i < names_.size() && !stop_; ++i) {
                std::wstring name;
                try {
                    name = GetInFolderName(folder.Get(), Item(i));
                } catch (...) {
                    // Out of memory: the caller asks this one itself.
                    std::lock_guard lock(mutex_);
                    failed_ = true;
                    break;
                }
                std::lock_guard lock(mutex_);
                names_[i] = std::move(name);
                done_ = i + 1;
                ready_.notify_one();
            }
        }
        ready_.notify_one();
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

std::wstring TInFolderNames::Take(size_t index) {
    if (index >= callerItems_.size()) return {};
    if (worker_.joinable()) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return done_ > index || failed_; });
        if (done_ > index) return std::move(names_[index]);
    }
    return GetInFolderName(folder_, callerItems_[index]);
}

}  // namespace shell
