#include "navigator/map/map_view_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <span>

namespace tarvok::map {

MapViewWidget::MapViewWidget(const MapBitmap& bitmap, QWidget* parent) : QWidget(parent), bitmap_(bitmap) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("MapView"));
}

namespace {

// The rectangle (in this widget's pixels) that holds a mark, empty for none.
QRect markBounds(const std::vector<MarkPixel>& mark) {
    QRect r;
    for (const MarkPixel& p : mark) r |= QRect(p.x - kScreenOriginX, p.y - kScreenOriginY, 1, 1);
    return r;
}

bool sameMark(const std::vector<MarkPixel>& a, const std::vector<MarkPixel>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const MarkPixel& p, const MarkPixel& q) {
        return p.x == q.x && p.y == q.y && p.r == q.r && p.g == q.g && p.b == q.b;
    });
}

}  // namespace

void MapViewWidget::showClip(const ClipRect& clip, int stretchWidth, int stretchHeight) {
    const QSize stretch(std::max(stretchWidth, 1), std::max(stretchHeight, 1));
    if (frameValid_ && clip == clip_ && stretch == stretch_) return;  // the frame shown already
    clip_ = clip;
    stretch_ = stretch;
    frameValid_ = false;  // rendered at the next paint, so repeated calls cost nothing
    update();
}

void MapViewWidget::showMark(const std::vector<MarkPixel>& pixels) {
    if (sameMark(pixels, mark_)) return;
    // Only where the cross was and where it is now is painted again.
    update(markBounds(mark_));
    mark_ = pixels;
    update(markBounds(mark_));
}

void MapViewWidget::renderFrame() {
    if (frame_.size() != stretch_) frame_ = QImage(stretch_, QImage::Format_RGB32);
    if (frame_.isNull()) return;
    bitmap_.renderClip(QRectF(clip_.x, clip_.y, clip_.width, clip_.height), frame_);
    frameValid_ = true;
    trailDrawn_ = 0;
}

QRect MapViewWidget::drawTrailIntoFrame() {
    QRect changed;
    const bool shown = trailShown_ && trail_ && trailMap_;
    const bool redraw = !shown || (trail_ && trail_->generation() != trailGeneration_) ||
                        trailMap_->edges.top != trailEdges_.top || trailMap_->edges.bottom != trailEdges_.bottom ||
                        trailMap_->edges.left != trailEdges_.left || trailMap_->edges.right != trailEdges_.right;
    if (redraw && trailDrawn_ > 0) {
        renderFrame();  // the trail drawn so far goes
        changed = frame_.rect();
    }
    if (!shown) return changed;
    trailGeneration_ = trail_->generation();
    trailEdges_ = trailMap_->edges;
    const std::span<const GeoPosition> all = trail_->positions();
    if (all.size() <= trailDrawn_) return changed;
    // From the last position drawn as a point, so the new stretch joins the
    // old one, and positions that came within a pixel of it are taken up
    // again once the trail has moved on.
    const std::size_t from = trailDrawn_ > 0 ? trailAnchor_ : 0;
    std::size_t kept = 0;
    changed |= paintTrail(frame_,
                          trailInView(all.subspan(from), *trailMap_, clip_, stretch_.width(), stretch_.height(), &kept),
                          trailDrawn_ > 0);
    trailAnchor_ = from + kept;
    trailDrawn_ = all.size();
    return changed;
}

void MapViewWidget::trailChanged() {
    if (!frameValid_ || frame_.isNull()) {
        update();  // the frame is rendered, trail and all, at the next paint
        return;
    }
    const QRect changed = drawTrailIntoFrame();
    if (!changed.isEmpty()) update(changed);
}

QRect MapViewWidget::paintTrail(QImage& image, const std::vector<std::vector<ViewPoint>>& lines, bool joining) {
    // Along each segment pixel by pixel (Bresenham), a dark dot five pixels
    // across and then a light one of three: exact colours, no antialiasing,
    // and cheap enough to draw a trail of 10,000 positions at every fix.
    const int w = image.width(), h = image.height();
    if (w == 0 || h == 0) return QRect();
    auto* const pixels = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    auto stamp = [&](int cx, int cy, int radius, QRgb colour, bool round) {
        const bool keepCore = joining && colour == kTrailEdge;
        for (int y = std::max(0, cy - radius); y <= std::min(h - 1, cy + radius); ++y) {
            // A round dot leaves out the pixels more than radius + 1 steps
            // (across plus down) from its centre: its corners.
            const int half = round ? std::min(radius, radius + 1 - std::abs(y - cy)) : radius;
            QRgb* row = pixels + y * stride;
            for (int x = std::max(0, cx - half); x <= std::min(w - 1, cx + half); ++x)
                if (!(keepCore && row[x] == kTrailCore)) row[x] = colour;
        }
    };
    auto segment = [&](ViewPoint a, ViewPoint b, int radius, QRgb colour) {
        const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        int err = dx + dy, x = a.x, y = a.y;
        while (true) {
            if (x >= -radius && x < w + radius && y >= -radius && y < h + radius)
                stamp(x, y, radius, colour, radius > 1);
            if (x == b.x && y == b.y) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    };
    constexpr int kEdgeRadius = 2, kCoreRadius = 1;
    for (auto [radius, colour] : {std::pair{kEdgeRadius, kTrailEdge}, std::pair{kCoreRadius, kTrailCore}})
        for (const auto& line : lines)
            for (std::size_t k = 1; k < line.size(); ++k) segment(line[k - 1], line[k], radius, colour);
    // Every pixel stamped lies within the dark dot's radius of a point of a
    // line, so the lines' bounds grown by it hold all that changed.
    QRect changed;
    for (const auto& line : lines) {
        if (line.size() < 2) continue;
        auto [left, right] =
            std::minmax_element(line.begin(), line.end(), [](ViewPoint a, ViewPoint b) { return a.x < b.x; });
        auto [top, bottom] =
            std::minmax_element(line.begin(), line.end(), [](ViewPoint a, ViewPoint b) { return a.y < b.y; });
        changed |= QRect(QPoint(left->x - kEdgeRadius, top->y - kEdgeRadius),
                         QPoint(right->x + kEdgeRadius, bottom->y + kEdgeRadius));
    }
    return changed & image.rect();
}

void MapViewWidget::paintFrame(QPainter& painter, const QRect& area) {
    if (!frameValid_) renderFrame();
    if (!frame_.isNull()) drawTrailIntoFrame();
    if (frame_.isNull()) return;
    const QRect part = area.isNull() ? frame_.rect() : area & frame_.rect();
    painter.drawImage(part.topLeft(), frame_, part);
    // The cross, pixel by pixel, in the order the view state gives.
    for (const MarkPixel& p : mark_) {
        painter.setPen(QColor(p.r, p.g, p.b));
        painter.drawPoint(p.x - kScreenOriginX, p.y - kScreenOriginY);
    }
}

void MapViewWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintFrame(painter, event->rect());
}

QImage MapViewWidget::grabFrame() {
    if (!frameValid_) renderFrame();
    QImage out(frame_.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    paintFrame(painter);
    return out;
}

}  // namespace tarvok::map
