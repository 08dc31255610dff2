#pragma once
// The captions of a menu window's entries while their names come in.
//
// A big folder's window is shown once its items are listed and sorted and
// its first screenful of rows has its captions; the other names are asked
// by helper threads meanwhile (shell::TInFolderNames). The UI thread gives
// an entry its caption as soon as the name is there, and asks one itself
// when a row must be drawn, read or searched before a helper got to it. In
// between input, while the window's timer runs, it names blocks of items
// too.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "shell/in_folder_names.h"
#include "ui/menu.h"

namespace folder {

class TPendingCaptions {
public:
    // names: the names of the listed items; itemOfEntry[e]: the listed item
    // entry e of entries shows. captioned(e) runs for each entry once its
    // caption is set.
    TPendingCaptions(std::unique_ptr<shell::TInFolderNames> names, std::vector<std::uint32_t> itemOfEntry,
                     ui::TPopupMenu& entries, std::function<void(int)> captioned);
    TPendingCaptions(const TPendingCaptions&) = delete;
    TPendingCaptions& operator=(const TPendingCaptions&) = delete;

    // Gives entry e its caption now, if it has none yet.
    void Ensure(int entry);
    // Gives every entry whose name has come in its caption.
    void Collect();
    // Names items on this thread until the tick count reaches deadline or
    // input waits, then collects.
    void Work(unsigned long long deadline);
    bool Done() const noexcept { return pending_ == 0; }

private:
    void Give(int entry, size_t item);

    std::unique_ptr<shell::TInFolderNames> names_;
    std::vector<std::uint32_t> itemOfEntry_;
    std::vector<std::int32_t> entryOfItem_;  // -1: an item without an entry
    std::vector<std::uint8_t> given_;        // per entry
    ui::TPopupMenu& entries_;
    std::function<void(int)> captioned_;
    size_t pending_ = 0;
    size_t scanFrom_ = 0;  // items before this one are all collected
};

// A single "&" would mark an accelerator; names are shown as they are.
std::wstring DoubleAmpersands(const std::wstring& name);

}  // namespace folder
