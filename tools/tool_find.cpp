// tarvok-tool find: the map that automatic map selection chooses for a
// position, from the map database in the program folder.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "common/text.h"
#include "navigator/map/map_database_files.h"
#include "tools/map_database_path.h"
#include "tools/tool_verbs.h"

namespace {

using namespace tarvok;

int find(const std::vector<std::string>& args) {
    if (args.size() != 2 || !isNumeric(args[0]) || !isNumeric(args[1])) {
        std::fprintf(stderr, "usage: tarvok-tool find LAT LON   (decimal degrees, south and west negative)\n");
        return 2;
    }
    const DosPaths paths(DosPaths::defaultPrefix());
    const std::string dbPath = tool::mapDatabaseDosPath(paths);
    map::DosMapFolderFiles files(paths);
    const std::optional<std::string> content = files.readFile(dbPath);
    if (!content || !map::mapDatabaseSearchable(content->size())) {
        for (const std::string& line : map::noMapDatabaseLines(Language::English))
            std::fprintf(stderr, "%s\n", line.c_str());
        return 1;
    }
    const double lat = numericValue(args[0]);
    const double lon = numericValue(args[1]);
    const std::vector<map::MapRecord> records = map::decodeMapDatabase(*content);
    const map::MapSearch s =
        map::searchMapForPosition(records, decimalCommaText(std::abs(lat)), decimalCommaText(std::abs(lon)),
                                  lat < 0 ? "S" : "N", lon < 0 ? "W" : "E");
    if (s.outcome != map::MapSearchOutcome::Found) {
        std::fprintf(stderr, "%s\n", map::noMapFoundText(Language::English));
        return 1;
    }
    const map::MapRecord& r = records[s.index];
    const map::CornerBoxes b = map::mapRecordCornerBoxes(r);
    std::printf("%s\n%s\nTextLB %s\nTextRB %s\nTextLO %s\nTextRO %s\n", r.bitmapPath().c_str(),
                map::foundMapLabelText(r).c_str(), cp1252ToUtf8(b.upperLeft).c_str(),
                cp1252ToUtf8(b.upperRight).c_str(), cp1252ToUtf8(b.lowerLeft).c_str(),
                cp1252ToUtf8(b.lowerRight).c_str());
    return 0;
}

tarvok::tool::VerbRegistration reg("find", "find LAT LON   the map the database chooses for a position", find);

}  // namespace
