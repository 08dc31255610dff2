#pragma once
// Popup menu items: caption, tag, enabled flag, image index and click
// event. The program's menus hold items as a model of rows; the rows draw
// themselves like native popup-menu items.
#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui {

class TImageList;

class TMenuItem : public TObject {
public:
    std::wstring Caption;
    TObject* Tag = nullptr;
    bool Enabled = true;
    int ImageIndex = -1;
    TNotifyEvent OnClick;

    // Raises OnClick when the item is enabled.
    void Click();
};

class TPopupMenu : public TObject {
public:
    TImageList* Images = nullptr;
    // The items, owned by the menu.
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const noexcept { return items_; }
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    TMenuItem& Item(int index) const { return *items_.at(static_cast<size_t>(index)); }
    TMenuItem& Add(std::unique_ptr<TMenuItem> item);
    void Clear() noexcept { items_.clear(); }

private:
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

}  // namespace ui
