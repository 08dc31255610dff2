#include "folder/caption_fill.h"

#include <algorithm>

namespace folder {

namespace {
// Time the UI thread spends naming per tick, at most (it stops at once
// when input arrives).
constexpr ULONGLONG kNamingSliceMs = 12;
// A window widens at most this often while names come in: rarely enough
// not to flicker, often enough that a wider caption is soon seen whole.
constexpr ULONGLONG kWideningGapMs = 250;
}  // namespace

TCaptionFill::TCaptionFill(ui::TPopupMenu& rows, std::function<const ui::TMenuMetrics&()> metrics,
                           std::function<void(int)> widen)
    : rows_(rows), metrics_(std::move(metrics)), widen_(std::move(widen)) {}

void TCaptionFill::Start(std::unique_ptr<shell::TInFolderNames> names, std::vector<std::uint32_t> itemOfEntry,
                         int first) {
    measureDC_.reset(CreateCompatibleDC(nullptr));
    pending_ = std::make_unique<TPendingCaptions>(std::move(names), std::move(itemOfEntry), rows_,
                                                  [this](int entry) { Arrived(entry); });
    for (int e = 0; e < std::min(first, rows_.Count()); ++e) pending_->Ensure(e);
    pending_->Collect();
    if (pending_->Done()) {
        pending_.reset();
        measureDC_.reset();
    }
}

void TCaptionFill::MeasureAll() {
    ui::UniqueDC dc(CreateCompatibleDC(nullptr));
    const ui::TMenuMetrics& metrics = metrics_();
    int widest = 0;
    for (const auto& item : rows_.Items()) {
        int width = 0, height = 0;
        item->MeasureItem(dc.get(), metrics, width, height);
        widest = std::max(widest, width);
    }
    widest_ = widest;
}

void TCaptionFill::Arrived(int entry) {
    if (!measureDC_) return;
    int w = 0, h = 0;
    rows_.Item(entry).MeasureItem(measureDC_.get(), metrics_(), w, h);
    widest_ = std::max(widest_, w);
}

void TCaptionFill::RowText(ui::TObject*, int Index, std::wstring& Text) {
    if (Index < 0 || Index >= rows_.Count()) return;
    Ensure(Index);
    Text = rows_.Item(Index).Caption;
}

void TCaptionFill::Finished(HWND window) noexcept {
    KillTimer(window, kTimer);
    SetPropW(window, L"QuinceListed", reinterpret_cast<HANDLE>(1));
}

bool TCaptionFill::Tick() {
    if (!pending_) return false;
    pending_->Work(GetTickCount64() + kNamingSliceMs);
    const bool done = pending_->Done();
    if (done || GetTickCount64() - lastWidening_ >= kWideningGapMs) {
        lastWidening_ = GetTickCount64();
        widen_(widest_);
    }
    if (done) {
        pending_.reset();
        measureDC_.reset();
    }
    return !done;
}

}  // namespace folder
