#include "folder/folder_form.h"

#include <shellapi.h>

#include <atomic>

#include "core/scope_exit.h"
#include "folder/base_window.h"
#include "folder/drag_out.h"
#include "folder/keyboard_commands.h"
#include "shell/small_icon_list.h"
#include "ui/menu_metrics.h"

namespace folder {

namespace {
constexpr int kFileViewId = 100;
std::atomic<long> g_liveForms{0};
}  // namespace

long TFolderForm::LiveCount() noexcept { return g_liveForms.load(); }

TFolderForm::TFolderForm(ui::TForm* AOwner) : ui::TForm(AOwner) {
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
    ++g_liveForms;
}

TFolderForm::~TFolderForm() {
    // Teardown order: the destroy handler, then the child windows (each
    // borrows its row's shell object as its Namespace), then this window;
    // only after that, with the members, the entries and the shell objects
    // they own.
    DestroyHandle();
    --g_liveForms;
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
    UpButton->SetHeight(16);
    UpButton->OnMouseDown = {this, &TFolderForm::UDButtonMouseDown};
    UpButton->OnMouseEnter = ui::TNotifyEvent(this, &TFolderForm::UDButtonMouseEnter);
    DownButton = std::make_unique<ui::TPaintBox>(*this);
    DownButton->SetAlign(ui::TAlign::Bottom);
    DownButton->SetHeight(16);
    DownButton->OnMouseDown = {this, &TFolderForm::UDButtonMouseDown};
    DownButton->OnMouseEnter = ui::TNotifyEvent(this, &TFolderForm::UDButtonMouseEnter);
    UpButton->OnPaint = ui::TNotifyEvent(this, &TFolderForm::UDButtonPaint);
    DownButton->OnPaint = ui::TNotifyEvent(this, &TFolderForm::UDButtonPaint);
    FileView = std::make_unique<TListBox>(*this, kFileViewId, ui::TListRows::Virtual);
    FileView->OnGetText = {this, &TFolderForm::FileViewGetText};
    FileView->SetAlign(ui::TAlign::Client);
    FileView->OnMeasureItem = {this, &TFolderForm::FileViewMeasureItem};
    FileView->OnDrawItem = {this, &TFolderForm::FileViewDrawItem};
    FileView->OnMouseUp = {this, &TFolderForm::FileViewMouseUp};
    FileView->OnMouseMove = {this, &TFolderForm::FileViewMouseMove};
    FileView->OnKeyDown = {this, &TFolderForm::FileViewKeyDown};
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
    {
        FHiding = true;
        const auto hidden = core::ScopeExit([&] { FHiding = false; });
        CloseSubMenus();
    }
    auto* parent = dynamic_cast<TFolderForm*>(Owner());
    if (parent && parent->Visible() && !parent->FHiding) parent->SetFocus();
}

void TFolderForm::FormDestroy(ui::TObject*) {
    IBaseWindow* base = BaseWindow();
    if (base && base->RootForm() == this) {
        delete Namespace;
        Namespace = nullptr;
    }
}

void TFolderForm::FormMouseWheel(ui::TObject*, ui::TShiftState, int, POINT, bool& Handled) {
    // The wheel never scrolls a menu; its buttons and keys do.
    Handled = true;
}

TFolderForm* TFolderForm::SubMenu(int index) const {
    if (index < 0 || index >= FileList.Count()) return nullptr;
    // Only SetChildForm puts anything here.
    return static_cast<TFolderForm*>(FileList.Item(index).SubMenu);
}

void TFolderForm::FileViewGetText(ui::TObject*, int Index, std::wstring& Text) {
    if (Index < 0 || Index >= FileList.Count()) return;
    if (FPendingCaptions) FPendingCaptions->Ensure(Index);
    Text = FileList.Item(Index).Caption;
}

void TFolderForm::CloseSubMenus() {
    for (TFolderForm* child : FChildren) child->Close();
}

void TFolderForm::TrackHover(DWORD Flags) {
    if (!FileView) return;
    DWORD delay = 0;
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = Flags;
    tme.hwndTrack = FileView->Handle();
    tme.dwHoverTime = delay;
    TrackMouseEvent(&tme);
}

LRESULT TFolderForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEHOVER) FileViewHover(lp);
    if (msg == WM_DPICHANGED) return FDpi.DpiChanged(wp, lp);
    if (msg == WM_TIMER && wp == kNamesTimer) {
        NamesTick();
        return 0;
    }
    if (msg == WM_CONTEXTMENU && TRowKeys(*this).ContextMenu(lp)) return 0;
    if (msg == kBeginRowDrag) {
        TDragOut(*this).Run(static_cast<int>(wp));
        return 0;
    }
    // While a shell context menu is up, its handler sees its menu's messages first.
    if (LRESULT result = 0; ForwardMenuMessage(msg, wp, lp, result)) return result;
    return ui::TForm::WndProc(msg, wp, lp);
}

}  // namespace folder
