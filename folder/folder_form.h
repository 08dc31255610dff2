#pragma once
// QUIN_Folder: the popup window that lists one shell folder as menu rows.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "folder/icon_lookup.h"
#include "folder/list_box.h"
#include "folder/menu_dpi.h"
#include "folder/pending_captions.h"
#include "folder/shell_command_verb.h"
#include "folder/shell_object.h"
#include "shell/shell_types.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/paint_box.h"

namespace folder {

class TFolderForm final : public ui::TForm, public IShellCommandVerb {
public:
    explicit TFolderForm(ui::TForm* AOwner);
    ~TFolderForm() override;

    // Parts (children), in description order.
    std::unique_ptr<ui::TPaintBox> UpButton;
    std::unique_ptr<ui::TPaintBox> DownButton;
    std::unique_ptr<TListBox> FileView;
    ui::TImageList ShellImages;
    ui::TPopupMenu FileList;

    // Set by the creator after creation and before the first show.
    std::int32_t EnumFlags = 0;
    std::wstring FileMask;
    TShellObject* Namespace = nullptr;   // owned only by the root window

    void FormCreate(ui::TObject* Sender);
    void FormShow(ui::TObject* Sender);
    void FormHide(ui::TObject* Sender);
    void FormDestroy(ui::TObject* Sender);
    void FormMouseWheel(ui::TObject* Sender, ui::TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled);

    // Rows: measured and drawn as popup-menu rows by the entries' menu items.
    void FileViewMeasureItem(ui::TObject* Control, int Index, int& Height);
    void FileViewDrawItem(ui::TObject* Control, int Index, RECT Rect, ui::TOwnerDrawState State);
    void FileViewMouseUp(ui::TObject* Sender, ui::TMouseButton Button, UINT Shift, int X, int Y);

    // Whether row index opens a sub-menu, and its child window, made the
    // first time it is asked for (null for rows that open none).
    bool OpensSubMenu(int index) const;
    TFolderForm* ChildForm(int index);
    // Makes child the window that row index opens.
    void SetChildForm(int index, TFolderForm& child);
    // The shell object of row index, made the first time it is asked for
    // and owned by its entry from then on; null for the placeholder, or
    // when it cannot be made. Rows only listed never pay for one.
    TShellObject* EntryObject(int index);

    // Closes (hides) every child window of this window.
    void CloseSubMenus();
    // Arms or cancels the hover notification for FileView.
    void TrackHover(DWORD Flags);

    int FrameWidth() const noexcept { return FFrameWidth; }
    // Number of TFolderForms alive in the process (for leak checks).
    static long LiveCount() noexcept;

    // ---- Navigation (folder_navigation.cpp) ----
    // The row under the pointer is the selected row; a move arms the hover.
    void FileViewMouseMove(ui::TObject* Sender, UINT Shift, int X, int Y);
    // Enter, Escape, Left and Right walk the rows and windows; the paging
    // keys are swallowed; everything else is the list's own.
    void FileViewKeyDown(ui::TObject* Sender, WORD& Key, UINT Shift);
    void UDButtonMouseEnter(ui::TObject* Sender);
    // Scrolls one row at once, then one every 125 ms while the left button is held.
    void UDButtonMouseDown(ui::TObject* Sender, ui::TMouseButton Button, UINT Shift, int X, int Y);
    // Closes the open children, then shows the selected row's child window
    // and gives it back; null when the selected row opens none.
    TFolderForm* OpenSubMenu();
    // ---- end of navigation ----
    // ---- Row drawing and scroll buttons (folder_rows.cpp, folder_buttons_paint.cpp) ----
    // Paint event of UpButton and DownButton: the arrow of the button's
    // direction, dimmed when FileView cannot scroll that way.
    void UDButtonPaint(ui::TObject* Sender);
    // Whether FileView can scroll one row up (Up) or down.
    bool CanScroll(bool Up) const;
    // Which scroll button a paint box is: the one at the window's top is up.
    static bool IsUpButton(const ui::TControl& button);
    // The icon lookups of this window's entries.
    TIconLookups& IconLookups() noexcept { return FIconLookups; }
    // ---- end of row drawing ----

    // ---- Shell commands (shell_commands.cpp, context_menu.cpp, verb_handling.cpp) ----
    // Runs "open" on Item through its context menu. Item may be null.
    void InvokeDefaultCommand(TShellObject* Item);
    // Shows Item's full context menu at the screen point X, Y and runs the
    // command chosen. Item may be null.
    void ShowContextMenu(TShellObject* Item, int X, int Y);
    // What ShowContextMenu does once it has the item's context menu: fill,
    // track, run. Item (may be null) is opened through the shell when the
    // menu fails to run "open".
    void RunContextMenu(IContextMenu* Menu, TShellObject* Item, int X, int Y);
    // Click handler of every entry's menu item; Sender is the ui::TMenuItem
    // with the entry's TShellObject in its Tag.
    void MenuItemClick(ui::TObject* Sender);

