// The map picture: shows the clip of the current bitmap stretched to its
// size and the position cross on an overlay. The view state works in screen
// pixels whose origin (202, 30) is this widget's top left corner.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_view_state.h"

namespace tarvok::map {

class MapViewWidget : public QWidget, public MapViewOutput {
    Q_OBJECT
public:
    MapViewWidget(const MapBitmap& bitmap, QWidget* parent = nullptr);

    // MapViewOutput
    void showClip(const ClipRect& clip, int stretchWidth, int stretchHeight) override;
    void showMark(const std::vector<MarkPixel>& pixels) override;
    void controlsChanged() override { emit viewControlsChanged(); }

    // The frame as it is shown now (clip and mark), for tests and scripts.
    QImage grabFrame();
    const ClipRect& shownClip() const { return clip_; }
    const std::vector<MarkPixel>& mark() const { return mark_; }
    // The bitmap changed: the next paint renders the clip again.
    void bitmapChanged() { frameValid_ = false; update(); }

    // Paints the frame and the mark (what paintEvent does), onto any
    // device; only `area` of the frame when given.
    void paintFrame(QPainter& painter, const QRect& area = QRect());

signals:
    void viewControlsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void renderFrame();

    const MapBitmap& bitmap_;
    ClipRect clip_;
    QSize stretch_;
    QImage frame_;
    bool frameValid_ = false;
    std::vector<MarkPixel> mark_;
};

}  // namespace tarvok::map
