#include <gtest/gtest.h>

#include <tuple>

#include "navigator/route/track/track_point.h"
#include "tests/navigator/route/track/track_test_lines.h"

namespace tarvok {
namespace {

using test::trkLine;
using test::txtLine;

// A shown point's six texts, in the order the readouts list them.
auto texts(const TrackPointTexts& p) { return std::tie(p.nsText, p.latid, p.ewText, p.longi, p.datum, p.tijds); }
using Texts = std::tuple<const char*, const char*, const char*, const char*, const char*, const char*>;

TEST(TrackPoint, FormatByTheFileNameEnding) {
    // Only a lower-case "txt" is the text export; upper case reads as a track file.
    for (auto [name, format] : {std::pair{"/home/u/TRACK.trk", TrackFormat::TrackFile},
                                {"/home/u/export.txt", TrackFormat::Text},
                                {"/home/u/EXPORT.TXT", TrackFormat::TrackFile},
                                {"/home/u/Exporttxt", TrackFormat::Text},
                                {"/home/u/Current.gpx", TrackFormat::Gpx},
                                {"/home/u/CURRENT.GPX", TrackFormat::Gpx},
                                {"gpx", TrackFormat::TrackFile}})
        EXPECT_EQ(trackFormatForName(name), format) << name;
}

TEST(TrackPoint, TrackFileColumns) {
    auto p = trackPointFromLine(trkLine(), TrackFormat::TrackFile);
    ASSERT_TRUE(p);
    // 52 + 13.12345 / 60 and 4 + 54.12345 / 60.
    EXPECT_EQ(texts(*p), Texts("N", "52,2187241666667", "E", "4,9020575", "23 MAR'94", "12:34:56"));

    auto south = trackPointFromLine(trkLine("S3352.00000", "W15112.30000"), TrackFormat::TrackFile);
    ASSERT_TRUE(south);
    EXPECT_EQ(texts(*south), Texts("S", "33,8666666666667", "W", "151,205", "23 MAR'94", "12:34:56"));
}

TEST(TrackPoint, TrackFileZeroTexts) {
    auto p = trackPointFromLine(trkLine("N52xx.12345", "E004  .     "), TrackFormat::TrackFile);
    ASSERT_TRUE(p);
    EXPECT_EQ(std::tie(p->latid, p->longi), std::make_tuple("00,0000000", "000,000000"));
    // A point line cut short: missing columns are empty text.
    auto shortLine = trackPointFromLine("\nT  N5213.1", TrackFormat::TrackFile);
    ASSERT_TRUE(shortLine);  // the minute digits "131" are read as they are
    EXPECT_EQ(texts(*shortLine), Texts("N", "52,0000218333333", "", "000,000000", " '", "::"));
}

TEST(TrackPoint, TextExportColumns) {
    auto p = trackPointFromLine(txtLine(), TrackFormat::Text);
    ASSERT_TRUE(p);
    EXPECT_EQ(texts(*p), Texts("N", "52,1234567", "E", "04,7654321", "23-03-1994", "12:34:56"));

    auto bad = trackPointFromLine(txtLine("ab.cdefghi", ""), TrackFormat::Text);
    ASSERT_TRUE(bad);
    EXPECT_EQ(std::tie(bad->latid, bad->longi), std::make_tuple("00,00000000", "000,00000000"));
}

TEST(TrackPoint, UpperCaseTxtFileReadWithTrackColumns) {
    // The same text export line read as a track file gives other texts.
    auto p = trackPointFromLine(txtLine(), trackFormatForName("TRACK.TXT"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->nsText, " ");
    EXPECT_EQ(p->latid, "0,868724166666667");  // "52" and "12345" taken as minute digits
    EXPECT_EQ(p->datum, "1    2'-0");
}

TEST(TrackPoint, OnlyLinesWithTheMarkerAtPositionTwo) {
    // The first line of a file has no line feed in front: its "T" is at 1.
    EXPECT_FALSE(trackPointFromLine("T  N5213.12345 E00454.12345 23-MAR-94 12:34:56\r", TrackFormat::TrackFile));
    EXPECT_TRUE(trackPointFromLine(" T  N5213.12345\r", TrackFormat::TrackFile));
    for (std::string garbage : std::vector<std::string>{"", "\n", "\r", "\nH  SOFTWARE NAME & VERSION\r",
                                                        "\nt  lower case\r", std::string("\n\0T\xff\xfe", 5)})
        EXPECT_FALSE(trackPointFromLine(garbage, TrackFormat::TrackFile)) << garbage;
    EXPECT_FALSE(trackPointFromLine(trkLine(), TrackFormat::Gpx));
}

}  // namespace
}  // namespace tarvok
