#pragma once
// Filled-triangle arrows as menus draw them: the sub-menu arrow at a row's
// right end and the arrows of the scroll buttons. Pure geometry, no GDI.
#include <array>

namespace core {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
};

enum class ArrowDirection { Right, Up, Down };

// The three corners of an arrow of size s placed at (x, y): a right arrow is
// s wide and 2s high, up and down arrows 2s wide and s high.
std::array<Point, 3> ArrowCorners(ArrowDirection direction, int s, int x, int y) noexcept;

// numerator / denominator to the nearest integer, a half going to the even
// neighbour (denominator > 0).
int DivideRoundHalfEven(int numerator, int denominator) noexcept;

// The sub-menu arrow of a row of the given rectangle: its size and where it
// is placed, centred vertically and as far from the right edge as from the
// top and bottom.
struct SubMenuArrow {
    int size = 0;
    Point origin;
};
SubMenuArrow SubMenuArrowFor(int left, int top, int right, int bottom) noexcept;

// The arrow of a scroll button width x height: its size and placement.
SubMenuArrow ScrollArrowFor(int width, int height) noexcept;

}  // namespace core
