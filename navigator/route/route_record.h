// The route record: one recorded position, 56 bytes in the route file.
//
// Layout in the file (little-endian, no gaps, text fields one 8-bit byte):
//   offset  size  field
//        0     1  record type ('M' for a recorded position)
//        1     8  time stamp, IEEE 754 double: seconds since 1 January 1995
//                 00:00 of the computer's local clock
//        9     1  latitude hemisphere ('N', or 'S' / 'Z' for south)
//       10     8  latitude, decimal degrees without sign (double)
//       18     1  longitude hemisphere ('E', or 'W' for west)
//       19     8  longitude, decimal degrees without sign (double)
//       27     4  speed, 32-bit signed, in the unit of the next field
//       31     1  speed unit: '1' km/h, '2' mph, '3' knots
//       32     4  reserved (0)
//       36     4  course, whole degrees, 32-bit signed
//       40     4  X (0)
//       44     4  Y (0)
//       48     4  reserved (0)
//       52     4  reserved (0)
// A record whose 56 bytes are all zero is a filler record: every block of
// the file begins with one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvok::route {

inline constexpr std::size_t kRouteRecordSize = 56;

struct RouteRecord {
    char type = 0;
    double timeStamp = 0;
    char latHemisphere = 0;
    double latitude = 0;
    char lonHemisphere = 0;
    double longitude = 0;
    std::int32_t speed = 0;
    char speedUnit = 0;
    std::uint32_t reserved32 = 0;
    std::int32_t course = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t reserved48 = 0;
    std::uint32_t reserved52 = 0;

    // All 56 bytes zero.
    bool isFiller() const;
    bool operator==(const RouteRecord&) const = default;
};

using RouteRecordBytes = std::array<unsigned char, kRouteRecordSize>;

RouteRecordBytes encodeRouteRecord(const RouteRecord& r);
RouteRecord decodeRouteRecord(const unsigned char* bytes);

// The signed position of a record: south ('S' or 'Z') and west ('W') are
// negative, any other letter is north or east.
double signedLatitude(const RouteRecord& r);
double signedLongitude(const RouteRecord& r);

// ---------------------------------------------------------------- time

// A date and time of the local clock, as the calendar shows it.
struct LocalDateTime {
    int year = 1995, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const LocalDateTime&) const = default;
};

// Time stamps count the seconds of the local clock's calendar from
// 1 January 1995 00:00 (as the clock reads, so a summer-time change is no
// jump in the count). These convert between that count, calendar dates and
// seconds since 1970 (the system clock).

// Whole seconds from 1 January 1995 00:00 to the given calendar moment.
std::int64_t routeSecondsOf(const LocalDateTime& t);
// The calendar moment `seconds` (rounded down to whole seconds) after
// 1 January 1995 00:00; times far outside the calendar's years are kept
// within years 1..9999.
LocalDateTime routeDateTimeOf(double seconds);
// The local calendar moment of a system clock time (seconds since 1970).
LocalDateTime localDateTimeOf(std::int64_t secondsSince1970);
// Both together: the time stamp of a system clock time.
std::int64_t routeSecondsFromSystemTime(std::int64_t secondsSince1970);
// The time stamp of the present moment.
std::int64_t routeSecondsNow();

}  // namespace tarvok::route
