#include "shell/in_folder_names.h"

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
    // Every state starts as kFree (0): atomics are value-initialized.
    : folder_(folder), names_(items.size()), states_(std::make_unique<std::atomic<std::uint8_t>[]>(items.size())) {
    AppendIdList(absoluteId_, absoluteId);
    itemOffsets_.reserve(items.size());
    itemBytes_.reserve(items.size() * 64);
    for (LPCITEMIDLIST id : items) {
        itemOffsets_.push_back(itemBytes_.size());
        AppendIdList(itemBytes_, id);
    }
    if (items.size() < kThreadedFrom) return;
    helpers_.reserve(kHelpers);
    try {
        for (int i = 0; i < kHelpers; ++i) helpers_.emplace_back(sys::TApartment::Single, [this] { RunHelper(); });
    } catch (const std::system_error&) {
        // Fewer threads to be had: the caller names what they leave.
    }
}

TInFolderNames::~TInFolderNames() {
    stop_ = true;
    helpers_.clear();
}

LPCITEMIDLIST TInFolderNames::Item(size_t index) const noexcept {
    return reinterpret_cast<LPCITEMIDLIST>(itemBytes_.data() + itemOffsets_[index]);
}

bool TInFolderNames::Named(size_t index) const noexcept {
    return index < names_.size() && states_[index].load(std::memory_order_acquire) == kDone;
}

bool TInFolderNames::NameIfFree(IShellFolder* folder, size_t index) {
    std::uint8_t expected = kFree;
    if (!states_[index].compare_exchange_strong(expected, kClaimed, std::memory_order_acquire)) return false;
    try {
        names_[index] = GetInFolderName(folder, Item(index));
    } catch (...) {
        // Out of memory: give the item back for another try.
        states_[index].store(kFree, std::memory_order_release);
        throw;
    }
    states_[index].store(kDone, std::memory_order_release);
    named_.fetch_add(1, std::memory_order_release);
    return true;
}

bool TInFolderNames::NameBlock(IShellFolder* folder) {
    const size_t count = names_.size();
    const size_t first = next_.fetch_add(kBlock);
    if (first >= count) return false;
    const size_t last = std::min(count, first + kBlock);
    for (size_t i = first; i < last && !stop_; ++i) NameIfFree(folder, i);
    return true;
}

void TInFolderNames::RunHelper() {
    // The folder as this apartment's own object: the caller's one belongs
    // to the caller's apartment.
    Microsoft::WRL::ComPtr<IShellFolder> desktop, folder;
    HRESULT hr = SHGetDesktopFolder(&desktop);
    const auto* id = reinterpret_cast<LPCITEMIDLIST>(absoluteId_.data());
    if (SUCCEEDED(hr)) {
        hr = id->mkid.cb == 0 ? desktop.As(&folder) : desktop->BindToObject(id, nullptr, IID_PPV_ARGS(&folder));
    }
    // A helper that cannot bind claims nothing; one that fails midway has
    // given its item back. Neither is an error: the caller names what is left.
    if (FAILED(hr) || !folder) return;
    try {
        while (!stop_ && NameBlock(folder.Get())) {
        }
    } catch (...) {
    }
}

std::wstring TInFolderNames::Take(size_t index) {
    if (index >= names_.size()) return {};
    if (NameIfFree(folder_, index) || states_[index].load(std::memory_order_acquire) == kDone)
        return std::move(names_[index]);
    // A helper is asking for it this moment. Rather than wait for the helper
    // (this thread has its messages to answer, and may be in the middle of
    // drawing the row), ask once more here; the helper's answer goes unread.
    return GetInFolderName(folder_, Item(index));
}

std::vector<std::wstring> TInFolderNames::TakeAll() {
    NameWhile([] { return true; });
    std::vector<std::wstring> all;
    all.reserve(names_.size());
    for (size_t i = 0; i < names_.size(); ++i) all.push_back(Take(i));
    return all;
}

}  // namespace shell
