// The go-to buttons and the coordinate boxes of the main window, and the
// placing of a shown position on the map that they share with the map
// selection.
#include <QCoreApplication>
#include <QLineEdit>

#include "common/text.h"
#include "navigator/gps/update_position.h"
#include "navigator/map/go_to.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/map_window.h"
#include "navigator/shell/main_window.h"
#include "platform/dialogs.h"

namespace tarvok::map {

std::string MapWindow::boxText(const char* name) const {
    const auto* box = window_.control<QLineEdit>(name);
    return box ? utf8ToCp1252(box->text().toStdString()) : std::string();
}

void MapWindow::centreAndMark() {
    view_.zoom = window_.state().zoomLevel;
    view_.CentreOnPosition();
    view_.DrawPositionMark();
    syncControls();
}

void MapWindow::Command3_Click() {
    const char language = window_.state().settings.language;
    if (window_.state().mapLoaded == 0) {
        window_.dialogs().beep();
        message(noMapLoadedLines(language));
        return;
    }
    window_.setStatus(goToPixelText(language));
    const std::optional<PixelPosition> p = typedPixel(boxText("Xtext"), boxText("Ytext"));
    if (!p) {
        window_.dialogs().beep();
        message(missingPixelLines(language));
        return;
    }
    // Not compared with the bitmap size: the view scrolls as far as it goes
    // and the mark is drawn where it falls inside the picture.
    view_.position = *p;
    centreAndMark();
}

void MapWindow::Command4_Click() {
    const char language = window_.state().settings.language;
    if (window_.state().mapLoaded == 0) {
        window_.dialogs().beep();
        message(noMapLoadedLines(language));
        return;
    }
    window_.setStatus(kGoToLatLonText);
    if (!isNumeric(boxText("Latid")) || !isNumeric(boxText("Longi"))) {
        window_.dialogs().beep();
        message(missingLatLonLines(language));
        return;
    }
    // A map search started off the map has shown the position on the map
    // it found (or left everything as it was).
    if (UpdatePosition()) return;
    centreAndMark();
}

void MapWindow::coordinateBoxClick() {
    // Typed values are not overwritten by the next fix or route point.
    window_.stopActiveMode();
}

void MapWindow::coordinateBoxDoubleClick(const char* name) {
    if (auto* box = window_.control<QLineEdit>(name)) box->clear();
}

bool MapWindow::UpdatePosition() {
    NavigatorState& state = window_.state();
    gps::MotionDisplay d;
    d.latid = boxText("Latid");
    d.longi = boxText("Longi");
    d.nsText = boxText("NSText");
    d.ewText = boxText("EWText");
    const gps::PlacedPosition r = gps::placePosition(d, map_, view_.position, state.settings.autoMapSearch);
    // The readouts as the placing leaves them ("0" for an unreadable one,
    // "N" / "E" for an empty hemisphere).
    for (auto [name, text] : {std::pair{"Latid", &d.latid}, std::pair{"Longi", &d.longi},
                              std::pair{"NSText", &d.nsText}, std::pair{"EWText", &d.ewText}})
        if (boxText(name) != *text) setBox(name, *text);
    switch (r.outcome) {
    case gps::PositionOutcome::Unusable: return false;
    case gps::PositionOutcome::OutOfRange:
        window_.setStatus(gps::kOutOfRangeText);
        if (r.startMapSearch) {
            FindMapForPosition();
            return true;
        }
        window_.dialogs().beep();
        return false;
    case gps::PositionOutcome::OnMap:
        setBox("Xtext", integerText(view_.position.x));
        setBox("Ytext", integerText(view_.position.y));
        QCoreApplication::processEvents();
        return false;
    }
    return false;
}

}  // namespace tarvok::map
