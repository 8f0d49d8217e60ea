// The map in the navigator's main window: the load button (Command2), the
// bitmap load, the map view inside Picture1 with its scroll bars, the zoom
// operations with their spoken words, the corner boxes and the status line
// Text8; the go-to buttons (Command3, Command4) with the coordinate boxes,
// and the map database (AUTO, Command12) with automatic map selection
// (FIND, Command13). Plugs itself into the window as its map view calls; a child of the
// window named "MapWindow".
#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "navigator/gps/update_position.h"
#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_calibration.h"
#include "navigator/map/map_database.h"
#include "navigator/map/map_loader.h"
#include "navigator/map/map_view_state.h"
#include "navigator/map/trail.h"
#include "navigator/shell/main_window_controls.h"
#include "navigator/shell/shell_calls.h"
#include "platform/dos_path.h"

class QLineEdit;

namespace tarvok {
class Dialogs;
class SoundPlayback;
struct NavigatorState;
}  // namespace tarvok

namespace tarvok::map {

class MapViewWidget;

class MapWindow : public QObject, public MapViewCalls, public gps::MapSearchCalls, private ZoomFeedback {
    Q_OBJECT
    // For tests and scripts, which wait until a load's outcome is shown.
    Q_PROPERTY(bool mapLoading READ mapLoading)
public:
    // What the map uses of the main window.
    struct Links {
        const MainWindowControls& controls;  // Picture1 and the controls in and around it, the buttons
        NavigatorState& state;               // map loaded, target zoom level, settings, program folder
        StatusLine& status;
        WindowModes& modes;  // a coordinate box click stops a mode
        Dialogs& dialogs;
        SoundPlayback& sound;
        const DosPaths& paths;
        ShellPlugs& plugs;  // where it plugs in as the map view
    };
    explicit MapWindow(Links links, QObject* parent = nullptr);
    ~MapWindow() override;

    // The load-a-map operation of the LOAD button.
    void Command2_Click();

    // A bitmap to load: its DOS path and, from the map database, the edges
    // that come with it; `tell` off keeps the failure message back.
    struct MapLoadRequest {
        std::string mapPath;
        std::optional<MapEdges> edges;
        bool tell = true;
    };
    // Loads the bitmap of `request` and shows it whole. The file is read on
    // a worker while the window goes on with the current map (or the
    // radar); once it is in memory the window switches in one step (zoom
    // level 0, the new bitmap with its path and edges, its size, the whole
    // map fitted to the picture) and runs `then(true)`. A bitmap that cannot
    // be read is said in a message, the display steps run on the bitmap
    // held, and `then(false)`: the current map, its path and calibration
    // stay. A missing file is found at once: its outcome (a beep and the
    // message) is shown before this returns false, without `then`.
    // A later load replaces one still running, whose `then` never runs.
    bool LoadMapBitmap(MapLoadRequest request, std::function<void(bool loaded)> then);
    // A map load or a map search is under way.
    bool mapLoading() const { return loader_.reading() || searching_; }

    // Go to the typed X/Y pixel / the typed latitude and longitude.
    void Command3_Click();
    void Command4_Click();
    // A click on Xtext, Ytext, Latid or Longi stops a running navigation or
    // route playback; a double click empties the box.
    void coordinateBoxClick();
    void coordinateBoxDoubleClick(QLineEdit* box);

    // AUTO: BuildMapDatabase. FIND: FindMapForPosition when the database
    // holds a record, else the no-database warning.
    void Command12_Click();
    void Command13_Click();
    // Rebuilds "Autoload.TVK" in the program folder from the corner files of
    // the current map's folder, one file per event-loop turn with its path
    // in Label6. The current map and its calibration stay as they are; a
    // build that cannot be written keeps the previous database.
    void BuildMapDatabase();
    // Loads the first map of the database that contains the position shown
    // in Latid/Longi/NSText/EWText and whose bitmap can be read; its bitmap
    // is read while the window goes on. True when such a map was found and
    // its bitmap is being read; when none loads, the current map and its
    // calibration stay as they were.
    bool FindMapForPosition() override;
    bool mapBeingRead() const override { return loader_.reading(); }
    // A build or a search runs (further presses are ignored).
    bool selectionRunning() const { return selecting_ || searching_; }

    // UpdatePosition of the position display (navigator/gps), which the
    // go-to and the map selection run, and the position pixel it set (bitmap
    // pixels). Without it the typed latitude and longitude are not placed.
    void setPositionCalls(gps::PositionCalls* calls) { position_ = calls; }

    // Shows the position P (bitmap pixels) after a fix or a route point: with
    // the moving-map box Check1 ticked and a zoom level above 0 the view
    // recentres on it (CentreOnPosition), otherwise P is converted to the
    // screen pixel that shows it (BitmapToView); then DrawPositionMark.
    void followPosition();

    // The trail of the positions shown since navigation or a playback
    // started: a position joins it (and the picture) as the view follows it;
    // a new navigation or playback starts it afresh. Shown or hidden with the
    // trail box Check2 and the P key.
    void addTrailPosition(GeoPosition p);
    void clearTrail();
    const Trail& trail() const { return trail_; }
    void showTrail(bool shown);

    MapCalibration& calibration() { return map_; }
    MapViewState& view() { return view_; }
    MapZoom& zoom() { return zoom_; }
    const MapBitmap& bitmap() const { return bitmap_; }
    MapViewWidget& viewWidget() { return *widget_; }

    // MapViewCalls
    void resetForStart() override;
    void showStartPicture(const QImage& picture) override;
    void applyZoom() override;
    void zoomIn() override;
    void zoomOut() override;
    void zoomFull() override;
    void zoomToLevel() override;
    void resetZoomLevel() override { view_.zoom = 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ZoomFeedback
    void showStatus(const std::string& text) override;
    Language language() const override;
    bool spokenOutput() const override;
    void startSound(const std::string& fileName) override;
    void waitForSoundEnd() override;

    template <class Op>
    void zoomOperation(Op op);
    struct FoundMaps;
    void mapRead(const MapLoadRequest& request, MapBitmap::ReadImage read, const std::function<void(bool)>& then);
    void showWholeBitmap();
    void showChosenMap(bool loaded, const std::string& previousStatus);
    bool loadFoundMap(std::shared_ptr<FoundMaps> found);
    void skipFoundMap(FoundMaps& found);
    void showFoundMap(const MapRecord& record);
    void endRadar();
    void speakMapName();
    std::string databaseDosPath() const;
    std::string boxText(const QLineEdit* box) const;
    void centreAndMark();
    void fitToPicture();
    void syncControls();
    void setBox(QLineEdit* box, const std::string& text);
    void message(const std::vector<std::string>& lines);
    // The map picture's mouse: the wheel zooms as the zoom buttons do, a drag
    // scrolls while the moving map is off; neither while a go-to box has the focus.
    bool mouseOnMap(QEvent* event);
    bool goToBoxHasFocus() const;

    Links links_;
    MapCalibration map_;
    MapBitmap bitmap_;
    MapViewWidget* widget_;
    MapViewState view_;
    MapZoom zoom_;
    bool syncing_ = false;
    bool selecting_ = false;
    bool searching_ = false;
    gps::PositionCalls* position_ = nullptr;
    Trail trail_;
    int wheelRest_ = 0;           // wheel turn not yet worth a zoom step
    QPoint dragFrom_;             // where a drag started, picture pixels
    int dragScroll_[2] = {0, 0};  // the scroll values when it started
    bool dragging_ = false;
    MapLoader loader_;  // last: its workers end before the bitmap goes
};

}  // namespace tarvok::map
