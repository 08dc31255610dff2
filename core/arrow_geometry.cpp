#include "core/arrow_geometry.h"

namespace core {

std::array<Point, 3> ArrowCorners(ArrowDirection direction, int s, int x, int y) noexcept {
    // Corner points of each direction in units of s.
    static constexpr Point kRight[3] = {{0, 0}, {1, 1}, {0, 2}};
    static constexpr Point kUp[3] = {{0, 1}, {1, 0}, {2, 1}};
    static constexpr Point kDown[3] = {{0, 0}, {1, 1}, {2, 0}};
    const Point* unit = direction == ArrowDirection::Right ? kRight : direction == ArrowDirection::Up ? kUp : kDown;
    std::array<Point, 3> corners{};
    for (int i = 0; i < 3; ++i) corners[i] = Point{x + s * unit[i].x, y + s * unit[i].y};
    return corners;
}

int DivideRoundHalfEven(int numerator, int denominator) noexcept {
    int quotient = numerator / denominator;
    int remainder = numerator % denominator;
    // Work on magnitudes so that negative values round the same way.
    const bool negative = (remainder < 0);
    if (negative) remainder = -remainder;
    const int twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) quotient += negative ? -1 : 1;
    return quotient;
}

SubMenuArrow SubMenuArrowFor(int left, int top, int right, int bottom) noexcept {
    (void)left;
    const int h = bottom - top;
    SubMenuArrow arrow;
    arrow.size = DivideRoundHalfEven(h, 8);
    const int a = (h - 2 * arrow.size) / 2;
    arrow.origin = Point{right - a - arrow.size, top + a};
    return arrow;
}

SubMenuArrow ScrollArrowFor(int width, int height) noexcept {
    SubMenuArrow arrow;
    arrow.size = height / 4;
    // The arrow is 2s wide but placed as if it were s wide: its tip sits
    // right of the button's centre line. Kept so, as the buttons always looked.
    arrow.origin = Point{width / 2 - arrow.size / 2, (height - arrow.size) / 2};
    return arrow;
}

}  // namespace core
