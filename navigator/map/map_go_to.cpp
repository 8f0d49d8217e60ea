// The go-to buttons and the coordinate boxes of the main window.
#include <QLineEdit>

#include "common/text.h"
#include "navigator/map/go_to.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/map_window.h"
#include "navigator/shell/navigator_state.h"
#include "platform/dialogs.h"

namespace tarvok::map {

std::string MapWindow::boxText(const QLineEdit* box) const { return utf8ToCp1252(box->text().toStdString()); }

void MapWindow::centreAndMark() {
    view_.CentreOnPosition();
    view_.DrawPositionMark();
    syncControls();
}

void MapWindow::Command3_Click() {
    const Language language = links_.state.language();
    if (links_.state.mapLoaded == 0) {
        links_.dialogs.beep();
        message(noMapLoadedLines(language));
        return;
    }
    links_.status.setStatus(goToPixelText(language));
    const std::optional<PixelPosition> p = typedPixel(boxText(links_.controls.pixelX), boxText(links_.controls.pixelY));
    if (!p) {
        links_.dialogs.beep();
        message(missingPixelLines(language));
        return;
    }
    // Not compared with the bitmap size: the view scrolls as far as it goes
    // and the mark is drawn where it falls inside the picture.
    view_.position = *p;
    centreAndMark();
}

void MapWindow::Command4_Click() {
    const Language language = links_.state.language();
    if (links_.state.mapLoaded == 0) {
        links_.dialogs.beep();
        message(noMapLoadedLines(language));
        return;
    }
    links_.status.setStatus(kGoToLatLonText);
    if (!isNumeric(boxText(links_.controls.latitude)) || !isNumeric(boxText(links_.controls.longitude))) {
        links_.dialogs.beep();
        message(missingLatLonLines(language));
        return;
    }
    if (!position_) return;
    const gps::PositionOutcome outcome = position_->UpdatePosition();
    if (outcome == gps::PositionOutcome::Unusable) return;
    // Off the map with the automatic search on, the map search has shown
    // the position on the map it found (or left everything as it was).
    if (outcome == gps::PositionOutcome::OutOfRange && links_.state.settings.autoMapSearch == '1') return;
    view_.position = position_->positionPixel();
    centreAndMark();
}

void MapWindow::coordinateBoxClick() {
    // Typed values are not overwritten by the next fix or route point.
    links_.modes.stopActiveMode();
}

void MapWindow::coordinateBoxDoubleClick(QLineEdit* box) { box->clear(); }

}  // namespace tarvok::map
