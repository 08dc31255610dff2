// Walking the menu windows with the pointer and the keys: what is selected,
// what opens, what closes, and how the scroll buttons repeat while held.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "folder_test_support.h"
#include "ui/menu.h"

using folder::TFolderForm;
using namespace folder_test;

namespace {

constexpr std::int32_t kEverything = 0x20 | 0x40 | 0x80 | 0x1000;

struct ClickCounter : ui::TObject {
    int clicks = 0;
    void Click(ui::TObject*) { ++clicks; }
};

BOOL CALLBACK CountVisibleMenu(HWND wnd, LPARAM counter) {
    wchar_t cls[32] = {};
    GetClassNameW(wnd, cls, 32);
    if (IsWindowVisible(wnd) && lstrcmpW(cls, L"TFolderForm") == 0) ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// Menu windows of this thread on the screen.
int VisibleMenus() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisibleMenu, reinterpret_cast<LPARAM>(&n));
    return n;
}

int RowNamed(const TFolderForm& form, const std::wstring& caption) {
    for (int i = 0; i < form.FileList.Count(); ++i)
        if (form.FileList.Item(i).Caption == caption) return i;
    ADD_FAILURE() << "no row " << testing::PrintToString(caption);
    return -1;
}

POINT CentreOf(const TFolderForm& form, int row) {
    const RECT r = form.FileView->ItemRect(row);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Move(const TFolderForm& form, POINT at) {
    SendMessageW(form.FileView->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
}
// What the system posts once the pointer has rested at `at`.
void Hover(const TFolderForm& form, POINT at) {
    SendMessageW(form.FileView->Handle(), WM_MOUSEHOVER, 0, MAKELPARAM(at.x, at.y));
}
// The pointer comes to rest on a row: a move there, then the hover.
void RestOn(const TFolderForm& form, int row) {
    Move(form, CentreOf(form, row));
    Hover(form, CentreOf(form, row));
}
void Key(const TFolderForm& form, UINT vk) { SendMessageW(form.FileView->Handle(), WM_KEYDOWN, vk, 0); }
void Char(const TFolderForm& form, wchar_t c) { SendMessageW(form.FileView->Handle(), WM_CHAR, c, 0); }

// The root menu on the shared tree: a (b.txt, c.txt, sub (inner.txt, deep)),
// empty (the placeholder), top.txt.
class Navigation : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(100, 100);
        root_ = MakeRootForm();
        ns_ = RootObject(Tree().root());
        root_->Namespace = ns_.get();
        root_->EnumFlags = kEverything;
        root_->FileMask = L"**";
        root_->Show();
        // Keep the real pointer off every menu: only the moves sent here count.
        SetCursorPos(1200, 900);
        PumpFor(30);
        a_ = RowNamed(*root_, L"a");
        empty_ = RowNamed(*root_, L"empty");
        top_ = RowNamed(*root_, L"top.txt");
    }
    void TearDown() override {
        root_.reset();
        Base().Root = nullptr;
        EXPECT_TRUE(ReportedErrors().empty()) << testing::PrintToString(ReportedErrors());
        ReportedErrors().clear();
    }
    TFolderForm& ChildOfA() { return *root_->ChildForm(a_); }

    std::unique_ptr<folder::TShellObject> ns_;  // outlives root_, which lists it
    std::unique_ptr<TFolderForm> root_;
    int a_ = -1, empty_ = -1, top_ = -1;
};

}  // namespace

TEST_F(Navigation, PointerMovesSelectTheRowUnderThePointerOnly) {
    // The first report at (0, 0) is the position the window was made with:
    // ignored, though row 0 lies there.
    Move(*root_, POINT{0, 0});
    EXPECT_EQ(root_->FileView->ItemIndex(), -1);

    Move(*root_, CentreOf(*root_, a_));
    EXPECT_EQ(root_->FileView->ItemIndex(), a_);
    // A repeated report at the same place does not take the selection back
    // from the keyboard.
    root_->FileView->SetItemIndex(top_);
    Move(*root_, CentreOf(*root_, a_));
    EXPECT_EQ(root_->FileView->ItemIndex(), top_);

    // Room below the last row: a point there is on no row.
    const SIZE client = root_->ClientSize();
    root_->SetClientSize(client.cx, client.cy + 3 * root_->FileView->ItemHeight());
    const RECT last = root_->FileView->ItemRect(root_->FileView->Count() - 1);
    Move(*root_, POINT{10, last.bottom + 5});
    EXPECT_EQ(root_->FileView->ItemIndex(), -1);
}

