// Draws a map sheet of the demonstration area with QPainter: land, sea,
// rivers and canals, roads by class, place names and a scale bar.
#pragma once

#include <QColor>
#include <QImage>

#include "demo_area.h"

namespace tarvok::demo {

// Fill colours of the roads, so a drawn road can be recognised.
inline const QColor kMotorwayColour(226, 112, 58);
inline const QColor kMainRoadColour(247, 212, 92);
inline const QColor kLocalRoadColour(255, 255, 255);

// The sheet drawn at its own size (RGB32).
QImage paintSheet(const Area& area, const MapSheet& sheet);

// The pixel of a point on a sheet (column, row), linear in latitude and
// longitude between the sheet's edges.
QPointF sheetPixel(const MapSheet& sheet, GeoPoint p);

}  // namespace tarvok::demo
