#include "folder/pending_captions.h"

#include <windows.h>

namespace folder {

std::wstring DoubleAmpersands(const std::wstring& name) {
    if (name.find(L'&') == std::wstring::npos) return name;
    std::wstring caption;
    caption.reserve(name.size() + 4);
    for (wchar_t c : name) {
        caption += c;
        if (c == L'&') caption += L'&';
    }
    return caption;
}

TPendingCaptions::TPendingCaptions(std::unique_ptr<shell::TInFolderNames> names,
                                   std::vector<std::uint32_t> itemOfEntry, ui::TPopupMenu& entries,
                                   std::function<void(int)> captioned)
    : names_(std::move(names)),
      itemOfEntry_(std::move(itemOfEntry)),
      entryOfItem_(names_->Count(), -1),
      given_(itemOfEntry_.size(), 0),
      entries_(entries),
      captioned_(std::move(captioned)),
      pending_(itemOfEntry_.size()) {
    for (size_t e = 0; e < itemOfEntry_.size(); ++e) entryOfItem_[itemOfEntry_[e]] = static_cast<std::int32_t>(e);
}

void TPendingCaptions::Give(int entry, size_t item) {
    given_[static_cast<size_t>(entry)] = 1;
    --pending_;
    entries_.Item(entry).Caption = DoubleAmpersands(names_->Take(item));
    captioned_(entry);
}

void TPendingCaptions::Ensure(int entry) {
    if (entry < 0 || static_cast<size_t>(entry) >= given_.size() || given_[static_cast<size_t>(entry)]) return;
    Give(entry, itemOfEntry_[static_cast<size_t>(entry)]);
}

void TPendingCaptions::Collect() {
    // The helpers name the items in blocks, in order; what lies past the
    // first gap is taken once the gap is filled.
    const size_t count = entryOfItem_.size();
    while (scanFrom_ < count && names_->Named(scanFrom_)) {
        const std::int32_t entry = entryOfItem_[scanFrom_];
        if (entry >= 0 && !given_[static_cast<size_t>(entry)]) Give(entry, scanFrom_);
        ++scanFrom_;
    }
}

void TPendingCaptions::Work(unsigned long long deadline) {
    names_->NameWhile([&] { return GetTickCount64() < deadline && HIWORD(GetQueueStatus(QS_INPUT)) == 0; });
    Collect();
    // The last names may have come in past the gap the scan stopped at.
    if (names_->AllNamed()) {
        for (size_t e = 0; e < given_.size(); ++e)
            if (!given_[e]) Give(static_cast<int>(e), itemOfEntry_[e]);
    }
}

}  // namespace folder
