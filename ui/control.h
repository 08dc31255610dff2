#pragma once
// Child controls of a form, laid out by their alignment.
#include <windows.h>

#include "ui/application.h"

namespace ui {

class TForm;

enum class TAlign { None, Top, Bottom, Client };
enum class TMouseButton { Left, Right, Middle };

class TControl : public TObject {
public:
    explicit TControl(TForm& parent);
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const noexcept { return handle_; }
    TForm& Parent() const noexcept { return parent_; }

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

protected:
    // The control's window, made by the derived class's constructor.
    void AttachWindow(HWND wnd);

private:
    friend class TForm;
    // The form's window is gone, and this child window with it.
    void ForgetWindow() noexcept { handle_ = nullptr; }

    TForm& parent_;
    HWND handle_ = nullptr;
    TAlign align_ = TAlign::None;
    int height_ = 16;
    bool visible_ = true;
};

}  // namespace ui
