// The route file as a GPX 1.1 track: one track segment per recorded block
// (a filler record starts a new block and is itself left out), each record a
// track point with signed coordinates (south and west negative) and its
// time in UTC.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "navigator/route/route_file.h"

namespace tarvok::route {

struct GpxExportCounts {
    std::int64_t segments = 0;
    std::int64_t points = 0;
    // Records left out because their position is no coordinate (latitude
    // beyond 90 degrees, longitude beyond 180, not a number).
    std::int64_t skipped = 0;
};

// Writes the whole file as one GPX document. A file without points gives a
// document without a track.
GpxExportCounts writeRouteGpx(const RouteFileReader& file, std::ostream& out);

// The UTC time of a time stamp in ISO 8601 ("2026-12-07T16:30:05Z"), read
// as the local clock of this computer; empty for a time stamp before 1995
// or beyond the year 9999.
std::string gpxTimeText(double timeStamp);

// A coordinate as GPX writes it: a point, up to 8 decimals, no exponent.
std::string gpxDegreesText(double degrees);

}  // namespace tarvok::route
