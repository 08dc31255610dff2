#pragma once
// Top-level windows ("forms"): creation parameters, events, ownership of
// other forms, alpha blending, show/hide/close.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/application.h"
#include "ui/control.h"
#include "ui/form_controls.h"
#include "ui/form_font.h"
#include "ui/handles.h"

namespace ui {

// What a form's system window is created from; CreateParams may change it.
struct TCreateParams {
    std::wstring caption;
    std::wstring className;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0;                        // outer top-left
    int clientWidth = -1, clientHeight = -1;  // when set, decide the outer size
    int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND wndParent = nullptr;     // the owner window
    UINT classStyle = CS_DBLCLKS;
    HBRUSH background = nullptr;
};

enum class TBorderStyle { None, Sizeable };

// Shift state of mouse and keyboard events (MK_* bits of the message).
using TShiftState = UINT;

class TForm : public TObject, public IControlHost, public IMainForm {
public:
    explicit TForm(TForm* owner);
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Creates the system window (CreateParams decides how) and raises OnCreate.
    void CreateHandle();
    HWND Handle() const noexcept override { return handle_; }
    TForm* Owner() const noexcept { return owner_; }
    // Takes ownership of a form whose owner is this form; it is destroyed
    // after this form's OnDestroy.
    template <class T>
    T* Own(std::unique_ptr<T> form) {
        T* raw = form.get();
        owned_.push_back(std::move(form));
        return raw;
    }

    // Properties of the form description (set before CreateHandle).
    std::wstring Caption = L"";
    std::wstring WindowClassName = L"TForm";
    TBorderStyle BorderStyle = TBorderStyle::Sizeable;
    int DesignLeft = 0, DesignTop = 0, DesignClientWidth = 320, DesignClientHeight = 240;
    int ColorIndex = COLOR_BTNFACE;
    std::wstring FontName = L"Segoe UI";
    int FontHeight = -12;

    void SetAlphaBlend(bool enabled, BYTE value);
    BYTE AlphaBlendValue() const noexcept { return alphaValue_; }
    void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const;
    SIZE ClientSize() const;
    void SetClientSize(int width, int height);
    HFONT Font() const noexcept { return font_.get(); }

    // Shows the form: raises OnShow first (an error there is reported and the
    // form still shows), then makes it visible.
    void Show() override;
    // Raises OnHide (errors reported), then hides the form.
    void Hide();
    // The main form terminates the application; every other form hides.
    void Close();
    bool Visible() const noexcept override;
    // Gives the keyboard focus to the form's active control (or the form).
    void SetFocus();
    // The form's own click action: raises OnClick.
    void Click();

    TNotifyEvent OnCreate, OnShow, OnHide, OnDestroy, OnClick;
    TMethod<TObject*, POINT, bool&> OnContextPopup;
    TMethod<TObject*, TShiftState, int, POINT, bool&> OnMouseWheel;

    // Offers a wheel turn to OnMouseWheel; true when a handler took it.
    bool DoMouseWheel(TShiftState shift, int delta, POINT pos);

    // Child controls register themselves; Realign lays them out by alignment
    // (see TFormControls).
    void AddControl(TControl* control) override { controls_.Add(control); }
    void RemoveControl(TControl* control) noexcept override { controls_.Remove(control); }
    // The registered control whose window this is, or null.
    TControl* ControlOf(HWND wnd) const noexcept { return controls_.Of(wnd); }
    void Realign() override { controls_.Realign(handle_); }

protected:
    virtual void CreateParams(TCreateParams& params);
    // The form's window procedure; overrides call TForm::WndProc for the rest.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    void SetActiveControl(HWND control) noexcept { activeControl_ = control; }
    // Raises OnDestroy, destroys the owned forms, then the window. Runs once;
    // derived destructors call it while their own state is still intact.
    void DestroyHandle() noexcept;
    // Hook for creating child controls: runs after the window exists and
    // before OnCreate.
    virtual void CreateComponents() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void ApplyAlpha();
    bool destroyed_ = false;

    TForm* owner_;
    HWND handle_ = nullptr;
    HWND activeControl_ = nullptr;
    bool alphaBlend_ = false;
    BYTE alphaValue_ = 255;
    bool leftButtonDown_ = false;
    SharedFont font_;  // shared by every form of the same face and height
    std::vector<std::unique_ptr<TForm>> owned_;
    TFormControls controls_;
};

}  // namespace ui
