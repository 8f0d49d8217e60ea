#include "navigator/map/map_view_state.h"

#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

namespace tarvok::map {
namespace {

struct RecordingOutput : MapViewOutput {
    int clips = 0, marks = 0;
    ClipRect lastClip;
    int stretchW = 0, stretchH = 0;
    std::vector<MarkPixel> mark;
    void showClip(const ClipRect& c, int w, int h) override {
        ++clips;
        lastClip = c;
        stretchW = w;
        stretchH = h;
    }
    void showMark(const std::vector<MarkPixel>& p) override {
        ++marks;
        mark = p;
    }
    void controlsChanged() override {}
};

MapCalibration map1000x800() {
    MapCalibration m;
    m.width = 1000;
    m.height = 800;
    m.edges = {52.5, 52.0, 4.0, 5.0};
    return m;
}

TEST(GeoToPixel, CornersCentreAndEdges) {
    MapCalibration m = map1000x800();
    PixelPosition p;
    EXPECT_TRUE(GeoToPixel(m, 52.5, 4.0, p));
    EXPECT_EQ(p, (PixelPosition{0, 1}));
    EXPECT_TRUE(GeoToPixel(m, 52.25, 4.5, p));
    EXPECT_EQ(p, (PixelPosition{500, 401}));
    EXPECT_TRUE(GeoToPixel(m, 52.0, 5.0, p));  // edges count as inside
    EXPECT_EQ(p, (PixelPosition{1000, 801}));
}

TEST(GeoToPixel, OutsideIsReportedAxisByAxis) {
    MapCalibration m = map1000x800();
    PixelPosition p{123, 456};
    EXPECT_FALSE(GeoToPixel(m, 52.5000001, 4.5, p));  // latitude outside: x untouched
    EXPECT_EQ(p, (PixelPosition{123, 0}));
    p = {123, 456};
    EXPECT_FALSE(GeoToPixel(m, 52.25, 5.01, p));  // longitude outside: y computed, x 0
    EXPECT_EQ(p, (PixelPosition{0, 401}));
    // A degenerate calibration contains nothing rather than dividing by zero.
    m.edges = {52.0, 52.0, 4.0, 4.0};
    p = {7, 7};
    EXPECT_FALSE(GeoToPixel(m, 52.0, 4.0, p));
    EXPECT_EQ(p, (PixelPosition{7, 0}));
    m.edges = {52.5, 52.0, 4.0, 4.0};
    EXPECT_FALSE(GeoToPixel(m, 52.25, 4.0, p));
    EXPECT_EQ(p, (PixelPosition{0, 401}));
}

struct ViewFixture : ::testing::Test {
    RecordingOutput out;
    MapViewState view{&out};
    void SetUp() override {
        view.setBitmapSize(1000, 800);
        view.setViewSize(1690, 995);
    }
    void zoomTo(int z, PixelPosition bitmapPixel) {
        view.zoom = z;
        view.position = bitmapPixel;
        view.ApplyZoom();
    }
    // The status line or the scroll bars, their ranges, the size the clip is
    // stretched to and the virtual width of the zoomed map.
    auto layout() const {
        return std::tuple(view.statusLineVisible(), view.hScroll().visible, int(view.hScroll().maximum),
                          int(view.vScroll().maximum), out.stretchW, out.stretchH, view.virtualWidth());
    }
};

TEST_F(ViewFixture, LevelZeroShowsTheWholeMapAndCentresP) {
    zoomTo(0, {1, 1});
    EXPECT_EQ(view.zoomText(), "Zoom=0");
    EXPECT_EQ(layout(), std::tuple(true, false, 1000, 800, 1690, 995, 1690));
    EXPECT_EQ(out.lastClip, (ClipRect{0, 0, 1000, 800}));
    // P := the bitmap centre, then in screen pixels.
    EXPECT_EQ(view.position, (PixelPosition{845 + 202, 528}));  // CLng(497.5 + 30) = 528
}

TEST_F(ViewFixture, LevelTwoRangeAndClip) {
    zoomTo(2, {500, 400});
    EXPECT_EQ(layout(), std::tuple(false, true, 750, 600, 1690, 995, 1690 * 4));
    EXPECT_EQ(out.lastClip, (ClipRect{375, 300, 250, 200}));  // centred: P minus a half clip
}

// The bitmap pixel the renderer shows at screen pixel `screen`: it samples
// each screen pixel of the stretched clip at its centre.
PixelPosition shownAt(const RecordingOutput& out, PixelPosition screen) {
    auto axis = [](int s, int origin, int clipOrigin, int clipSize, int stretch) {
        return int(std::floor(clipOrigin + (s - origin + 0.5) * clipSize / stretch));
    };
    return {axis(screen.x, kScreenOriginX, out.lastClip.x, out.lastClip.width, out.stretchW),
            axis(screen.y, kScreenOriginY, out.lastClip.y, out.lastClip.height, out.stretchH)};
}

TEST_F(ViewFixture, TheMarkSitsOnTheScreenPixelThatShowsItsBitmapPixel) {
    struct Row {
        int zoom;
        PixelPosition p;
        bool movingMap;
    } rows[] = {{0, {500, 401}, false}, {0, {0, 1}, false},   {1, {20, 790}, true},  {2, {500, 400}, true},
                {3, {500, 400}, true},  {3, {20, 400}, true}, {3, {995, 790}, true}, {3, {640, 100}, false},
                {5, {500, 400}, true},  {5, {1, 799}, true},  {5, {700, 300}, false}};
    for (const Row& r : rows) {
        zoomTo(r.zoom, {500, 400});
        if (!r.movingMap && r.zoom > 0) view.HScroll3_Change(view.hScroll().maximum / 3);  // the user scrolled
        view.position = r.p;
        if (r.movingMap) view.CentreOnPosition();
        else view.BitmapToView();
        EXPECT_EQ(shownAt(out, view.position), r.p) << "zoom " << r.zoom << " at " << r.p.x << "," << r.p.y;
    }
    // Centred, the mark is in the middle of the picture; near the left edge
    // the scroll stays at 0 and the mark lies left of the middle.
    zoomTo(3, {500, 400});
    EXPECT_NEAR(view.position.x, 202 + 1690 / 2, 1);
    zoomTo(3, {20, 400});
    EXPECT_EQ(view.hScroll().value, 0);
    EXPECT_LT(view.position.x, 202 + 1690 / 2);
}

TEST_F(ViewFixture, TheMarkStaysOnItsBitmapPixelWhenTheUserScrolls) {
    zoomTo(2, {500, 400});
    view.position = {450, 380};
    view.BitmapToView();
    view.HScroll3_Change(view.hScroll().value + 30);
    view.VScroll3_Change(view.vScroll().value - 20);
    EXPECT_EQ(shownAt(out, view.position), (PixelPosition{450, 380}));
}

TEST_F(ViewFixture, ScrollEventsAfterTheOneShotFlagOnlyClearIt) {
    zoomTo(1, {500, 400});
    // The view's own operations leave no armed flag behind.
    EXPECT_FALSE(view.suppressScrollEvent);
    view.CentreOnPosition();
    EXPECT_FALSE(view.suppressScrollEvent);
    const int clips = out.clips;
    view.suppressScrollEvent = true;
    view.HScroll3_Change(100);
    EXPECT_EQ(out.clips, clips);
    EXPECT_FALSE(view.suppressScrollEvent);
    const int marks = out.marks;
    view.VScroll3_Change(50);
    EXPECT_EQ(std::tuple(out.clips, out.marks, out.lastClip.x, out.lastClip.y),
              std::tuple(clips + 1, marks + 1, 100, 50));
    view.HScroll3_Change(99999);  // beyond the range: held at the maximum
    EXPECT_EQ(view.hScroll().value, 500);
}

TEST_F(ViewFixture, CrossOfSizeZeroAndItsBounds) {
    view.crossSize = 0;
    view.position = {600, 500};
    auto px = view.positionMark();
    ASSERT_EQ(px.size(), 2u * 18);  // 9 pixels an arm, each with its shadow
    std::vector<int> xs;
    for (std::size_t i = 0; i < 18; i += 2) {
        EXPECT_EQ(px[i].y, 500);
        EXPECT_EQ(px[i].r, 100);
        EXPECT_EQ(px[i + 1].x, px[i].x - 1);
        EXPECT_EQ(px[i + 1].y, 499);
        EXPECT_EQ(px[i + 1].r, 220);
        xs.push_back(px[i].x);
    }
    EXPECT_EQ(xs, (std::vector<int>{596, 597, 598, 599, 601, 602, 603, 604, 605}));
    EXPECT_EQ(px[18].x, 600);
    EXPECT_EQ(px[18].y, 496);

    view.crossSize = 2;
    EXPECT_EQ(view.positionMark().size(), 4u * 69);

    // On the picture's upper left corner no pixel lies inside the strict bounds.
    view.crossSize = 0;
    view.position = {202, 30};
    EXPECT_TRUE(view.positionMark().empty());
    // Near the right border the arm is cut at SW + 202 (not included).
    view.position = {202 + 1690 - 2, 500};
    int maxX = 0;
    for (auto& p : view.positionMark())
        if (p.r == 100) maxX = std::max(maxX, p.x);
    EXPECT_EQ(maxX, 202 + 1690 - 1);
}

struct FakeFeedback : ZoomFeedback {
    std::vector<std::string> status, sounds;
    bool spoken = true;
    Language lang = Language::English;
    int waits = 0;
    std::function<void()> duringWait;
    void showStatus(const std::string& t) override { status.push_back(t); }
    bool spokenOutput() const override { return spoken; }
    Language language() const override { return lang; }
    void startSound(const std::string& f) override { sounds.push_back(f); }
    void waitForSoundEnd() override {
        ++waits;
        if (duringWait) duringWait();
    }
};

TEST_F(ViewFixture, FiveZoomInsReachLevelFiveAndASixthChangesNothing) {
    FakeFeedback fb;
    MapZoom zoom(view, fb);
    zoomTo(0, {0, 0});
    for (int i = 0; i < 5; ++i) zoom.ZoomIn();
    EXPECT_EQ(view.zoom, 5);
    EXPECT_EQ(fb.sounds,
              (std::vector<std::string>{"Mzoom1.WAV", "Mzoom2.WAV", "Mzoom3.WAV", "Mzoom4.WAV", "Mzoom5.WAV"}));
    // Zooming keeps the map's centre in the middle of the view.
    EXPECT_EQ(view.hScroll().value, 484);  // CLng(500 - 1000 / 64)
    fb.status.clear();
    zoom.ZoomIn();
    EXPECT_EQ(view.zoom, 5);
    EXPECT_EQ(fb.sounds.size(), 5u);
    EXPECT_EQ(fb.status, (std::vector<std::string>{" ZOOM IN (1 LEVEL)", ""}));
    EXPECT_EQ(fb.waits, 5);

    fb.lang = Language::Dutch;
    fb.status.clear();
    zoom.ZoomOut();
    EXPECT_EQ(view.zoom, 4);
    EXPECT_EQ(fb.sounds.back(), "Mzoom4.WAV");
    EXPECT_EQ(fb.status, (std::vector<std::string>{" ZOOM UIT (1 NIVEAU)", ""}));
    zoom.ZoomFull();
    EXPECT_EQ(view.zoom, 0);
    EXPECT_EQ(fb.sounds.back(), "Mzoom0.WAV");
    EXPECT_FALSE(view.hScroll().visible);
    fb.spoken = false;
    zoom.ZoomIn();
    EXPECT_EQ(fb.sounds.back(), "Mzoom0.WAV");
}

TEST_F(ViewFixture, ZoomRequestsDuringAZoomAreIgnoredAndStepsDoNotSpin) {
    FakeFeedback fb;
    MapZoom zoom(view, fb);
    zoomTo(0, {0, 0});
    // A request arriving while a zoom runs (busy) is ignored.
    zoom.busy = true;
    zoom.ZoomIn();
    zoom.ZoomToLevel(3);  // no progress possible: returns instead of looping
    EXPECT_EQ(view.zoom, 0);
    EXPECT_TRUE(fb.status.empty());
    zoom.busy = false;

    // Stepping to a level speaks only the last step.
    zoom.ZoomToLevel(3);
    EXPECT_EQ(view.zoom, 3);
    EXPECT_EQ(fb.sounds, (std::vector<std::string>{"Mzoom3.WAV"}));
    zoom.ZoomToLevel(9);  // above the top level: treated as 5
    EXPECT_EQ(view.zoom, 5);
    zoom.ZoomToLevel(1);
    EXPECT_EQ(view.zoom, 1);
    EXPECT_EQ(fb.sounds.back(), "Mzoom1.WAV");

    // A click arriving during the wait for a sound is a new, normal zoom.
    fb.duringWait = [&] {
        fb.duringWait = nullptr;
        zoom.ZoomIn();
    };
    zoom.ZoomIn();
    EXPECT_EQ(view.zoom, 3);
}

}  // namespace
}  // namespace tarvok::map
