// The map database: Autoload.TVK decoded and searched for a position, the
// database entry of a corner file with its bitmap's header, and a whole
// build over a folder whose files are pieces of the input.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "navigator/map/map_database.h"

using namespace tarvok::map;

namespace {

// Files of a folder: name -> content; a name without content cannot be read.
class FuzzFiles : public MapFolderFiles {
public:
    std::map<std::string, std::string> files;
    std::optional<std::string> readFile(const std::string& dosPath) override {
        auto it = files.find(dosPath);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    std::optional<std::string> readStart(const std::string& dosPath, std::size_t count) override {
        auto it = files.find(dosPath);
        if (it == files.end()) return std::nullopt;
        return it->second.substr(0, count);
    }
};

bool sameEdges(const MapEdges& a, const MapEdges& b) {
    for (auto [x, y] : {std::pair{a.top, b.top}, {a.bottom, b.bottom}, {a.left, b.left}, {a.right, b.right}})
        if (!(std::isnan(x) && std::isnan(y)) && x != y) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();

    if (mode % 2 == 0) {
        // A database file, searched for a position given before it.
        std::string_view latid = in.until('\n');
        std::string_view longi = in.until('\n');
        std::string_view ns = in.take(in.byte() % 4);
        std::string_view ew = in.take(in.byte() % 4);
        std::string_view content = in.rest();
        (void)mapDatabaseSearchable(content.size());
        std::vector<MapRecord> records = decodeMapDatabase(content);
        if (records.size() != content.size() / kMapRecordSize) __builtin_trap();
        for (const MapRecord& r : records) {
            // A record written back reads the same.
            MapRecord again = decodeMapRecord(encodeMapRecord(r));
            if (again.cornerFilePath != r.cornerFilePath || !sameEdges(again.edges, r.edges)) __builtin_trap();
            (void)r.bitmapPath();
            (void)mapRecordCornerBoxes(r);
            (void)foundMapLabelText(r);
        }
        MapSearch found = searchMapForPosition(records, latid, longi, ns, ew);
        if (found.outcome == MapSearchOutcome::Found) {
            if (found.index >= records.size()) __builtin_trap();
            const MapRecord& r = records[found.index];
            (void)foundMapStatusText(r.bitmapPath(), 640, 480);
        }
        (void)mapFolderOf(latid);
    } else {
        // A folder of corner files and bitmaps: "path\0content\0" pairs,
        // every ".des" among them built in input order.
        FuzzFiles files;
        std::vector<std::string> cornerFiles;
        while (!in.empty()) {
            std::string path(in.until('\0'));
            std::string content(in.until('\0'));
            if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".des") == 0) cornerFiles.push_back(path);
            files.files[path] = content;
        }
        (void)bitmapSizeFromHeader(files.files.empty() ? std::string() : files.files.begin()->second);
        MapDatabaseBuild build(cornerFiles, BitmapSize{640, 480});
        while (!build.done()) {
            (void)build.nextPath();
            (void)build.step(files);
        }
        if (build.content().size() % kMapRecordSize != 0) __builtin_trap();
        (void)decodeMapDatabase(build.content());
    }
    return 0;
}
