#pragma once
// The captions of a menu window's entries while they come in, and the
// widest of them, which the window's width follows: measured as each
// caption arrives, the window told to widen at most every 250 ms and once
// more at the end, never to narrow.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "folder/pending_captions.h"
#include "shell/in_folder_names.h"
#include "ui/handles.h"
#include "ui/menu.h"
#include "ui/menu_metrics.h"

namespace folder {

class TCaptionFill {
public:
    // rows: the window's FileList; metrics: the rows' metrics now;
    // widen(widest): the window is to be wide enough for the widest caption.
    TCaptionFill(ui::TPopupMenu& rows, std::function<const ui::TMenuMetrics&()> metrics,
                 std::function<void(int widest)> widen);
    TCaptionFill(const TCaptionFill&) = delete;
    TCaptionFill& operator=(const TCaptionFill&) = delete;

    // Starts the captions of rows whose items names are being asked for:
    // itemOfEntry[e] is the item row e shows. The first rows get theirs now.
    void Start(std::unique_ptr<shell::TInFolderNames> names, std::vector<std::uint32_t> itemOfEntry, int first);
    // Measures every row at the metrics as they are now (rows whose
    // captions are all there, such as the placeholder, or a new DPI): the
    // widest becomes what they give, wider or narrower.
    void MeasureAll();
    // Gives row entry its caption now, if it is still to come.
    void Ensure(int entry) {
        if (pending_) pending_->Ensure(entry);
    }
    // One turn of the names timer: names items until input waits (12 ms at
    // most), collects, widens. False once every caption is in.
    bool Tick();
    bool Done() const noexcept { return !pending_; }
    // The window's names timer: Tick at every turn while captions come in.
    static constexpr UINT_PTR kTimer = 0x5143;  // "QC"
    static constexpr UINT kTimerMs = 10;
    // Every caption of window is final: its timer stops, and it carries the
    // property "QuinceListed" (tools and the benchmark read it to know that
    // the listing is complete).
    static void Finished(HWND window) noexcept;
    // The list's OnGetText: the text of row Index, its caption given now
    // if it is still to come (the list shows no strings of its own).
    void RowText(ui::TObject* Sender, int Index, std::wstring& Text);
    int Widest() const noexcept { return widest_; }

private:
    void Arrived(int entry);

    ui::TPopupMenu& rows_;
    std::function<const ui::TMenuMetrics&()> metrics_;
    std::function<void(int)> widen_;
    std::unique_ptr<TPendingCaptions> pending_;
    ui::UniqueDC measureDC_;
    int widest_ = 0;
    ULONGLONG lastWidening_ = 0;
};

}  // namespace folder
