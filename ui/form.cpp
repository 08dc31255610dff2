#include "ui/form.h"

#include <windowsx.h>

#include "ui/window_class.h"

namespace ui {

namespace {

void RegisterFormClass(const TCreateParams& p, WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = p.classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = p.background;
    wc.lpszClassName = p.className.c_str();
    RegisterWindowClass(wc);
}

}  // namespace

TForm::TForm(TForm* owner) : owner_(owner) {}

TForm::~TForm() { DestroyHandle(); }

void TForm::DestroyHandle() noexcept {
    if (destroyed_) return;
    destroyed_ = true;
    // Order matters: our own destroy handler first, then the forms we own
    // (they may still refer to what the handler has not freed), then the window.
    if (OnDestroy) Application().Guard([&] { OnDestroy(this); });
    while (!owned_.empty()) {
        auto last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
    if (handle_) {
        HWND h = handle_;
        DestroyWindow(h);
        handle_ = nullptr;
    }
}

void TForm::CreateParams(TCreateParams& p) {
    p.caption = Caption;
    p.className = WindowClassName;
    switch (BorderStyle) {
        case TBorderStyle::None: p.style = WS_POPUP; break;
        case TBorderStyle::Sizeable: p.style = WS_OVERLAPPEDWINDOW; break;
    }
    p.style |= WS_CLIPCHILDREN;
    p.exStyle = WS_EX_CONTROLPARENT;
    if (alphaBlend_) p.exStyle |= WS_EX_LAYERED;
    p.x = DesignLeft;
    p.y = DesignTop;
    p.clientWidth = DesignClientWidth;
    p.clientHeight = DesignClientHeight;
    p.background = GetSysColorBrush(ColorIndex);
    // Forms other than the main form stay above it; the main form carries the
    // taskbar button when the application asks for that.
    IMainForm* main = Application().MainForm();
    if (Application().MainFormOnTaskBar && (main == nullptr || main == this)) {
        p.wndParent = nullptr;
        p.exStyle |= WS_EX_APPWINDOW;
    } else if (Application().MainFormOnTaskBar && main && main->Handle()) {
        p.wndParent = main->Handle();
    } else {
        p.wndParent = Application().Handle();
    }
}

void TForm::CreateHandle() {
    if (handle_) return;
    TCreateParams p;
    CreateParams(p);
    RegisterFormClass(p, &TForm::StaticWndProc);
    // The description gives the client size: the outer size follows from the
    // final styles, whatever CreateParams made of them.
    if (p.clientWidth >= 0 && p.clientHeight >= 0) {
        RECT r{0, 0, p.clientWidth, p.clientHeight};
        AdjustWindowRectEx(&r, p.style, FALSE, p.exStyle);
        p.width = r.right - r.left;
        p.height = r.bottom - r.top;
    }
    font_ = AcquireFormFont(FontName, FontHeight);
    HWND wnd = CreateWindowExW(p.exStyle, p.className.c_str(), p.caption.c_str(), p.style, p.x, p.y, p.width,
                               p.height, p.wndParent, nullptr, GetModuleHandleW(nullptr), this);
    if (!wnd) throw WindowNotCreated(p.className);
    ApplyAlpha();
    CreateComponents();
    if (OnCreate) OnCreate(this);
}

LRESULT CALLBACK TForm::StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* self = static_cast<TForm*>(cs->lpCreateParams);
        self->handle_ = wnd;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TForm*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(wnd, msg, wp, lp);
    LRESULT result = 0;
    bool handled = false;
    try {
        result = self->WndProc(msg, wp, lp);
        handled = true;
    } catch (...) {
        Application().HandleException();
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        // The child windows were destroyed before this last message; the
        // controls may outlive the window (the system destroys owned windows
        // with their owner; derived forms destroy the window before their
        // members).
        self->controls_.ForgetWindows();
    }
    return handled ? result : DefWindowProcW(wnd, msg, wp, lp);
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATEAPP:
            Application().ActivateAppChanged(wp != FALSE, static_cast<DWORD>(lp));
            break;
        case WM_LBUTTONDOWN:
            leftButtonDown_ = true;
            SetCapture(handle_);
            return 0;
        case WM_LBUTTONUP: {
            bool wasDown = leftButtonDown_;
            leftButtonDown_ = false;
            if (GetCapture() == handle_) ReleaseCapture();
            RECT rc;
            GetClientRect(handle_, &rc);
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (wasDown && PtInRect(&rc, pt)) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            leftButtonDown_ = false;
            break;
        case WM_CONTEXTMENU: {
            if (reinterpret_cast<HWND>(wp) != handle_) break;
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            bool done = false;
            if (OnContextPopup) OnContextPopup(this, pt, done);
            return 0;
        }
        case WM_MOUSEWHEEL: {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (DoMouseWheel(GET_KEYSTATE_WPARAM(wp), GET_WHEEL_DELTA_WPARAM(wp), pt)) return 0;
            break;
        }
        case WM_SIZE:
            Realign();
            break;
        case WM_SETFOCUS:
            // An activated form takes the focus itself (DefWindowProc's
            // WM_ACTIVATE); its active control is what should get the keys.
            if (activeControl_ && IsWindow(activeControl_)) {
                ::SetFocus(activeControl_);
                return 0;
            }
            break;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            if (LRESULT result = 0; controls_.ReflectOwnerDraw(handle_, msg, wp, lp, result)) return result;
            break;
        default:
            break;
    }
    return DefWindowProcW(handle_, msg, wp, lp);
}

bool TForm::DoMouseWheel(TShiftState shift, int delta, POINT pos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, delta, pos, handled);
    return handled;
}

void TForm::SetAlphaBlend(bool enabled, BYTE value) {
    alphaBlend_ = enabled;
    alphaValue_ = value;
    ApplyAlpha();
}

void TForm::ApplyAlpha() {
    if (!handle_) return;
    LONG_PTR ex = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
    if (alphaBlend_) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(handle_, 0, alphaValue_, LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrW(handle_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (!handle_) {
        DesignLeft = left;
        DesignTop = top;
        return;
    }
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TForm::BoundsRect() const {
    RECT r{};
    if (handle_) GetWindowRect(handle_, &r);
    return r;
}

SIZE TForm::ClientSize() const {
    RECT rc{};
    if (handle_) GetClientRect(handle_, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void TForm::SetClientSize(int width, int height) {
    RECT outer = BoundsRect();
    SIZE client = ClientSize();
    SetBounds(outer.left, outer.top, (outer.right - outer.left) - client.cx + width,
              (outer.bottom - outer.top) - client.cy + height);
}

void TForm::Show() {
    if (!handle_) CreateHandle();
    if (Visible()) return;
    if (OnShow) Application().Guard([&] { OnShow(this); });
    ShowWindow(handle_, SW_SHOW);
}

void TForm::Hide() {
    if (!handle_ || !Visible()) return;
    if (OnHide) Application().Guard([&] { OnHide(this); });
    ShowWindow(handle_, SW_HIDE);
}

void TForm::Close() {
    if (Application().MainForm() == this) {
        Application().Terminate();
        return;
    }
    Hide();
}

bool TForm::Visible() const noexcept { return handle_ && IsWindowVisible(handle_); }

void TForm::SetFocus() {
    if (!Visible()) return;
    ::SetFocus(activeControl_ ? activeControl_ : handle_);
}

void TForm::Click() {
    if (OnClick) OnClick(this);
}

}  // namespace ui
