#pragma once
// A plain child window that its owner paints, with mouse-down and
// mouse-enter events.
#include <windows.h>

#include "ui/control.h"

namespace ui {

class TForm;

class TPaintBox : public TControl {
public:
    explicit TPaintBox(TForm& parent);
    // Destroys the window while the paint box is whole: its WM_DESTROY still
    // reaches this object's handlers, not a half-destroyed one.
    ~TPaintBox() override;

    // The paint DC, valid during OnPaint.
    HDC Canvas() const noexcept { return canvas_; }

    TNotifyEvent OnPaint;
    TMethod<TObject*, TMouseButton, UINT, int, int> OnMouseDown;
    TNotifyEvent OnMouseEnter;

private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    HDC canvas_ = nullptr;
    bool mouseInside_ = false;
};

}  // namespace ui
