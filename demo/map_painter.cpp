#include "map_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace tarvok::demo {

namespace {

const QColor kLand(242, 238, 224);
const QColor kWater(164, 201, 229);
const QColor kBuiltUp(228, 218, 206);
const QColor kCasing(120, 110, 100);
const QColor kText(40, 40, 40);

QPolygonF polyline(const MapSheet& s, const std::vector<GeoPoint>& points) {
    QPolygonF poly;
    for (GeoPoint p : points) poly << sheetPixel(s, p);
    return poly;
}

// Road width in pixels: its width in metres at the sheet's scale, but never
// so thin that it vanishes on the region map.
double roadWidth(RoadClass kind, double metresPerPixel) {
    double metres = kind == RoadClass::Motorway ? 40 : kind == RoadClass::MainRoad ? 25 : 14;
    double minimum = kind == RoadClass::Motorway ? 5 : kind == RoadClass::MainRoad ? 4 : 3;
    return std::max(minimum, metres / metresPerPixel);
}

QColor roadColour(RoadClass kind) {
    return kind == RoadClass::Motorway   ? kMotorwayColour
           : kind == RoadClass::MainRoad ? kMainRoadColour
                                         : kLocalRoadColour;
}

void drawWater(QPainter& p, const MapSheet& s, const Water& w) {
    if (w.widthMetres <= 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(kWater);
        p.drawPolygon(polyline(s, w.points));
        return;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(
        QPen(kWater, std::max(2.0, w.widthMetres / s.metresPerPixel()), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(polyline(s, w.points));
}

// The built-up area around a place: a soft ellipse sized by the place.
void drawBuiltUp(QPainter& p, const MapSheet& s, const Place& pl) {
    const double metres = pl.size == 3 ? 2600 : pl.size == 2 ? 1300 : 600;
    const double r = metres / s.metresPerPixel();
    p.setPen(Qt::NoPen);
    p.setBrush(kBuiltUp);
    p.drawEllipse(sheetPixel(s, pl.at), r * 1.15, r);
}

void drawRoads(QPainter& p, const MapSheet& s, const std::vector<Road>& roads) {
    const double mpp = s.metresPerPixel();
    // Local roads first, motorways on top; each class casing then fill.
    for (RoadClass kind : {RoadClass::LocalRoad, RoadClass::MainRoad, RoadClass::Motorway}) {
        const double w = roadWidth(kind, mpp);
        for (int layer = 0; layer < 2; ++layer) {
            p.setPen(QPen(layer == 0 ? kCasing : roadColour(kind), layer == 0 ? w + 2 : w, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            for (const Road& r : roads)
                if (r.kind == kind) p.drawPolyline(polyline(s, r.points));
        }
    }
}

void drawPlaces(QPainter& p, const MapSheet& s, const std::vector<Place>& places) {
    const bool detail = s.metresPerPixel() < 20;
    for (const Place& pl : places) {
        QPointF at = sheetPixel(s, pl.at);
        if (at.x() < -50 || at.y() < -50 || at.x() > s.width + 50 || at.y() > s.height + 50) continue;
        QFont f("DejaVu Sans");
        f.setPixelSize((detail ? 14 : 11) + 3 * pl.size);
        f.setBold(pl.size >= 2);
        p.setFont(f);
        p.setPen(QPen(kText, 1));
        p.setBrush(kText);
        double r = 2.0 + pl.size;
        p.drawEllipse(at, r, r);
        // The name beside the dot, on a light halo so it reads over roads.
        QPainterPath text;
        text.addText(at + QPointF(r + 4, -r - 2), f, QString::fromStdString(pl.name));
        p.setPen(QPen(QColor(250, 248, 240, 220), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(text);
        p.setPen(Qt::NoPen);
        p.setBrush(kText);
        p.drawPath(text);
    }
}

void drawScaleBar(QPainter& p, const MapSheet& s) {
    const double mpp = s.metresPerPixel();
    const int km = mpp < 20 ? 1 : 5;
    const double len = km * 1000.0 / mpp;
    const QPointF origin(20, s.height - 24);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawRect(QRectF(origin + QPointF(-10, -28), QSizeF(len + 80, 44)));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i % 2 ? Qt::white : Qt::black);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(QRectF(origin + QPointF(len * i / 4, 0), QSizeF(len / 4, 6)));
    }
    QFont f("DejaVu Sans");
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(kText);
    p.drawText(origin + QPointF(0, -8), "0");
    p.drawText(origin + QPointF(len - 4, -8), QString::number(km) + " km");
}

void drawTitle(QPainter& p, const MapSheet& s) {
    QFont f("DejaVu Sans");
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    QString title = QString::fromStdString(s.title);
    QRectF box(10, 10, QFontMetricsF(f).horizontalAdvance(title) + 20, 28);
    p.setPen(QPen(kCasing, 1));
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRect(box);
    p.setPen(kText);
    p.drawText(box, Qt::AlignCenter, title);
}

}  // namespace

QPointF sheetPixel(const MapSheet& s, GeoPoint p) {
    return {(p.lon - s.left) / (s.right - s.left) * s.width, (s.top - p.lat) / (s.top - s.bottom) * s.height};
}

QImage paintSheet(const Area& area, const MapSheet& sheet) {
    QImage image(sheet.width, sheet.height, QImage::Format_RGB32);
    image.fill(kLand);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const Place& pl : area.places) drawBuiltUp(p, sheet, pl);
    for (const Water& w : area.water) drawWater(p, sheet, w);
    drawRoads(p, sheet, area.roads);
    drawPlaces(p, sheet, area.places);
    drawScaleBar(p, sheet);
    drawTitle(p, sheet);
    return image;
}

}  // namespace tarvok::demo
