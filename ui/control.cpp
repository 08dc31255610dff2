#include "ui/control.h"

namespace ui {

TControl::TControl(IControlHost& parent) : parent_(parent) { parent_.AddControl(this); }

TControl::~TControl() {
    parent_.RemoveControl(this);
    if (handle_) DestroyWindow(handle_);
}

void TControl::AttachWindow(HWND wnd) {
    handle_ = wnd;
    if (!visible_ && handle_) ShowWindow(handle_, SW_HIDE);
}

void TControl::SetAlign(TAlign align) {
    align_ = align;
    parent_.Realign();
}

void TControl::SetHeight(int height) {
    if (height_ == height) return;
    height_ = height;
    parent_.Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    parent_.Realign();
}

void TControl::Invalidate() const {
    if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

RECT TControl::ClientRect() const {
    RECT rc{};
    if (handle_) GetClientRect(handle_, &rc);
    return rc;
}

void TControl::PlaceIn(const RECT& r) {
    if (!handle_) return;
    SetWindowPos(handle_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
