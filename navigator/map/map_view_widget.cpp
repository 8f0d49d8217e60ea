#include "navigator/map/map_view_widget.h"

#include <QPainter>

namespace tarvok::map {

MapViewWidget::MapViewWidget(const MapBitmap& bitmap, QWidget* parent)
    : QWidget(parent), bitmap_(bitmap) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("MapView"));
}

void MapViewWidget::showClip(const ClipRect& clip, int stretchWidth, int stretchHeight) {
    clip_ = clip;
    stretch_ = QSize(std::max(stretchWidth, 1), std::max(stretchHeight, 1));
    frameValid_ = false;  // rendered at the next paint, so repeated calls cost nothing
    update();
}

void MapViewWidget::showMark(const std::vector<MarkPixel>& pixels) {
    mark_ = pixels;
    update();
}

void MapViewWidget::renderFrame() {
    if (frame_.size() != stretch_) frame_ = QImage(stretch_, QImage::Format_RGB32);
    if (frame_.isNull()) return;
    bitmap_.renderClip(QRectF(clip_.x, clip_.y, clip_.width, clip_.height), frame_);
    frameValid_ = true;
}

void MapViewWidget::paintFrame(QPainter& painter) {
    if (!frameValid_) renderFrame();
    if (frame_.isNull()) return;
    painter.drawImage(0, 0, frame_);
    if (trailShown_ && trail_ && trailMap_ && trail_->size() > 1) {
        const auto lines = trailInView(trail_->positions(), *trailMap_, clip_, stretch_.width(), stretch_.height());
        // Not antialiased: the colours stay exact and the lines cheap.
        const QPen edge(QColor::fromRgb(kTrailEdge), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const QPen core(QColor::fromRgb(kTrailCore), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        std::vector<QPoint> points;
        for (const QPen& pen : {edge, core}) {
            painter.setPen(pen);
            for (const auto& line : lines) {
                points.clear();
                for (const ViewPoint& p : line) points.emplace_back(p.x, p.y);
                painter.drawPolyline(points.data(), int(points.size()));
            }
        }
    }
    // The cross, pixel by pixel, in the order the view state gives.
    for (const MarkPixel& p : mark_) {
        painter.setPen(QColor(p.r, p.g, p.b));
        painter.drawPoint(p.x - kScreenOriginX, p.y - kScreenOriginY);
    }
}

void MapViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
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
