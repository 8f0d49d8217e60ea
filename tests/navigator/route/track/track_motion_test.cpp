#include <gtest/gtest.h>

#include "navigator/route/track/track_motion.h"

namespace tarvok {
namespace {

TEST(TrackCourse, NorthIsUpOnTheMap) {
    // Pixel rows grow southward: a move up the map heads north.
    EXPECT_EQ(trackCourseDegrees(0, -10), 0);
    EXPECT_EQ(trackCourseDegrees(10, 0), 90);
    EXPECT_EQ(trackCourseDegrees(0, 10), 180);
    EXPECT_EQ(trackCourseDegrees(-10, 0), 270);
    EXPECT_EQ(trackCourseDegrees(0, 0), 0);
    EXPECT_EQ(trackCourseDegrees(10, -10), 45);
    EXPECT_EQ(trackCourseDegrees(10, 10), 135);
    EXPECT_EQ(trackCourseDegrees(-10, 10), 225);
    EXPECT_EQ(trackCourseDegrees(-10, -10), 315);
    // The angle from the north-south line is cut to whole degrees first.
    EXPECT_EQ(trackCourseDegrees(1, -100), 0);     // 0.57 degrees
    EXPECT_EQ(trackCourseDegrees(1, 100), 180);    // 180 - 0
    EXPECT_EQ(trackCourseDegrees(-1, -100), 0);    // 360 - 0 is north again
    EXPECT_EQ(trackCourseDegrees(-2, -100), 359);  // 360 - 1
    EXPECT_EQ(trackCourseDegrees(-2, 100), 181);   // 180 + 1
}

TEST(TrackCourse, CompassTexts) {
    struct Case {
        int course;
        const char* text;
    };
    for (Case c : {Case{0, " N "},
                   {21, " N "},
                   {22, "NO"},
                   {66, "NO"},
                   {67, " O "},
                   {112, "ZO "},
                   {157, " Z "},
                   {201, " Z "},
                   {202, "ZW "},
                   {247, " W "},
                   {292, "NW "},
                   {336, "NW "},
                   {337, " N "},
                   {359, " N "}})
        EXPECT_STREQ(trackCompassText(c.course), c.text) << c.course;
}

TEST(TrackCourse, KeepsDistanceAndPreviousPixel) {
    TrackMotion m;
    m.previousX = 100;
    m.previousY = 100;
    // 22 degrees: tan(22.5) ~ 0.414, so dx 41, dy -100 gives 22.
    auto t = TrackCourse(m, 141, 0);
    EXPECT_EQ(t.course, 22);
    EXPECT_EQ(t.koers, "022");
    EXPECT_EQ(t.windr, "NO");
    EXPECT_EQ(m.pixelDistance, 108);  // sqrt(41^2 + 100^2) = 108.08
    EXPECT_EQ(m.previousX, 141);
    EXPECT_EQ(m.previousY, 0);

    t = TrackCourse(m, 141 + 38, -100);  // arctan(0.38) = 20.8 degrees
    EXPECT_EQ(t.koers, "020");
    EXPECT_EQ(t.windr, " N ");
    t = TrackCourse(m, 179 - 42, -200);  // 360 - 22 = 338
    EXPECT_EQ(t.koers, "338");
    EXPECT_EQ(t.windr, " N ");
    t = TrackCourse(m, 137, -200);
    EXPECT_EQ(t.koers, "000");
    EXPECT_EQ(m.pixelDistance, 0);
    t = TrackCourse(m, 142, -200);
    EXPECT_EQ(t.koers, "090");
    EXPECT_EQ(t.windr, " O ");
}

TEST(TrackSpeed, UnitsFromPixelDistanceOverTime) {
    TrackMotion m;
    m.pixelDistance = 1000;  // metres, one pixel taken as one metre
    m.previousTime = 12 * 3600;
    auto s = TrackSpeed(m, "12:01:00", '1');  // 1000 m in 60 s: 60 km/h
    EXPECT_EQ(s.speed, "060");
    EXPECT_EQ(s.smode, "kmh");
    EXPECT_EQ(m.previousTime, 12 * 3600 + 60);

    m.previousTime = 12 * 3600;
    s = TrackSpeed(m, "12:01:00", '2');  // 60 / 1.609344 = 37.28
    EXPECT_EQ(s.speed, "037");
    EXPECT_EQ(s.smode, "mph");

    m.previousTime = 12 * 3600;
    s = TrackSpeed(m, "12:01:00", '3');  // 60 / 1.852 = 32.4
    EXPECT_EQ(s.speed, "032");
    EXPECT_EQ(s.smode, "kts");

    m.previousTime = 12 * 3600;
    m.pixelDistance = 10;
    s = TrackSpeed(m, "12:00:06", '1');  // 6 km/h
    EXPECT_EQ(s.speed, "006");
}

TEST(TrackSpeed, SameTimeShowsZeroAndKeepsTheUnit) {
    TrackMotion m;
    m.pixelDistance = 500;
    m.previousTime = 3600;
    auto s = TrackSpeed(m, "01:00:00", '1');
    EXPECT_EQ(s.speed, "000");
    EXPECT_FALSE(s.smode);
}

TEST(TrackSpeed, AboveNineHundredNinetyNineShowsZero) {
    TrackMotion m;
    m.pixelDistance = 1000000;
    m.previousTime = 0;
    auto s = TrackSpeed(m, "00:00:01", '1');
    EXPECT_EQ(s.speed, "000");
    EXPECT_EQ(s.smode, "kmh");
}

TEST(TrackSpeed, PastMidnightAndBadTimes) {
    TrackMotion m;
    m.pixelDistance = 100;
    m.previousTime = 23 * 3600 + 59 * 60 + 50;
    auto s = TrackSpeed(m, "00:00:00", '1');  // 100 m in 10 s, never a negative speed
    EXPECT_EQ(s.speed, "036");
    EXPECT_EQ(m.previousTime, 0);

    // An unreadable time counts as 0 seconds, as does a missing one.
    s = TrackSpeed(m, "::", '1');
    EXPECT_EQ(s.speed, "000");
    m.previousTime = 5;
    s = TrackSpeed(m, "", '1');
    EXPECT_EQ(s.speed, "000");  // 86395 s for 100 m
    EXPECT_EQ(s.smode, "kmh");
    // An unknown unit leaves Smode and shows "000".
    m.previousTime = 0;
    s = TrackSpeed(m, "00:00:10", '7');
    EXPECT_EQ(s.speed, "000");
    EXPECT_FALSE(s.smode);
}

}  // namespace
}  // namespace tarvok
