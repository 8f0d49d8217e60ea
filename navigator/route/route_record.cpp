#include "navigator/route/route_record.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>

namespace tarvok::route {

namespace {

void put32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put64(unsigned char* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint32_t get32(const unsigned char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
std::uint64_t get64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
void putDouble(unsigned char* p, double d) { put64(p, std::bit_cast<std::uint64_t>(d)); }
double getDouble(const unsigned char* p) { return std::bit_cast<double>(get64(p)); }
void putInt(unsigned char* p, std::int32_t v) { put32(p, static_cast<std::uint32_t>(v)); }
std::int32_t getInt(const unsigned char* p) { return static_cast<std::int32_t>(get32(p)); }

using namespace std::chrono;
constexpr sys_days kEpoch = sys_days{year{1995} / January / 1};

}  // namespace

RouteRecordBytes encodeRouteRecord(const RouteRecord& r) {
    RouteRecordBytes b{};
    unsigned char* p = b.data();
    p[0] = static_cast<unsigned char>(r.type);
    putDouble(p + 1, r.timeStamp);
    p[9] = static_cast<unsigned char>(r.latHemisphere);
    putDouble(p + 10, r.latitude);
    p[18] = static_cast<unsigned char>(r.lonHemisphere);
    putDouble(p + 19, r.longitude);
    putInt(p + 27, r.speed);
    p[31] = static_cast<unsigned char>(r.speedUnit);
    put32(p + 32, r.reserved32);
    putInt(p + 36, r.course);
    putInt(p + 40, r.x);
    putInt(p + 44, r.y);
    put32(p + 48, r.reserved48);
    put32(p + 52, r.reserved52);
    return b;
}

RouteRecord decodeRouteRecord(const unsigned char* p) {
    RouteRecord r;
    r.type = static_cast<char>(p[0]);
    r.timeStamp = getDouble(p + 1);
    r.latHemisphere = static_cast<char>(p[9]);
    r.latitude = getDouble(p + 10);
    r.lonHemisphere = static_cast<char>(p[18]);
    r.longitude = getDouble(p + 19);
    r.speed = getInt(p + 27);
    r.speedUnit = static_cast<char>(p[31]);
    r.reserved32 = get32(p + 32);
    r.course = getInt(p + 36);
    r.x = getInt(p + 40);
    r.y = getInt(p + 44);
    r.reserved48 = get32(p + 48);
    r.reserved52 = get32(p + 52);
    return r;
}

bool RouteRecord::isFiller() const {
    RouteRecordBytes b = encodeRouteRecord(*this);
    return std::all_of(b.begin(), b.end(), [](unsigned char c) { return c == 0; });
}

double signedLatitude(const RouteRecord& r) {
    double a = std::fabs(r.latitude);
    return r.latHemisphere == 'S' || r.latHemisphere == 'Z' ? -a : a;
}

double signedLongitude(const RouteRecord& r) {
    double a = std::fabs(r.longitude);
    return r.lonHemisphere == 'W' ? -a : a;
}

std::int64_t routeSecondsOf(const LocalDateTime& t) {
    sys_days d{year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)}};
    return (d - kEpoch).count() * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

LocalDateTime routeDateTimeOf(double seconds) {
    // Kept within 1 January of year 1 and the last second of year 9999.
    constexpr double kFirst = static_cast<double>((sys_days{year{1} / January / 1} - kEpoch).count()) * 86400.0;
    constexpr double kLast =
        static_cast<double>((sys_days{year{9999} / December / 31} - kEpoch).count()) * 86400.0 + 86399.0;
    double s = std::isnan(seconds) ? 0.0 : std::clamp(std::floor(seconds), kFirst, kLast);
    auto whole = static_cast<std::int64_t>(s);
    std::int64_t days = whole >= 0 ? whole / 86400 : -((-whole + 86399) / 86400);
    std::int64_t rest = whole - days * 86400;
    year_month_day ymd{kEpoch + std::chrono::days{days}};
    LocalDateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

LocalDateTime localDateTimeOf(std::int64_t secondsSince1970) {
    std::time_t tt = static_cast<std::time_t>(secondsSince1970);
    std::tm tm{};
    localtime_r(&tt, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::int64_t routeSecondsFromSystemTime(std::int64_t secondsSince1970) {
    return routeSecondsOf(localDateTimeOf(secondsSince1970));
}

std::int64_t routeSecondsNow() {
    return routeSecondsFromSystemTime(
        duration_cast<std::chrono::seconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace tarvok::route
