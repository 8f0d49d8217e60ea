// The picture controls of the main window: the map view Picture1 (with the
// radar screen drawn on it before the first map), the instrument panel
// Picture2, the radar circles Shape1..Shape3 and the picture clip PicClip1.
#pragma once

#include <QFrame>
#include <QImage>
#include <QObject>
#include <QRegion>
#include <QWidget>
#include <vector>

#include "navigator/shell/radar_screen.h"

namespace tarvok {

// Holds a whole bitmap (the start picture until the first map).
class PictureClip : public QObject {
    Q_OBJECT
public:
    explicit PictureClip(QObject* parent = nullptr);
    void setPicture(QImage picture) { picture_ = std::move(picture); }
    const QImage& picture() const { return picture_; }

private:
    QImage picture_;
};

// Picture1: works in pixels; its drawing is kept in an image of its inner
// size, so what is drawn stays until it is drawn over (the radar's trace).
class MapPicture : public QFrame {
    Q_OBJECT
public:
    explicit MapPicture(QWidget* parent = nullptr);

    QSize innerSize() const { return contentsRect().size(); }
    // Shows a picture stretched to the inner area (replaces the drawing).
    void showStretched(const QImage& picture);
    // Draws radar primitives onto the drawing and repaints what they touch.
    void draw(const RadarDrawing& d);
    const QImage& drawing() const { return drawing_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QRegion cellsAlong(const std::vector<RadarLine>& lines) const;
    // The pixels of the sweep's circles, drawn once and kept by grid cell,
    // so that a sweep mends the circles in its cells by setting them again.
    struct CirclePixel {
        int index;  // in the drawing, row by row
        QRgb colour;
    };
    struct CirclePixels {
        QSize size;
        std::vector<RadarCircle> circles;
        std::vector<int> cellStart;  // cell c's pixels: [cellStart[c], cellStart[c + 1])
        std::vector<CirclePixel> pixels;
    };
    const CirclePixels& circlePixels(const std::vector<RadarCircle>& circles);

    QImage drawing_;
    CirclePixels circlePixels_;
    QImage shown_;  // the last picture given to showStretched, for resizes
};

// Shape1..Shape3: a circle outline on a transparent widget.
class RadarShape : public QWidget {
    Q_OBJECT
public:
    RadarShape(QColor colour, int width, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor colour_;
    int penWidth_;
    QImage ring_;  // the outline at the widget's size
};

// Picture2: the instrument panel with a speed dial and a compass dial.
// Needles are drawn as lines in the panel's drawing units (15 per pixel:
// the dial centres are (720, 650) and (2100, 650)); clearDrawing removes
// them, leaving the dial artwork.
class InstrumentPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr double kUnitsPerPixel = 15.0;
    // The height the two dials take; the fix status sits below them.
    static constexpr int kDialsHeight = 88;

    explicit InstrumentPanel(QWidget* parent = nullptr);
    void clearDrawing();
    void drawLine(int x1, int y1, int x2, int y2, QColor colour);

    struct Line {
        int x1, y1, x2, y2;
        QColor colour;
    };
    const std::vector<Line>& lines() const { return lines_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<Line> lines_;
    QImage dials_;  // the panel without needles, at its size
};

// The start picture held by PicClip1 when the window opens (640 x 480).
QImage drawStartPicture();

}  // namespace tarvok
