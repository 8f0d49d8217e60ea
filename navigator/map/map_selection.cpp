// The map database in the main window: AUTO builds "Autoload.TVK" from the
// current map's folder, FIND (and a position that leaves the map while the
// automatic map search is on) loads the first map that contains the shown
// position.
#include <QCoreApplication>
#include <QLineEdit>

#include "common/text.h"
#include "navigator/map/go_to.h"
#include "navigator/map/map_database.h"
#include "navigator/map/map_database_files.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/map_window.h"
#include "navigator/shell/navigator_state.h"
#include "platform/dialogs.h"

namespace tarvok::map {

namespace {

// Marks a build or search as running for its whole extent.
class Running {
public:
    explicit Running(bool& flag) : flag_(flag) { flag_ = true; }
    ~Running() { flag_ = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& flag_;
};

void yieldOnce() { QCoreApplication::processEvents(); }

}  // namespace

std::string MapWindow::databaseDosPath() const { return links_.state.programFolder() + "\\" + kMapDatabaseName; }

void MapWindow::Command12_Click() { BuildMapDatabase(); }

void MapWindow::Command13_Click() {
    if (selecting_) return;
    const DosPaths& paths = links_.paths;
    std::error_code ec;
    const std::string db = databaseDosPath();
    const std::uintmax_t size = paths.exists(db) ? std::filesystem::file_size(paths.toNative(db), ec) : 0;
    if (ec || !mapDatabaseSearchable(size)) {
        links_.dialogs.beep();
        message(noMapDatabaseLines(links_.state.language()));
        return;
    }
    FindMapForPosition();
}

void MapWindow::BuildMapDatabase() {
    if (selecting_) return;
    NavigatorState& state = links_.state;
    const Language language = state.language();
    const DosPaths& paths = links_.paths;
    // No map loaded yet, or a folder without corner files: nothing to build,
    // and the database there is kept.
    const std::string folder = mapFolderOf(map_.mapPath);
    std::vector<std::string> files = folder.empty() ? std::vector<std::string>{} : cornerFilesIn(paths, folder);
    if (files.empty()) {
        links_.dialogs.beep();
        message(noMapFilesLines(language));
        return;
    }
    Running running(selecting_);
    endRadar();
    view_.zoom = 0;
    applyZoom();

    // A map whose own bitmap header cannot be read is measured with the
    // loaded bitmap's size.
    MapDatabaseBuild build(std::move(files), {map_.width, map_.height});
    DosMapFolderFiles reader(paths);
    while (!build.done()) {
        links_.status.setStatus(build.nextPath());
        yieldOnce();
        if (links_.modes.programEnded()) return;
        build.step(reader);
    }
    const std::string db = databaseDosPath();
    if (auto error = writeMapDatabase(paths.toNative(db), build.content())) {
        links_.dialogs.beep();
        message(mapDatabaseNotWrittenLines(language, db, *error));
        links_.status.setStatus(mapLabelText(map_.mapName));
        return;
    }
    links_.status.setStatus(databaseLoadedText(language, build.leftOutLongPaths()));
}

// A search's records and where it stands, kept while a found map's bitmap
// is read.
struct MapWindow::FoundMaps {
    std::vector<MapRecord> records;
    MapSearch search;
    bool told = false;  // a bitmap that could not be loaded was said
};

bool MapWindow::FindMapForPosition() {
    if (selecting_ || searching_) return false;
    searching_ = true;
    const Language language = links_.state.language();
    links_.status.setStatus(searchingMapText(language));
    yieldOnce();
    if (!searching_) return false;  // a map chosen meanwhile replaced the search

    DosMapFolderFiles reader(links_.paths);
    auto found = std::make_shared<FoundMaps>();
    found->records = decodeMapDatabase(reader.readFile(databaseDosPath()).value_or(""));
    const MainWindowControls& c = links_.controls;
    found->search = searchMapForPosition(found->records, boxText(c.latitude), boxText(c.longitude),
                                         boxText(c.northSouth), boxText(c.eastWest));
    if (found->search.outcome == MapSearchOutcome::PositionNotNumeric) {
        message(missingLatLonLines(language));
        yieldOnce();
        searching_ = false;
        return false;
    }
    if (!found->records.empty()) {
        setBox(c.northSouth, found->search.nsText);
        setBox(c.eastWest, found->search.ewText);
    }
    return loadFoundMap(std::move(found));
}

bool MapWindow::loadFoundMap(std::shared_ptr<FoundMaps> found) {
    // The first record that holds the position and whose bitmap loads: a
    // bitmap that is gone or cannot be read is told once (the warning asks
    // for a new AUTO run) and the search goes on with the next record.
    while (found->search.outcome == MapSearchOutcome::Found) {
        const MapRecord& r = found->records[found->search.index];
        auto shown = [this, found](bool loaded) {
            if (loaded) {
                showFoundMap(found->records[found->search.index]);
                return;
            }
            skipFoundMap(*found);
            loadFoundMap(found);
        };
        if (LoadMapBitmap({r.bitmapPath(), r.edges, !found->told}, shown)) return true;  // shown once read
        skipFoundMap(*found);
    }
    // None, or none that could be loaded (told above with its own beep):
    // the previous map stays.
    if (!found->told) links_.dialogs.beep();
    links_.status.setStatus(noMapFoundText(links_.state.language()));
    yieldOnce();
    searching_ = false;
    return false;
}

void MapWindow::skipFoundMap(FoundMaps& found) {
    found.told = true;
    const MainWindowControls& c = links_.controls;
    found.search = searchMapForPosition(found.records, boxText(c.latitude), boxText(c.longitude), found.search.nsText,
                                        found.search.ewText, found.search.index + 1);
}

void MapWindow::showFoundMap(const MapRecord& r) {
    map_.mapName = std::string(withoutLineEnding(r.nameLines[0]));
    endRadar();
    applyZoom();
    if (position_) {
        position_->UpdatePosition();
        view_.position = position_->positionPixel();
    }
    centreAndMark();

    const CornerBoxes boxes = mapRecordCornerBoxes(r);
    const MainWindowControls& c = links_.controls;
    setBox(c.lowerLeftCorner, boxes.lowerLeft);
    setBox(c.lowerRightCorner, boxes.lowerRight);
    setBox(c.upperLeftCorner, boxes.upperLeft);
    setBox(c.upperRightCorner, boxes.upperRight);
    setBox(c.mapStatusLine, foundMapStatusText(map_.mapPath, map_.width, map_.height));
    links_.status.setStatus(foundMapLabelText(r));
    speakMapName();
    yieldOnce();
    searching_ = false;
}

}  // namespace tarvok::map
