#include "navigator/gps/position_display.h"

#include <QColor>
#include <QLineEdit>
#include <cmath>

#include "common/text.h"
#include "navigator/gps/needles.h"
#include "navigator/map/map_window.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/shell_widgets.h"
#include "platform/dialogs.h"

namespace tarvok::gps {

namespace {

std::string boxText(const MainWindow& w, const char* name) {
    auto* box = w.control<QLineEdit>(name);
    return box ? utf8ToCp1252(box->text().toStdString()) : std::string();
}

void setBox(MainWindow& w, const char* name, const std::string& text) {
    auto* box = w.control<QLineEdit>(name);
    if (!box) return;
    const QString shown = QString::fromStdString(cp1252ToUtf8(text));
    if (box->text() != shown) box->setText(shown);
}

}  // namespace

PositionDisplay::PositionDisplay(MainWindow& window, map::MapWindow& map) : window_(window), map_(map) {}

MotionDisplay PositionDisplay::readouts() const {
    MotionDisplay d;
    d.tijds = boxText(window_, "Tijds");
    d.latid = boxText(window_, "Latid");
    d.nsText = boxText(window_, "NSText");
    d.longi = boxText(window_, "Longi");
    d.ewText = boxText(window_, "EWText");
    d.speed = boxText(window_, "Speed");
    d.smode = boxText(window_, "Smode");
    d.koers = boxText(window_, "Koers");
    d.windr = boxText(window_, "Windr");
    d.datum = boxText(window_, "Datum");
    d.course = course_;
    return d;
}

void PositionDisplay::writeReadouts(const MotionDisplay& d) {
    setBox(window_, "Tijds", d.tijds);
    setBox(window_, "Latid", d.latid);
    setBox(window_, "NSText", d.nsText);
    setBox(window_, "Longi", d.longi);
    setBox(window_, "EWText", d.ewText);
    setBox(window_, "Speed", d.speed);
    setBox(window_, "Smode", d.smode);
    setBox(window_, "Koers", d.koers);
    setBox(window_, "Windr", d.windr);
    setBox(window_, "Datum", d.datum);
}

void PositionDisplay::showFix(const RmcFields& fields) {
    const NavigatorSettings& s = window_.state().settings;
    DisplaySettings settings{static_cast<int>(numericValue(s.hourOffset)), s.speedUnit};
    MotionDisplay d = readouts();
    showRmc(fields, settings, d);
    course_ = d.course;
    writeReadouts(d);
    drawNeedles(shownSpeedValue(d), d.course);
}

void PositionDisplay::drawNeedles(std::int32_t shownSpeed, std::int32_t course) {
    InstrumentPanel* panel = window_.picture2();
    if (!panel) return;
    panel->clearDrawing();
    for (const NeedleLine& l : needleLines(shownSpeed, course))
        panel->drawLine(l.from.x, l.from.y, l.to.x, l.to.y, QColor(l.r, l.g, l.b));
}

PositionOutcome PositionDisplay::UpdatePosition() {
    routePointFilled_ = false;
    MotionDisplay d = readouts();
    PlacedPosition placed = placePosition(d, map_.calibration(), pixel_, window_.state().settings.autoMapSearch);
    // The readouts as UpdatePosition left them ("0" for an unreadable
    // number, "N" / "E" for an empty hemisphere).
    setBox(window_, "Latid", d.latid);
    setBox(window_, "Longi", d.longi);
    if (placed.outcome == PositionOutcome::Unusable) return placed.outcome;
    setBox(window_, "NSText", d.nsText);
    setBox(window_, "EWText", d.ewText);
    latitude_ = placed.latitude;
    longitude_ = placed.longitude;
    if (placed.outcome == PositionOutcome::OutOfRange) {
        window_.setStatus(kOutOfRangeText);
        if (placed.startMapSearch && mapSearch_) mapSearch_();
        else window_.dialogs().beep();
        return placed.outcome;
    }
    setBox(window_, "Xtext", integerText(pixel_.x));
    setBox(window_, "Ytext", integerText(pixel_.y));
    const NavigatorState& state = window_.state();
    if (state.playbackActive == 1) return placed.outcome;
    route::RouteRecord r;
    r.type = 'M';
    r.timeStamp = static_cast<double>(route::routeSecondsNow());
    r.latHemisphere = d.nsText[0];
    r.latitude = std::fabs(latitude_);
    r.lonHemisphere = d.ewText[0];
    r.longitude = std::fabs(longitude_);
    r.speed = shownSpeedValue(d);
    r.speedUnit = state.settings.speedUnit;
    r.course = course_;
    routePoint_ = r;
    routePointFilled_ = true;
    return placed.outcome;
}

void PositionDisplay::followPosition() {
    map_.view().position = pixel_;
    map_.followPosition();
}

}  // namespace tarvok::gps