    // IShellCommandVerb. Reference counting does not govern the window's
    // life: its owner does.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE VerbExecuting(const std::wstring& Verb, bool& Handled) override;
    HRESULT STDMETHODCALLTYPE VerbExecuted(const std::wstring& Verb, bool Succeeded) override;
    // ---- end of shell commands ----

protected:
    friend class TRowKeys;  // keyboard_commands.cpp: Explorer's keys for the selected row
    friend class TDragOut;  // drag_out.cpp: dragging an entry out
    friend class TMenuDpi;  // menu_dpi.cpp: the rows' DPI, WM_DPICHANGED
    void CreateParams(ui::TCreateParams& params) override;
    void CreateComponents() override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // One item that the window will show, as listing found it.
    struct TListedItem {
        shell::UniquePidl id;   // relative to Namespace's folder
        bool isFolder = false;  // opens as a sub-menu
    };
    // Lists Namespace's folder: the kept items, in the order the folder gave them.
    std::vector<TListedItem> CreateIDList();
    // The order in which the items are shown: the folder's own sort.
    std::vector<size_t> SortedOrder(const std::vector<TListedItem>& list) const;
    // One entry for a listed item; its caption comes with the item's
    // in-folder name, its shell object when first needed (EntryObject).
    std::unique_ptr<ui::TMenuItem> MakeEntry(bool isFolder);
    // The entry of a folder that lists nothing: "(なし)", disabled.
    std::unique_ptr<ui::TMenuItem> MakePlaceholder();
    // ---- Captions coming in (folder_captions.cpp) ----
    // Entry e has its caption: the window's width follows the widest.
    void CaptionArrived(int entry);
    // The names timer: names items between input, collects, widens.
    void NamesTick();
    // Widens the window to its widest caption (never narrows it).
    void FollowWidestCaption();
    // Every caption is in: the timer stops and the window says so.
    void CaptionsDone();
    static constexpr UINT_PTR kNamesTimer = 0x5143;  // "QC"
    static constexpr UINT kNamesTimerMs = 10;
    std::unique_ptr<TPendingCaptions> FPendingCaptions;
    ui::UniqueDC FMeasureDC;
    int FWidest = 0;
    ULONGLONG FLastWidening = 0;
    // ---- end of captions ----
    // Fills the window on its first show; gives the widest entry and the row height.
    void Populate(int& width, int& height);
    // The work area of the monitor this window opens on.
    RECT WorkArea() const;
    const ui::TMenuMetrics& RowMetrics() const;

    // The child window of row i if it has been made, or null.
    TFolderForm* SubMenu(int index) const;
    // The listed item of each entry, until EntryObject makes its shell object.
    std::vector<shell::UniquePidl> FEntryIds;
    // The row text FileView shows (its rows hold none of their own).
    void FileViewGetText(ui::TObject* Sender, int Index, std::wstring& Text);
    // The child windows made so far, in the order they were made: far
    // fewer than the rows, so closing them walks no rows.
    std::vector<TFolderForm*> FChildren;

    // ---- Navigation ----
    // WM_MOUSEHOVER passed on by FileView: opens the rested-on row's child.
    void FileViewHover(LPARAM lp);
    // ---- end of navigation ----

    // ---- Shell commands ----
    // Runs Verb through Menu with the pre- and post-processing of the window.
    void RunVerb(IContextMenu* Menu, TShellObject* Item, const std::wstring& Verb, LPCSTR InvokeVerb, bool CloseMenus);
    UINT TrackContextMenu(IContextMenu* Menu, HMENU Popup, int X, int Y);
    // Offers a message to the context menu being tracked; true if it took it.
    bool ForwardMenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    TShellObject* SelectedObject();
    void RenameEntry(TShellObject& Item);
    // Held only while TrackPopupMenuEx runs: the handlers of delay-filled
    // submenus ("Send to", "Open with") see the menu's messages through them.
    Microsoft::WRL::ComPtr<IContextMenu2> FContextMenu2;
    Microsoft::WRL::ComPtr<IContextMenu3> FContextMenu3;
    // ---- end of shell commands ----

    // ---- Row drawing ----
    TIconLookups FIconLookups{*this};
    TMenuDpi FDpi{*this};  // the DPI the rows are measured at
    // ---- end of row drawing ----

    // The keyboard focus or the pointer is in this window.
    bool UserIsHere() const;
    // This window's row in its parent, once the parent has made it.
    int FParentRow = -1;
    // True while this window hides and closes its children. A child that
    // closes meanwhile gives the keys to the window above this one, not
    // back to this one, and keys that reach this one anyway (the system
    // activates it when the focused child hides) do not make its selected
    // row pull the parent's selection back to the row leading here.
    bool FHiding = false;
    std::int32_t FFrameWidth = 0;
    std::wstring FSavePath;
    POINT FLastCursorPos{0, 0};
};

}  // namespace folder
