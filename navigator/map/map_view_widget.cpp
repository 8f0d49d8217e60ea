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
