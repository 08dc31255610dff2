#include "ui/list_box.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/scope_exit.h"
#include "ui/form.h"
#include "ui/window_class.h"

namespace ui {

WNDPROC TListBox::listProc_ = nullptr;

TListBox::TListBox(TForm& parent, int id, TListRows rows) : TControl(parent), form_(parent), rows_(rows) {
    const DWORD kind = rows == TListRows::Virtual ? LBS_OWNERDRAWFIXED | LBS_NODATA
                                                  : LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    HWND wnd = CreateWindowExW(0, L"LISTBOX", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               0, 0, 0, 0, parent.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!wnd) throw WindowNotCreated(L"LISTBOX");
    // Subclassed the classic way rather than with SetWindowSubclass: under
    // Wine every message through comctl32's subclass chain costs some 30 us,
    // and filling a folder of 11,000 rows sends three messages a row (about
    // a second and a half of the listing, against 0.25 s this way). The
    // list box leaves GWLP_USERDATA to its user.
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TListBox::StaticWndProc)));
    if (!listProc_) listProc_ = previous;
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(parent.Font()), FALSE);
    // The list itself keeps no strings; outside the list, the style says
    // that it answers for them: the system hands another process's
    // LB_GETTEXT over only for a list with strings.
    if (rows == TListRows::Virtual) SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | LBS_HASSTRINGS);
    AttachWindow(wnd);
}

TListBox::~TListBox() {
    // The window outlives this object only until ~TControl destroys it;
    // its last messages go straight to the system list.
    if (Handle()) {
        SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
        SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
    }
}

LRESULT CALLBACK TListBox::StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TListBox*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self || msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc_));
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        return CallWindowProcW(listProc_, wnd, msg, wp, lp);
    }
    try {
        return self->WndProc(msg, wp, lp);
    } catch (...) {
        Application().HandleException();
        return CallWindowProcW(listProc_, wnd, msg, wp, lp);
    }
}

bool TListBox::Reflect(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!Handle()) return false;
    result = WndProc(kReflectBase + message, wp, lp);
    return true;
}

LRESULT TListBox::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(listProc_, Handle(), msg, wp, lp);
}

std::wstring TListBox::RowText(int index) const {
    std::wstring text;
    if (OnGetText && index >= 0 && index < Count()) OnGetText(const_cast<TListBox*>(this), index, text);
    return text;
}

bool TListBox::VirtualText(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case LB_GETTEXTLEN:
        case LB_GETTEXT: {
            const int index = static_cast<int>(wp);
            if (index < 0 || index >= Count()) {
                result = LB_ERR;
                return true;
            }
            const std::wstring text = RowText(index);
            if (msg == LB_GETTEXT && lp) {
                // The caller's buffer holds LB_GETTEXTLEN + 1 characters.
                auto* buffer = reinterpret_cast<wchar_t*>(lp);
                text.copy(buffer, text.size());
                buffer[text.size()] = L'\0';
            }
            result = static_cast<LRESULT>(text.size());
            return true;
        }
        case WM_CHAR: {
            // As the system list does with strings: the next row after the
            // selected one whose text starts with the letter, from the top
            // again past the end, compared without regard to case.
            const wchar_t letter = static_cast<wchar_t>(wp);
            const int count = Count();
            if (letter < L' ' || count <= 0) return false;
            const int start = ItemIndex();
            for (int step = 1; step <= count; ++step) {
                const int row = (start + step + count) % count;
                const std::wstring text = RowText(row);
                if (!text.empty() && CompareStringOrdinal(text.c_str(), 1, &letter, 1, TRUE) == CSTR_EQUAL) {
                    SetItemIndex(row);
                    // Tell the owner, as a selection by the keys would.
                    SendMessageW(GetParent(Handle()), WM_COMMAND,
                                 MAKEWPARAM(GetDlgCtrlID(Handle()), LBN_SELCHANGE), reinterpret_cast<LPARAM>(Handle()));
                    break;
                }
            }
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

LRESULT TListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result = 0; IsVirtual() && VirtualText(msg, wp, lp, result)) return result;
    switch (msg) {
        case kReflectBase + WM_DRAWITEM:
            DrawItemDefault(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case kReflectBase + WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            int height = itemHeight_;
            if (OnMeasureItem) OnMeasureItem(this, static_cast<int>(mis->itemID), height);
            mis->itemHeight = static_cast<UINT>(height);
            return TRUE;
        }
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(wp);
            if (OnKeyDown) OnKeyDown(this, key, 0);
            if (key == 0) return 0;
            return CallDefault(msg, key, lp);
        }
        case WM_MOUSEMOVE:
            if (OnMouseMove) OnMouseMove(this, static_cast<UINT>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            LRESULT r = CallDefault(msg, wp, lp);
            const TMouseButton button = msg == WM_LBUTTONUP   ? TMouseButton::Left
                                        : msg == WM_RBUTTONUP ? TMouseButton::Right
                                                              : TMouseButton::Middle;
            if (OnMouseUp) OnMouseUp(this, button, static_cast<UINT>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return r;
        }
        case WM_MOUSEWHEEL: {
            // The form decides first; a handled turn does not scroll the list.
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (form_.DoMouseWheel(GET_KEYSTATE_WPARAM(wp), GET_WHEEL_DELTA_WPARAM(wp), pt)) return 0;
            break;
        }
        default:
            break;
    }
    return CallDefault(msg, wp, lp);
}

