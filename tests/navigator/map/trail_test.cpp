// The trail without a window: bounded memory, and its lines in the picture.
#include "navigator/map/trail.h"

#include <gtest/gtest.h>

#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_view_widget.h"

namespace tarvok::map {
namespace {

TEST(Trail, KeepsTheNewestWholeAndThinsTheOlderPartInsteadOfCuttingIt) {
    Trail t;
    const std::size_t total = Trail::kCapacity + Trail::kKeptWhole + 12345;
    for (std::size_t i = 0; i < total; ++i) t.add({double(i), 0});
    const auto& p = t.positions();
    EXPECT_LE(p.size(), Trail::kCapacity);
    ASSERT_GE(p.size(), Trail::kKeptWhole);
    // The newest kKeptWhole are consecutive, ending with the last added.
    for (std::size_t k = 0; k < Trail::kKeptWhole; ++k)
        ASSERT_EQ(p[p.size() - 1 - k].latitude, double(total - 1 - k)) << k;
    // The first position is still there; older ones are in order, sparser.
    EXPECT_EQ(p.front().latitude, 0);
    for (std::size_t k = 1; k < p.size(); ++k) ASSERT_LT(p[k - 1].latitude, p[k].latitude);
    t.clear();
    EXPECT_EQ(t.size(), 0u);
}

// A 1000 x 500 map of one degree by half a degree shown in a 500 x 250 picture.
MapCalibration calibration() {
    MapCalibration m;
    m.width = 1000;
    m.height = 500;
    m.edges = {52.5, 52.0, 4.0, 5.0};
    return m;
}

TEST(Trail, LinesInThePictureFollowTheClipAndLeaveOutWhatCannotBeSeen) {
    const MapCalibration map = calibration();
    // Along the 52.25 N parallel from 4.1 E to 4.9 E in steps of 0.001 degree.
    std::vector<GeoPosition> drive;
    for (int i = 0; i <= 800; ++i) drive.push_back({52.25, 4.1 + i * 0.001});
    struct Row {
        ClipRect clip;
        ViewPoint first, last;
        std::size_t maxPoints;
    } rows[] = {
        // The whole map: 0.001 degree is half a picture pixel, so the line is thinned.
        {{0, 0, 1000, 500}, {50, 126}, {450, 126}, 401},
        // A quarter of the map at twice the scale: entering and leaving it
        // within the margin beyond its edges.
        {{250, 125, 500, 250}, {-4, 126}, {504, 126}, 260},
    };
    for (const Row& r : rows) {
        const auto lines = trailInView(drive, map, r.clip, 500, 250);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_LE(lines[0].size(), r.maxPoints);
        // Where the clip starts the line enters within the margin.
        EXPECT_NEAR(lines[0].front().x, r.first.x, 5);
        EXPECT_EQ(lines[0].front().y, r.first.y);
        EXPECT_NEAR(lines[0].back().x, r.last.x, 2);
        for (std::size_t k = 1; k < lines[0].size(); ++k)
            EXPECT_GT(std::abs(lines[0][k].x - lines[0][k - 1].x), 1) << k;
    }
    // Out of the picture and back: two lines. A map without extent: none.
    std::vector<GeoPosition> outAndBack = {{52.25, 4.1}, {52.25, 4.2}, {52.49, 4.2},
                                           {52.49, 4.3}, {52.25, 4.3}, {52.25, 4.4}};
    EXPECT_EQ(trailInView(outAndBack, map, {0, 250, 1000, 250}, 500, 250).size(), 2u);
    MapCalibration flat = map;
    flat.edges.top = flat.edges.bottom;
    EXPECT_TRUE(trailInView(drive, flat, {0, 0, 1000, 500}, 500, 250).empty());
}

TEST(Trail, DrawnFixByFixItIsTheSameLineAsDrawnAtOnceEvenWhenItCreepsUnderAPixelAFix) {
    const MapCalibration map = calibration();
    QImage white(map.width, map.height, QImage::Format_RGB32);
    white.fill(Qt::white);
    MapBitmap bitmap;
    ASSERT_EQ(bitmap.assign(white), MapBitmap::LoadError::None);
    // North-east from 52.1 N 4.1 E, a quarter of a picture pixel a fix at
    // first, then faster, up to three pixels a fix (a picture pixel is
    // 1/500 degree either way).
    std::vector<GeoPosition> drive{{52.1, 4.1}};
    for (int i = 1; i < 160; ++i) {
        const double step = i < 100 ? 0.25 : std::min(3.0, 0.25 * (i - 98));
        drive.push_back({drive.back().latitude + step * 0.8 / 500, drive.back().longitude + step * 0.6 / 500});
    }
    auto widget = [&](const Trail& trail) {
        auto w = std::make_unique<MapViewWidget>(bitmap);
        w->showClip({0, 0, 1000, 500}, 500, 250);
        w->setTrail(&trail, &map);
        return w;
    };
    Trail byFix, atOnce;
    auto fixByFix = widget(byFix), whole = widget(atOnce);
    QImage frame;
    for (const GeoPosition& p : drive) {
        byFix.add(p);
        atOnce.add(p);
        fixByFix->trailChanged();
        frame = fixByFix->grabFrame();
        // Wherever the drive has got to, the trail's core is under it.
        const BitmapPoint b = geoToBitmap(map, p.latitude, p.longitude);
        const int x = int(std::lround(b.x / 2)), y = int(std::lround(b.y / 2));
        if (byFix.size() > 12) {  // once it is two pixels long
            ASSERT_EQ(frame.pixel(x, y), MapViewWidget::kTrailCore) << byFix.size() << " at " << x << "," << y;
        }
    }
    EXPECT_TRUE(frame == whole->grabFrame());
}

}  // namespace
}  // namespace tarvok::map
