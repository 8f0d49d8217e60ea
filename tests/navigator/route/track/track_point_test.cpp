#include <gtest/gtest.h>

#include "navigator/route/track/track_point.h"
#include "tests/navigator/route/track/track_test_lines.h"

namespace tarvok {
namespace {

using test::trkLine;
using test::txtLine;

TEST(TrackPoint, FormatByTheFileNameEnding) {
    EXPECT_EQ(trackFormatForName("/home/u/TRACK.trk"), TrackFormat::TrackFile);
    EXPECT_EQ(trackFormatForName("/home/u/export.txt"), TrackFormat::Text);
    // Only a lower-case "txt" is the text export; upper case reads as a track file.
    EXPECT_EQ(trackFormatForName("/home/u/EXPORT.TXT"), TrackFormat::TrackFile);
    EXPECT_EQ(trackFormatForName("/home/u/Exporttxt"), TrackFormat::Text);
    EXPECT_EQ(trackFormatForName("/home/u/Current.gpx"), TrackFormat::Gpx);
    EXPECT_EQ(trackFormatForName("/home/u/CURRENT.GPX"), TrackFormat::Gpx);
    EXPECT_EQ(trackFormatForName("gpx"), TrackFormat::TrackFile);
}

TEST(TrackPoint, TrackFileColumns) {
    auto p = trackPointFromLine(trkLine(), TrackFormat::TrackFile);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->nsText, "N");
    EXPECT_EQ(p->latid, "52,2187241666667");  // 52 + 13.12345 / 60
    EXPECT_EQ(p->ewText, "E");
    EXPECT_EQ(p->longi, "4,9020575");  // 4 + 54.12345 / 60
    EXPECT_EQ(p->datum, "23 MAR'94");
    EXPECT_EQ(p->tijds, "12:34:56");

    auto south = trackPointFromLine(trkLine("S3352.00000", "W15112.30000"), TrackFormat::TrackFile);
    ASSERT_TRUE(south);
    EXPECT_EQ(south->nsText, "S");
    EXPECT_EQ(south->latid, "33,8666666666667");
    EXPECT_EQ(south->ewText, "W");
    EXPECT_EQ(south->longi, "151,205");
}

TEST(TrackPoint, TrackFileZeroTexts) {
    auto p = trackPointFromLine(trkLine("N52xx.12345", "E004  .     "), TrackFormat::TrackFile);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->latid, "00,0000000");
    EXPECT_EQ(p->longi, "000,000000");
    // A point line cut short: missing columns are empty text.
    auto shortLine = trackPointFromLine("\nT  N5213.1", TrackFormat::TrackFile);
    ASSERT_TRUE(shortLine);
    EXPECT_EQ(shortLine->latid, "52,0000218333333");  // minute digits "131" read as they are
    EXPECT_EQ(shortLine->ewText, "");
    EXPECT_EQ(shortLine->longi, "000,000000");
    EXPECT_EQ(shortLine->datum, " '");
    EXPECT_EQ(shortLine->tijds, "::");
}

TEST(TrackPoint, TextExportColumns) {
    auto p = trackPointFromLine(txtLine(), TrackFormat::Text);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->latid, "52,1234567");
    EXPECT_EQ(p->longi, "04,7654321");
    EXPECT_EQ(p->nsText, "N");
    EXPECT_EQ(p->ewText, "E");
    EXPECT_EQ(p->datum, "23-03-1994");
    EXPECT_EQ(p->tijds, "12:34:56");

    auto bad = trackPointFromLine(txtLine("ab.cdefghi", ""), TrackFormat::Text);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->latid, "00,00000000");
    EXPECT_EQ(bad->longi, "000,00000000");
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
    for (std::string garbage : std::vector<std::string>{"", "\n", "\r", "\nH  SOFTWARE NAME & VERSION\r", "\nt  lower case\r",
                                std::string("\n\0T\xff\xfe", 5)})
        EXPECT_FALSE(trackPointFromLine(garbage, TrackFormat::TrackFile)) << garbage;
    EXPECT_FALSE(trackPointFromLine(trkLine(), TrackFormat::Gpx));
}

}  // namespace
}  // namespace tarvok
