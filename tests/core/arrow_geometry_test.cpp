// Arrow sizes and corners of menu rows and scroll buttons.
#include <gtest/gtest.h>

#include "core/arrow_geometry.h"

using core::ArrowCorners;
using core::ArrowDirection;
using core::Point;

TEST(ArrowGeometry, SizeOfTheSubMenuArrowRoundsHalvesToEven) {
    EXPECT_EQ(core::SubMenuArrowFor(0, 0, 100, 20).size, 2);   // 2.5 -> 2
    EXPECT_EQ(core::SubMenuArrowFor(0, 0, 100, 22).size, 3);   // 2.75 -> 3
    EXPECT_EQ(core::SubMenuArrowFor(0, 0, 100, 28).size, 4);   // 3.5 -> 4
    EXPECT_EQ(core::SubMenuArrowFor(0, 0, 100, 36).size, 4);   // 4.5 -> 4
    EXPECT_EQ(core::SubMenuArrowFor(0, 0, 100, 44).size, 6);   // 5.5 -> 6
    EXPECT_EQ(core::DivideRoundHalfEven(-20, 8), -2);
    EXPECT_EQ(core::DivideRoundHalfEven(-28, 8), -4);
    EXPECT_EQ(core::DivideRoundHalfEven(-21, 8), -3);
}

TEST(ArrowGeometry, SubMenuArrowSitsCentredAtTheRowsRightEnd) {
    const int left = 3, top = 40, right = 150;
    const auto arrow = core::SubMenuArrowFor(left, top, right, top + 20);
    const auto c = ArrowCorners(ArrowDirection::Right, arrow.size, arrow.origin.x, arrow.origin.y);
    EXPECT_EQ(c[0], (Point{right - 10, top + 8}));
    EXPECT_EQ(c[1], (Point{right - 8, top + 10}));
    EXPECT_EQ(c[2], (Point{right - 10, top + 12}));

    // Odd leftovers: h = 23, s = 3, a = 8 (truncated); the tip is on the middle line.
    const auto odd = core::SubMenuArrowFor(0, 0, 100, 23);
    EXPECT_EQ(odd.size, 3);
    EXPECT_EQ(odd.origin, (Point{100 - 8 - 3, 8}));
}

TEST(ArrowGeometry, ScrollButtonArrowsPointTheirWayFromTheSamePlace) {
    const auto arrow = core::ScrollArrowFor(100, 20);
    EXPECT_EQ(arrow.size, 5);
    const auto up = ArrowCorners(ArrowDirection::Up, arrow.size, arrow.origin.x, arrow.origin.y);
    EXPECT_EQ(up[0], (Point{48, 12}));
    EXPECT_EQ(up[1], (Point{53, 7}));
    EXPECT_EQ(up[2], (Point{58, 12}));
    const auto down = ArrowCorners(ArrowDirection::Down, arrow.size, arrow.origin.x, arrow.origin.y);
    EXPECT_EQ(down[0], (Point{48, 7}));
    EXPECT_EQ(down[1], (Point{53, 12}));
    EXPECT_EQ(down[2], (Point{58, 7}));
}
