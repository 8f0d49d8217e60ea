#include "navigator/gps/update_position.h"

#include <cmath>

#include "common/text.h"

namespace tarvok::gps {

namespace {
void zeroWhenUnreadable(std::string& readout) {
    if (readout == " " || readout.empty() || !isNumeric(readout)) readout.assign(1, '0');
}
}  // namespace

PlacedPosition placePosition(MotionDisplay& d, const map::MapCalibration& map, map::PixelPosition& pixel,
                             char autoMapSearch) {
    PlacedPosition r;
    zeroWhenUnreadable(d.latid);
    zeroWhenUnreadable(d.longi);
    double lat = numericValue(d.latid);
    double lon = numericValue(d.longi);
    if (lat > 360 || lon > 360) return r;
    if (d.nsText.empty()) d.nsText.assign(1, 'N');
    if (d.ewText.empty()) d.ewText.assign(1, 'E');
    if (d.nsText == "S" || d.nsText == "Z") lat = -std::fabs(lat);
    if (d.ewText == "W") lon = -std::fabs(lon);
    r.latitude = lat;
    r.longitude = lon;
    if (!map::GeoToPixel(map, lat, lon, pixel)) {
        r.outcome = PositionOutcome::OutOfRange;
        r.startMapSearch = autoMapSearch == '1';
        r.beep = !r.startMapSearch;
        return r;
    }
    r.outcome = PositionOutcome::OnMap;
    return r;
}

}  // namespace tarvok::gps
