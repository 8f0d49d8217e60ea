// tarvok-tool route: every record of a route file, one line each.
#include <cstdio>
#include <filesystem>

#include "common/text.h"
#include "navigator/route/route_file.h"
#include "tools/tool_verbs.h"

namespace {

using namespace tarvok::route;

std::string typeText(const RouteRecord& r) {
    if (r.isFiller()) return "filler";
    auto c = static_cast<unsigned char>(r.type);
    if (c >= 0x20 && c < 0x7f) return std::string(1, r.type);
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    return buf;
}

std::string letter(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u < 0x7f ? std::string(1, c) : std::string("?");
}

std::string unitText(char unit) {
    switch (unit) {
    case '1': return "kmh";
    case '2': return "mph";
    case '3': return "kts";
    default: return letter(unit);
    }
}

int route(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarvok-tool route FILE\n");
        return 2;
    }
    const std::filesystem::path file = args[0];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        std::fprintf(stderr, "tarvok-tool route: cannot open %s\n", file.c_str());
        return 1;
    }
    RouteFileReader reader(file);
    std::printf("index\ttype\tlocal time\tlatitude\tlongitude\tspeed\tunit\tcourse\n");
    for (std::int64_t k = 0; k < reader.count(); ++k) {
        std::optional<RouteRecord> r = reader.read(k);
        if (!r) {
            std::fprintf(stderr, "tarvok-tool route: %s: cannot read record %lld\n", file.c_str(),
                         static_cast<long long>(k));
            return 1;
        }
        LocalDateTime t = routeDateTimeOf(r->timeStamp);
        std::printf("%lld\t%s\t%02d-%02d-%04d %02d:%02d:%02d\t%s %s\t%s %s\t%d\t%s\t%d\n", static_cast<long long>(k),
                    typeText(*r).c_str(), t.day, t.month, t.year, t.hour, t.minute, t.second,
                    letter(r->latHemisphere).c_str(), tarvok::decimalCommaText(r->latitude).c_str(),
                    letter(r->lonHemisphere).c_str(), tarvok::decimalCommaText(r->longitude).c_str(), r->speed,
                    unitText(r->speedUnit).c_str(), r->course);
    }
    const auto size = std::filesystem::file_size(file, ec);
    const auto torn = ec ? 0 : size % kRouteRecordSize;
    std::fprintf(stderr, "%lld records", static_cast<long long>(reader.count()));
    if (torn)
        std::fprintf(stderr, ", %llu bytes of a torn last record left out", static_cast<unsigned long long>(torn));
    std::fprintf(stderr, "\n");
    return 0;
}

tarvok::tool::VerbRegistration reg("route", "route FILE   every record of a route file (ROUTE1.TVK)", route);

}  // namespace