void TListBox::DrawItemDefault(DRAWITEMSTRUCT& dis) {
    canvas_ = dis.hDC;
    // The DC belongs to this one request: never leave it behind, also not
    // when a draw handler throws.
    const auto reset = core::ScopeExit([&] { canvas_ = nullptr; });
    bool selected = (dis.itemState & ODS_SELECTED) != 0;
    if (static_cast<int>(dis.itemID) >= 0) {
        if (OnDrawItem) {
            OnDrawItem(this, static_cast<int>(dis.itemID), dis.rcItem, dis.itemState);
        } else {
            FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            SetBkMode(dis.hDC, TRANSPARENT);
            SetTextColor(dis.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            std::wstring text = Items(static_cast<int>(dis.itemID));
            RECT r = dis.rcItem;
            r.left += 2;
            DrawTextW(dis.hDC, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    } else {
        FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(COLOR_WINDOW));
    }
    if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
}

int TListBox::Count() const { return static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)); }

void TListBox::SetCount(int count) { SendMessageW(Handle(), LB_SETCOUNT, static_cast<WPARAM>(count), 0); }

int TListBox::AddItem(const std::wstring& text, TObject* object) {
    int index = static_cast<int>(SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    // A new row's data is already 0: one message less per row of a big folder.
    if (index >= 0 && object) SendMessageW(Handle(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
    return index;
}

std::wstring TListBox::Items(int index) const {
    if (IsVirtual()) return RowText(index);
    LRESULT len = SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
    if (len == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

TObject* TListBox::Objects(int index) const {
    LRESULT data = SendMessageW(Handle(), LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<TObject*>(data);
}

void TListBox::Clear() { SendMessageW(Handle(), LB_RESETCONTENT, 0, 0); }
int TListBox::ItemIndex() const { return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)); }
void TListBox::SetItemIndex(int index) { SendMessageW(Handle(), LB_SETCURSEL, index, 0); }
int TListBox::TopIndex() const { return static_cast<int>(SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0)); }
void TListBox::SetTopIndex(int index) { SendMessageW(Handle(), LB_SETTOPINDEX, index, 0); }
int TListBox::ItemHeight() const { return itemHeight_; }

void TListBox::SetItemHeight(int height) {
    // In a variable-height list LB_SETITEMHEIGHT sets one row's height (and
    // fails on an empty list); the nominal height is ours to keep. Rows of a
    // virtual list are all one height.
    if (height <= 0) return;
    itemHeight_ = height;
    if (IsVirtual()) SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
}

void TListBox::SetObject(int index, TObject* object) {
    SendMessageW(Handle(), LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
}

void TListBox::Reserve(int count, size_t textBytes) {
    if (count > 0) SendMessageW(Handle(), LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(textBytes));
}

void TListBox::SetRedraw(bool redraw) {
    SendMessageW(Handle(), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) InvalidateRect(Handle(), nullptr, TRUE);
}

RECT TListBox::ItemRect(int index) const {
    RECT r{};
    SendMessageW(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

int TListBox::ItemAtPos(POINT pt) const {
    // LB_ITEMFROMPOINT packs the row into 16 bits; walk the visible rows
    // instead, which works for any number of rows.
    const RECT client = ClientRect();
    if (!PtInRect(&client, pt)) return -1;
    const int count = Count();
    for (int i = TopIndex(); i >= 0 && i < count; ++i) {
        const RECT row = ItemRect(i);
        if (row.top > pt.y || row.top >= client.bottom) break;
        if (pt.y < row.bottom) return i;
    }
    return -1;
}

void TListBox::SetFocus() const { ::SetFocus(Handle()); }

}  // namespace ui
