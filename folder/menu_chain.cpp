#include "folder/menu_chain.h"

#include "core/scope_exit.h"

namespace folder {

void TMenuChain::Attach(TMenuChain& parent, ui::TForm& parentForm, TListBox& parentList) noexcept {
    parent_ = &parent;
    parentForm_ = &parentForm;
    parentList_ = &parentList;
}

void TMenuChain::ParentRowAnchor(POINT& anchor, int& parentLeft) const {
    if (!parent_) return;
    const RECT row = parentList_->ItemRect(parentList_->ItemIndex());
    anchor = POINT{row.right, row.top};
    ClientToScreen(parentList_->Handle(), &anchor);
    parentLeft = parentForm_->BoundsRect().left;
}

void TMenuChain::Shown(ui::TForm& self) noexcept {
    if (parent_) parent_->openChild_ = &self;
}

void TMenuChain::Hidden(ui::TForm& self) {
    {
        hiding_ = true;
        const auto hidden = core::ScopeExit([&] { hiding_ = false; });
        CloseChild();
    }
    if (!parent_) return;
    if (parent_->openChild_ == &self) parent_->openChild_ = nullptr;
    // A child that closes while its parent hides gives the keys to the
    // window above the parent, not back to the parent.
    if (parentForm_->Visible() && !parent_->hiding_) parentForm_->SetFocus();
}

void TMenuChain::CloseChild() {
    if (ui::TForm* child = openChild_) {
        openChild_ = nullptr;
        child->Close();
    }
}

void TMenuChain::Watch(TListBox& view) noexcept {
    view_ = &view;
    view.OnSelectionChange = ui::TNotifyEvent(this, &TMenuChain::SelectionChanged);
}

void TMenuChain::SelectionChanged(ui::TObject*) {
    if (!view_ || view_->ItemIndex() < 0 || !parent_ || hiding_ || parentRow_ < 0) return;
    if (parentList_->ItemIndex() != parentRow_) parentList_->SetItemIndex(parentRow_);
}

}  // namespace folder
