#include "ui/paint_box.h"

#include <windowsx.h>

#include "core/scope_exit.h"
#include "ui/form.h"
#include "ui/window_class.h"

namespace ui {

namespace {
constexpr wchar_t kClass[] = L"TPaintBox";

void RegisterPaintBoxClass(WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterWindowClass(wc);
}
}  // namespace

TPaintBox::TPaintBox(TForm& parent) : TControl(parent) {
    RegisterPaintBoxClass(&TPaintBox::StaticWndProc);
    HWND wnd = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent.Handle(), nullptr,
                               GetModuleHandleW(nullptr), this);
    if (!wnd) throw WindowNotCreated(kClass);
    AttachWindow(wnd);
}

TPaintBox::~TPaintBox() {
    if (Handle()) DestroyWindow(Handle());
}

LRESULT CALLBACK TPaintBox::StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        // Bound at the first message, as forms are: what arrives before
        // CreateWindowEx returns (WM_NCCALCSIZE, WM_CREATE, WM_SIZE) finds the
        // object with its window.
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* created = static_cast<TPaintBox*>(cs->lpCreateParams);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        created->AttachWindow(wnd);
    }
    auto* self = reinterpret_cast<TPaintBox*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        // The control must not destroy or send to the dead handle later.
        if (self) self->AttachWindow(nullptr);
    }
    if (!self || msg == WM_NCCREATE || msg == WM_NCDESTROY) return DefWindowProcW(wnd, msg, wp, lp);
    try {
        return self->WndProc(msg, wp, lp);
    } catch (...) {
        Application().HandleException();
        return DefWindowProcW(wnd, msg, wp, lp);
    }
}

LRESULT TPaintBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    HWND wnd = Handle();
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(wnd, &ps);
            canvas_ = dc;
            // EndPaint releases the paint DC: it must run even when the
            // handler throws.
            const auto reset = core::ScopeExit([&] {
                canvas_ = nullptr;
                EndPaint(wnd, &ps);
            });
            if (OnPaint) {
                OnPaint(this);
            } else {
                FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // OnPaint covers the whole box
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (OnMouseDown)
                OnMouseDown(this, msg == WM_LBUTTONDOWN ? TMouseButton::Left : TMouseButton::Right,
                            static_cast<UINT>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            return 0;
        case WM_MOUSEMOVE:
            if (!mouseInside_) {
                mouseInside_ = true;
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, wnd, 0};
                TrackMouseEvent(&tme);
                if (OnMouseEnter) OnMouseEnter(this);
            }
            return 0;
        case WM_MOUSELEAVE:
            mouseInside_ = false;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace ui
