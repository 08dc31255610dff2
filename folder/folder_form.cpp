#include "folder/folder_form.h"

#include "folder/base_window.h"
#include "folder/drag_out.h"
#include "folder/keyboard_commands.h"
#include "shell/small_icon_list.h"

namespace folder {

namespace {
constexpr int kFileViewId = 100;
}  // namespace

TFolderForm::TFolderForm(ui::TForm* AOwner)
    : ui::TForm(AOwner),
      FCommands(*this, *this, [this] { return FEntries.Object(FileView ? FileView->ItemIndex() : -1, Namespace); },
                FSavePath),
      FRows(FileList, FEntries, FileView),
      FCaptions(FileList, [this]() -> const ui::TMenuMetrics& { return RowMetrics(); },
                [this](int widest) { Widen(widest); }),
      FDpi(TMenuDpiSite{*this, FileList, FileView, UpButton, DownButton, FCaptions, FChain, FFrameWidth,
                        [this] { return WorkArea(); }}) {
    // Form description.
    WindowClassName = L"TFolderForm";
    Caption = L"Quince";
    DesignClientWidth = 336;
    DesignClientHeight = 527;
    ColorIndex = COLOR_BTNFACE;
    FontName = L"Segoe UI";
    FontHeight = -12;
    OnCreate = ui::TNotifyEvent(this, &TFolderForm::FormCreate);
    OnShow = ui::TNotifyEvent(this, &TFolderForm::FormShow);
    OnHide = ui::TNotifyEvent(this, &TFolderForm::FormHide);
    OnDestroy = ui::TNotifyEvent(this, &TFolderForm::FormDestroy);
    OnMouseWheel = {this, &TFolderForm::FormMouseWheel};
}

TFolderForm::TFolderForm(TFolderForm* AParent) : TFolderForm(static_cast<ui::TForm*>(AParent)) {
    if (AParent && AParent->FileView) FChain.Attach(AParent->FChain, *AParent, *AParent->FileView);
}

TFolderForm::~TFolderForm() {
    // Teardown order: the destroy handler, then the child windows (each
    // borrows an entry's shell object as its Namespace), then this window;
    // only then, with the members, the entries and the shell objects they
    // own, and last of all whatever lent this window its Namespace.
    DestroyHandle();
}

void TFolderForm::CreateParams(ui::TCreateParams& params) {
    ui::TForm::CreateParams(params);
    // Only a thin dialog frame: no caption, system menu or sizing border.
    params.style = WS_POPUP | WS_DLGFRAME;
    // Every menu window stays above the base window, whoever owns it.
    if (IBaseWindow* base = BaseWindow()) params.wndParent = base->Form().Handle();
    params.classStyle |= CS_DROPSHADOW;
}

void TFolderForm::CreateComponents() {
    UpButton = std::make_unique<ui::TPaintBox>(*this);
    UpButton->SetAlign(ui::TAlign::Top);
    DownButton = std::make_unique<ui::TPaintBox>(*this);
    DownButton->SetAlign(ui::TAlign::Bottom);
    for (ui::TPaintBox* button : {UpButton.get(), DownButton.get()}) {
        button->SetHeight(16);
        button->OnMouseDown = {this, &TFolderForm::UDButtonMouseDown};
        button->OnMouseEnter = ui::TNotifyEvent(this, &TFolderForm::UDButtonMouseEnter);
        button->OnPaint = ui::TNotifyEvent(this, &TFolderForm::UDButtonPaint);
    }
    FileView = std::make_unique<TListBox>(*this, kFileViewId, ui::TListRows::Virtual);
    FileView->OnGetText = {&FCaptions, &TCaptionFill::RowText};
    FileView->SetAlign(ui::TAlign::Client);
    FileView->OnMeasureItem = {this, &TFolderForm::FileViewMeasureItem};
    FileView->OnDrawItem = {this, &TFolderForm::FileViewDrawItem};
    FileView->OnMouseUp = {this, &TFolderForm::FileViewMouseUp};
    FileView->OnMouseMove = {this, &TFolderForm::FileViewMouseMove};
    FileView->OnKeyDown = {this, &TFolderForm::FileViewKeyDown};
    FChain.Watch(*FileView);
    SetActiveControl(FileView->Handle());
    FileList.Images = &ShellImages;
}

void TFolderForm::FormCreate(ui::TObject*) {
    RECT outer = BoundsRect();
    SIZE client = ClientSize();
    FFrameWidth = ((outer.bottom - outer.top) - client.cy) / 2;
    FSavePath.clear();
    FLastCursorPos = POINT{0, 0};
    EnumFlags = 0;
    FileMask.clear();
    Namespace = nullptr;
    // The system's small-icon list is shared by every process: bind, never own.
    ShellImages.Bind(shell::SmallIconList());
    // Every row is one height, the one the row metrics give.
    FileView->SetItemHeight(RowMetrics().RowHeight());
}

void TFolderForm::FormHide(ui::TObject*) {
    // A hover armed just before the hide must not open a sub-menu afterwards.
    TrackHover(TME_CANCEL | TME_HOVER);
    DropPendingChild();
    FChain.Hidden(*this);
}

void TFolderForm::FormDestroy(ui::TObject*) {
    // The entries go with the window's members, the children before them
    // (see the destructor); the Namespace belongs to whoever lent it.
}

void TFolderForm::FormMouseWheel(ui::TObject*, ui::TShiftState, int, POINT, bool& Handled) {
    // The wheel never scrolls a menu; its buttons and keys do.
    Handled = true;
}

void TFolderForm::CloseSubMenus() {
    DropPendingChild();
    FChain.CloseChild();
}

void TFolderForm::TrackHover(DWORD Flags) {
    if (FileView) FileView->TrackHover(Flags);
}

HRESULT STDMETHODCALLTYPE TFolderForm::VerbExecuting(const std::wstring& Verb, bool& Handled) {
    return FCommands.VerbExecuting(Verb, Handled);
}

HRESULT STDMETHODCALLTYPE TFolderForm::VerbExecuted(const std::wstring& Verb, bool Succeeded) {
    return FCommands.VerbExecuted(Verb, Succeeded);
}

LRESULT TFolderForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEHOVER && Visible() && FileView) {
        // A hover queued before the window hid may still arrive. After the
        // keyboard has moved the selection, the resting pointer no longer
        // names the selected row: nothing opens.
        const POINT at{static_cast<LONG>(LOWORD(lp)), static_cast<LONG>(HIWORD(lp))};
        if (FileView->ItemIndex() == FileView->ItemAtPos(at)) OpenSubMenu();
    }
    if (msg == kChildListed) {
        PendingChildListed(wp);
        return 0;
    }
    if (msg == WM_DPICHANGED) return FDpi.DpiChanged(wp, lp);
    if (msg == TMenuDpi::kFollowParentRow) {
        FDpi.Place();
        return 0;
    }
    if (msg == WM_TIMER && wp == TCaptionFill::kTimer) {
        if (!FCaptions.Tick()) TCaptionFill::Finished(Handle());
        return 0;
    }
    if (msg == WM_CONTEXTMENU && FileView && TRowKeys(FCommands, *FileView).ContextMenu(lp)) return 0;
    if (msg == kBeginRowDrag && FileView) {
        TDragOut(FCommands, *FileView).Run(static_cast<int>(wp));
        return 0;
    }
    // While a shell context menu is up, its handler sees its menu's messages first.
    if (LRESULT result = 0; FCommands.ForwardMenuMessage(msg, wp, lp, result)) return result;
    return ui::TForm::WndProc(msg, wp, lp);
}

}  // namespace folder
