// What is drawn over a menu row and around the list: the sub-menu arrow and
// its colours, the selection carried to the parent window, and the scroll
// buttons' arrows. Rows are drawn into a memory bitmap through the list's
// own owner-draw path, so the pixels are the ones a user would see.
#include <gtest/gtest.h>

#include <windows.h>

#include "folder_test_support.h"
#include "ui/form.h"
#include "ui/menu.h"

using folder::TFolderForm;
using namespace folder_test;

namespace {

constexpr int kWidth = 200;
constexpr int kRowHeight = 20;

// A 24-bit bitmap to draw rows into.
class MemoryCanvas {
public:
    MemoryCanvas() {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, kWidth, 4 * kRowHeight);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~MemoryCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// Draws row index of form's list at the top of canvas as the list would.
void DrawRow(TFolderForm& form, int index, bool selected, HDC canvas) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTBOX;
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hwndItem = form.FileView->Handle();
    dis.hDC = canvas;
    dis.rcItem = RECT{0, 0, kWidth, kRowHeight};
    SendMessageW(form.FileView->Handle(), ui::kReflectBase + WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

class RowDrawing : public ::testing::Test {
protected:
    void SetUp() override { root_ = MakeRootForm(); }
    void TearDown() override {
        root_.reset();
        Base().Root = nullptr;
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }
    // A folder row: one whose entry opens child.
    static void AddFolderRow(TFolderForm& form, const std::wstring& caption, TFolderForm* child) {
        AddEntry(form, caption, nullptr, child);
    }
    std::unique_ptr<TFolderForm> root_;
};

}  // namespace

TEST_F(RowDrawing, FolderRowsGetAnArrowInTheColourOfTheirStateAndFileRowsNone) {
    AddFolderRow(*root_, L"folder", MakeChildForm(*root_));
    AddEntry(*root_, L"file", nullptr);
    MemoryCanvas canvas;
    // Row 20 high: arrow of size 2 with corners (190, 8), (192, 10), (190, 12).
    const POINT inside{190, 10};
    const POINT outside{193, 10};

    DrawRow(*root_, 0, false, canvas.dc());
    EXPECT_EQ(canvas.At(inside.x, inside.y), GetSysColor(COLOR_BTNTEXT));
    const COLORREF background = canvas.At(outside.x, outside.y);
    EXPECT_NE(background, GetSysColor(COLOR_BTNTEXT));

    DrawRow(*root_, 0, true, canvas.dc());
    EXPECT_EQ(canvas.At(inside.x, inside.y), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_NE(canvas.At(outside.x, outside.y), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_NE(canvas.At(outside.x, outside.y), background) << "the selected row is highlighted";

    DrawRow(*root_, 1, false, canvas.dc());
    EXPECT_EQ(canvas.At(inside.x, inside.y), background) << "a file row has no arrow";
}

TEST_F(RowDrawing, ASelectedRowOfAChildSelectsTheRowLeadingToItUpTheChain) {
    TFolderForm* child = MakeChildForm(*root_);
    TFolderForm* grandchild = MakeChildForm(*child);
    AddEntry(*root_, L"file", nullptr);
    AddFolderRow(*root_, L"to child", child);
    AddEntry(*child, L"file", nullptr);
    AddEntry(*child, L"file 2", nullptr);
    AddFolderRow(*child, L"to grandchild", grandchild);
    AddEntry(*grandchild, L"leaf", nullptr);
    root_->FileView->SetItemIndex(0);
    MemoryCanvas canvas;

    // Drawing a row as selected moves no selection anywhere.
    DrawRow(*grandchild, 0, true, canvas.dc());
    EXPECT_EQ(child->FileView->ItemIndex(), -1);
    EXPECT_EQ(root_->FileView->ItemIndex(), 0);
    // Nor does "no row".
    grandchild->FileView->SetItemIndex(-1);
    EXPECT_EQ(child->FileView->ItemIndex(), -1);

    // A row of the grandchild selected (as the pointer and the keys do):
    // the rows that lead to it are selected up the chain.
    grandchild->FileView->SetItemIndex(0);
    EXPECT_EQ(child->FileView->ItemIndex(), 2);
    EXPECT_EQ(root_->FileView->ItemIndex(), 1);
    // The root's owner is the base window: nothing above it changes.
    root_->FileView->SetItemIndex(0);
    EXPECT_EQ(child->FileView->ItemIndex(), 2);
}

TEST_F(RowDrawing, ScrollButtonsTellWhetherTheListCanScrollTheirWay) {
    for (int i = 0; i < 10; ++i) AddEntry(*root_, L"row " + std::to_wstring(i), nullptr);
    root_->FileView->SetItemHeight(kRowHeight);
    root_->UpButton->SetHeight(kRowHeight);
    root_->DownButton->SetHeight(kRowHeight);

    // Everything fits: neither way.
    root_->SetClientSize(kWidth, 10 * kRowHeight + 2 * kRowHeight + 5);
    EXPECT_FALSE(root_->FileView->CanScroll(true));
    EXPECT_FALSE(root_->FileView->CanScroll(false));

    // Four whole rows show.
    root_->SetClientSize(kWidth, 4 * kRowHeight + 2 * kRowHeight);
    root_->UpButton->SetVisible(true);
    root_->DownButton->SetVisible(true);
    SetWindowPos(root_->Handle(), HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_FALSE(root_->FileView->CanScroll(true));
    EXPECT_TRUE(root_->FileView->CanScroll(false));

    // The arrows' middle pixels as painted on the screen.
    auto arrowPixel = [&](ui::TPaintBox& box, bool up) {
        RedrawWindow(box.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const RECT r = box.ClientRect();
        const int s = (r.bottom - r.top) / 4;
        const int x = (r.right - r.left) / 2 - s / 2 + s;
        const int y = (r.bottom - r.top - s) / 2 + (up ? s - 1 : 1);
        HDC dc = GetDC(box.Handle());
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(box.Handle(), dc);
        return c;
    };
    EXPECT_EQ(arrowPixel(*root_->UpButton, true), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(arrowPixel(*root_->DownButton, false), GetSysColor(COLOR_BTNTEXT));

    root_->FileView->SetTopIndex(6);
    EXPECT_TRUE(root_->FileView->CanScroll(true));
    EXPECT_FALSE(root_->FileView->CanScroll(false)) << "the last row is wholly visible";
    EXPECT_EQ(arrowPixel(*root_->UpButton, true), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(arrowPixel(*root_->DownButton, false), GetSysColor(COLOR_BTNSHADOW));
    ShowWindow(root_->Handle(), SW_HIDE);
}
