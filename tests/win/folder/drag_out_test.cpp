// Dragging an entry out: the list tells a drag from a click by the system's
// drag rectangle, the release after a cancelled drag is no click, a
// cancelled drag leaves the menus and the base window as they were, and
// what DoDragDrop's outcome means for the run.
#include <windows.h>
#include <shlobj.h>

#include "command_fixture.h"
#include "folder/drag_out.h"

using namespace folder_test;

namespace {

struct ClickCounter : ui::TObject {
    int clicks = 0;
    void Click(ui::TObject*) { ++clicks; }
};

class DragOut : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        for (const wchar_t* name : {L"one", L"two", L"three", L"four"}) AddEntry(*form_, name, nullptr);
        for (int i = 0; i < 4; ++i) {
            form_->FileList.Item(i).Enabled = true;  // a row that runs something
            form_->FileList.Item(i).OnClick = ui::TNotifyEvent(&clicks_, &ClickCounter::Click);
        }
        ShowKeepingSelection();
    }
    void TearDown() override {
        ReleaseCapture();
        CommandTest::TearDown();
    }
    POINT Centre(int row) const {
        const RECT r = form_->FileView->ItemRect(row);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Send(UINT msg, WPARAM wp, POINT at) const {
        SendMessageW(form_->FileView->Handle(), msg, wp, MAKELPARAM(at.x, at.y));
    }
    ClickCounter clicks_;
};

}  // namespace

TEST_F(DragOut, AMoveInsideTheDragRectangleIsStillAClick) {
    const int cx = GetSystemMetrics(SM_CXDRAG);
    const POINT press = Centre(0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, press);
    Send(WM_MOUSEMOVE, MK_LBUTTON, POINT{press.x + cx, press.y});
    Send(WM_LBUTTONUP, 0, POINT{press.x + cx, press.y});
    EXPECT_EQ(clicks_.clicks, 1);
}

TEST_F(DragOut, LeavingTheRectangleDragsThePressedRowAndTheReleaseAfterIsNoClick) {
    const POINT press = Centre(0), away = Centre(1);
    {
        // The button is still down when the drag ends (as after Escape).
        HeldKeys held{VK_LBUTTON};
        Send(WM_LBUTTONDOWN, MK_LBUTTON, press);
        // The pointer reached row 1 on its way out; the drag is row 0's (its
        // row has no shell item, so nothing is dragged).
        Send(WM_MOUSEMOVE, MK_LBUTTON, away);
        EXPECT_EQ(form_->FileView->ItemIndex(), 0);
        // Once begun, further moves start no second drag.
        Send(WM_MOUSEMOVE, MK_LBUTTON, POINT{away.x + 2, away.y});
        EXPECT_EQ(form_->FileView->ItemIndex(), 1);
    }
    Send(WM_LBUTTONUP, 0, away);
    EXPECT_EQ(clicks_.clicks, 0);
    EXPECT_TRUE(form_->Visible());
    // The next press and release is a click again.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Centre(1));
    Send(WM_LBUTTONUP, 0, Centre(1));
    EXPECT_EQ(clicks_.clicks, 1);
}

TEST_F(DragOut, ACancelledDragOfAFileLeavesTheMenusAndTheBaseWindowAsTheyWere) {
    shell_test::TempTree tree;
    tree.AddFile(L"b.txt");
    auto root = RootObject(tree.root());
    AddSelected(*root, L"b.txt");
    const int row = form_->FileView->Count() - 1;
    const LONG_PTR baseStyle = GetWindowLongPtrW(Base().Handle(), GWL_EXSTYLE);
    bool passedThrough = false;
    {
        HeldKeys held{VK_LBUTTON};
        ui_test::TimerDriver driver([&] {
            // Inside the drag loop: the base window lets the pointer through.
            passedThrough = (GetWindowLongPtrW(Base().Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
            PostMessageW(form_->FileView->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
            return true;
        });
        folder::TDragOut(form_->Commands(), *form_->FileView).Run(row);
        EXPECT_FALSE(driver.TimedOut());
    }
    EXPECT_TRUE(passedThrough);
    EXPECT_EQ(GetWindowLongPtrW(Base().Handle(), GWL_EXSTYLE), baseStyle);
    EXPECT_TRUE(form_->Visible());
    EXPECT_TRUE(Base().Visible());
    EXPECT_EQ(Base().EndOfRunInstalls, 0);
    EXPECT_EQ(GetFileAttributesW(tree.Path(L"b.txt").c_str()) != INVALID_FILE_ATTRIBUTES, true);
}

TEST(DragOutcome, EffectsOfferedAndWhatEndsTheRun) {
    EXPECT_EQ(folder::DragEffectsFor(false, 0), static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK));
    EXPECT_EQ(folder::DragEffectsFor(true, SFGAO_CANCOPY | SFGAO_CANLINK | SFGAO_FOLDER),
              static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_LINK));
    EXPECT_EQ(folder::DragEffectsFor(true, SFGAO_FOLDER), static_cast<DWORD>(DROPEFFECT_NONE));

    EXPECT_TRUE(folder::DropTookPlace(DRAGDROP_S_DROP, DROPEFFECT_COPY, DROPEFFECT_NONE));
    // An optimised move: the target moved the file and says so in the data object.
    EXPECT_TRUE(folder::DropTookPlace(DRAGDROP_S_DROP, DROPEFFECT_NONE, DROPEFFECT_MOVE));
    // Released over nothing, or refused.
    EXPECT_FALSE(folder::DropTookPlace(DRAGDROP_S_DROP, DROPEFFECT_NONE, DROPEFFECT_NONE));
    EXPECT_FALSE(folder::DropTookPlace(DRAGDROP_S_CANCEL, DROPEFFECT_NONE, DROPEFFECT_NONE));
    EXPECT_FALSE(folder::DropTookPlace(E_OUTOFMEMORY, DROPEFFECT_NONE, DROPEFFECT_NONE));

    folder::TDropSource source;
    EXPECT_EQ(source.QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source.QueryContinueDrag(FALSE, MK_LBUTTON | MK_SHIFT), S_OK);
    EXPECT_EQ(source.QueryContinueDrag(FALSE, MK_SHIFT), DRAGDROP_S_DROP);
}
