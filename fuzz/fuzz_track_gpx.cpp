// GPX tracks read point by point, and the texts of a point from its
// attributes as written.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_input.h"
#include "navigator/route/track/track_gpx.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    const int hourOffset = in.byte() % 24;
    if (in.byte() & 1) {
        std::string_view lat = in.until('\n');
        std::string_view lon = in.until('\n');
        (void)gpxPointTexts(lat, lon, in.rest(), hourOffset);
        return 0;
    }
    std::istringstream stream{std::string(in.rest())};
    GpxTrackSource source(stream, hourOffset);
    while (source.advance()) (void)source.point();
    (void)source.error();
    return 0;
}
