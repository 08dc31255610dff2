#include "folder/folder_entries.h"

#include <stdexcept>

#include "shell/shell_error.h"

namespace folder {

void TFolderEntries::Add(std::vector<std::unique_ptr<ui::TMenuItem>> items, std::vector<TFolderEntry> entries) {
    if (items.size() != entries.size() || static_cast<size_t>(rows_.Count()) != entries_.size())
        throw std::logic_error("TFolderEntries::Add: one entry per row");
    rows_.Reserve(items.size() + static_cast<size_t>(rows_.Count()));
    if (entries_.empty()) {
        entries_ = std::move(entries);
    } else {
        entries_.reserve(entries_.size() + entries.size());
        for (TFolderEntry& entry : entries) entries_.push_back(std::move(entry));
    }
    for (size_t i = 0; i < items.size(); ++i) {
        ui::TMenuItem& row = rows_.Add(std::move(items[i]));
        row.Tag = entries_[static_cast<size_t>(rows_.Count()) - 1].object.get();
    }
}

TShellObject* TFolderEntries::Object(int index, const TShellObject* folder) {
    if (!Has(index)) return nullptr;
    TFolderEntry& entry = At(index);
    if (entry.object || !entry.id) return entry.object.get();
    try {
        entry.object = std::make_unique<TShellObject>(folder, std::move(entry.id));
    } catch (const shell::ShellError&) {
        return nullptr;  // the row stays without one, like the placeholder
    }
    rows_.Item(index).Tag = entry.object.get();
    return entry.object.get();
}

void TFolderEntries::SetChild(int index, TFolderForm& child) noexcept {
    if (Has(index)) At(index).child = &child;
}

void TFolderEntries::SetIcon(int index, TIconState state) noexcept {
    if (Has(index)) At(index).icon = state;
}

}  // namespace folder
