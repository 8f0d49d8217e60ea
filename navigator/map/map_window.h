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
#include <memory>
#include <string>

#include "navigator/gps/update_position.h"
#include "navigator/map/map_bitmap.h"
#include "navigator/map/map_calibration.h"
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
public:
    // What the map uses of the main window.
    struct Links {
        const MainWindowControls& controls;  // Picture1 and the controls in and around it, the buttons
        NavigatorState& state;               // map loaded, target zoom level, settings, program folder
        StatusLine& status;
        WindowModes& modes;                  // a coordinate box click stops a mode
        Dialogs& dialogs;
        SoundPlayback& sound;
        const DosPaths& paths;
        ShellPlugs& plugs;                   // where it plugs in as the map view
    };
    explicit MapWindow(Links links, QObject* parent = nullptr);
    ~MapWindow() override;

    // The load-a-map operation of the LOAD button.
    void Command2_Click();
    // Loads the bitmap at the current map path and shows it whole; false
    // when no new bitmap could be loaded (the previous one then stays, and
    // a message says why unless `tell` is off).
    bool LoadMapBitmap(bool tell = true);

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
    // in Latid/Longi/NSText/EWText. True when a map was loaded; otherwise
    // the current map and its calibration stay as they were.
    bool FindMapForPosition() override;
    // A build or a search runs (further presses are ignored).
    bool selectionRunning() const { return selecting_; }

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
    gps::PositionCalls* position_ = nullptr;
    Trail trail_;
    int wheelRest_ = 0;            // wheel turn not yet worth a zoom step
    QPoint dragFrom_;              // where a drag started, picture pixels
    int dragScroll_[2] = {0, 0};   // the scroll values when it started
    bool dragging_ = false;
};

}  // namespace tarvok::map
