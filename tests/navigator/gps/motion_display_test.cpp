#include <gtest/gtest.h>

#include <tuple>

#include "navigator/gps/motion_display.h"
#include "navigator/gps/update_position.h"

namespace tarvok::gps {
namespace {

TEST(TimeRule, HourOffsetWrapsPastMidnight) {
    for (auto [field, offset, shown] : {std::tuple{"230533", 2, "1:05:33"},
                                        {"090533", 0, "9:05:33"},
                                        {"000000", 0, "0:00:00"},
                                        {"215959.123", 2, "23:59:59"},
                                        {"", 2, ""}})
        EXPECT_EQ(timeText(field, offset), shown) << field << " + " << offset;
}

TEST(DegreesRule, ClassicAndModernWidths) {
    struct Case {
        const char* field;
        const char* shown;
    } cases[] = {
        {"5200.00", "52,00001"},   // whole degrees: 0.00001
        {"5230.00", "52,50000"},   // padded to eight characters
        {"4807.038", "48,11730"},  // 7.038 / 60 = 0.1173
        {"5212.34", "52,2056666666667"},
        {"00421.10", "4,35166666666667"},
        {"01131.000", "11,5166666666667"},
        {"12000.00", "120,00001"},
        {"5212.34567", "52,2057611666667"},  // five minute decimals are kept
        {"", "00,00000"},                    // void sentence: empty field
        {"xx12.34", "00,00000"},
        {"5212", "52,20000"},         // no point: whole minutes
        {"36000.0000", "360,00001"},  // garbage stays garbage, for UpdatePosition to refuse
        {"8960.000000", "90,00000"},  // 60 minutes: whole degrees keep the comma
    };
    for (const Case& c : cases) EXPECT_EQ(degreesText(c.field), c.shown) << c.field;
}

TEST(SpeedRule, UnitsPaddingAndCap) {
    // 22.4 knots are 25.78 mph; 999 knots (1850 km/h) do not fit; 1.150779 mph
    // a knot; an unknown unit shows the speed as received, its unit box kept.
    struct Row {
        const char* knots;
        char unit;
        const char* shown;
        const char* smode;
    } rows[] = {
        {"022.4", '1', "041", "kmh"}, {"022.4", '2', "025", "mph"}, {"022.4", '3', "022", "kts"},
        {"999.0", '1', "000", "kmh"}, {"539.0", '1', "998", "kmh"}, {"0.02", '1', "000", "kmh"},
        {"", '1', "000", "kmh"},      {"5.5", '3', "005", "kts"},   {"100.0", '2', "115", "mph"},
        {"1e300", '1', "000", "kmh"}, {"022.4", '9', "022,4", "?"},
    };
    for (const Row& r : rows) {
        std::string smode = "?";
        EXPECT_EQ(speedText(r.knots, r.unit, smode), r.shown) << r.knots << " unit " << r.unit;
        EXPECT_EQ(smode, r.smode) << r.knots << " unit " << r.unit;
    }
}

TEST(CourseRule, RoundingAndCompassPoints) {
    for (auto [field, value] : {std::pair{"084.5", 84}, {"085.5", 86}, {"077.52", 78}, {"", 0}, {"abc", 0}})
        EXPECT_EQ(courseValue(field), value) << field;
    for (auto [value, text] : {std::pair{7, "007"}, {84, "084"}, {359, "359"}}) EXPECT_EQ(courseText(value), text);
    struct {
        int course;
        const char* point;
    } table[] = {{0, " N"},   {21, " N"},  {22, "NO"},  {66, "NO"},  {67, " O"},  {111, " O"},
                 {112, "ZO"}, {156, "ZO"}, {157, " Z"}, {201, " Z"}, {202, "ZW"}, {246, "ZW"},
                 {247, " W"}, {291, " W"}, {292, "NW"}, {336, "NW"}, {337, " N"}, {359, " N"}};
    for (auto c : table) EXPECT_EQ(compassText(c.course), c.point) << c.course;
}

TEST(DateRule, CenturyFromTheYear) {
    for (auto [field, shown] : {std::pair{"230394", "23-03-1994"},
                                {"010180", "01-01-1980"},
                                {"311279", "31-12-2079"},
                                {"241011", "24-10-2011"},
                                {"", ""}})
        EXPECT_EQ(dateText(field), shown) << field;
}

TEST(ShowRmc, VoidSentenceShowsZerosAndKeepsTimeAndDate) {
    MotionDisplay d;
    d.datum = "01-01-2024";
    RmcFields f{"", "V", "", "", "", "", "", "", ""};
    showRmc(f, DisplaySettings{0, '1'}, d);
    EXPECT_EQ(std::tie(d.tijds, d.datum, d.latid, d.longi, d.speed, d.koers, d.windr),
              std::make_tuple("00:00:00", "01-01-2024", "00,00000", "00,00000", "000", "000", " N"));
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
    EXPECT_EQ(std::tie(r.outcome, d.nsText, d.ewText), std::make_tuple(PositionOutcome::OnMap, "N", "E"));
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
    EXPECT_EQ(std::tie(d.latid, d.longi), std::make_tuple("0", "0"));
    d.latid = "361";
    d.nsText = "";
    p = {7, 7};
    EXPECT_EQ(placePosition(d, delft(), p, '1').outcome, PositionOutcome::Unusable);
    EXPECT_EQ(p, (map::PixelPosition{7, 7}));
    EXPECT_EQ(d.nsText, "");
}

}  // namespace
}  // namespace tarvok::gps
