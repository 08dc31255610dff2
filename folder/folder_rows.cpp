// The rows of a menu window: measured and drawn by their menu items, the
// child window behind a folder row, and the mouse release on a row.
#include "folder/base_window.h"
#include "folder/folder_form.h"
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
    FileList.Item(Index).DrawItem(FileView->Canvas(), Rect, State, RowMetrics());
}

void TFolderForm::FileViewMouseUp(ui::TObject*, ui::TMouseButton Button, UINT, int, int) {
    const int index = FileView->ItemIndex();
    if (index < 0 || index >= FileList.Count()) return;
    ui::TMenuItem& item = FileList.Item(index);
    if (Button == ui::TMouseButton::Left) {
        item.Click();
    } else if (Button == ui::TMouseButton::Right) {
        POINT pointer{};
        GetCursorPos(&pointer);
        ShowContextMenu(dynamic_cast<TShellObject*>(item.Tag), pointer.x, pointer.y);
        // Nothing was run (the menu was dismissed, or the row has no item):
        // the run ends all the same.
        IBaseWindow* base = BaseWindow();
        if (base && !base->IdleSlot()) base->Form().Close();
    }
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
    auto* entry = dynamic_cast<TShellObject*>(FileList.Item(index).Tag);
    auto* child = Own(std::make_unique<TFolderForm>(this));
    child->CreateHandle();
    child->Namespace = entry;
    child->EnumFlags = EnumFlags;
    child->FileMask = FileMask;
    FileView->SetObject(index, child);
    return child;
}

}  // namespace folder
