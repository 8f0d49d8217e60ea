// The pace of route playback: when shown records may follow each other, on
// a clock the test moves by hand.
#include <gtest/gtest.h>

#include <vector>

#include "navigator/route/playback_pace.h"
#include "navigator/route/route_playback.h"
#include "tests/navigator/route/route_test_files.h"
#include "tests/support/playback_clocks.h"

namespace tarvok {
namespace {

using std::chrono::milliseconds;

// Items become ready at the given moments (ms from the start); each is shown
// as soon as the pace allows. The moments they are shown.
std::vector<long> showMoments(const std::vector<long>& ready, bool restartBeforeLast = false) {
    test::ManualPlaybackClock clock;
    PlaybackPace pace(clock);
    std::vector<long> shown;
    long now = 0;
    for (std::size_t i = 0; i < ready.size(); ++i) {
        if (restartBeforeLast && i + 1 == ready.size()) pace.restart();
        if (ready[i] > now) {
            clock.advance(milliseconds(ready[i] - now));
            now = ready[i];
        }
        const milliseconds wait = pace.waitBeforeShowing();
        clock.advance(wait);
        now += wait.count();
        pace.shown();
        shown.push_back(now);
    }
    return shown;
}

TEST(PlaybackPace, ShownItemsLieAtLeastAnIntervalApart) {
    struct Row {
        std::vector<long> ready, shown;
        bool restart;
    };
    const Row rows[] = {
        {{0, 0, 0}, {0, 100, 200}, false},      // ready at once: one per interval
        {{0, 150, 160}, {0, 150, 250}, false},  // a slow read needs no pause
        {{0, 99, 300}, {0, 100, 300}, false},   // a millisecond short still waits
        {{500, 500}, {500, 600}, false},        // the first item shows at once
        {{0, 10, 20}, {0, 100, 100}, true},     // a new playback does not wait
    };
    for (const Row& r : rows) EXPECT_EQ(showMoments(r.ready, r.restart), r.shown) << r.ready.size();
}

// A route of `records` recorded positions played at `speedStep`, with every
// read and show taking no time: how many records are shown, and when the
// last one is.
struct PacedPlay {
    int shown = 0;
    long lastMs = 0;
};

PacedPlay playAtPace(int records, int speedStep) {
    test::TempPrefix tp;
    tp.writeDos("C:\\TARVOK\\ROUTE1.TVK", route::test::routeFileBytes(1, 1.0e9, records));
    route::RoutePlayback walk(route::RouteFileReader(tp.paths(), "C:\\TARVOK\\ROUTE1.TVK"), 0, speedStep);
    test::ManualPlaybackClock clock;
    PlaybackPace pace(clock);
    const auto start = clock.now();
    PacedPlay played;
    for (route::PlaybackEvent e = walk.next(); e.kind != route::PlaybackEvent::Kind::Finished; e = walk.next()) {
        if (e.kind != route::PlaybackEvent::Kind::Show) continue;
        if (walk.speedStep() != 0) clock.advance(pace.waitBeforeShowing());  // search mode shows at once
        pace.shown();
        ++played.shown;
        played.lastMs = std::chrono::duration_cast<milliseconds>(clock.now() - start).count();
    }
    return played;
}

TEST(PlaybackPace, ARouteTakesATenthOfASecondPerShownRecord) {
    struct Row {
        int speedStep, shown;
        long lastMs;
    };
    // 542 records: 2^step records per shown one; step 0 shows one at once.
    const Row rows[] = {{1, 271, 27000}, {2, 135, 13400}, {5, 16, 1500}, {9, 1, 0}, {0, 1, 0}};
    for (const Row& r : rows) {
        const PacedPlay p = playAtPace(542, r.speedStep);
        EXPECT_EQ(p.shown, r.shown) << "step " << r.speedStep;
        EXPECT_EQ(p.lastMs, r.lastMs) << "step " << r.speedStep;
    }
}

}  // namespace
}  // namespace tarvok
