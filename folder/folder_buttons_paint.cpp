// The scroll buttons: an arrow each, in the text colour while the list can
// scroll that way and in the shadow colour when it cannot.
#include "core/arrow_geometry.h"
#include "folder/folder_form.h"
#include "ui/menu_arrow.h"

namespace folder {

bool TFolderForm::CanScroll(bool Up) const {
    if (!FileView) return false;
    if (Up) return FileView->TopIndex() > 0;
    return FileView->BottomIndex() < FileView->Count() - 1;
}

bool TFolderForm::IsUpButton(const ui::TControl& button) {
    // Told apart by place: the up button is the one at the window's top.
    RECT place{};
    GetWindowRect(button.Handle(), &place);
    MapWindowPoints(nullptr, GetParent(button.Handle()), reinterpret_cast<POINT*>(&place), 2);
    return place.top == 0;
}

void TFolderForm::UDButtonPaint(ui::TObject* Sender) {
    auto* box = dynamic_cast<ui::TPaintBox*>(Sender);
    if (!box || !box->Canvas()) return;
    HDC canvas = box->Canvas();
    const bool up = IsUpButton(*box);

    const RECT client = box->ClientRect();
    // The paint box erases nothing itself: the window's own background.
    FillRect(canvas, &client, GetSysColorBrush(ColorIndex));
    const auto arrow = core::ScrollArrowFor(client.right - client.left, client.bottom - client.top);
    const COLORREF color = GetSysColor(CanScroll(up) ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
    ui::DrawArrow(canvas, up ? core::ArrowDirection::Up : core::ArrowDirection::Down, arrow.size, arrow.origin.x,
                  arrow.origin.y, color);
}

}  // namespace folder
