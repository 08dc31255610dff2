#pragma once
// The entries of one menu window, in row order: row i of the window's list,
// menu item i of its FileList and entry i here stand for the same item.
// The menu items hold what a row shows; an entry holds what it stands for.
#include <cstdint>
#include <memory>
#include <vector>

#include "folder/shell_object.h"
#include "shell/shell_types.h"
#include "ui/menu.h"

namespace folder {

class TFolderForm;

enum class TIconState : std::uint8_t {
    None,       // not asked yet
    Pending,    // a lookup is in flight
    Done,       // the row's menu item holds the icon
    NoneFound,  // the shell has none: drawn without one, not asked again
};

struct TFolderEntry {
    // The item's list, relative to the window's folder, until the shell
    // object is made from it.
    shell::RelativePidl id;
    // Made the first time the entry is drawn, clicked or acted on.
    std::unique_ptr<TShellObject> object;
    // The window the row opens, once made (owned by this entry's window).
    TFolderForm* child = nullptr;
    bool opensSubMenu = false;
    TIconState icon = TIconState::None;
};

class TFolderEntries {
public:
    // rows: the window's FileList, whose items are the entries' rows.
    explicit TFolderEntries(ui::TPopupMenu& rows) noexcept : rows_(rows) {}
    TFolderEntries(const TFolderEntries&) = delete;
    TFolderEntries& operator=(const TFolderEntries&) = delete;

    // Appends rows and their entries, one each, in order.
    void Add(std::vector<std::unique_ptr<ui::TMenuItem>> items, std::vector<TFolderEntry> entries);
    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    bool OpensSubMenu(int index) const noexcept { return Has(index) && At(index).opensSubMenu; }
    // The shell object of entry index, made from its list in folder the
    // first time it is asked for (the row's Tag then names it); null for
    // the placeholder, and for an item the shell cannot make.
    TShellObject* Object(int index, const TShellObject* folder);
    TFolderForm* Child(int index) const noexcept { return Has(index) ? At(index).child : nullptr; }
    void SetChild(int index, TFolderForm& child) noexcept;
    TIconState Icon(int index) const noexcept { return Has(index) ? At(index).icon : TIconState::NoneFound; }
    void SetIcon(int index, TIconState state) noexcept;

private:
    bool Has(int index) const noexcept { return index >= 0 && index < Count(); }
    const TFolderEntry& At(int index) const noexcept { return entries_[static_cast<size_t>(index)]; }
    TFolderEntry& At(int index) noexcept { return entries_[static_cast<size_t>(index)]; }

    ui::TPopupMenu& rows_;
    std::vector<TFolderEntry> entries_;
};

}  // namespace folder
