#include <gtest/gtest.h>

#include "navigator/gps/motion_display.h"
#include "navigator/gps/update_position.h"

namespace tarvok::gps {
namespace {

TEST(TimeRule, HourOffsetWrapsPastMidnight) {
    EXPECT_EQ(timeText("230533", 2), "1:05:33");
    EXPECT_EQ(timeText("090533", 0), "9:05:33");
    EXPECT_EQ(timeText("000000", 0), "0:00:00");
    EXPECT_EQ(timeText("215959.123", 2), "23:59:59");
    EXPECT_EQ(timeText("", 2), "");
}

TEST(DegreesRule, ClassicAndModernWidths) {
    struct Case {
        const char* field;
        const char* shown;
    } cases[] = {
        {"5200.00", "52,00001"},    // whole degrees: 0.00001
        {"5230.00", "52,50000"},    // padded to eight characters
        {"4807.038", "48,11730"},   // 7.038 / 60 = 0.1173
        {"5212.34", "52,2056666666667"},
        {"00421.10", "4,35166666666667"},
        {"01131.000", "11,5166666666667"},
        {"12000.00", "120,00001"},
        {"5212.34567", "52,2057611666667"},  // five minute decimals are kept
        {"", "00,00000"},           // void sentence: empty field
        {"xx12.34", "00,00000"},
        {"5212", "52,20000"},        // no point: whole minutes
        {"36000.0000", "360,00001"},  // garbage stays garbage, for UpdatePosition to refuse
        {"8960.000000", "90,00000"},  // 60 minutes: whole degrees keep the comma
    };
    for (const Case& c : cases)
        EXPECT_EQ(degreesText(c.field), c.shown) << c.field;
}

TEST(SpeedRule, UnitsPaddingAndCap) {
    std::string smode = "?";
    EXPECT_EQ(speedText("022.4", '1', smode), "041");
    EXPECT_EQ(smode, "kmh");
    EXPECT_EQ(speedText("022.4", '2', smode), "025");  // 25.78 mph
    EXPECT_EQ(smode, "mph");
    EXPECT_EQ(speedText("022.4", '3', smode), "022");
    EXPECT_EQ(smode, "kts");
    EXPECT_EQ(speedText("999.0", '1', smode), "000");  // 1850 does not fit
    EXPECT_EQ(speedText("539.0", '1', smode), "998");
    EXPECT_EQ(speedText("0.02", '1', smode), "000");
    EXPECT_EQ(speedText("", '1', smode), "000");
    EXPECT_EQ(speedText("5.5", '3', smode), "005");
    EXPECT_EQ(speedText("100.0", '2', smode), "115");  // 1.150779 mph per knot
    EXPECT_EQ(speedText("1e300", '1', smode), "000");
    smode = "kmh";
    EXPECT_EQ(speedText("022.4", '9', smode), "022,4");  // unknown unit: as received
    EXPECT_EQ(smode, "kmh");
}

TEST(CourseRule, RoundingAndCompassPoints) {
    EXPECT_EQ(courseValue("084.5"), 84);
    EXPECT_EQ(courseValue("085.5"), 86);
    EXPECT_EQ(courseValue("077.52"), 78);
    EXPECT_EQ(courseValue(""), 0);
    EXPECT_EQ(courseValue("abc"), 0);
    EXPECT_EQ(courseText(7), "007");
    EXPECT_EQ(courseText(84), "084");
    EXPECT_EQ(courseText(359), "359");
    struct {
        int course;
        const char* point;
    } table[] = {{0, " N"},   {21, " N"},  {22, "NO"},  {66, "NO"},  {67, " O"},  {111, " O"},
                 {112, "ZO"}, {156, "ZO"}, {157, " Z"}, {201, " Z"}, {202, "ZW"}, {246, "ZW"},
                 {247, " W"}, {291, " W"}, {292, "NW"}, {336, "NW"}, {337, " N"}, {359, " N"}};
    for (auto c : table) EXPECT_EQ(compassText(c.course), c.point) << c.course;
}

TEST(DateRule, CenturyFromTheYear) {
    EXPECT_EQ(dateText("230394"), "23-03-1994");
    EXPECT_EQ(dateText("010180"), "01-01-1980");
    EXPECT_EQ(dateText("311279"), "31-12-2079");
    EXPECT_EQ(dateText("241011"), "24-10-2011");
    EXPECT_EQ(dateText(""), "");
}

TEST(ShowRmc, VoidSentenceShowsZerosAndKeepsTimeAndDate) {
    MotionDisplay d;
    d.datum = "01-01-2024";
    RmcFields f{"", "V", "", "", "", "", "", "", ""};
    showRmc(f, DisplaySettings{0, '1'}, d);
    EXPECT_EQ(d.tijds, "00:00:00");
    EXPECT_EQ(d.datum, "01-01-2024");
    EXPECT_EQ(d.latid, "00,00000");
    EXPECT_EQ(d.longi, "00,00000");
    EXPECT_EQ(d.speed, "000");
    EXPECT_EQ(d.koers, "000");
    EXPECT_EQ(d.windr, " N");
}

map::MapCalibration delft() {
    map::MapCalibration m;
    m.width = 1000;
    m.height = 800;
    m.edges = {52.1, 51.9, 4.2, 4.5};
    return m;
}

TEST(PlacePosition, OnTheMapAndHemispheres) {
    MotionDisplay d;
    d.latid = "52,00001";
    d.longi = "4,35";
    map::PixelPosition p{7, 7};
    PlacedPosition r = placePosition(d, delft(), p, '0');
    EXPECT_EQ(r.outcome, PositionOutcome::OnMap);
    EXPECT_EQ(d.nsText, "N");
    EXPECT_EQ(d.ewText, "E");
    EXPECT_EQ(p, (map::PixelPosition{500, 401}));  // (52.1 - 52.00001) / 0.2 x 800 + 1
    // "Z" is south, as "S" is.
    d.nsText = "Z";
    r = placePosition(d, delft(), p, '1');
    EXPECT_EQ(r.outcome, PositionOutcome::OutOfRange);
    EXPECT_DOUBLE_EQ(r.latitude, -52.00001);
    EXPECT_TRUE(r.startMapSearch);
    EXPECT_FALSE(r.beep);
}

TEST(PlacePosition, EastOfTheMapWithSearchOffBeeps) {
    MotionDisplay d;
    d.latid = "52";
    d.longi = "4,6";
    d.ewText = "E";
    map::PixelPosition p{7, 7};
    PlacedPosition r = placePosition(d, delft(), p, '0');
    EXPECT_EQ(r.outcome, PositionOutcome::OutOfRange);
    EXPECT_TRUE(r.beep);
    EXPECT_FALSE(r.startMapSearch);
    EXPECT_EQ(p.x, 0);
    // West of Greenwich is negative.
    d.ewText = "W";
    d.longi = "4,3";
    r = placePosition(d, delft(), p, '0');
    EXPECT_DOUBLE_EQ(r.longitude, -4.3);
    EXPECT_EQ(r.outcome, PositionOutcome::OutOfRange);
}

TEST(PlacePosition, UnreadableAndTooLarge) {
    MotionDisplay d;
    d.latid = " ";
    d.longi = "abc";
    map::PixelPosition p{7, 7};
    placePosition(d, delft(), p, '0');
    EXPECT_EQ(d.latid, "0");
    EXPECT_EQ(d.longi, "0");
    d.latid = "361";
    d.nsText = "";
    p = {7, 7};
    EXPECT_EQ(placePosition(d, delft(), p, '1').outcome, PositionOutcome::Unusable);
    EXPECT_EQ(p, (map::PixelPosition{7, 7}));
    EXPECT_EQ(d.nsText, "");
}

}  // namespace
}  // namespace tarvok::gps
