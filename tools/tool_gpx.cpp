// tarvok-tool gpx: a route file as a GPX 1.1 track on standard output.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "navigator/route/route_gpx.h"
#include "tools/tool_verbs.h"

namespace {

int gpx(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarvok-tool gpx FILE > route.gpx\n");
        return 2;
    }
    const std::filesystem::path file = args[0];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        std::fprintf(stderr, "tarvok-tool gpx: cannot open %s\n", file.c_str());
        return 1;
    }
    tarvok::route::RouteFileReader reader(file);
    tarvok::route::GpxExportCounts c = tarvok::route::writeRouteGpx(reader, std::cout);
    std::cout.flush();
    if (!std::cout) {
        std::fprintf(stderr, "tarvok-tool gpx: cannot write the output\n");
        return 1;
    }
    std::fprintf(stderr, "%lld track segments, %lld points", static_cast<long long>(c.segments),
                 static_cast<long long>(c.points));
    if (c.skipped)
        std::fprintf(stderr, ", %lld records without a valid position left out", static_cast<long long>(c.skipped));
    std::fprintf(stderr, "\n");
    return 0;
}

tarvok::tool::VerbRegistration reg("gpx", "gpx FILE   a route file as a GPX 1.1 track (one segment per block)", gpx);

}  // namespace
