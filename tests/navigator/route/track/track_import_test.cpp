#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <sstream>
#include <streambuf>
#include <tuple>

#include "navigator/route/track/track_gpx.h"
#include "navigator/route/track/track_import.h"
#include "navigator/route/track/track_texts.h"
#include "tests/navigator/route/track/track_test_lines.h"
#include "tests/support/temp_prefix.h"

namespace tarvok {
namespace {

using Kind = TrackStep::Kind;
using test::trkLine;
using test::txtLine;

// What the import shows, a step at a time: the time of each shown point, and
// how the track ended.
struct Shown {
    std::vector<std::string> times;
    Kind end = Kind::End;
    std::string error;
    std::size_t steps = 0;
};

Shown run(TrackImport& import, int thinning) {
    Shown shown;
    for (;;) {
        TrackStep s = import.step(thinning);
        ++shown.steps;
        if (s.kind == Kind::Point) shown.times.push_back(s.point.tijds);
        if (s.kind == Kind::End || s.kind == Kind::Error) {
            shown.end = s.kind;
            shown.error = s.error;
            // The end stays the end.
            EXPECT_EQ(import.step(thinning).kind, s.kind);
            return shown;
        }
    }
}

Shown runText(const std::string& bytes, TrackFormat format, int thinning) {
    std::istringstream in(bytes);
    TrackImport import(std::make_unique<TextTrackSource>(in, format));
    return run(import, thinning);
}

std::string time(int i) {
    std::string s = std::to_string(i);
    return "00:00:" + std::string(2 - s.size(), '0') + s;
}

// A header line, then point lines with the times 00:00:01.. and a line that
// is not a point after every second point.
std::string sixPointTrack() {
    std::string t = "H  SOFTWARE NAME & VERSION\r";
    for (int i = 1; i <= 6; ++i) {
        t += trkLine("N5213.12345", "E00454.12345", "23-MAR-94", time(i));
        if (i % 2 == 0) t += "\nH  not a point\r";
    }
    return t + "\n";
}

TEST(TrackImport, ThinningCountsEveryLine) {
    using V = std::vector<std::string>;
    const V all{time(1), time(2), time(3), time(4), time(5), time(6)};
    EXPECT_EQ(runText(sixPointTrack(), TrackFormat::TrackFile, 0).times, all);
    EXPECT_EQ(runText(sixPointTrack(), TrackFormat::TrackFile, 1).times, all);
    // Lines: 1 H, 2 T1, 3 T2, 4 H, 5 T3, 6 T4, 7 H, 8 T5, 9 T6, 10 H.
    // At 3 the 3rd, 6th and 9th lines are looked at.
    EXPECT_EQ(runText(sixPointTrack(), TrackFormat::TrackFile, 3).times, (V{time(2), time(4), time(6)}));
    EXPECT_EQ(runText(sixPointTrack(), TrackFormat::TrackFile, 4).times, (V{time(5)}));  // lines 4 and 8
}

TEST(TrackImport, ThinningMayChangeWhileRunning) {
    std::istringstream in(sixPointTrack());
    TrackImport import(std::make_unique<TextTrackSource>(in, TrackFormat::TrackFile));
    EXPECT_EQ(import.step(1).kind, Kind::Skipped);  // the header
    EXPECT_EQ(import.step(1).kind, Kind::Point);
    EXPECT_EQ(import.step(2).kind, Kind::Skipped);  // T2: first line of two
    EXPECT_EQ(import.step(2).kind, Kind::Skipped);  // H
    EXPECT_EQ(import.step(0).kind, Kind::Point);    // T3
}

TEST(TrackImport, EveryLineIsOneStep) {
    Shown s = runText(sixPointTrack(), TrackFormat::TrackFile, 1);
    EXPECT_EQ(s.steps, 10u + 1u);  // ten lines, then the end
    EXPECT_EQ(s.end, Kind::End);
}

TEST(TrackImport, FirstLineMarkerAtColumnOneIsNotAPoint) {
    std::string track = "T  N5213.12345 E00454.12345 23-MAR-94 00:00:01\r" +
                        trkLine("N5213.12345", "E00454.12345", "23-MAR-94", time(2));
    EXPECT_EQ(runText(track, TrackFormat::TrackFile, 1).times, std::vector<std::string>{time(2)});
}

TEST(TrackImport, ShortFilesAndTheLastLineAreShown) {
    // Both far shorter than 100 characters, the last without a line end.
    std::string track = trkLine("N5213.12345", "E00454.12345", "23-MAR-94", time(1));
    EXPECT_EQ(runText(track, TrackFormat::TrackFile, 1).times, std::vector<std::string>{time(1)});
    track.pop_back();
    EXPECT_EQ(runText("\r" + track, TrackFormat::TrackFile, 1).times, std::vector<std::string>{time(1)});
    Shown empty = runText("", TrackFormat::TrackFile, 1);
    EXPECT_TRUE(empty.times.empty());
    EXPECT_EQ(empty.end, Kind::End);
    EXPECT_EQ(empty.steps, 1u);
}

TEST(TrackImport, GarbageIsSkippedNotAnError) {
    std::string garbage;
    for (int i = 0; i < 256; ++i) garbage.push_back(static_cast<char>(i));
    garbage += std::string(5000, '\xff') + "\r\n\r\n\r\nTTTT\r\n\n\n\r\r";
    Shown s = runText(garbage + txtLine() + "\n" + garbage, TrackFormat::Text, 1);
    EXPECT_EQ(s.end, Kind::End);
    EXPECT_EQ(s.times, std::vector<std::string>({"", "12:34:56", ""}));  // the "TTTT" lines too
}

TEST(TrackImport, RealFilesByTheirNames) {
    test::TempPrefix tmp;
    const auto dir = tmp.root();
    test::writeFile(dir / "TRACK.TXT", sixPointTrack());
    test::writeFile(dir / "export.txt", txtLine() + txtLine("52.0000000", "05.0000000", "24-03-1994", "08:00:00"));
    for (auto [name, expected] : {std::pair{"TRACK.TXT", 6u}, std::pair{"export.txt", 2u}}) {
        const std::string path = (dir / name).string();
        auto source = openTrackFile(path, path, 0);
        ASSERT_TRUE(source) << name;
        TrackImport import(std::move(source));
        EXPECT_EQ(run(import, 0).times.size(), expected) << name;
    }
    EXPECT_FALSE(openTrackFile((dir / "missing.trk").string(), "missing.trk", 0));
    EXPECT_FALSE(openTrackFile(dir.string(), "folder.trk", 0));
    EXPECT_FALSE(openTrackFile((dir / "missing.gpx").string(), "missing.gpx", 0));
}

// An endless supply of point lines, made as they are read, so a long track
// needs no memory of its own.
class GeneratedTrack : public std::streambuf {
public:
    explicit GeneratedTrack(std::size_t lines)
        : left_(lines), line_(trkLine("N5213.12345", "E00454.12345", "23-MAR-94", "12:34:56").substr(1) + "\n") {}

protected:
    int_type underflow() override {
        if (left_ == 0) return traits_type::eof();
        --left_;
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(line_[0]);
    }

private:
    std::size_t left_;
    std::string line_;
};

// Peak memory growth says nothing under AddressSanitizer, whose allocator
// keeps freed memory in quarantine.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakGrowthLimitKilobytes = 1L << 40;
#else
constexpr long kPeakGrowthLimitKilobytes = 8 * 1024;
#endif

long peakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

TEST(TrackImport, MillionLineTrackInBoundedMemory) {
    // 1,000,000 lines are about 50 MB; the import keeps a piece and a line.
    const std::size_t lines = 1000000;
    GeneratedTrack track(lines);
    std::istream in(&track);
    TrackImport import(std::make_unique<TextTrackSource>(in, TrackFormat::TrackFile));
    const long before = peakKilobytes();
    std::size_t points = 0;
    TrackStep last;
    for (std::size_t steps = 0; steps <= lines + 1; ++steps) {
        TrackStep s = import.step(10);
        if (s.kind == Kind::Point) {
            ++points;
            last = s;
        }
        if (s.kind == Kind::End) break;
    }
    EXPECT_EQ(points, lines / 10);
    EXPECT_EQ(last.point.latid, "52,2187241666667");
    EXPECT_EQ(import.step(10).kind, Kind::End);
    EXPECT_LT(peakKilobytes() - before, kPeakGrowthLimitKilobytes);
}

std::string gpx(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           body + "</gpx>\n";
}

Shown runGpx(const std::string& bytes, int hourOffset = 0, int thinning = 1) {
    std::istringstream in(bytes);
    TrackImport import(std::make_unique<GpxTrackSource>(in, hourOffset));
    return run(import, thinning);
}

TEST(TrackGpx, TwoSegmentsInFileOrder) {
    const std::string file =
        gpx("<metadata><time>2024-01-01T00:00:00Z</time></metadata>\n"
            "<wpt lat=\"1\" lon=\"1\"><time>2024-01-01T01:00:00Z</time></wpt>\n"
            "<trk><name>Drive &amp; back</name><trkseg>\n"
            " <trkpt lat=\"52.5\" lon=\"4.25\"><ele>3.2</ele><time>2024-05-01T12:00:01Z</time></trkpt>\n"
            " <trkpt lat='52.6' lon='4.3'><time>2024-05-01T12:00:02.750Z</time>"
            "<extensions><x:e xmlns:x=\"urn:x\"><x:time>ignored</x:time></x:e></extensions></trkpt>\n"
            "</trkseg><trkseg>\n"
            " <trkpt lat=\"-33.5\" lon=\"-151.25\"><time><![CDATA[2024-05-01T12:30:00Z]]></time></trkpt>\n"
            "</trkseg></trk>\n");
    std::istringstream in(file);
    TrackImport import(std::make_unique<GpxTrackSource>(in, 2));
    TrackStep a = import.step(1), b = import.step(1), c = import.step(1);
    ASSERT_EQ(a.kind, Kind::Point);
    EXPECT_EQ(a.point, (TrackPointTexts{"14:00:01", "01-05-2024", "52,5", "4,25", "N", "E"}));
    ASSERT_EQ(b.kind, Kind::Point);
    EXPECT_EQ(std::tie(b.point.tijds, b.point.latid), std::make_tuple("14:00:02", "52,6"));
    ASSERT_EQ(c.kind, Kind::Point);
    EXPECT_EQ(c.point, (TrackPointTexts{"14:30:00", "01-05-2024", "33,5", "151,25", "S", "W"}));
    EXPECT_EQ(import.step(1).kind, Kind::End);

    // Thinning counts the points.
    EXPECT_EQ(runGpx(file, 0, 2).times, std::vector<std::string>{"12:00:02"});
}

TEST(TrackGpx, PointTexts) {
    // Zones: UTC-based times get the hour offset, local times stay as written.
    // Zones: UTC-based times get the hour offset, local times stay as written;
    // a time that cannot be read leaves both texts empty.
    struct Row {
        const char* time;
        int hourOffset;
        const char* tijds;
        const char* datum;
    } rows[] = {
        {"2024-12-31T23:30:00Z", 1, "00:30:00", "01-01-2025"},
        {"2024-03-01T00:30:00+02:00", 0, "22:30:00", "29-02-2024"},
        {"2024-03-01T09:15:07", 5, "09:15:07", "01-03-2024"},
        {" 2024-03-01T09:15:07.5-01:30 ", 0, "10:45:07", "01-03-2024"},
        {"", 0, "", ""},
        {"yesterday", 0, "", ""},
        {"2024-13-01T00:00:00Z", 0, "", ""},
        {"2024-01-01T00:00:00Q", 0, "", ""},
        {"2024-01-01", 0, "", ""},
    };
    for (const Row& r : rows) {
        const TrackPointTexts p = gpxPointTexts("1", "2", r.time, r.hourOffset);
        EXPECT_EQ(std::tie(p.tijds, p.datum), std::make_tuple(r.tijds, r.datum)) << r.time;
    }
    // Coordinates that are no numbers get the zero texts.
    TrackPointTexts p = gpxPointTexts("north", "", "", 0);
    EXPECT_EQ(std::tie(p.latid, p.nsText, p.longi, p.ewText), std::make_tuple("00,00000000", "N", "000,00000000", "E"));
    p = gpxPointTexts("-0.000001", "179.9999999", "", 0);
    EXPECT_EQ(std::tie(p.latid, p.nsText), std::make_tuple("0,000001", "S"));
}

TEST(TrackGpx, MalformedFilesGiveAClearError) {
    struct Case {
        std::string bytes;
        std::size_t points;
        const char* says;
    };
    const std::string one = "<trk><trkseg><trkpt lat=\"1\" lon=\"2\"></trkpt>";
    for (const Case& c :
         {Case{"", 0, "no GPX document"}, Case{"just text", 0, ""},
          Case{"<?xml version=\"1.0\"?><kml><trkpt lat=\"1\" lon=\"2\"/></kml>", 0, "not a GPX file"},
          Case{gpx(one + "<trkpt lat=\"3\" lon=\"4\"></trk>"), 1, "line 3"},
          Case{gpx(one).substr(0, gpx(one).find("</trkpt>") + 9), 1, "ends before"},
          Case{gpx(one + "</trkseg></trk>") + "<gpx/>", 1, ""}, Case{std::string("\xff\xfe\x00<\x00g", 6), 0, ""}}) {
        Shown s = runGpx(c.bytes);
        EXPECT_EQ(s.end, Kind::Error) << c.bytes;
        EXPECT_FALSE(s.error.empty()) << c.bytes;
        EXPECT_NE(s.error.find(c.says), std::string::npos) << s.error;
        EXPECT_EQ(s.times.size(), c.points) << c.bytes;
    }
    // A GPX file without tracks is no error: it just has no points.
    Shown none = runGpx(gpx("<wpt lat=\"1\" lon=\"2\"/>"));
    EXPECT_EQ(none.end, Kind::End);
    EXPECT_TRUE(none.times.empty());
}

TEST(TrackGpx, LongTrackInBoundedMemory) {
    // 100,000 points, about 9 MB of XML, read in pieces.
    std::string head = gpx("<trk><trkseg>");
    head.resize(head.size() - std::string("</gpx>\n").size());
    class Points : public std::streambuf {
    public:
        Points(std::string head, std::size_t n) : head_(std::move(head)), left_(n) {}

    protected:
        int_type underflow() override {
            if (!head_.empty()) {
                buf_.swap(head_);
                head_.clear();
            } else if (left_ > 0) {
                --left_;
                buf_ = "<trkpt lat=\"52.5\" lon=\"4.25\"><ele>1.0</ele><time>2024-05-01T12:00:01Z</time></trkpt>\n";
            } else if (!tailDone_) {
                tailDone_ = true;
                buf_ = "</trkseg></trk></gpx>\n";
            } else {
                return traits_type::eof();
            }
            setg(buf_.data(), buf_.data(), buf_.data() + buf_.size());
            return traits_type::to_int_type(buf_[0]);
        }

    private:
        std::string head_, buf_;
        std::size_t left_;
        bool tailDone_ = false;
    } points(head, 100000);
    std::istream in(&points);
    TrackImport import(std::make_unique<GpxTrackSource>(in, 0));
    const long before = peakKilobytes();
    Shown s = run(import, 100);
    EXPECT_EQ(s.end, Kind::End) << s.error;
    EXPECT_EQ(s.times.size(), 1000u);
    EXPECT_LT(peakKilobytes() - before, kPeakGrowthLimitKilobytes);
}

TEST(TrackTexts, StatusAndMessages) {
    EXPECT_EQ(thinningStatusText(0) + "|" + thinningStatusText(3), " TOON ELK ROUTEPUNT| TOON OM DE 3 PTN.");
    for (auto [language, ready, notFound] : {std::tuple{Language::English, " ROUTE-PLAY READY ", "NO FILE FOUND!"},
                                             {Language::Dutch, " ROUTE-PLAY GEREED ", "BESTAND NIET GEVONDEN!"}}) {
        EXPECT_STREQ(trackStatusText(TrackStatus::Ready, language), ready);
        EXPECT_EQ(trackFileNotFoundLines(language)[2], notFound);
    }
    EXPECT_NE(std::string(trackFileFilter()).find("|*.gpx|"), std::string::npos);
}

}  // namespace
}  // namespace tarvok
