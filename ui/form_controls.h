#pragma once
// The child controls of a form: which they are, their layout by alignment,
// and the owner-draw requests handed back to the control that sent them.
#include <windows.h>

#include <vector>

namespace ui {

class TControl;

// Message numbers of notifications reflected from a form to its controls.
inline constexpr UINT kReflectBase = 0xBC00;

class TFormControls {
public:
    TFormControls() = default;
    TFormControls(const TFormControls&) = delete;
    TFormControls& operator=(const TFormControls&) = delete;

    void Add(TControl* control);
    void Remove(TControl* control) noexcept;
    // The control whose window this is, or null.
    TControl* Of(HWND wnd) const noexcept;
    // Lays the visible controls out in form's client area: the top ones from
    // the top, the bottom ones from the bottom, the client one in what is left.
    void Realign(HWND form) const;
    // A WM_DRAWITEM or WM_MEASUREITEM that form received from one of its
    // child windows, handed back to that control (or sent to it as
    // kReflectBase + msg). False for what is not a child's: menu items.
    bool ReflectOwnerDraw(HWND form, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const;
    // The form's window is gone, and the child windows with it: the controls
    // may outlive it and must not keep dead handles to send to or destroy.
    void ForgetWindows() noexcept;

private:
    std::vector<TControl*> controls_;
};

}  // namespace ui
