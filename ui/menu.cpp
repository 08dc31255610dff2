#include "ui/menu.h"

namespace ui {

void TMenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

TMenuItem& TPopupMenu::Add(std::unique_ptr<TMenuItem> item) {
    items_.push_back(std::move(item));
    return *items_.back();
}

}  // namespace ui
