#pragma once
// QUIN_Folder: the popup window that lists one shell folder as menu rows.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "folder/list_box.h"
#include "folder/shell_object.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/paint_box.h"

namespace folder {

class TFolderForm final : public ui::TForm {
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

    // Closes (hides) every child window of this window.
    void CloseSubMenus();
    // Arms or cancels the hover notification for FileView.
    void TrackHover(DWORD Flags);

    int FrameWidth() const noexcept { return FFrameWidth; }
    // Number of TFolderForms alive in the process (for leak checks).
    static long LiveCount() noexcept;

protected:
    void CreateParams(ui::TCreateParams& params) override;
    void CreateComponents() override;
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The child window of row i, or null.
    TFolderForm* SubMenu(int index) const;

    std::int32_t FFrameWidth = 0;
    std::wstring FSavePath;
    POINT FLastCursorPos{0, 0};
};

}  // namespace folder
