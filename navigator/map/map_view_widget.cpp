#include "navigator/map/map_view_widget.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace tarvok::map {

MapViewWidget::MapViewWidget(const MapBitmap& bitmap, QWidget* parent)
    : QWidget(parent), bitmap_(bitmap) {
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
}

void MapViewWidget::paintFrame(QPainter& painter, const QRect& area) {
    if (!frameValid_) renderFrame();
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
