#include "navigator/gps/needles.h"

#include <gtest/gtest.h>

namespace tarvok::gps {
namespace {

TEST(Needles, SpeedAngleStartsAt25AndPinsAt150) {
    EXPECT_EQ(speedNeedleAngle(0), 25);
    EXPECT_EQ(speedNeedleAngle(1), 27);     // 2.05 -> 2
    EXPECT_EQ(speedNeedleAngle(10), 45);    // 20.5 -> 20
    EXPECT_EQ(speedNeedleAngle(150), 332);  // 307.5 -> 307
    EXPECT_EQ(speedNeedleAngle(200), 332);
    EXPECT_EQ(speedNeedleAngle(-5), 25);
}

TEST(Needles, TipsFollowTheDialGeometry) {
    // 480 x sin 25 = 202.86, 480 x cos 25 = 435.03: down and to the left.
    EXPECT_EQ(speedNeedleTip(0), (DialPoint{517, 1085}));
    // 332 degrees: sin = -0.46947, cos = 0.88295: down and to the right.
    EXPECT_EQ(speedNeedleTip(150), (DialPoint{945, 1074}));
    EXPECT_EQ(speedNeedleTip(999), speedNeedleTip(150));
    EXPECT_EQ(compassNeedleTip(0), (DialPoint{2100, 170}));     // straight up
    EXPECT_EQ(compassNeedleTip(90), (DialPoint{2580, 650}));    // right
    EXPECT_EQ(compassNeedleTip(180), (DialPoint{2100, 1130}));  // down
    EXPECT_EQ(compassNeedleTip(270), (DialPoint{1620, 650}));   // left
}

TEST(Needles, LinesCarryNeedlesAndShadows) {
    auto lines = needleLines(0, 90);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], (NeedleLine{{720, 650}, {517, 1085}, 250, 250, 250}));
    EXPECT_EQ(lines[1], (NeedleLine{{735, 665}, {532, 1100}, 250, 200, 200}));
    EXPECT_EQ(lines[2], (NeedleLine{{2100, 650}, {2580, 650}, 255, 255, 255}));
    EXPECT_EQ(lines[3], (NeedleLine{{2100, 665}, {2580, 665}, 250, 200, 200}));
    EXPECT_EQ(lines[4], (NeedleLine{{2115, 650}, {2595, 650}, 250, 200, 200}));
    EXPECT_EQ(lines[5], (NeedleLine{{2115, 665}, {2595, 665}, 250, 200, 200}));
}

}  // namespace
}  // namespace tarvok::gps
