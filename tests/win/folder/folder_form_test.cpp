// One menu window on its own: its system window, frame, icons, and the list
// that never shows a scroll bar or a focus rectangle and ignores the wheel.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "folder_test_support.h"

using folder::TFolderForm;
using namespace folder_test;

namespace {

class FolderForm : public ::testing::Test {
protected:
    void SetUp() override { form_ = MakeRootForm(); }
    void TearDown() override {
        form_.reset();
        Base().Root = nullptr;
        // Nothing the windows did may have ended in an error report.
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }

    void AddRows(int count) {
        for (int i = 0; i < count; ++i) AddEntry(*form_, L"row " + std::to_wstring(i), nullptr);
    }
    HWND List() const { return form_->FileView->Handle(); }
    LONG_PTR ListStyle() const { return GetWindowLongPtrW(List(), GWL_STYLE); }
    static int Width(const RECT& r) { return r.right - r.left; }
    static int Height(const RECT& r) { return r.bottom - r.top; }
    // Sizes the window so that the list's client area is height pixels high.
    void SetListClientHeight(int height) {
        const int buttons = (form_->UpButton->Visible() ? form_->UpButton->Height() : 0) +
                            (form_->DownButton->Visible() ? form_->DownButton->Height() : 0);
        form_->SetClientSize(200, height + buttons);
    }

    std::unique_ptr<TFolderForm> form_;
};

void ExpectMenuWindow(TFolderForm& form) {
    SCOPED_TRACE(form.Owner() == &Base() ? "root window" : "child window");
    const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
    EXPECT_EQ(style & ~static_cast<LONG_PTR>(WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_POPUP | WS_DLGFRAME);
    EXPECT_EQ(style & WS_CAPTION, WS_DLGFRAME);  // a frame, no title bar
    EXPECT_EQ(style & (WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0);
    EXPECT_TRUE(GetClassLongPtrW(form.Handle(), GCL_STYLE) & CS_DROPSHADOW);
    EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), Base().Handle());
}

}  // namespace

TEST_F(FolderForm, EveryMenuWindowIsAThinFramedPopupOwnedByTheBaseWindow) {
    ExpectMenuWindow(*form_);
    TFolderForm* child = MakeChildForm(*form_);
    EXPECT_EQ(child->Owner(), form_.get());
    ExpectMenuWindow(*child);
    TFolderForm* grandchild = MakeChildForm(*child);
    ExpectMenuWindow(*grandchild);

    AddEntry(*form_, L"x", nullptr);
    form_->Show();
    ExpectMenuWindow(*form_);
}

TEST_F(FolderForm, FrameWidthIsOneSideOfAnEvenFrame) {
    const RECT outer = form_->BoundsRect();
    const SIZE client = form_->ClientSize();
    EXPECT_GT(form_->FrameWidth(), 0);
    EXPECT_EQ(form_->FrameWidth(), (Height(outer) - client.cy) / 2);
    EXPECT_EQ(form_->FrameWidth(), (Width(outer) - client.cx) / 2);
}

