#include "shell_widgets.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRegion>
#include <algorithm>
#include <cmath>

namespace tarvok {

namespace {
QColor qColour(RadarColour c) { return QColor(c.r, c.g, c.b); }
// Up to this many lines are repainted cell by cell, in cells of this many
// pixels a side.
constexpr std::size_t kLinesPainted = 256;
constexpr int kCell = 16;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

PictureClip::PictureClip(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("PicClip1")); }

// ------------------------------------------------------------------ Picture1

MapPicture::MapPicture(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapPicture::showStretched(const QImage& picture) {
    shown_ = picture;
    QSize s = innerSize();
    if (s.isEmpty()) return;
    drawing_ = QImage(s, QImage::Format_RGB32);
    drawing_.fill(Qt::black);
    if (!picture.isNull()) {
        QPainter p(&drawing_);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(QPoint(0, 0), s), picture);
    }
    update();
}

QRegion MapPicture::cellsAlong(const std::vector<RadarLine>& lines) const {
    // The cells of a coarse grid that the lines pass through; each grid row
    // gives one band of runs of cells, the form QRegion takes whole.
    const int columns = (drawing_.width() + kCell - 1) / kCell, rows = (drawing_.height() + kCell - 1) / kCell;
    std::vector<char> cells(std::size_t(columns) * std::size_t(rows), 0);
    auto mark = [&](double x, double y) {
        const int cx = int(x) / kCell, cy = int(y) / kCell;
        if (x >= 0 && y >= 0 && cx < columns && cy < rows)
            cells[std::size_t(cy) * std::size_t(columns) + std::size_t(cx)] = 1;
    };
    // Each pixel a line sets holds one of its points. Points every
    // kStride pixels along it are at most kStride / 2 from any point of the
    // line, so every pixel the pen sets lies within kReach of one of them,
    // in a square narrower than a cell: the cells of its four corners are
    // all the cells it meets.
    constexpr double kStride = 8, kReach = 1 + kStride / 2;
    static_assert(2 * kReach < kCell);
    for (const RadarLine& l : lines) {
        const QLineF line(l.x1, l.y1, l.x2, l.y2);
        const int steps = std::max(1, int(std::ceil(line.length() / kStride)));
        for (int i = 0; i <= steps; ++i) {
            const QPointF q = line.pointAt(double(i) / steps);
            for (const double dx : {-kReach, kReach})
                for (const double dy : {-kReach, kReach}) mark(q.x() + dx, q.y() + dy);
        }
    }
    std::vector<QRect> runs;
    for (int cy = 0; cy < rows; ++cy)
        for (int cx = 0; cx < columns; ++cx) {
            if (!cells[std::size_t(cy) * std::size_t(columns) + std::size_t(cx)]) continue;
            const int first = cx;
            while (cx + 1 < columns && cells[std::size_t(cy) * std::size_t(columns) + std::size_t(cx + 1)]) ++cx;
            runs.emplace_back(first * kCell, cy * kCell, (cx - first + 1) * kCell, kCell);
        }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

void MapPicture::draw(const RadarDrawing& d) {
    if (drawing_.isNull()) return;
    // A sweep of a few lines repaints only the grid cells the lines pass
    // through, not the box around a long slanted ray; its circles, already
    // on the drawing, need mending only there.
    const bool sweep = d.circlesOverLines && d.lines.size() <= kLinesPainted;
    const QRegion cells = sweep ? cellsAlong(d.lines) : QRegion();
    // Lines are set straight into the drawing's pixels: a sweep's few dozen
    // short lines cost less so than through a painter, many times a second.
    auto* pixels = reinterpret_cast<QRgb*>(drawing_.bits());  // 32-bit rows: no padding
    QRectF touched;
    for (const RadarLine& l : d.lines) {
        plotRadarLine(pixels, drawing_.width(), drawing_.height(), l);
        if (!sweep) touched |= QRectF(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2)).normalized();
    }
    const QPoint origin = contentsRect().topLeft();
    if (sweep) {
        // The circles are mended where the lines crossed them: their kept
        // pixels in those cells are set again, instead of each circle being
        // traced whole and clipped.
        const CirclePixels& circles = circlePixels(d.circles);
        const int columns = (drawing_.width() + kCell - 1) / kCell;
        for (const QRect& r : cells)
            for (int cy = r.top() / kCell; cy <= r.bottom() / kCell; ++cy)
                for (int cx = r.left() / kCell; cx <= r.right() / kCell; ++cx) {
                    const std::size_t cell = std::size_t(cy) * std::size_t(columns) + std::size_t(cx);
                    for (int i = circles.cellStart[cell]; i < circles.cellStart[cell + 1]; ++i)
                        pixels[circles.pixels[std::size_t(i)].index] = circles.pixels[std::size_t(i)].colour;
                }
        update(cells.translated(origin));
        return;
    }
    QPainter p(&drawing_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    for (const RadarCircle& c : d.circles) {
        p.setPen(QPen(qColour(c.colour), 0));
        p.drawEllipse(QPointF(c.cx, c.cy), c.radius, c.radius);
        touched |= QRectF(c.cx - c.radius, c.cy - c.radius, 2 * c.radius, 2 * c.radius);
    }
    update(touched.toAlignedRect().adjusted(-2, -2, 2, 2).translated(origin));
}

const MapPicture::CirclePixels& MapPicture::circlePixels(const std::vector<RadarCircle>& circles) {
    CirclePixels& kept = circlePixels_;
    if (kept.size == drawing_.size() && kept.circles == circles) return kept;
    // Drawn as on the drawing itself (one-pixel pen, no smoothing), so each
    // pixel is either wholly a circle's or left clear.
    QImage layer(drawing_.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    for (const RadarCircle& c : circles) {
        p.setPen(QPen(qColour(c.colour), 0));
        p.drawEllipse(QPointF(c.cx, c.cy), c.radius, c.radius);
    }
    p.end();
    const int w = layer.width(), h = layer.height();
    const int columns = (w + kCell - 1) / kCell, rows = (h + kCell - 1) / kCell;
    kept.size = drawing_.size();
    kept.circles = circles;
    kept.cellStart.assign(std::size_t(columns) * std::size_t(rows) + 1, 0);
    kept.pixels.clear();
    for (int cy = 0; cy < rows; ++cy)
        for (int cx = 0; cx < columns; ++cx) {
            kept.cellStart[std::size_t(cy) * std::size_t(columns) + std::size_t(cx)] = int(kept.pixels.size());
            for (int y = cy * kCell; y < std::min(h, (cy + 1) * kCell); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
                for (int x = cx * kCell; x < std::min(w, (cx + 1) * kCell); ++x)
                    if (row[x]) kept.pixels.push_back({y * w + x, row[x]});
            }
        }
    kept.cellStart.back() = int(kept.pixels.size());
    return kept;
}

void MapPicture::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    if (!drawing_.isNull() && drawing_.size() != innerSize()) showStretched(shown_);
}

void MapPicture::paintEvent(QPaintEvent* e) {
    const QRect inner = contentsRect();
    // The sunken frame only where the repaint reaches it: the radar's
    // sweep repaints cells inside, many times a second.
    if (!e->region().subtracted(inner).isEmpty()) QFrame::paintEvent(e);
    QPainter p(this);
    if (drawing_.isNull()) {
        p.setClipRect(inner);
        p.fillRect(inner, Qt::black);
        return;
    }
    for (const QRect& r : e->region()) {
        const QRect shown = r & inner;
        if (!shown.isEmpty()) p.drawImage(shown.topLeft(), drawing_, shown.translated(-inner.topLeft()));
    }
}

// -------------------------------------------------------------------- shapes

RadarShape::RadarShape(QColor colour, int width, QWidget* parent) : QWidget(parent), colour_(colour), penWidth_(width) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void RadarShape::paintEvent(QPaintEvent* e) {
    // The ring is drawn once per size and kept: the sweep beneath makes
    // parts of it repaint many times a second.
    if (ring_.size() != size()) {
        ring_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        ring_.fill(Qt::transparent);
        QPainter r(&ring_);
        r.setRenderHint(QPainter::Antialiasing);
        r.setPen(QPen(colour_, penWidth_));
        const qreal half = penWidth_ / 2.0;
        r.drawEllipse(QRectF(rect()).adjusted(half, half, -half, -half));
    }
    QPainter p(this);
    for (const QRect& r : e->region()) p.drawImage(r.topLeft(), ring_, r);
}

// ---------------------------------------------------------- instrument panel

InstrumentPanel::InstrumentPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void InstrumentPanel::clearDrawing() {
    lines_.clear();
    update();
}

void InstrumentPanel::drawLine(int x1, int y1, int x2, int y2, QColor colour) {
    lines_.push_back({x1, y1, x2, y2, colour});
    update();
}

namespace {

// A dial face in pixels around `c` with radius `r`.
void paintDialFace(QPainter& p, QPointF c, double r) {
    QRadialGradient bezel(c, r + 5);
    bezel.setColorAt(0.0, QColor(58, 64, 72));
    bezel.setColorAt(0.85, QColor(30, 34, 40));
    bezel.setColorAt(1.0, QColor(90, 98, 108));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(c, r + 5, r + 5);
    QRadialGradient face(c - QPointF(r / 3, r / 3), r * 1.6);
    face.setColorAt(0.0, QColor(22, 40, 52));
    face.setColorAt(1.0, QColor(6, 12, 18));
    p.setBrush(face);
    p.drawEllipse(c, r, r);
}

// The point at `angle` degrees clockwise from straight down.
QPointF dialPoint(QPointF c, double angle, double d) {
    double t = angle * kPi / 180;
    return {c.x() - d * std::sin(t), c.y() + d * std::cos(t)};
}

void paintSpeedDial(QPainter& p, QPointF c, double r) {
    paintDialFace(p, c, r);
    QFont f = p.font();
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    for (int v = 0; v <= 150; v += 10) {
        double a = v * 2.05 + 25;
        bool major = v % 50 == 0;
        p.setPen(QPen(major ? QColor(255, 190, 60) : QColor(150, 170, 180), major ? 1.5 : 1));
        p.drawLine(dialPoint(c, a, r - (major ? 6 : 4)), dialPoint(c, a, r - 1));
        if (major) {
            QPointF t = dialPoint(c, a, r - 12);
            p.drawText(QRectF(t.x() - 10, t.y() - 5, 20, 10), Qt::AlignCenter, QString::number(v));
        }
    }
}

void paintCompassDial(QPainter& p, QPointF c, double r) {
    paintDialFace(p, c, r);
    for (int a = 0; a < 360; a += 15) {
        bool major = a % 90 == 0;
        p.setPen(QPen(major ? QColor(255, 190, 60) : QColor(150, 170, 180), major ? 1.5 : 1));
        // Course a points at needle angle a + 180.
        p.drawLine(dialPoint(c, a + 180, r - (major ? 6 : 3)), dialPoint(c, a + 180, r - 1));
    }
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    // The compass points with their Dutch initials: N, O (east), Z, W.
    const char* letters[] = {"N", "O", "Z", "W"};
    for (int i = 0; i < 4; ++i) {
        QPointF t = dialPoint(c, i * 90 + 180, r - 13);
        p.setPen(i == 0 ? QColor(255, 90, 70) : QColor(200, 215, 225));
        p.drawText(QRectF(t.x() - 6, t.y() - 6, 12, 12), Qt::AlignCenter, QString::fromLatin1(letters[i]));
    }
}

}  // namespace

void InstrumentPanel::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    // The dial artwork is drawn once per size and kept; the needles change
    // with every fix.
    if (dials_.size() != size()) {
        dials_ = QImage(size(), QImage::Format_RGB32);
        dials_.fill(Qt::black);
        QPainter a(&dials_);
        a.setFont(font());
        QLinearGradient bg(0, 0, 0, height());
        bg.setColorAt(0, QColor(44, 50, 58));
        bg.setColorAt(1, QColor(18, 21, 26));
        a.fillRect(contentsRect(), bg);
        a.setRenderHint(QPainter::Antialiasing);
        const double s = kUnitsPerPixel;
        const double r = 480 / s + 2;
        a.setClipRect(contentsRect());
        paintSpeedDial(a, QPointF(720 / s, 650 / s), r);
        paintCompassDial(a, QPointF(2100 / s, 650 / s), r);
    }
    QPainter p(this);
    p.setClipRect(contentsRect());
    p.drawImage(contentsRect().topLeft(), dials_, contentsRect());
    const double s = kUnitsPerPixel;
    for (const Line& l : lines_) {
        p.setPen(QPen(l.colour, 1));
        p.drawLine(QLineF(l.x1 / s, l.y1 / s, l.x2 / s, l.y2 / s));
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 205, 210));
    p.drawEllipse(QPointF(720 / s, 650 / s), 2.5, 2.5);
    p.drawEllipse(QPointF(2100 / s, 650 / s), 2.5, 2.5);
}

