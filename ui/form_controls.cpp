#include "ui/form_controls.h"

#include <algorithm>

#include "ui/control.h"

namespace ui {

void TFormControls::Add(TControl* control) { controls_.push_back(control); }

void TFormControls::Remove(TControl* control) noexcept {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

TControl* TFormControls::Of(HWND wnd) const noexcept {
    for (TControl* c : controls_)
        if (c->Handle() == wnd) return c;
    return nullptr;
}

void TFormControls::Realign(HWND form) const {
    if (!form) return;
    RECT free{};
    GetClientRect(form, &free);
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Client}) {
        for (TControl* c : controls_) {
            if (c->Align() != pass || !c->Visible()) continue;
            RECT r = free;
            if (pass == TAlign::Top) {
                r.bottom = std::min(free.bottom, free.top + c->Height());
                free.top = r.bottom;
            } else if (pass == TAlign::Bottom) {
                r.top = std::max(free.top, free.bottom - c->Height());
                free.bottom = r.top;
            }
            c->PlaceIn(r);
        }
    }
}

bool TFormControls::ReflectOwnerDraw(HWND form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const {
    // Owner-drawn controls draw themselves. Menu items are not ours to draw
    // here.
    HWND sender = nullptr;
    if (msg == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (dis->CtlType != ODT_MENU) sender = dis->hwndItem;
    } else if (msg == WM_MEASUREITEM) {
        // The request names the control only by its id.
        const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
        if (mis->CtlType != ODT_MENU) sender = GetDlgItem(form, static_cast<int>(mis->CtlID));
    }
    if (!sender) return false;
    if (TControl* c = Of(sender); c && c->Reflect(msg, wp, lp, result)) return true;
    result = SendMessageW(sender, kReflectBase + msg, wp, lp);
    return true;
}

void TFormControls::ForgetWindows() noexcept {
    for (TControl* c : controls_) c->ForgetWindow();
}

}  // namespace ui