TEST_F(Navigation, RestingOnNoRowClosesTheOpenChildAndOpensNothing) {
    RestOn(*root_, a_);
    ASSERT_TRUE(ChildOfA().Visible());
    const SIZE client = root_->ClientSize();
    root_->SetClientSize(client.cx, client.cy + 3 * root_->FileView->ItemHeight());
    const RECT last = root_->FileView->ItemRect(root_->FileView->Count() - 1);
    const POINT below{10, last.bottom + 5};
    Move(*root_, below);
    Hover(*root_, below);
    EXPECT_FALSE(ChildOfA().Visible());
    EXPECT_EQ(VisibleMenus(), 1);
}

TEST_F(Navigation, HoverOpensTheSelectedFolderRowUnlessTheKeyboardMovedOn) {
    RestOn(*root_, a_);
    TFolderForm& child = ChildOfA();
    EXPECT_TRUE(child.Visible());
    EXPECT_EQ(child.FileView->ItemIndex(), -1);
    EXPECT_EQ(child.FileList.Count(), 3);  // b.txt, c.txt, sub
    EXPECT_EQ(VisibleMenus(), 2);

    // The keyboard moves the selection onto "empty"; the pointer's old rest
    // names another row, so nothing opens and nothing closes.
    root_->FileView->SetItemIndex(empty_);
    Hover(*root_, CentreOf(*root_, a_));
    EXPECT_TRUE(child.Visible());
    EXPECT_FALSE(root_->ChildForm(empty_)->Visible());
    EXPECT_EQ(VisibleMenus(), 2);
}

TEST_F(Navigation, RestingOnAFileRowClosesTheOpenChild) {
    RestOn(*root_, a_);
    ASSERT_TRUE(ChildOfA().Visible());
    RestOn(*root_, top_);
    EXPECT_FALSE(ChildOfA().Visible());
    EXPECT_EQ(root_->FileView->ItemIndex(), top_);
    EXPECT_EQ(VisibleMenus(), 1);

    // Two deep, with the keys in the deepest window: closing it must not
    // hand them back to the middle one, also closing, whose selected row
    // would pull the root's selection back to "a" and reopen it.
    RestOn(*root_, a_);
    TFolderForm& child = ChildOfA();
    const int sub = RowNamed(child, L"sub");
    RestOn(child, sub);
    ASSERT_TRUE(child.ChildForm(sub)->Visible());
    child.ChildForm(sub)->FileView->SetFocus();
    RestOn(*root_, top_);
    EXPECT_FALSE(child.Visible());
    EXPECT_FALSE(child.ChildForm(sub)->Visible());
    EXPECT_EQ(root_->FileView->ItemIndex(), top_);
    EXPECT_EQ(VisibleMenus(), 1);
}

TEST_F(Navigation, RestingAgainOnTheOpenFolderRowShowsItsChildAfresh) {
    RestOn(*root_, a_);
    TFolderForm& child = ChildOfA();
    const int sub = RowNamed(child, L"sub");
    RestOn(child, sub);
    TFolderForm& grandchild = *child.ChildForm(sub);
    ASSERT_TRUE(grandchild.Visible());

    RestOn(*root_, a_);
    EXPECT_TRUE(child.Visible());
    EXPECT_FALSE(grandchild.Visible());
    EXPECT_EQ(child.FileView->ItemIndex(), -1);
}