// ------------------------------------------------------------- start picture

QImage drawStartPicture() {
    const int w = 640, h = 480;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sea(QPointF(w * 0.5, h * 0.55), w * 0.75);
    sea.setColorAt(0.0, QColor(16, 58, 72));
    sea.setColorAt(0.6, QColor(8, 30, 44));
    sea.setColorAt(1.0, QColor(3, 10, 18));
    p.fillRect(img.rect(), sea);

    // A graticule with its degree labels.
    QFont small = p.font();
    small.setPixelSize(10);
    p.setFont(small);
    for (int i = 1; i <= 8; ++i) {
        double x = i * w / 8.0;
        p.setPen(QPen(QColor(60, 120, 130, 90), 1));
        p.drawLine(QPointF(x, 0), QPointF(x, h));
        p.setPen(QColor(90, 150, 160, 160));
        p.drawText(QPointF(x + 3, h - 4), QStringLiteral("%1°E").arg(3 + i * 0.25, 0, 'f', 2));
    }
    for (int j = 0; j < 6; ++j) {
        double y = j * h / 6.0;
        p.setPen(QPen(QColor(60, 120, 130, 90), 1));
        p.drawLine(QPointF(0, y), QPointF(w, y));
        p.setPen(QColor(90, 150, 160, 160));
        p.drawText(QPointF(3, y - 3), QStringLiteral("%1°N").arg(53 - j * 0.25, 0, 'f', 2));
    }

    // Depth-line shapes, like contours on a chart.
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 7; ++k) {
        QPainterPath path;
        double off = k * 14;
        path.moveTo(-10, 90 + off);
        path.cubicTo(160, 40 + off, 260, 170 + off, 420, 110 + off);
        path.cubicTo(520, 70 + off, 600, 140 + off, 660, 100 + off);
        p.setPen(QPen(QColor(70, 160, 150, 110 - k * 12), 1.2));
        p.drawPath(path);
    }

    // Title.
    QFont title = p.font();
    title.setPixelSize(44);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 10);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(QRectF(2, 12, w, 60), Qt::AlignHCenter, QStringLiteral("TARVOK"));
    p.setPen(QColor(120, 230, 170));
    p.drawText(QRectF(0, 10, w, 60), Qt::AlignHCenter, QStringLiteral("TARVOK"));
    QFont sub = p.font();
    sub.setPixelSize(13);
    sub.setBold(false);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(sub);
    p.setPen(QColor(150, 200, 190));
    p.drawText(QRectF(0, 62, w, 20), Qt::AlignHCenter, QStringLiteral("MOVING MAP NAVIGATOR"));
    return img;
}

}  // namespace tarvok
