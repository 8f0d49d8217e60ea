#include "navigator/route/route_gpx.h"

#include <charconv>
#include <cmath>
#include <ctime>

namespace tarvok::route {

std::string gpxDegreesText(double degrees) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, degrees, std::chars_format::fixed, 8);
    if (ec != std::errc()) return "0";
    std::string s(buf, end);
    // Trailing zeros carry nothing.
    while (s.size() > 1 && s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

namespace {

// Local calendar time to UTC through the zone rules. The offset found for a
// local hour is kept for the next records of that hour, since zone offsets
// change only at hour boundaries; the zone is asked again for each new hour.
class UtcClock {
public:
    std::string text(double timeStamp) {
        if (!(timeStamp >= 0) || timeStamp > 2.5e11) return {};
        const auto seconds = static_cast<std::int64_t>(timeStamp);
        const std::int64_t hour = seconds / 3600;
        if (hour != hour_) {
            LocalDateTime t = routeDateTimeOf(static_cast<double>(hour * 3600));
            if (t.year > 9999) return {};
            std::tm local{};
            local.tm_year = t.year - 1900;
            local.tm_mon = t.month - 1;
            local.tm_mday = t.day;
            local.tm_hour = t.hour;
            local.tm_isdst = -1;  // the zone rules decide whether summer time applied
            std::time_t utc = std::mktime(&local);
            if (utc == static_cast<std::time_t>(-1)) return {};
            // UTC seconds since 1970 minus local calendar seconds since 1995.
            offset_ = static_cast<std::int64_t>(utc) - hour * 3600;
            hour_ = hour;
        }
        std::time_t utc = static_cast<std::time_t>(seconds + offset_);
        std::tm u{};
        if (!gmtime_r(&utc, &u)) return {};
        char buf[80];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", u.tm_year + 1900, u.tm_mon + 1, u.tm_mday,
                      u.tm_hour, u.tm_min, u.tm_sec);
        return buf;
    }

private:
    std::int64_t hour_ = -1;
    std::int64_t offset_ = 0;
};

}  // namespace

std::string gpxTimeText(double timeStamp) { return UtcClock().text(timeStamp); }

GpxExportCounts writeRouteGpx(const RouteFileReader& file, std::ostream& out) {
    GpxExportCounts counts;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"Tarvok\" xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
           "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
           "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
           "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
    bool inTrack = false, inSegment = false;
    UtcClock clock;
    for (std::int64_t k = 0; k < file.count(); ++k) {
        std::optional<RouteRecord> r = file.read(k);
        if (!r) break;
        if (r->isFiller()) {
            if (inSegment) out << "    </trkseg>\n";
            inSegment = false;
            continue;
        }
        const double lat = signedLatitude(*r), lon = signedLongitude(*r);
        // Longitude 180 is written as -180, the same meridian.
        const double gpxLon = lon == 180.0 ? -180.0 : lon;
        if (!(std::fabs(lat) <= 90.0) || !(std::fabs(gpxLon) <= 180.0) || gpxLon == 180.0) {
            ++counts.skipped;
            continue;
        }
        if (!inTrack) {
            out << "  <trk>\n    <name>ROUTE1.TVK</name>\n";
            inTrack = true;
        }
        if (!inSegment) {
            out << "    <trkseg>\n";
            inSegment = true;
            ++counts.segments;
        }
        out << "      <trkpt lat=\"" << gpxDegreesText(lat) << "\" lon=\"" << gpxDegreesText(gpxLon) << "\">";
        std::string time = clock.text(r->timeStamp);
        if (!time.empty()) out << "<time>" << time << "</time>";
        out << "</trkpt>\n";
        ++counts.points;
    }
    if (inSegment) out << "    </trkseg>\n";
    if (inTrack) out << "  </trk>\n";
    out << "</gpx>\n";
    return counts;
}

}  // namespace tarvok::route