TEST_F(Navigation, RightOpensTheSelectedFolderWithItsFirstRowSelected) {
    root_->FileView->SetItemIndex(a_);
    Key(*root_, VK_RIGHT);
    TFolderForm& child = ChildOfA();
    ASSERT_TRUE(child.Visible());
    EXPECT_EQ(child.FileView->ItemIndex(), 0);
    // The child is the active window, and its list takes the keys.
    EXPECT_EQ(GetFocus(), child.FileView->Handle());
    // Right went no further than this window: the list kept its selection.
    EXPECT_EQ(root_->FileView->ItemIndex(), a_);

    // On a file row it closes the open child and opens nothing.
    root_->FileView->SetItemIndex(top_);
    Key(*root_, VK_RIGHT);
    EXPECT_FALSE(child.Visible());
    EXPECT_EQ(VisibleMenus(), 1);
}

// A child whose listing takes longer than the moment its opening waits:
// the parent goes on taking input, and the child shows once listed, unless
// the user has moved on.
class SlowChildListing : public Navigation {
protected:
    void SetUp() override {
        Navigation::SetUp();
        saved_ = std::exchange(TFolderForm::ChildListWaitMs, 0);
    }
    void TearDown() override {
        TFolderForm::ChildListWaitMs = saved_;
        Navigation::TearDown();
    }
    DWORD saved_ = 0;
};

TEST_F(SlowChildListing, TheChildShowsOnceListedWithWhatTheKeysAskedOfIt) {
    root_->FileView->SetItemIndex(a_);
    Key(*root_, VK_RIGHT);
    TFolderForm& child = ChildOfA();
    ASSERT_TRUE(PumpUntil([&] { return child.Visible(); }, 10000));
    ASSERT_EQ(child.FileList.Count(), 3);
    EXPECT_GE(RowNamed(child, L"sub"), 0);
    // Right asked for the first row, and the child takes the keys.
    EXPECT_EQ(child.FileView->ItemIndex(), 0);
    EXPECT_EQ(GetFocus(), child.FileView->Handle());
    EXPECT_EQ(VisibleMenus(), 2);

    // Shown again later, it keeps its rows and lists nothing more.
    RestOn(*root_, top_);
    EXPECT_FALSE(child.Visible());
    RestOn(*root_, a_);
    EXPECT_TRUE(child.Visible());
    EXPECT_EQ(child.FileList.Count(), 3);
}

TEST_F(SlowChildListing, MovingOnBeforeTheListingComesShowsNothing) {
    // Rested on, then left for a file row: the listing is let go.
    RestOn(*root_, a_);
    RestOn(*root_, top_);
    PumpFor(500);
    EXPECT_EQ(VisibleMenus(), 1);
    EXPECT_EQ(root_->FileView->ItemIndex(), top_);

    // Listed while the selection is elsewhere: it waits for the next show.
    RestOn(*root_, a_);
    Move(*root_, CentreOf(*root_, top_));
    PumpFor(500);
    EXPECT_EQ(VisibleMenus(), 1);
    RestOn(*root_, a_);
    ASSERT_TRUE(PumpUntil([&] { return ChildOfA().Visible(); }, 10000));
    EXPECT_EQ(ChildOfA().FileList.Count(), 3);
    EXPECT_EQ(ReportedErrors().size(), 0u);
}

TEST_F(Navigation, LeftClosesAChildButNeverTheRoot) {
    Key(*root_, VK_LEFT);
    EXPECT_TRUE(root_->Visible());

    root_->FileView->SetItemIndex(a_);
    Key(*root_, VK_RIGHT);
    TFolderForm& child = ChildOfA();
    ASSERT_TRUE(child.Visible());
    Key(child, VK_LEFT);
    EXPECT_FALSE(child.Visible());
    EXPECT_TRUE(root_->Visible());
    // The parent takes the keys back.
    EXPECT_EQ(GetFocus(), root_->FileView->Handle());
}

TEST_F(Navigation, EscapeClosesTheWindowItIsPressedIn) {
    root_->FileView->SetItemIndex(a_);
    Key(*root_, VK_RIGHT);
    TFolderForm& child = ChildOfA();
    ASSERT_TRUE(child.Visible());
    Key(child, VK_ESCAPE);
    EXPECT_FALSE(child.Visible());
    EXPECT_TRUE(root_->Visible());
    Key(*root_, VK_ESCAPE);
    EXPECT_FALSE(root_->Visible());
}

