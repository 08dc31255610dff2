// Pointer and keyboard navigation through a menu window and its children:
// the row under the pointer is selected, resting on it opens its child, keys
// walk rows and windows, and the scroll buttons repeat while held.
#include "folder/folder_form.h"
#include "folder/keyboard_commands.h"
#include "ui/application.h"

namespace folder {

namespace {

constexpr DWORD kScrollRepeatMs = 125;

// Waits up to ms while the left button stays down. A plain Sleep would see
// the release only afterwards; here a button message ends the wait early
// and is handled at once. False once the button is seen up.
bool WaitWhileLeftHeld(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return true;
        const DWORD left = static_cast<DWORD>(end - now);
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_MOUSEBUTTON) == WAIT_TIMEOUT) return true;
        ui::Application().ProcessMessages();
        if (GetKeyState(VK_LBUTTON) >= 0 || ui::Application().Terminated()) return false;
    }
}

}  // namespace

void TFolderForm::FileViewMouseMove(ui::TObject*, UINT, int X, int Y) {
    // Windows repeats a move at the same place (a window shown or scrolled
    // under a resting pointer): it must neither reselect nor restart the delay.
    if (X == FLastCursorPos.x && Y == FLastCursorPos.y) return;
    const int row = FileView->ItemAtPos(POINT{X, Y});
    if (row != FileView->ItemIndex()) FileView->SetItemIndex(row);
    FLastCursorPos = POINT{X, Y};
    TrackHover(TME_HOVER);
}

void TFolderForm::FileViewKeyDown(ui::TObject*, WORD& Key, UINT) {
    const int index = FileView->ItemIndex();
    switch (Key) {
        case VK_RETURN:
            // Click checks the enabled flag: the placeholder does nothing.
            if (index >= 0 && index < FileList.Count()) {
                FEntries.Object(index, Namespace);
                FileList.Item(index).Click();
            }
            break;
        case VK_ESCAPE:
            Close();
            break;
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
            Key = 0;
            break;
        case VK_LEFT:
            if (FChain.IsChild()) Close();
            Key = 0;
            break;
        case VK_RIGHT:
            if (index >= 0) {
                if (TFolderForm* child = OpenSubMenu()) {
                    child->FileView->SetItemIndex(0);
                } else if (index == FPending.row) {
                    FPending.selectFirst = true;  // once it shows
                }
            }
            Key = 0;
            break;
        default:
            if (TRowKeys(FCommands, *FileView).KeyDown(Key)) Key = 0;
            break;
    }
}

void TFolderForm::UDButtonMouseEnter(ui::TObject*) { FileView->SetItemIndex(-1); }

void TFolderForm::UDButtonMouseDown(ui::TObject* Sender, ui::TMouseButton, UINT, int, int) {
    const bool up = Sender == UpButton.get();
    // The button pressed is not what counts: the loop runs only while the
    // left one is down, so a right press alone scrolls nothing.
    while (FileView->CanScroll(up) && GetKeyState(VK_LBUTTON) < 0) {
        SendMessageW(FileView->Handle(), WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
        const bool held = WaitWhileLeftHeld(kScrollRepeatMs);
        ui::Application().ProcessMessages();
        UpButton->Invalidate();
        DownButton->Invalidate();
        // Messages handled in here may have ended the run or closed the window.
        if (!held || ui::Application().Terminated() || !Visible()) break;
    }
}

}  // namespace folder
