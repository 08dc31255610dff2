#pragma once
// Draws a filled triangle arrow (see core/arrow_geometry.h) in one colour.
#include <windows.h>

#include "core/arrow_geometry.h"

namespace ui {

// Fills and outlines the arrow of size s at (x, y) in color with a pen of
// width 1; the DC's pen and brush are put back afterwards.
void DrawArrow(HDC dc, core::ArrowDirection direction, int s, int x, int y, COLORREF color);

}  // namespace ui