TEST_F(Navigation, UpAndDownMoveTheSelectionAndOpenNothing) {
    root_->FileView->SetItemIndex(0);
    Key(*root_, VK_DOWN);
    EXPECT_EQ(root_->FileView->ItemIndex(), 1);
    Key(*root_, VK_DOWN);
    EXPECT_EQ(root_->FileView->ItemIndex(), 2);
    Key(*root_, VK_UP);
    EXPECT_EQ(root_->FileView->ItemIndex(), 1);
    PumpFor(50);
    EXPECT_EQ(VisibleMenus(), 1);
}

TEST_F(Navigation, PagingKeysLeaveTheSelectionAlone) {
    root_->FileView->SetItemIndex(1);
    for (UINT vk : {VK_HOME, VK_END, VK_PRIOR, VK_NEXT}) {
        Key(*root_, vk);
        EXPECT_EQ(root_->FileView->ItemIndex(), 1) << "key " << vk;
    }
}

TEST_F(Navigation, ALetterSelectsTheNextRowBeginningWithIt) {
    // The list's own search: owner-drawn rows keep their strings.
    root_->FileView->SetItemIndex(a_);
    Char(*root_, L't');
    EXPECT_EQ(root_->FileView->ItemIndex(), top_);
    Char(*root_, L'E');
    EXPECT_EQ(root_->FileView->ItemIndex(), empty_);
    EXPECT_EQ(VisibleMenus(), 1);
}

