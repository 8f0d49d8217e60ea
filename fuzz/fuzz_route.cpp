// A route file read record by record from disk, exported as GPX, and each
// record's time and position turned into their texts.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "navigator/route/route_file.h"
#include "navigator/route/route_gpx.h"
#include "navigator/route/route_record.h"

using namespace tarvok::route;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader works on a file; one per fuzzing process, rewritten each time.
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("tarvok-fuzz-route-" + std::to_string(getpid()) + ".RUT");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    RouteFileReader reader(file);
    if (reader.count() > static_cast<std::int64_t>(size / kRouteRecordSize)) __builtin_trap();
    for (std::int64_t k = -1; k <= reader.count(); ++k) {
        std::optional<RouteRecord> r = reader.read(k);
        if (!r) continue;
        // A record written back reads the same, bit for bit.
        RouteRecordBytes bytes = encodeRouteRecord(*r);
        RouteRecordBytes again = encodeRouteRecord(decodeRouteRecord(bytes.data()));
        if (bytes != again) __builtin_trap();
        (void)signedLatitude(*r);
        (void)signedLongitude(*r);
        (void)gpxTimeText(r->timeStamp);
        (void)gpxDegreesText(r->latitude);
        (void)routeDateTimeOf(r->timeStamp);
    }
    std::ostringstream gpx;
    (void)writeRouteGpx(reader, gpx);
    return 0;
}
