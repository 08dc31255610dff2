#include "core/drag_threshold.h"

#include <gtest/gtest.h>

namespace {

TEST(DragThreshold, APressStaysAClickInsideTheRectangleOnEitherSide) {
    // Windows' default metrics are 4 by 4 pixels.
    EXPECT_FALSE(core::PastDragThreshold(0, 0, 4, 4));
    EXPECT_FALSE(core::PastDragThreshold(4, -4, 4, 4));
    EXPECT_FALSE(core::PastDragThreshold(-4, 4, 4, 4));
    for (auto [dx, dy] : {std::pair{5, 0}, {-5, 0}, {0, 5}, {0, -5}, {5, 5}})
        EXPECT_TRUE(core::PastDragThreshold(dx, dy, 4, 4)) << dx << "," << dy;
    // Each axis against its own metric (a scaled system has larger ones).
    EXPECT_FALSE(core::PastDragThreshold(6, 2, 6, 2));
    EXPECT_TRUE(core::PastDragThreshold(6, 3, 6, 2));
}

}  // namespace