TEST_F(Navigation, EnterAndTheLeftButtonRunTheSelectedRowTheMiddleButtonNothing) {
    ClickCounter counter;
    root_->FileList.Item(top_).OnClick = ui::TNotifyEvent(&counter, &ClickCounter::Click);
    const POINT at = CentreOf(*root_, top_);
    Move(*root_, at);
    Key(*root_, VK_RETURN);
    EXPECT_EQ(counter.clicks, 1);
    SendMessageW(root_->FileView->Handle(), WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(root_->FileView->Handle(), WM_MBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_TRUE(root_->Visible());
    SendMessageW(root_->FileView->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(root_->FileView->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(counter.clicks, 2);
    ReleaseCapture();
}

TEST_F(Navigation, ThePlaceholderRunsNothing) {
    root_->FileView->SetItemIndex(empty_);
    Key(*root_, VK_RIGHT);
    TFolderForm& child = *root_->ChildForm(empty_);
    ASSERT_TRUE(child.Visible());
    ASSERT_EQ(child.FileList.Count(), 1);
    ASSERT_EQ(child.FileView->ItemIndex(), 0);
    ClickCounter counter;
    child.FileList.Item(0).OnClick = ui::TNotifyEvent(&counter, &ClickCounter::Click);
    const int installs = Base().EndOfRunInstalls;

    Key(child, VK_RETURN);
    const POINT at = CentreOf(child, 0);
    SendMessageW(child.FileView->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(child.FileView->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    ReleaseCapture();
    EXPECT_EQ(counter.clicks, 0);
    EXPECT_EQ(Base().EndOfRunInstalls, installs);
    EXPECT_TRUE(child.Visible());
}

// ------------------------------------------------------------ scroll buttons --

namespace {

void SendLeftButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void CALLBACK ReleaseLeftButton(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    SendLeftButton(MOUSEEVENTF_LEFTUP);
}

// Rows without shell items, five of them visible between the two buttons.
class ScrollButtons : public ::testing::Test {
protected:
    void Make(int rows) {
        SetCursorPos(100, 100);
        root_ = MakeRootForm();
        for (int i = 0; i < rows; ++i) AddEntry(*root_, L"row " + std::to_wstring(i), nullptr);
        const RECT first = root_->FileView->ItemRect(0);
        rowHeight_ = first.bottom - first.top;
        root_->FileView->SetItemHeight(rowHeight_);
        root_->Show();
        root_->UpButton->SetHeight(rowHeight_);
        root_->DownButton->SetHeight(rowHeight_);
        root_->UpButton->SetVisible(true);
        root_->DownButton->SetVisible(true);
        root_->SetClientSize(root_->ClientSize().cx, 7 * rowHeight_);
        PumpFor(30);
        ASSERT_EQ(root_->FileView->BottomIndex(), 4);
    }
    void TearDown() override {
        if (GetKeyState(VK_LBUTTON) < 0) SendLeftButton(MOUSEEVENTF_LEFTUP);
        PumpFor(30);
        root_.reset();
        Base().Root = nullptr;
        EXPECT_TRUE(ReportedErrors().empty());
        ReportedErrors().clear();
    }
    // Presses the left button over `button` for real and runs the press
    // handler while it is down; the button comes up releaseMs after the press.
    // Gives how long the handler ran.
    ULONGLONG Hold(ui::TPaintBox& button, UINT releaseMs) {
        button.OnMouseDown.Clear();  // the handler is called below, and timed
        RECT r{};
        GetWindowRect(button.Handle(), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PumpFor(30);
        SendLeftButton(MOUSEEVENTF_LEFTDOWN);
        // The press comes back through the window system: a generous bound.
        if (!PumpUntil([] { return GetKeyState(VK_LBUTTON) < 0; }, 10000)) return 0;
        SetTimer(nullptr, 0, releaseMs, ReleaseLeftButton);
        const ULONGLONG start = GetTickCount64();
        root_->UDButtonMouseDown(&button, ui::TMouseButton::Left, MK_LBUTTON, 1, 1);
        return GetTickCount64() - start;
    }

    std::unique_ptr<TFolderForm> root_;
    int rowHeight_ = 0;
};

}  // namespace

TEST_F(ScrollButtons, EnteringAButtonClearsTheHighlightButLeavesTheChildOpen) {
    Make(6);
    TFolderForm* child = MakeChildForm(*root_);
    AddEntry(*child, L"inner", nullptr);
    AddEntry(*root_, L"folder", nullptr, child);
    root_->FileView->SetItemIndex(6);
    ASSERT_EQ(root_->OpenSubMenu(), child);
    ASSERT_TRUE(child->Visible());
    SendMessageW(root_->DownButton->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(root_->FileView->ItemIndex(), -1);
    EXPECT_TRUE(child->Visible());
}

TEST_F(ScrollButtons, ARightPressScrollsNothing) {
    Make(8);
    ASSERT_GE(GetKeyState(VK_LBUTTON), 0);
    SendMessageW(root_->DownButton->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    SendMessageW(root_->DownButton->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(root_->FileView->TopIndex(), 0);
}

TEST_F(ScrollButtons, HoldingTheDownButtonScrollsUntilTheLastRowShows) {
    Make(8);
    const ULONGLONG ran = Hold(*root_->DownButton, 2000);
    ASSERT_GT(ran, 0u) << "the synthetic button press never reached this thread";
    EXPECT_EQ(root_->FileView->TopIndex(), 3);
    EXPECT_EQ(root_->FileView->BottomIndex(), 7);
    // Three rows, then it stopped by itself while the button was still down.
    EXPECT_LT(ran, 1200u);
    EXPECT_GE(ran, 2 * 125u);
    PumpFor(2100);  // the release
    ASSERT_GE(GetKeyState(VK_LBUTTON), 0);

    // And the up button brings the first row back.
    EXPECT_GT(Hold(*root_->UpButton, 1500), 0u);
    EXPECT_EQ(root_->FileView->TopIndex(), 0);
}

TEST_F(ScrollButtons, ReleasingTheButtonStopsTheScrolling) {
    Make(60);
    const ULONGLONG ran = Hold(*root_->DownButton, 600);
    ASSERT_GT(ran, 0u) << "the synthetic button press never reached this thread";
    const int scrolled = root_->FileView->TopIndex();
    // One row at once, then one about every 125 ms until the release.
    EXPECT_GE(scrolled, 3);
    EXPECT_LE(scrolled, 7);
    EXPECT_LT(ran, 600u + 300u);
    PumpFor(400);
    EXPECT_EQ(root_->FileView->TopIndex(), scrolled);
}
