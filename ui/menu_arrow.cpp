#include "ui/menu_arrow.h"

#include "ui/handles.h"

namespace ui {

void DrawArrow(HDC dc, core::ArrowDirection direction, int s, int x, int y, COLORREF color) {
    if (s <= 0) return;
    const auto corners = core::ArrowCorners(direction, s, x, y);
    POINT points[3];
    for (int i = 0; i < 3; ++i) points[i] = POINT{corners[i].x, corners[i].y};
    UniqueBrush brush(CreateSolidBrush(color));
    std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter> pen(CreatePen(PS_SOLID, 1, color));
    SelectGuard withPen(dc, pen.get());
    SelectGuard withBrush(dc, brush.get());
    Polygon(dc, points, 3);
}

}  // namespace ui
