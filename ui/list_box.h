#pragma once
// A list box with owner-drawn rows that classes derive from: the form
// reflects WM_DRAWITEM / WM_MEASUREITEM back to it, and derived classes
// override the window procedure. Its rows are either strings of its own,
// each measured as it is added, or virtual: a count of rows of one height
// whose texts its user keeps (OnGetText), so that a list of 100,000 rows
// costs the list nothing per row.
#include <windows.h>

#include <string>

#include "ui/control.h"

namespace ui {

// ODS_* bits of a row being drawn.
using TOwnerDrawState = UINT;

enum class TListRows { Strings, Virtual };

class TForm;

class TListBox : public TControl {
public:
    TListBox(TForm& parent, int id, TListRows rows = TListRows::Strings);
    ~TListBox() override;
    // Runs the reflected request through this list's window procedure
    // directly: a folder of 11,000 rows is measured row by row while it
    // fills, and a message round trip per row is measurable under Wine.
    bool Reflect(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

    int Count() const;
    // Adds a row; object is kept (not owned) beside it. Strings only.
    int AddItem(const std::wstring& text, TObject* object);
    // Sets the number of rows of a virtual list.
    void SetCount(int count);
    bool IsVirtual() const noexcept { return rows_ == TListRows::Virtual; }
    std::wstring Items(int index) const;
    TObject* Objects(int index) const;
    void SetObject(int index, TObject* object);
    // Room for count more rows, so that a long fill does not grow the
    // list's storage row by row.
    void Reserve(int count, size_t textBytes);
    // Suspends and resumes redrawing while many rows change.
    void SetRedraw(bool redraw);
    void Clear();
    int ItemIndex() const;
    void SetItemIndex(int index);
    int TopIndex() const;
    void SetTopIndex(int index);
    // The nominal row height: what rows added later are measured at unless
    // OnMeasureItem says otherwise. Rows already in the list keep theirs.
    int ItemHeight() const;
    void SetItemHeight(int height);
    RECT ItemRect(int index) const;
    // The row at a client point, -1 outside the rows (any row count).
    int ItemAtPos(POINT clientPoint) const;
    void SetFocus() const;

    // The DC of the row being drawn, valid during OnDrawItem.
    HDC Canvas() const noexcept { return canvas_; }

    TMethod<TObject*, int, RECT, TOwnerDrawState> OnDrawItem;
    TMethod<TObject*, int, int&> OnMeasureItem;
    // The text of a virtual list's row: what LB_GETTEXT answers (also to
    // other processes) and what the first-letter search compares.
    TMethod<TObject*, int, std::wstring&> OnGetText;
    TMethod<TObject*, WORD&, UINT> OnKeyDown;
    TMethod<TObject*, UINT, int, int> OnMouseMove;
    TMethod<TObject*, TMouseButton, UINT, int, int> OnMouseUp;

protected:
    // The list's window procedure; overrides call TListBox::WndProc for the
    // standard handling.
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    // Standard handling of the reflected owner-draw request: fills the row,
    // raises OnDrawItem, and draws the focus rectangle on the focused row.
    void DrawItemDefault(DRAWITEMSTRUCT& dis);
    LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    // The system list's own procedure (one for every LISTBOX window).
    static WNDPROC listProc_;
    // A virtual list's answers to the text messages, and its first-letter
    // search (the system's needs strings of its own).
    bool VirtualText(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    std::wstring RowText(int index) const;
    TForm& form_;  // the form that holds the list (the wheel is the form's)
    TListRows rows_;
    HDC canvas_ = nullptr;
    int itemHeight_ = 16;
};

}  // namespace ui
