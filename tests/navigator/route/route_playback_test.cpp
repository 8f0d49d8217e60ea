#include <gtest/gtest.h>

#include <limits>

#include "navigator/route/route_playback.h"
#include "tests/navigator/route/route_test_files.h"

namespace tarvok::route {
namespace {

using tarvok::test::TempPrefix;
using Kind = PlaybackEvent::Kind;
using Outcome = PlaybackEvent::Outcome;

constexpr double kBase = 1.0e9;  // time stamp of record 0; record k has kBase + k

struct Played {
    std::vector<std::int64_t> shown;
    std::vector<int> progress;  // at each shown record
    PlaybackEvent end;
    int pendings = 0;
};

Played play(const std::string& fileBytes, double threshold, int step, std::int64_t maxReads = 0) {
    TempPrefix tp;
    tp.writeDos("C:\\TARVOK\\ROUTE1.TVK", fileBytes);
    RoutePlayback p(RouteFileReader(tp.paths(), "C:\\TARVOK\\ROUTE1.TVK"), threshold, step);
    Played r;
    for (;;) {
        PlaybackEvent e = p.next(maxReads);
        if (e.kind == Kind::Pending) {
            ++r.pendings;
            continue;
        }
        if (e.kind == Kind::Finished) {
            r.end = e;
            EXPECT_TRUE(p.finished());
            EXPECT_EQ(p.next().outcome, e.outcome);  // stays finished
            return r;
        }
        r.shown.push_back(e.index);
        r.progress.push_back(e.progress);
        if (e.record.isFiller()) EXPECT_EQ(e.index % 502, 0);
        else EXPECT_EQ(e.record, test::recordedPoint(e.index, kBase));
    }
}

std::vector<std::int64_t> range(std::int64_t from, std::int64_t to, std::int64_t step) {
    std::vector<std::int64_t> v;
    for (std::int64_t k = from; k <= to; k += step) v.push_back(k);
    return v;
}

TEST(RoutePlayback, WholeFileAtSpeedStepOneShowsEveryOtherRecord) {
    Played one = play(test::routeFileBytes(1, kBase), 0, 1);
    EXPECT_EQ(one.shown, range(2, 500, 2));
    EXPECT_EQ(one.end.outcome, Outcome::SearchDone);
    // Progress: steps since the start record 1 over the 501 records from it.
    EXPECT_EQ(one.progress.front(), 0);
    EXPECT_EQ(one.progress[124], 50);  // record 250: 249 / 501
    EXPECT_TRUE(std::is_sorted(one.progress.begin(), one.progress.end()));

    // Two blocks: the second block's filler, record 502, is shown as well.
    Played two = play(test::routeFileBytes(2, kBase), 0, 1);
    EXPECT_EQ(two.shown, range(2, 1002, 2));
}

TEST(RoutePlayback, SpeedStepZeroShowsTheRecordTheSearchLandsOn) {
    Played whole = play(test::routeFileBytes(1, kBase), 0, 0);
    EXPECT_EQ(whole.shown, std::vector<std::int64_t>{1});
    EXPECT_EQ(whole.end.outcome, Outcome::SearchMode);
    EXPECT_EQ(whole.end.progress, 100);

    // In the middle of a long file: the first of 1, 201, 401, ... at or
    // after the start moment.
    Played middle = play(test::routeFileBytes(4, kBase), kBase + 700, 0);
    EXPECT_EQ(middle.shown, std::vector<std::int64_t>{801});
    EXPECT_EQ(middle.end.outcome, Outcome::SearchMode);
}

TEST(RoutePlayback, FromAStartMomentEveryEighthRecordAtSpeedStepThree) {
    // Found at record 801, the walk steps back to 601 and goes on record by
    // record; the record found counts once already.
    Played p = play(test::routeFileBytes(3, kBase), kBase + 700, 3);
    ASSERT_FALSE(p.shown.empty());
    EXPECT_EQ(p.shown.front(), 706);
    for (std::size_t k = 1; k < p.shown.size(); ++k) {
        // The second block's filler (1004) lies before the start moment and
        // is passed over without counting.
        std::int64_t gap = p.shown[k - 1] < 1004 && p.shown[k] > 1004 ? 9 : 8;
        EXPECT_EQ(p.shown[k] - p.shown[k - 1], gap) << p.shown[k];
    }
    EXPECT_GT(p.shown.back() + 9, 1505);
    EXPECT_EQ(p.end.outcome, Outcome::SearchDone);
    // Progress counts from the step back (601) over the 905 records from it.
    EXPECT_EQ(p.progress.front(), 12);  // record 706: 105 / 905
}

TEST(RoutePlayback, NothingAtOrAfterTheStartMoment) {
    EXPECT_EQ(play(test::routeFileBytes(2, kBase), kBase + 5000, 1).end.outcome, Outcome::NoRouteData);
    EXPECT_TRUE(play(test::routeFileBytes(2, kBase), kBase + 5000, 1).shown.empty());
    EXPECT_EQ(play("", 0, 1).end.outcome, Outcome::NoRouteData);
    // A file of only the first filler: record 0 is never read.
    EXPECT_EQ(play(std::string(56, '\0'), 0, 0).end.outcome, Outcome::NoRouteData);
    // A torn last record is not read past the end.
    Played torn = play(test::routeFileBytes(1, kBase) + std::string(40, '\x7f'), 0, 1);
    EXPECT_EQ(torn.shown.back(), 500);
}

TEST(RoutePlayback, StartMomentInTheLastStretchIsFoundRecordByRecord) {
    // Records 1, 201 and 401 lie before the start moment and 601 is past the
    // end: the walk goes on from 402.
    Played p = play(test::routeFileBytes(1, kBase), kBase + 450, 1);
    EXPECT_EQ(p.shown, range(451, 501, 2));
    EXPECT_EQ(p.end.outcome, Outcome::SearchDone);
    Played search = play(test::routeFileBytes(1, kBase), kBase + 450, 0);
    EXPECT_EQ(search.shown, std::vector<std::int64_t>{450});
}

TEST(RoutePlayback, AReadBudgetOnlySplitsTheWalk) {
    std::string bytes = test::routeFileBytes(3, kBase);
    Played whole = play(bytes, kBase + 900, 4);
    Played split = play(bytes, kBase + 900, 4, 7);
    EXPECT_GT(split.pendings, 10);
    EXPECT_EQ(split.shown, whole.shown);
    EXPECT_EQ(split.progress, whole.progress);
    EXPECT_EQ(split.end.outcome, whole.end.outcome);
}

TEST(RoutePlayback, SpeedSliderMovedDuringThePlayback) {
    TempPrefix tp;
    tp.writeDos("C:\\TARVOK\\ROUTE1.TVK", test::routeFileBytes(1, kBase));
    RoutePlayback p(RouteFileReader(tp.paths(), "C:\\TARVOK\\ROUTE1.TVK"), 0, 1);
    std::vector<std::int64_t> shown;
    for (PlaybackEvent e = p.next(); e.kind == Kind::Show; e = p.next()) {
        shown.push_back(e.index);
        // The countdown already reloaded for 12 takes every 4th after it.
        if (e.index == 10) p.setSpeedStep(2);
        if (e.index == 28) {
            p.setSpeedStep(0);  // search mode: the walk ends after this record
            EXPECT_EQ(p.next().outcome, Outcome::SearchMode);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::int64_t>{2, 4, 6, 8, 10, 12, 16, 20, 24, 28}));
}

TEST(RoutePlayback, AnyBytesAreTakenAsRecords) {
    // Garbage (NaN and huge doubles, stray characters) plays and shows
    // texts without failing.
    std::string bytes;
    std::uint32_t x = 12345;
    for (int i = 0; i < 56 * 600; ++i) {
        x = x * 1664525u + 1013904223u;
        bytes += static_cast<char>(x >> 24);
    }
    TempPrefix tp;
    tp.writeDos("C:\\TARVOK\\ROUTE1.TVK", bytes);
    RoutePlayback p(RouteFileReader(tp.paths(), "C:\\TARVOK\\ROUTE1.TVK"), -1e308, 0);
    p.setSpeedStep(1);
    int shown = 0;
    for (PlaybackEvent e = p.next(); e.kind == Kind::Show; e = p.next()) {
        RouteRecordTexts t = routeRecordTexts(e.record);
        EXPECT_EQ(t.datum.size(), 9u);
        EXPECT_EQ(t.tijds.size(), 8u);
        ++shown;
    }
    EXPECT_GT(shown, 0);
    RouteRecord nan;
    nan.latitude = std::numeric_limits<double>::quiet_NaN();
    nan.longitude = 1e300;
    nan.timeStamp = -1e300;
    EXPECT_EQ(routeRecordTexts(nan).tijds.size(), 8u);
}

TEST(RouteRecordTexts, WhatShowingARecordWrites) {
    RouteRecord r = test::recordedPoint(0);
    r.timeStamp = static_cast<double>(routeSecondsOf({2026, 3, 7, 9, 5, 3}));
    r.latHemisphere = 'Z';
    r.latitude = 52.25;
    r.lonHemisphere = 'W';
    r.longitude = 4.5;
    r.speed = 41;
    r.speedUnit = '2';
    r.course = 21;
    RouteRecordTexts t = routeRecordTexts(r);
    EXPECT_EQ(t.datum, "07-03-26 ");
    EXPECT_EQ(t.tijds, "09:05:03");
    EXPECT_EQ(t.nsText, "Z");
    EXPECT_EQ(t.ewText, "W");
    EXPECT_EQ(t.latid, "52,25");
    EXPECT_EQ(t.longi, "4,5");
    EXPECT_EQ(t.koers, "21\xB0");
    EXPECT_EQ(t.windr, " N ");
    // The stored speed in its own unit, unchanged.
    EXPECT_EQ(t.speed, "41");
    EXPECT_EQ(t.smode, "mph");
    r.speedUnit = '1';
    EXPECT_EQ(routeRecordTexts(r).smode, "kmh");
    r.speedUnit = '3';
    EXPECT_EQ(routeRecordTexts(r).smode, "kts");
    EXPECT_EQ(routeRecordTexts(r).speed, "41");
    r.speedUnit = 0;  // a filler's: Speed and Smode keep their texts
    EXPECT_FALSE(routeRecordTexts(r).smode);
    // The filler: the epoch.
    EXPECT_EQ(routeRecordTexts(RouteRecord{}).datum, "01-01-95 ");
    EXPECT_EQ(routeRecordTexts(RouteRecord{}).tijds, "00:00:00");

    const std::pair<int, const char*> compass[] = {{0, " N "},  {21, " N "}, {22, "NO"},  {66, "NO"},  {67, " O"},
                                                   {112, "ZO"}, {157, " Z"}, {202, "ZW"}, {247, " W"}, {292, "NW"},
                                                   {336, "NW"}, {337, " N"}, {359, " N"}};
    for (auto [course, text] : compass) EXPECT_STREQ(playbackCompassText(course), text) << course;
}

TEST(RouteStartMoment, HoursAndMinutesBeforeNow) {
    const std::int64_t now = 1'800'000'000;
    StartMoment m = startMoment(now, 2, 30);
    EXPECT_EQ(m.threshold, static_cast<double>(routeSecondsFromSystemTime(now) - 9000));
    EXPECT_EQ(m.systemTime, now - 9000);
    LocalDateTime t = routeDateTimeOf(m.threshold);
    EXPECT_EQ(routeSecondsOf(t), static_cast<std::int64_t>(m.threshold));
    // "dd-m-yyyy h:mm:ss", then in Text7 with a two-digit hour.
    char hour[3];
    std::snprintf(hour, sizeof hour, "%02d", t.hour);
    EXPECT_NE(m.text7.find(std::string(" ") + hour + ":"), std::string::npos) << m.text7;
    EXPECT_EQ(m.text7.substr(m.text7.size() - 2), "  ");
    char day[3];
    std::snprintf(day, sizeof day, "%02d", t.day);
    EXPECT_EQ(m.text7.substr(0, 2), day);
    EXPECT_EQ(startMoment(now, 0, 0).threshold, static_cast<double>(routeSecondsFromSystemTime(now)));
    EXPECT_EQ(startMoment(now, 1, 0).threshold, startMoment(now, 0, 60).threshold);
}

}  // namespace
}  // namespace tarvok::route
