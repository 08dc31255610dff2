#pragma once
// A menu window's place in the chain of open menus: its parent window, the
// parent's row that leads to it, and the one child window open now. Windows
// reach each other only through this: open child, parent row, selection.
#include "folder/list_box.h"
#include "ui/form.h"

namespace folder {

class TMenuChain {
public:
    // Makes this the chain of a child window of parent (its form and list).
    void Attach(TMenuChain& parent, ui::TForm& parentForm, TListBox& parentList) noexcept;
    // The parent's row that opens this window, once the parent has made it.
    void SetParentRow(int row) noexcept { parentRow_ = row; }
    bool IsChild() const noexcept { return parent_ != nullptr; }
    ui::TForm* ParentForm() const noexcept { return parentForm_; }
    ui::TForm* OpenChild() const noexcept { return openChild_; }
    // Where a child window opens: the right end and top edge of the
    // parent's selected row, on the screen, and the parent's left edge.
    void ParentRowAnchor(POINT& anchor, int& parentLeft) const;

    // self, this chain's window, is showing: it is its parent's open child.
    void Shown(ui::TForm& self) noexcept;
    // self is hiding: its open child hides first (and so on down), then the
    // parent, when it is up and not closing itself, gets the keys back.
    void Hidden(ui::TForm& self);
    // Hides the open child, if any.
    void CloseChild();
    // Follows the selection of view, this chain's window's list: when it
    // moves to a row, the rows that lead here are selected up the chain.
    void Watch(TListBox& view) noexcept;

private:
    // Not while the window closes its children (the system may activate it
    // meanwhile, and its keys must not pull the parent's selection back),
    // and not for "no row".
    void SelectionChanged(ui::TObject* Sender);

    TListBox* view_ = nullptr;
    TMenuChain* parent_ = nullptr;
    ui::TForm* parentForm_ = nullptr;
    TListBox* parentList_ = nullptr;
    int parentRow_ = -1;
    ui::TForm* openChild_ = nullptr;
    bool hiding_ = false;
};

}  // namespace folder
