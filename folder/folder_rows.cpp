// The rows of a menu window: measured and drawn as popup-menu rows, the
// scroll buttons, the child window behind a folder row, and the mouse
// release on a row.
#include "folder/base_window.h"
#include "folder/folder_form.h"

namespace folder {

void TFolderForm::FileViewMeasureItem(ui::TObject*, int Index, int& Height) {
    // Every row of a menu is as high as the menu's row metrics say; only
    // the width depends on the caption.
    if (Index < 0 || Index >= FileList.Count()) return;
    Height = RowMetrics().RowHeight();
}

void TFolderForm::FileViewDrawItem(ui::TObject*, int Index, RECT Rect, ui::TOwnerDrawState State) {
    // A row drawn before its name came in is named now.
    FCaptions.Ensure(Index);
    FRows.DrawRow(FileView->Canvas(), Index, Rect, State, RowMetrics(), Namespace);
}

void TFolderForm::UDButtonPaint(ui::TObject* Sender) {
    ui::TPaintBox* box = Sender == UpButton.get() ? UpButton.get() : DownButton.get();
    if (!box || !box->Canvas() || !FileView) return;
    const bool up = box == UpButton.get();
    TRowDrawing::DrawScrollButton(box->Canvas(), box->ClientRect(), up, FileView->CanScroll(up), ColorIndex);
}

void TFolderForm::FileViewMouseUp(ui::TObject*, ui::TMouseButton Button, UINT, int, int) {
    const int index = FileView->ItemIndex();
    if (index < 0 || index >= FileList.Count()) return;
    TShellObject* object = FEntries.Object(index, Namespace);
    if (Button == ui::TMouseButton::Left) {
        FileList.Item(index).Click();
    } else if (Button == ui::TMouseButton::Right) {
        POINT pointer{};
        GetCursorPos(&pointer);
        FCommands.ShowContextMenu(object, pointer.x, pointer.y);
        // Nothing was run (the menu was dismissed, or the row has no item):
        // the run ends all the same.
        IBaseWindow* base = BaseWindow();
        if (base && !base->IdleSlot()) base->Form().Close();
    }
}

void TFolderForm::MenuItemClick(ui::TObject* Sender) {
    // The row's object was made before its click (FileViewMouseUp, Enter).
    const auto* item = static_cast<const ui::TMenuItem*>(Sender);
    FCommands.InvokeDefaultCommand(item ? static_cast<TShellObject*>(item->Tag) : nullptr);
    // No command ran (no shell object, no context menu): nothing else will
    // end the run.
    IBaseWindow* base = BaseWindow();
    if (base && !base->IdleSlot()) base->Form().Close();
}

TFolderForm* TFolderForm::ChildForm(int index) {
    if (!FEntries.OpensSubMenu(index)) return nullptr;
    if (TFolderForm* existing = FEntries.Child(index)) return existing;
    // Made on demand: a hidden window per sub-folder would cost USER objects
    // (the form, its list, two paint boxes) for every folder row listed, and
    // a folder of a few thousand sub-folders would exhaust the process quota.
    TShellObject* entry = FEntries.Object(index, Namespace);
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
    FEntries.SetChild(index, child);
    // Rows never change after the first show, so the child's row stays put.
    child.FChain.SetParentRow(index);
}

}  // namespace folder
