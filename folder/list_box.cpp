#include "folder/list_box.h"

#include "ui/form.h"

namespace folder {

int TListBox::BottomIndex() const {
    RECT rc = ClientRect();
    int rowHeight = ItemHeight();
    if (rowHeight <= 0) return TopIndex() - 1;
    return TopIndex() + (rc.bottom - rc.top) / rowHeight - 1;
}

LRESULT TListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
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
