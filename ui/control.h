#pragma once
// Child controls of a form, laid out by their alignment.
#include <windows.h>

#include "ui/application.h"

namespace ui {

class TControl;

// What a control asks of the window that holds it: to be counted among its
// controls, and to lay them out again when a control's place or size changes.
class IControlHost {
public:
    virtual void AddControl(TControl* control) = 0;
    virtual void RemoveControl(TControl* control) noexcept = 0;
    virtual void Realign() = 0;

protected:
    ~IControlHost() = default;
};

enum class TAlign { None, Top, Bottom, Client };
enum class TMouseButton { Left, Right, Middle };

class TControl : public TObject {
public:
    explicit TControl(IControlHost& parent);
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const noexcept { return handle_; }

    TAlign Align() const noexcept { return align_; }
    void SetAlign(TAlign align);
    int Height() const noexcept { return height_; }
    void SetHeight(int height);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    void Invalidate() const;
    RECT ClientRect() const;

    // Places the control in rect (the form's layout does this).
    void PlaceIn(const RECT& rect);

    // An owner-draw request the form reflects back to the control that sent
    // it (message is WM_DRAWITEM or WM_MEASUREITEM). False: not taken, the
    // form sends it on as a reflected message instead.
    virtual bool Reflect(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
        (void)message, (void)wp, (void)lp, (void)result;
        return false;
    }

protected:
    // The control's window, made by the derived class's constructor.
    void AttachWindow(HWND wnd);

private:
    friend class TFormControls;
    // The form's window is gone, and this child window with it.
    void ForgetWindow() noexcept { handle_ = nullptr; }

    IControlHost& parent_;
    HWND handle_ = nullptr;
    TAlign align_ = TAlign::None;
    int height_ = 16;
    bool visible_ = true;
};

}  // namespace ui
