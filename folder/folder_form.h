#pragma once
// QUIN_Folder: the popup window that lists one shell folder as menu rows.
// It holds the parts and handles their events; the work is its
// collaborators': the entries (TFolderEntries), its place in the chain of
// open menus (TMenuChain), the command host (TFolderCommands), the rows'
// drawing and icons (TRowDrawing), the captions coming in (TCaptionFill)
// and the DPI its rows are measured at (TMenuDpi).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/live_count.h"
#include "folder/caption_fill.h"
#include "folder/folder_commands.h"
#include "folder/folder_entries.h"
#include "folder/list_box.h"
#include "folder/menu_chain.h"
#include "folder/menu_dpi.h"
#include "folder/row_drawing.h"
#include "folder/shell_command_verb.h"
#include "shell/folder_items.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/paint_box.h"

namespace folder {

class TFolderForm final : public ui::TForm, public TOwnedCommandVerb, public core::TLiveCount<TFolderForm> {
public:
    explicit TFolderForm(ui::TForm* AOwner);     // a root window
    explicit TFolderForm(TFolderForm* AParent);  // a child window of AParent
    ~TFolderForm() override;

    std::unique_ptr<ui::TPaintBox> UpButton, DownButton;
    std::unique_ptr<TListBox> FileView;
    ui::TImageList ShellImages;
    ui::TPopupMenu FileList;
    std::int32_t EnumFlags = 0;  // these three: set by the creator before the first show
    std::wstring FileMask;
    TShellObject* Namespace = nullptr;  // lent by the creator
    // A listing of Namespace made on another thread (the root's where its
    // path was parsed, a child's by the parent opening it): the first show
    // takes it instead of listing here, and raises what that listing raised.
    std::function<shell::TListedFolder()> ListedAhead;
    // How long opening a child waits for its folder's listing before this
    // window goes back to its input; the child then shows once listed.
    static inline DWORD ChildListWaitMs = 150;

    void FormCreate(ui::TObject* Sender);
    void FormShow(ui::TObject* Sender);
    void FormHide(ui::TObject* Sender);
    void FormDestroy(ui::TObject* Sender);
    void FormMouseWheel(ui::TObject* Sender, ui::TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled);
    void FileViewMeasureItem(ui::TObject* Control, int Index, int& Height);
    void FileViewDrawItem(ui::TObject* Control, int Index, RECT Rect, ui::TOwnerDrawState State);
    void FileViewMouseUp(ui::TObject* Sender, ui::TMouseButton Button, UINT Shift, int X, int Y);
    void FileViewMouseMove(ui::TObject* Sender, UINT Shift, int X, int Y);
    void FileViewKeyDown(ui::TObject* Sender, WORD& Key, UINT Shift);
    void UDButtonMouseEnter(ui::TObject* Sender);
    void UDButtonMouseDown(ui::TObject* Sender, ui::TMouseButton Button, UINT Shift, int X, int Y);
    void UDButtonPaint(ui::TObject* Sender);
    void MenuItemClick(ui::TObject* Sender);
    void CloseSubMenus();
    void TrackHover(DWORD Flags);
    // Shows the selected row's child window, if any; null also while its
    // folder is still being listed (it shows when the listing comes).
    TFolderForm* OpenSubMenu();
    TFolderForm* ChildForm(int index);  // row index's child window, made the first time
    TFolderEntries& Entries() noexcept { return FEntries; }
    TFolderCommands& Commands() noexcept { return FCommands; }
    void SetChildForm(int index, TFolderForm& child);  // child is the window row index opens
    int FrameWidth() const noexcept { return FFrameWidth; }
    HRESULT STDMETHODCALLTYPE VerbExecuting(const std::wstring& Verb, bool& Handled) override;
    HRESULT STDMETHODCALLTYPE VerbExecuted(const std::wstring& Verb, bool Succeeded) override;

protected:
    void CreateParams(ui::TCreateParams& params) override;
    void CreateComponents() override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static constexpr UINT kChildListed = WM_APP + 0x119;  // wParam: the listing's tag
    // The child whose folder is being listed on a thread, opened from row.
    struct TPendingChild {
        int row = -1;
        WPARAM tag = 0;
        bool selectFirst = false;  // opened by the Right key
    };
    // Starts listing child's folder on a thread and waits a moment for it;
    // false when it is still being listed (the child is then pending).
    bool ListAhead(TFolderForm& child, int row);
    void PendingChildListed(WPARAM tag);
    void DropPendingChild();  // and lets its listing go
    void Populate(int& width, int& height);
    void Widen(int widest);
    RECT WorkArea() const;  // of the monitor this window opens on
    const ui::TMenuMetrics& RowMetrics() const;
    TFolderEntries FEntries{FileList};
    TMenuChain FChain;
    TFolderCommands FCommands;
    TRowDrawing FRows;
    TCaptionFill FCaptions;
    TMenuDpi FDpi;  // the DPI the rows are measured at
    std::int32_t FFrameWidth = 0;
    std::wstring FSavePath;
    POINT FLastCursorPos{0, 0};
    TPendingChild FPending;
};

}  // namespace folder
