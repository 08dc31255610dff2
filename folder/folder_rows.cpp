// The rows of a menu window: measured and drawn by their menu items, the
// child window behind a folder row, and the mouse release on a row.
#include "core/arrow_geometry.h"
#include "folder/base_window.h"
#include "folder/folder_form.h"
#include "shell/shell_error.h"
#include "ui/menu_arrow.h"
#include "ui/menu_metrics.h"

namespace folder {

void TFolderForm::FileViewMeasureItem(ui::TObject*, int Index, int& Height) {
    // The row is measured while it is being added, before it has its
    // object; its menu item is already there. Every row of a menu is as
    // high as the menu's row metrics say; only the width depends on the caption.
    if (Index < 0 || Index >= FileList.Count()) return;
    Height = RowMetrics().RowHeight();
}

void TFolderForm::FileViewDrawItem(ui::TObject*, int Index, RECT Rect, ui::TOwnerDrawState State) {
    if (Index < 0 || Index >= FileList.Count()) return;
    HDC canvas = FileView->Canvas();
    // A row drawn before its name came in is named now.
    if (FPendingCaptions) FPendingCaptions->Ensure(Index);
    ui::TMenuItem& item = FileList.Item(Index);
    item.DrawItem(canvas, Rect, State, RowMetrics(), FileView->MenuTheme.Get(FileView->Handle()));
    const bool selected = (State & ODS_SELECTED) != 0;

    if (OpensSubMenu(Index)) {
        const auto arrow = core::SubMenuArrowFor(Rect.left, Rect.top, Rect.right, Rect.bottom);
        ui::DrawArrow(canvas, core::ArrowDirection::Right, arrow.size, arrow.origin.x, arrow.origin.y,
                      GetSysColor(selected ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT));
    }

    // A selected row of a child window keeps the row leading to it selected
    // in the parent; the parent's redraw of that row does the same in turn.
    // Only while the user is in this window (its list has the keys or the
    // pointer is over it, and it is not closing): a repaint after the
    // keyboard has moved the parent's selection elsewhere must not pull it
    // back, nor may the keys passing through a closing window.
    auto* parent = dynamic_cast<TFolderForm*>(Owner());
    if (selected && parent && parent->FileView && UserIsHere() && !FHiding) {
        TListBox& list = *parent->FileView;
        if (FParentRow >= 0 && list.ItemIndex() != FParentRow) list.SetItemIndex(FParentRow);
    }

    if (item.ImageIndex < 0 && FIconLookups.State(item) == TIconLookups::TState::None) {
        if (TShellObject* entry = EntryObject(Index)) FIconLookups.Request(Index, item, entry->AbsID);
    }
}

TShellObject* TFolderForm::EntryObject(int index) {
    if (index < 0 || index >= FileList.Count()) return nullptr;
    ui::TMenuItem& item = FileList.Item(index);
    // Entries adopt nothing but shell objects.
    if (item.Tag) return static_cast<TShellObject*>(item.Tag);
    if (static_cast<size_t>(index) >= FEntryIds.size() || !FEntryIds[static_cast<size_t>(index)]) return nullptr;
    try {
        // The shell object adopts the list, also when it cannot be made.
        item.Adopt(std::make_unique<TShellObject>(Namespace, FEntryIds[static_cast<size_t>(index)].release()));
    } catch (const shell::ShellError&) {
        return nullptr;  // the row stays without one, like the placeholder
    }
    return static_cast<TShellObject*>(item.Tag);
}

void TFolderForm::FileViewMouseUp(ui::TObject*, ui::TMouseButton Button, UINT, int, int) {
    const int index = FileView->ItemIndex();
    if (index < 0 || index >= FileList.Count()) return;
    ui::TMenuItem& item = FileList.Item(index);
    TShellObject* object = EntryObject(index);
    if (Button == ui::TMouseButton::Left) {
        item.Click();
    } else if (Button == ui::TMouseButton::Right) {
        POINT pointer{};
        GetCursorPos(&pointer);
        ShowContextMenu(object, pointer.x, pointer.y);
        // Nothing was run (the menu was dismissed, or the row has no item):
        // the run ends all the same.
        IBaseWindow* base = BaseWindow();
        if (base && !base->IdleSlot()) base->Form().Close();
    }
}

bool TFolderForm::UserIsHere() const {
    if (GetFocus() == FileView->Handle()) return true;
    POINT pointer{};
    GetCursorPos(&pointer);
    const RECT bounds = BoundsRect();
    return PtInRect(&bounds, pointer) != FALSE;
}

bool TFolderForm::OpensSubMenu(int index) const {
    return index >= 0 && index < FileList.Count() && FileList.Item(index).HasSubMenu;
}

TFolderForm* TFolderForm::ChildForm(int index) {
    if (!OpensSubMenu(index)) return nullptr;
    if (TFolderForm* existing = SubMenu(index)) return existing;
    // Made on demand: a hidden window per sub-folder would cost USER objects
    // (the form, its list, two paint boxes) for every folder row listed, and
    // a folder of a few thousand sub-folders would exhaust the process quota.
    TShellObject* entry = EntryObject(index);
    if (!entry) return nullptr;
    auto* child = Own(std::make_unique<TFolderForm>(this));
    child->CreateHandle();
    child->Namespace = entry;
    child->EnumFlags = EnumFlags;
    child->FileMask = FileMask;
    SetChildForm(index, *child);
    return child;
}

void TFolderForm::SetChildForm(int index, TFolderForm& child) {
    FileList.Item(index).SubMenu = &child;
    FChildren.push_back(&child);
    // Rows never change after the first show, so the child's row stays put.
    child.FParentRow = index;
}

}  // namespace folder
