// Showing a menu window: where it goes on the screen.
#include "folder/folder_form.h"

namespace folder {

void TFolderForm::FormShow(ui::TObject*) {
    POINT pt{};
    GetCursorPos(&pt);
    SetLeft(pt.x);
    SetTop(pt.y);
}

}  // namespace folder
