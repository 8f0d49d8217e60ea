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

std::string MapWindow::databaseDosPath() const {
    return links_.state.programFolder() + "\\" + kMapDatabaseName;
}

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

bool MapWindow::FindMapForPosition() {
    if (selecting_) return false;
    Running running(selecting_);
    NavigatorState& state = links_.state;
    const Language language = state.language();
    const DosPaths& paths = links_.paths;
    links_.status.setStatus(searchingMapText(language));
    yieldOnce();

    DosMapFolderFiles reader(paths);
    const std::vector<MapRecord> records = decodeMapDatabase(reader.readFile(databaseDosPath()).value_or(""));
    MapSearch s =
        searchMapForPosition(records, boxText(links_.controls.latitude), boxText(links_.controls.longitude), boxText(links_.controls.northSouth), boxText(links_.controls.eastWest));
    if (s.outcome == MapSearchOutcome::PositionNotNumeric) {
        message(missingLatLonLines(language));
        yieldOnce();
        return false;
    }
    if (!records.empty()) {
        setBox(links_.controls.northSouth, s.nsText);
        setBox(links_.controls.eastWest, s.ewText);
    }

    // The first record that holds the position and whose bitmap loads: a
    // bitmap that is gone or cannot be read is told once (the warning asks
    // for a new AUTO run) and the search goes on with the next record.
    const MapCalibration previous = map_;
    bool told = false;
    while (s.outcome == MapSearchOutcome::Found) {
        map_.edges = records[s.index].edges;
        map_.mapPath = records[s.index].bitmapPath();
        if (LoadMapBitmap(!told)) break;
        told = true;
        map_.mapPath = previous.mapPath;
        map_.edges = previous.edges;
        s = searchMapForPosition(records, boxText(links_.controls.latitude), boxText(links_.controls.longitude), s.nsText, s.ewText, s.index + 1);
    }
    if (s.outcome == MapSearchOutcome::NoMap) {
        // None, or none that could be loaded (told above with its own
        // beep): the previous map stays.
        if (!told) links_.dialogs.beep();
        links_.status.setStatus(noMapFoundText(language));
        yieldOnce();
        return false;
    }

    const MapRecord& r = records[s.index];
    map_.mapName = std::string(withoutLineEnding(r.nameLines[0]));
    endRadar();
    applyZoom();
    if (position_) {
        position_->UpdatePosition();
        view_.position = position_->positionPixel();
    }
    centreAndMark();

    const CornerBoxes boxes = mapRecordCornerBoxes(r);
    setBox(links_.controls.lowerLeftCorner, boxes.lowerLeft);
    setBox(links_.controls.lowerRightCorner, boxes.lowerRight);
    setBox(links_.controls.upperLeftCorner, boxes.upperLeft);
    setBox(links_.controls.upperRightCorner, boxes.upperRight);
    setBox(links_.controls.mapStatusLine, foundMapStatusText(map_.mapPath, map_.width, map_.height));
    links_.status.setStatus(foundMapLabelText(r));
    speakMapName();
    yieldOnce();
    return true;
}

}  // namespace tarvok::map
