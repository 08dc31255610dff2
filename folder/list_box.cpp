#include "folder/list_box.h"

#include <windowsx.h>

#include "core/drag_threshold.h"
#include "ui/dpi.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace folder {

namespace {

// After a drag that ended with the button still down (Escape pressed during
// it), the release that follows belongs to the drag and is no click, on
// whichever list it lands.
bool g_releaseBelongsToDrag = false;

}  // namespace

int TListBox::BottomIndex() const {
    RECT rc = ClientRect();
    int rowHeight = ItemHeight();
    if (rowHeight <= 0) return TopIndex() - 1;
    return TopIndex() + (rc.bottom - rc.top) / rowHeight - 1;
}

bool TListBox::CanScroll(bool Up) const {
    if (Up) return TopIndex() > 0;
    return BottomIndex() < Count() - 1;
}

void TListBox::TrackHover(DWORD Flags) {
    DWORD delay = 0;
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = Flags;
    tme.hwndTrack = Handle();
    tme.dwHoverTime = delay;
    TrackMouseEvent(&tme);
}

void TListBox::RedrawItem(int index) {
    // Invalidating would do as well under Windows, but the system list
    // (Wine's too) then redraws every visible row, clipped, each time.
    HWND view = Handle();
    if (!view || !IsWindowVisible(view) || index < 0 || index >= Count()) return;
    const RECT row = ItemRect(index);
    const RECT client = ClientRect();
    RECT visible{};
    if (!IntersectRect(&visible, &row, &client)) return;  // drawn when scrolled back
    ui::WindowDC canvas(view);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID(view));
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ItemIndex() == index ? ODS_SELECTED : 0;
    dis.hwndItem = view;
    dis.hDC = canvas.get();
    dis.rcItem = row;
    CNDrawItem(dis);
}

LRESULT TListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case LB_SETCURSEL:
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_LBUTTONDOWN: {
            // The messages after which the selection may have moved.
            const int before = ItemIndex();
            const LRESULT result = Dispatch(msg, wp, lp);
            if (OnSelectionChange && ItemIndex() != before) OnSelectionChange(this);
            return result;
        }
        default:
            return Dispatch(msg, wp, lp);
    }
}

LRESULT TListBox::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case ui::kReflectBase + WM_DRAWITEM:
            CNDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_NCCALCSIZE:
            return WMNCCalcSize(wp, lp);
        case WM_THEMECHANGED:
            MenuTheme.Reset();
            break;
        case WM_MOUSEHOVER:
            // The window decides what a resting pointer opens.
            SendMessageW(GetParent(Handle()), msg, wp, lp);
            break;
        case WM_LBUTTONDOWN:
            FPressed = true;
            FPressPoint = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            g_releaseBelongsToDrag = false;
            break;
        case WM_LBUTTONUP:
            FPressed = false;
            if (g_releaseBelongsToDrag) {
                g_releaseBelongsToDrag = false;
                return CallDefault(msg, wp, lp);
            }
            break;
        case WM_MOUSEMOVE: {
            // The list's own handling first: the pointer selects its row.
            const LRESULT result = ui::TListBox::WndProc(msg, wp, lp);
            DragMove(wp, lp);
            return result;
        }
        default:
            break;
    }
    return ui::TListBox::WndProc(msg, wp, lp);
}

void TListBox::CNDrawItem(DRAWITEMSTRUCT& dis) {
    DrawItemDefault(dis);
    // The standard drawing XORs a focus rectangle onto the focused row; a
    // second XOR takes it off again, so no row ever shows one.
    if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
}

bool TListBox::DragMove(WPARAM wp, LPARAM lp) {
    if (!FPressed) return false;
    if (!(wp & MK_LBUTTON)) {
        FPressed = false;  // released where we did not see it
        return false;
    }
    const UINT dpi = ui::WindowDpi(Handle());
    const int dx = GET_X_LPARAM(lp) - FPressPoint.x, dy = GET_Y_LPARAM(lp) - FPressPoint.y;
    if (!core::PastDragThreshold(dx, dy, ui::SystemMetricForDpi(SM_CXDRAG, dpi), ui::SystemMetricForDpi(SM_CYDRAG, dpi)))
        return false;
    FPressed = false;
    const int row = ItemAtPos(FPressPoint);
    // The drag takes the mouse capture; the list's own press tracking ends here.
    SendMessageW(Handle(), WM_CANCELMODE, 0, 0);
    SendMessageW(GetParent(Handle()), kBeginRowDrag, static_cast<WPARAM>(row), 0);
    g_releaseBelongsToDrag = GetKeyState(VK_LBUTTON) < 0;
    return true;
}

LRESULT TListBox::WMNCCalcSize(WPARAM wp, LPARAM lp) {
    // The system list adds a vertical scroll bar whenever the rows overflow;
    // dropping both scroll styles before every non-client calculation means
    // none is ever shown or takes room. The menu scrolls with its buttons.
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    if (style & (WS_HSCROLL | WS_VSCROLL))
        SetWindowLongPtrW(Handle(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
    return CallDefault(WM_NCCALCSIZE, wp, lp);
}

}  // namespace folder
