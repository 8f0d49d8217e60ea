#include <gtest/gtest.h>

#include <sstream>

#include "navigator/route/track/track_lines.h"

namespace tarvok {
namespace {

std::vector<std::string> cut(const std::string& bytes) {
    std::istringstream in(bytes);
    TrackLineReader reader(in);
    std::vector<std::string> lines;
    while (reader.next()) lines.emplace_back(reader.line());
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.count(), lines.size());
    return lines;
}

using Lines = std::vector<std::string>;

TEST(TrackLines, CutAtCarriageReturnWithThePreviousLineFeedInFront) {
    EXPECT_EQ(cut("H1\r\nT2\r\nT3\r\n"), (Lines{"H1\r", "\nT2\r", "\nT3\r"}));
}

TEST(TrackLines, LastLineWithoutCarriageReturnIsRead) {
    EXPECT_EQ(cut("H1\r\nT2"), (Lines{"H1\r", "\nT2"}));
    // A short file is read whole: nothing of its last 100 characters is lost.
    EXPECT_EQ(cut("a\r\nb\r\n"), (Lines{"a\r", "\nb\r"}));
}

TEST(TrackLines, EmptyFileHasNoLines) {
    EXPECT_EQ(cut(""), Lines{});
    EXPECT_EQ(cut("\r\n"), (Lines{"\r"}));
}

TEST(TrackLines, BareLineFeedsGiveTheSameColumns) {
    // A file with Unix line ends: each line still begins with a line feed.
    EXPECT_EQ(cut("H1\nT2\nT3\n"), (Lines{"H1", "\nT2", "\nT3"}));
    EXPECT_EQ(cut("\n\nT\n"), (Lines{"\n", "\nT"}));
    // Carriage returns alone: the lines after the first begin with no line feed.
    EXPECT_EQ(cut("a\rb\r"), (Lines{"a\r", "b\r"}));
}

TEST(TrackLines, LongLinesAreCutShortButCountedOnce) {
    std::string longLine(100000, 'x');
    auto lines = cut("T" + longLine + "\r\nT2\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), TrackLineReader::kLineKept);
    EXPECT_EQ(lines[1], "\nT2\r");
}

TEST(TrackLines, LinesAcrossReadPiecesStayWhole) {
    // Lines of 47 characters never line up with the reader's pieces.
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += "T" + std::string(44, char('a' + i % 26)) + "\r\n";
    auto lines = cut(bytes);
    ASSERT_EQ(lines.size(), 5000u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], "\nT" + std::string(44, char('a' + i % 26)) + "\r") << i;
}

TEST(TrackLines, ColumnsPastTheEndAreEmpty) {
    EXPECT_EQ(lineColumns("\nT  N52", 5, 3), "N52");
    EXPECT_EQ(lineColumns("\nT  N52", 6, 10), "52");
    EXPECT_EQ(lineColumns("\nT", 5, 1), "");
    EXPECT_EQ(lineColumns("\nT", 0, 1), "");
}

}  // namespace
}  // namespace tarvok