TEST_F(FolderForm, ShellImagesIsTheSystemSmallIconList) {
    ASSERT_NE(form_->ShellImages.Handle(), nullptr);
    SHFILEINFOW info{};
    auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L".", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    EXPECT_EQ(form_->ShellImages.Handle(), system);
    EXPECT_EQ(form_->ShellImages.Width(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(form_->FileList.Images, &form_->ShellImages);
}

TEST_F(FolderForm, ListNeverShowsAScrollBar) {
    AddRows(120);
    form_->Show();
    SetListClientHeight(150);
    ASSERT_GT(form_->FileView->Count() * form_->FileView->ItemHeight(), 150);
    form_->FileView->SetTopIndex(60);
    PumpFor(50);

    auto expectNoBar = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(ListStyle() & (WS_VSCROLL | WS_HSCROLL), 0);
        RECT window{}, client{};
        GetWindowRect(List(), &window);
        GetClientRect(List(), &client);
        EXPECT_EQ(Width(client), Width(window));
        EXPECT_EQ(Height(client), Height(window));
    };
    expectNoBar("shown");
    SetListClientHeight(90);
    expectNoBar("resized");

    // However the style comes back (the system list puts it on when rows
    // overflow), the next frame calculation takes it off before it takes room.
    SetWindowLongPtrW(List(), GWL_STYLE, ListStyle() | WS_VSCROLL | WS_HSCROLL);
    SetWindowPos(List(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    expectNoBar("style forced");
}

TEST_F(FolderForm, FocusedRowIsDrawnWithoutAFocusRectangle) {
    AddRows(3);
    form_->Show();
    const int width = 160, height = 24;

    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const auto* pixels = static_cast<const DWORD*>(bits);
    const RECT row{0, 0, width, height};

    // Draws row 1 the way the system asks for it: WM_DRAWITEM to the window,
    // which hands it back to the list.
    auto draw = [&](UINT state) {
        FillRect(dc, &row, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_LISTBOX;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(List()));
        dis.itemID = 1;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = List();
        dis.hDC = dc;
        dis.rcItem = row;
        SendMessageW(form_->Handle(), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        GdiFlush();
        return std::vector<DWORD>(pixels, pixels + width * height);
    };

    for (UINT selected : {0u, static_cast<UINT>(ODS_SELECTED)}) {
        SCOPED_TRACE(selected ? "selected" : "not selected");
        const auto plain = draw(selected);
        const auto focused = draw(selected | ODS_FOCUS);
        EXPECT_EQ(focused, plain);
        // A single focus rectangle does show on this device context, so the
        // comparison above would see one that was left standing.
        DrawFocusRect(dc, &row);
        GdiFlush();
        EXPECT_NE(std::vector<DWORD>(pixels, pixels + width * height), plain);
    }

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(FolderForm, MouseWheelDoesNotScroll) {
    AddRows(60);
    form_->Show();
    SetListClientHeight(100);
    form_->FileView->SetTopIndex(20);
    const int top = form_->FileView->TopIndex();
    ASSERT_EQ(top, 20);

    RECT rc{};
    GetWindowRect(List(), &rc);
    const LPARAM at = MAKELPARAM(rc.left + 10, rc.top + 10);
    for (int delta : {-WHEEL_DELTA, WHEEL_DELTA, -3 * WHEEL_DELTA}) {
        SendMessageW(List(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), at);
        SendMessageW(form_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), at);
        EXPECT_EQ(form_->FileView->TopIndex(), top) << "delta " << delta;
    }

    // Without the window's handler the same turn does scroll the list.
    form_->OnMouseWheel.Clear();
    SendMessageW(List(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), at);
    EXPECT_GT(form_->FileView->TopIndex(), top);
}

TEST_F(FolderForm, BottomIndexIsTheLastWhollyVisibleRow) {
    AddRows(4);
    form_->Show();
    // Entries added by hand: the nominal height is what a first show's
    // population would have set, the measured row height.
    const int rowHeight = Height(form_->FileView->ItemRect(0));
    ASSERT_GT(rowHeight, 0);
    form_->FileView->SetItemHeight(rowHeight);
    SetListClientHeight(3 * rowHeight);
    ASSERT_EQ(Height(form_->FileView->ClientRect()), 3 * rowHeight);

    form_->FileView->SetTopIndex(0);
    EXPECT_EQ(form_->FileView->BottomIndex(), 2);
    form_->FileView->SetTopIndex(1);
    ASSERT_EQ(form_->FileView->TopIndex(), 1);
    EXPECT_EQ(form_->FileView->BottomIndex(), 3);

    // A part of a row does not count.
    SetListClientHeight(4 * rowHeight - 1);
    form_->FileView->SetTopIndex(0);
    EXPECT_EQ(form_->FileView->BottomIndex(), 2);
}
