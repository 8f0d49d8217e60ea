// tarvok-tool mapdb: builds the map database of a folder of calibrated maps,
// the same "Autoload.TVK" that the AUTO button writes, and prints its records
// in database order (most detailed map first) with each map's metres per pixel.
#include <cstdio>
#include <fstream>

#include "navigator/map/map_database_files.h"
#include "tools/map_database_path.h"
#include "tools/tool_verbs.h"

namespace {

using namespace tarvok;

int mapdb(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarvok-tool mapdb FOLDER\n");
        return 2;
    }
    const DosPaths paths(DosPaths::defaultPrefix());
    // A DOS folder ("C:\KAARTEN") as given, a native one in its DOS form.
    std::string folder = args[0].size() >= 2 && args[0][1] == ':' ? args[0] : paths.toDos(args[0]);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    const std::vector<std::string> corners = map::cornerFilesIn(paths, folder);
    if (corners.empty()) {
        std::fprintf(stderr, "tarvok-tool mapdb: no corner-coordinate files (*.des) in %s\n", folder.c_str());
        return 1;
    }

    map::MapDatabaseBuild build(corners, map::BitmapSize{640, 480});
    map::DosMapFolderFiles files(paths);
    while (!build.done()) {
        const std::string path = build.nextPath();
        switch (build.step(files)) {
        case map::MapEntryOutcome::Written: break;
        case map::MapEntryOutcome::PathTooLong:
            std::fprintf(stderr, "left out, path longer than 36 characters: %s\n", path.c_str());
            break;
        case map::MapEntryOutcome::NotNumeric:
            std::fprintf(stderr, "left out, coordinates not numeric: %s\n", path.c_str());
            break;
        }
    }

    for (const map::MapDatabaseBuild::Ranked& r : build.records())
        std::printf("%s  %.2f m/pixel\n", r.cornerFilePath.c_str(), r.metresPerPixel);

    // Written beside the old database and renamed over it, so a failed
    // write keeps the previous one.
    const std::filesystem::path target = paths.toNative(tool::mapDatabaseDosPath(paths));
    if (auto error = map::writeMapDatabase(target, build.content())) {
        std::fprintf(stderr, "tarvok-tool mapdb: cannot write %s: %s\n", target.string().c_str(), error->c_str());
        return 1;
    }
    std::fprintf(stderr, "%zu maps in %s;%s\n", build.recordCount(), target.string().c_str(),
                 map::databaseLoadedText(Language::English, build.leftOutLongPaths()).c_str());
    return 0;
}

tarvok::tool::VerbRegistration reg("mapdb", "mapdb FOLDER   build the map database of a folder of maps", mapdb);

}  // namespace
