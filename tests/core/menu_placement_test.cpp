#include "core/menu_placement.h"

#include <gtest/gtest.h>

namespace {

using core::FitVertically;
using core::FlipLeft;
using core::MenuPlacement;
using core::MenuPlacementRequest;
using core::PlaceMenu;
using core::Rect;

// The usual set-up: a 1920x1080 screen with a 40-pixel task bar at the
// bottom, a 3-pixel frame and 22-pixel rows.
const Rect kWork{0, 0, 1920, 1040};
constexpr int kFrame = 3;
constexpr int kRow = 22;

MenuPlacementRequest Root(int x, int y, int rows, int outerWidth = 200) {
    MenuPlacementRequest r;
    r.firstShow = true;
    r.anchorX = x;
    r.anchorY = y;
    r.outerWidth = outerWidth;
    r.frame = kFrame;
    r.rowHeight = kRow;
    r.rowCount = rows;
    r.work = kWork;
    return r;
}

TEST(FitVertically, WindowThatFitsStaysWhereItOpens) {
    auto fit = FitVertically(500, 5, kRow, kFrame, kWork);
    EXPECT_EQ(fit.top, 500);
    EXPECT_EQ(fit.clientHeight, 110);
    EXPECT_FALSE(fit.scrollButtons);
}

TEST(FitVertically, WindowPastTheBottomMovesUpInWholeRows) {
    // 1066 + 6 > 1040: two rows up (26 / 22 rounded up).
    auto fit = FitVertically(1000, 3, kRow, kFrame, kWork);
    EXPECT_EQ(fit.top, 956);
    EXPECT_EQ(fit.clientHeight, 66);
    EXPECT_FALSE(fit.scrollButtons);
    EXPECT_EQ(fit.top + fit.clientHeight + 2 * kFrame, 1028);
}

TEST(FitVertically, OnlyTheFramePassingTheBottomMovesNothing) {
    // The rows end at 1037; only the bottom frame passes 1040, and the rows
    // alone decide how far the window moves.
    auto fit = FitVertically(971, 3, kRow, kFrame, kWork);
    EXPECT_EQ(fit.top, 971);
    EXPECT_EQ(fit.clientHeight, 66);
}

TEST(FitVertically, TallWindowIsCutToWholeRowsInsideTheWorkArea) {
    // 60 rows from 500: up 36 rows to -292, then the 14 rows above the top
    // are cut off: 46 rows from 16 to 1028, with scroll buttons.
    auto fit = FitVertically(500, 60, kRow, kFrame, kWork);
    EXPECT_EQ(fit.top, 16);
    EXPECT_EQ(fit.clientHeight, 1012);
    EXPECT_EQ(fit.clientHeight % kRow, 0);
    EXPECT_TRUE(fit.scrollButtons);
}

TEST(FitVertically, WorkAreaAwayFromTheOriginAndOddSizes) {
    // A monitor above the primary one: work area (-1920, -1200) to (0, -40).
    const Rect upper{-1920, -1200, 0, -40};
    auto fit = FitVertically(-100, 10, 20, 2, upper);
    EXPECT_EQ(fit.top, -240);  // -100 + 200 = 100 past -40 by 140: 7 rows up
    EXPECT_EQ(fit.clientHeight, 200);
    auto tall = FitVertically(-1190, 100, 20, 2, upper);
    EXPECT_GE(tall.top, upper.top);
    EXPECT_LE(tall.top + tall.clientHeight, upper.bottom);
    EXPECT_EQ(tall.clientHeight % 20, 0);
    EXPECT_TRUE(tall.scrollButtons);
}

TEST(FitVertically, DegenerateInputsGiveNoNegativeSizes) {
    // A frame thicker than half a row never moves a window down.
    auto thick = FitVertically(1000, 1, 10, 30, kWork);
    EXPECT_EQ(thick.top, 1000);
    // A work area lower than a row leaves no whole row, never a negative height.
    auto tiny = FitVertically(0, 3, kRow, kFrame, Rect{0, 0, 100, 10});
    EXPECT_GE(tiny.clientHeight, 0);
    EXPECT_TRUE(tiny.scrollButtons);
    // No rows, or no row height (nothing measured): the window stays put.
    EXPECT_EQ(FitVertically(1030, 0, kRow, kFrame, kWork).top, 1030);
    EXPECT_EQ(FitVertically(1030, 3, 0, kFrame, kWork).top, 1030);
    // Huge folders do not overflow.
    auto huge = FitVertically(500, 2000000, 1000, kFrame, kWork);
    EXPECT_GE(huge.top, kWork.top);
    EXPECT_LE(huge.top + huge.clientHeight, kWork.bottom);
}

TEST(FlipLeft, RootFlipsToThePointerChildToItsParent) {
    EXPECT_EQ(FlipLeft(1800, 300, 1920, nullptr), 1500);  // right edge at the pointer
    const int parentLeft = 1500;
    EXPECT_EQ(FlipLeft(1797, 300, 1920, &parentLeft), 1200);  // right edge on the parent
    // Exactly touching the work area's right edge is inside.
    EXPECT_EQ(FlipLeft(1620, 300, 1920, nullptr), 1620);
    // Nothing checks the left edge after a flip.
    EXPECT_EQ(FlipLeft(100, 3000, 1920, nullptr), -2900);
}

TEST(PlaceMenu, RootOpensAtThePointer) {
    EXPECT_EQ(PlaceMenu(Root(100, 500, 5)), (MenuPlacement{100, 500, 110, false}));
    EXPECT_EQ(PlaceMenu(Root(1800, 300, 5, 300)), (MenuPlacement{1500, 300, 110, false}));
    EXPECT_EQ(PlaceMenu(Root(100, 500, 60)), (MenuPlacement{100, 16, 1012, true}));
}

TEST(PlaceMenu, ChildClientAreaLevelWithTheParentRow) {
    MenuPlacementRequest r = Root(520, 244, 4);
    r.child = true;
    r.ownerLeft = 300;
    const MenuPlacement first = PlaceMenu(r);
    EXPECT_EQ(first.left, 520);
    EXPECT_EQ(first.top, 241);  // the frame above the client area
    EXPECT_EQ(first.clientHeight, 88);
}

TEST(PlaceMenu, FlippedChildStaysLeftWhenShownAgain) {
    MenuPlacementRequest r = Root(1797, 400, 4, 300);
    r.child = true;
    r.ownerLeft = 1500;
    const MenuPlacement first = PlaceMenu(r);
    EXPECT_EQ(first.left, 1200);
    // The parent's list has scrolled by two rows: the row, and so the anchor,
    // is 44 pixels higher. Only the top follows; nothing flips again.
    r.firstShow = false;
    r.currentLeft = first.left;
    r.anchorY = 400 - 2 * kRow;
    const MenuPlacement second = PlaceMenu(r);
    EXPECT_EQ(second.left, 1200);
    EXPECT_EQ(second.top, 400 - 2 * kRow - kFrame);
    EXPECT_EQ(second.clientHeight, first.clientHeight);
    // An unflipped child keeps its first left edge too, even if its anchor moved.
    r.currentLeft = 640;
    r.anchorX = 900;
    EXPECT_EQ(PlaceMenu(r).left, 640);
}

}  // namespace
