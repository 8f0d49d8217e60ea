// trail_shot_check PNG shown|hidden: reads a grab of the navigator's window
// from the demonstration and checks the trail against the position cross.
//   shown   trail core pixels lie within a few pixels of the cross's centre
//           (the newest position is under it) and run on from there, joined,
//           at least kLeastRun pixels away (the driven path leading to it);
//   hidden  the cross is there and no pixel has either trail colour.
// Prints what it found; exits 1 with the reason when the check fails.
#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "navigator/map/map_view_widget.h"

namespace {

using tarvok::map::MapViewWidget;

// The cross: each pixel in RGB(100, 0, 100), its upper left neighbour in
// RGB(220, 0, 220); its centre is left out, so the map shows there.
constexpr QRgb kCross = qRgb(100, 0, 100), kCrossShade = qRgb(220, 0, 220);
// How far from the cross's centre the trail's end may lie: the cross is on
// the centre of the position's map pixel, the trail at the position itself,
// and at zoom 3 a map pixel is some eight window pixels across.
constexpr int kNearCentre = 6;
constexpr double kLeastRun = 20;

// The row and the column holding most pixels in the cross's colour.
std::optional<QPoint> crossCentre(const QImage& grab) {
    std::vector<int> rows(std::size_t(grab.height())), columns(std::size_t(grab.width()));
    for (int y = 0; y < grab.height(); ++y)
        for (int x = 0; x < grab.width(); ++x)
            if (grab.pixel(x, y) == kCross) ++rows[std::size_t(y)], ++columns[std::size_t(x)];
    auto most = [](const std::vector<int>& v) { return int(std::max_element(v.begin(), v.end()) - v.begin()); };
    const int row = most(rows), column = most(columns);
    if (rows[std::size_t(row)] < 3 || columns[std::size_t(column)] < 3) return std::nullopt;
    return QPoint(column, row);
}

int fail(const char* png, const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", png, why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[2], "shown") != 0 && std::strcmp(argv[2], "hidden") != 0)) {
        std::fprintf(stderr, "usage: trail_shot_check PNG shown|hidden\n");
        return 2;
    }
    const char* png = argv[1];
    const QImage grab = QImage(QString::fromLocal8Bit(png)).convertToFormat(QImage::Format_RGB32);
    if (grab.isNull()) return fail(png, "no readable picture");
    const std::optional<QPoint> centre = crossCentre(grab);
    if (!centre) return fail(png, "no position cross");
    const int w = grab.width(), h = grab.height();
    auto isCore = [&](int x, int y) { return grab.pixel(x, y) == MapViewWidget::kTrailCore; };

    if (std::strcmp(argv[2], "hidden") == 0) {
        int trail = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) trail += isCore(x, y) || grab.pixel(x, y) == MapViewWidget::kTrailEdge;
        if (trail > 0) return fail(png, "the trail is hidden, yet " + std::to_string(trail) + " pixels show it");
        std::printf("%s: cross at %d,%d, no trail\n", png, centre->x(), centre->y());
        return 0;
    }

    // From the core pixels near the centre along the trail: through its
    // core and edge, and through the cross where an arm lies over it.
    std::vector<char> seen(std::size_t(w) * std::size_t(h), 0);
    std::vector<QPoint> todo;
    int nearCentre = 0;
    for (int y = std::max(0, centre->y() - kNearCentre); y <= std::min(h - 1, centre->y() + kNearCentre); ++y)
        for (int x = std::max(0, centre->x() - kNearCentre); x <= std::min(w - 1, centre->x() + kNearCentre); ++x)
            if (isCore(x, y)) {
                ++nearCentre;
                seen[std::size_t(y) * std::size_t(w) + std::size_t(x)] = 1;
                todo.emplace_back(x, y);
            }
    if (nearCentre == 0)
        return fail(png, "no trail within " + std::to_string(kNearCentre) + " pixels of the cross at " +
                             std::to_string(centre->x()) + "," + std::to_string(centre->y()));
    auto passable = [&](QRgb c) {
        return c == MapViewWidget::kTrailCore || c == MapViewWidget::kTrailEdge || c == kCross || c == kCrossShade;
    };
    double run = 0;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (isCore(p.x(), p.y())) run = std::max(run, std::hypot(p.x() - centre->x(), p.y() - centre->y()));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = p.x() + dx, y = p.y() + dy;
                if (x < 0 || y < 0 || x >= w || y >= h) continue;
                char& s = seen[std::size_t(y) * std::size_t(w) + std::size_t(x)];
                if (s || !passable(grab.pixel(x, y))) continue;
                s = 1;
                todo.emplace_back(x, y);
            }
    }
    if (run < kLeastRun)
        return fail(png, "the trail under the cross runs only " + std::to_string(int(run)) + " pixels from it");
    std::printf("%s: cross at %d,%d, %d trail pixels under it, the trail running %d pixels from it\n", png, centre->x(),
                centre->y(), nearCentre, int(run));
    return 0;
}
