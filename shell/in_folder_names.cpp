#include "shell/in_folder_names.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
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
    : folder_(folder), names_(items.size()), named_(items.size(), 0) {
    AppendIdList(absoluteId_, absoluteId);
    itemOffsets_.reserve(items.size());
    itemBytes_.reserve(items.size() * 64);
    for (LPCITEMIDLIST id : items) {
        itemOffsets_.push_back(itemBytes_.size());
        AppendIdList(itemBytes_, id);
    }
    if (items.size() < kThreadedFrom) return;
    try {
        for (int i = 0; i < kHelpers; ++i) helpers_.emplace_back(&TInFolderNames::RunHelper, this);
    } catch (const std::system_error&) {
        // Fewer threads to be had: the caller names what they leave.
    }
}

TInFolderNames::~TInFolderNames() {
    stop_ = true;
    JoinHelpers();
}

void TInFolderNames::JoinHelpers() noexcept {
    for (std::thread& helper : helpers_)
        if (helper.joinable()) helper.join();
}

LPCITEMIDLIST TInFolderNames::Item(size_t index) const noexcept {
    return reinterpret_cast<LPCITEMIDLIST>(itemBytes_.data() + itemOffsets_[index]);
}

void TInFolderNames::NameBlocks(IShellFolder* folder) {
    const size_t count = names_.size();
    while (!stop_) {
        const size_t first = next_.fetch_add(kBlock);
        if (first >= count) return;
        const size_t last = std::min(count, first + kBlock);
        for (size_t i = first; i < last && !stop_; ++i) {
            names_[i] = GetInFolderName(folder, Item(i));
            named_[i] = 1;
        }
    }
}

void TInFolderNames::RunHelper() noexcept {
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
        // A helper that cannot bind claims nothing; one that fails midway
        // leaves its block's rest unnamed, and the caller names it.
        if (SUCCEEDED(hr) && folder) {
            try {
                NameBlocks(folder.Get());
            } catch (...) {
            }
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

std::vector<std::wstring> TInFolderNames::TakeAll() {
    NameBlocks(folder_);
    JoinHelpers();
    for (size_t i = 0; i < names_.size(); ++i)
        if (!named_[i]) names_[i] = GetInFolderName(folder_, Item(i));
    return std::move(names_);
}

}  // namespace shell
