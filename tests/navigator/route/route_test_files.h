// Route files written by the tests: blocks of a filler and recorded
// positions with time stamps one second apart.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "navigator/route/route_record.h"
#include "tests/support/temp_prefix.h"

namespace tarvok::route::test {

// A recorded position numbered n: time stamp `base` + n seconds, a
// position that moves with n, speed n % 200 km/h, course n % 360.
inline RouteRecord recordedPoint(std::int64_t n, double base = 1.0e9) {
    RouteRecord r;
    r.type = 'M';
    r.timeStamp = base + static_cast<double>(n);
    r.latHemisphere = 'N';
    r.latitude = 52.0 + static_cast<double>(n) * 1e-4;
    r.lonHemisphere = 'E';
    r.longitude = 4.5 + static_cast<double>(n) * 1e-4;
    r.speed = static_cast<std::int32_t>(n % 200);
    r.speedUnit = '1';
    r.course = static_cast<std::int32_t>(n % 360);
    return r;
}

// The bytes of `blocks` blocks of a filler and 501 positions; record k of
// the file is the position numbered k (its time stamp base + k).
inline std::string routeFileBytes(int blocks, double base = 1.0e9, int pointsPerBlock = 501) {
    std::string bytes;
    std::int64_t k = 0;
    for (int b = 0; b < blocks; ++b) {
        bytes.append(kRouteRecordSize, '\0');
        ++k;
        for (int i = 0; i < pointsPerBlock; ++i, ++k) {
            RouteRecordBytes rb = encodeRouteRecord(recordedPoint(k, base));
            bytes.append(reinterpret_cast<const char*>(rb.data()), rb.size());
        }
    }
    return bytes;
}

}  // namespace tarvok::route::test
