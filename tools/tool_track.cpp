// tarvok-tool track: the points of a track file as the navigator shows them.
#include <cstdio>

#include "common/text.h"
#include "navigator/route/track/track_gpx.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"
#include "tools/tool_verbs.h"

namespace {

int track(const std::vector<std::string>& args) {
    std::string file;
    int thinning = 0;
    int hourOffset = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--thin" || a == "--hour-offset") && i + 1 < args.size() && tarvok::isNumeric(args[i + 1])) {
            const int v = tarvok::roundToInt32Clamped(tarvok::numericValue(args[++i]));
            (a == "--thin" ? thinning : hourOffset) = v;
        } else if (file.empty() && !a.starts_with("--")) {
            file = a;
        } else {
            std::fprintf(stderr, "tarvok-tool track: unexpected argument '%s'\n", a.c_str());
            return 2;
        }
    }
    if (file.empty()) {
        std::fprintf(stderr, "usage: tarvok-tool track FILE [--thin N] [--hour-offset H]\n");
        return 2;
    }
    int openError = 0;
    auto source = tarvok::openTrackFile(file, file, hourOffset, &openError);
    if (!source) {
        std::fprintf(stderr, "tarvok-tool track: cannot open %s\n", tarvok::fileErrorText(file, openError).c_str());
        return 1;
    }
    tarvok::TrackImport import(std::move(source));
    std::printf("Tijds\tDatum\tNSText\tLatid\tEWText\tLongi\n");
    std::size_t lines = 0, points = 0;
    for (;;) {
        tarvok::TrackStep s = import.step(thinning);
        using Kind = tarvok::TrackStep::Kind;
        if (s.kind == Kind::Error) {
            std::fprintf(stderr, "tarvok-tool track: %s: %s\n", file.c_str(), s.error.c_str());
            return 1;
        }
        if (s.kind == Kind::End) break;
        ++lines;
        if (s.kind != Kind::Point) continue;
        ++points;
        const auto& p = s.point;
        std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", p.tijds.c_str(), p.datum.c_str(), p.nsText.c_str(), p.latid.c_str(),
                    p.ewText.c_str(), p.longi.c_str());
    }
    std::fprintf(stderr, "%zu lines, %zu points shown\n", lines, points);
    return 0;
}

tarvok::tool::VerbRegistration reg("track",
                                   "track FILE [--thin N] [--hour-offset H]   points of a .trk/.txt/.gpx track", track);

}  // namespace
