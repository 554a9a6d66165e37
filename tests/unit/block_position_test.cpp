#include <gtest/gtest.h>

#include "level/level.h"

TEST(BlockPosition, StaticBlockStandsAtItsCorner) {
    BlockBody body;
    body.x = 100; body.y = 200; body.z = 300;
    BlockCorner corner = blockCornerAt(body, 5);
    EXPECT_EQ(corner.x, 100);
    EXPECT_EQ(corner.z, 300);
}

TEST(BlockPosition, MovingBlockReturnsOnOddLegs) {
    BlockBody body;
    body.x = 0; body.pointX = 1000; body.movePeriod = 1;
    EXPECT_EQ(blockCornerAt(body, 25).x, 500);
    EXPECT_EQ(blockCornerAt(body, 75).x, 500);
    // 1 - 0.2f is just below 0.8 in single precision and the offset truncates.
    EXPECT_EQ(blockCornerAt(body, 60).x, 799);
}
