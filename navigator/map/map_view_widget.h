// The map picture: shows the clip of the current bitmap stretched to its
// size, the trail over it and the position cross on top. The view state works in screen
// pixels whose origin (202, 30) is this widget's top left corner.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_view_state.h"
#include "navigator/map/trail.h"

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
    void bitmapChanged() {
        frameValid_ = false;
        update();
    }

    // The trail to draw (positions on the map `map`), and whether it is shown.
    // Both are read at every paint; call update() after a change.
    void setTrail(const Trail* trail, const MapCalibration* map) {
        trail_ = trail;
        trailMap_ = map;
        update();
    }
    void setTrailShown(bool shown) {
        trailShown_ = shown;
        update();
    }
    // The trail grew or changed. While the frame shown stays, the new
    // stretch is drawn into it at once and only the pixels it covers are
    // repainted; anything else (a cleared trail, a new frame) repaints all.
    void trailChanged();
    bool trailShown() const { return trailShown_; }
    // The trail's colours: a light core in a dark edge, which stands out on
    // light and dark map colours alike and differs from the cross's purple.
    static constexpr QRgb kTrailCore = 0xff00e0ff;
    static constexpr QRgb kTrailEdge = 0xff003070;

    // Draws the trail's lines (picture pixels) in its colours into an RGB32
    // image; returns the rectangle of the image it may have changed.
    // `joining`: the lines go on from a trail already drawn there; their
    // dark edge then leaves its light core, so the whole looks as if drawn
    // in one go.
    static QRect paintTrail(QImage& image, const std::vector<std::vector<ViewPoint>>& lines, bool joining = false);

    // Paints the frame, the trail and the mark (what paintEvent does), onto
    // any device; only `area` of the frame when given.
    void paintFrame(QPainter& painter, const QRect& area = QRect());

signals:
    void viewControlsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void renderFrame();
    // The trail is drawn into the frame: what was added since it was last
    // drawn only, all of it again after the frame was rendered anew. Returns
    // the part of the frame that changed (all of it when rendered anew).
    QRect drawTrailIntoFrame();

    const MapBitmap& bitmap_;
    ClipRect clip_;
    QSize stretch_;
    QImage frame_;
    bool frameValid_ = false;
    std::vector<MarkPixel> mark_;
    const Trail* trail_ = nullptr;
    const MapCalibration* trailMap_ = nullptr;
    bool trailShown_ = true;
    std::size_t trailDrawn_ = 0;         // positions taken into the frame
    std::size_t trailAnchor_ = 0;        // of them, the last drawn as a point
    std::uint64_t trailGeneration_ = 0;  // of the trail drawn
    MapEdges trailEdges_;                // the map they were drawn for
};

}  // namespace tarvok::map
