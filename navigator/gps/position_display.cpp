#include "navigator/gps/position_display.h"

#include <QColor>
#include <cmath>
#include <utility>

#include "common/text.h"
#include "navigator/gps/needles.h"
#include "navigator/map/map_window.h"
#include "navigator/shell/navigator_state.h"
#include "navigator/shell/shell_widgets.h"
#include "platform/dialogs.h"

namespace tarvok::gps {

namespace {

// The readouts a received sentence shows, with their texts.
constexpr std::pair<Readout, std::string MotionDisplay::*> kMotionReadouts[] = {
    {Readout::Time, &MotionDisplay::tijds},
    {Readout::Latitude, &MotionDisplay::latid},
    {Readout::NorthSouth, &MotionDisplay::nsText},
    {Readout::Longitude, &MotionDisplay::longi},
    {Readout::EastWest, &MotionDisplay::ewText},
    {Readout::Speed, &MotionDisplay::speed},
    {Readout::SpeedUnit, &MotionDisplay::smode},
    {Readout::Course, &MotionDisplay::koers},
    {Readout::CompassDirection, &MotionDisplay::windr},
    {Readout::Date, &MotionDisplay::datum}};

}  // namespace

PositionDisplay::PositionDisplay(Links links, map::MapWindow& map) : links_(links), map_(map) {}

MotionDisplay PositionDisplay::readouts() const {
    MotionDisplay d;
    for (const auto& [box, text] : kMotionReadouts) d.*text = links_.readouts.readout(box);
    d.course = course_;
    return d;
}

void PositionDisplay::writeReadouts(const MotionDisplay& d) {
    for (const auto& [box, text] : kMotionReadouts) links_.readouts.setReadout(box, d.*text);
}

void PositionDisplay::showFix(const RmcFields& fields) {
    const NavigatorSettings& s = links_.state.settings;
    DisplaySettings settings{static_cast<int>(numericValue(s.hourOffset)), s.speedUnit};
    MotionDisplay d = readouts();
    showRmc(fields, settings, d);
    course_ = d.course;
    writeReadouts(d);
    drawNeedles(shownSpeedValue(d), d.course);
}

void PositionDisplay::drawNeedles(std::int32_t shownSpeed, std::int32_t course) {
    InstrumentPanel* panel = links_.needles;
    if (!panel) return;
    panel->clearDrawing();
    for (const NeedleLine& l : needleLines(shownSpeed, course))
        panel->drawLine(l.from.x, l.from.y, l.to.x, l.to.y, QColor(l.r, l.g, l.b));
}

PositionOutcome PositionDisplay::UpdatePosition() {
    routePointFilled_ = false;
    MotionDisplay d = readouts();
    PlacedPosition placed = placePosition(d, map_.calibration(), pixel_, links_.state.settings.autoMapSearch);
    positionRead_ = placed.outcome != PositionOutcome::Unusable;
    // The readouts as UpdatePosition left them ("0" for an unreadable
    // number, "N" / "E" for an empty hemisphere).
    Readouts& boxes = links_.readouts;
    boxes.setReadout(Readout::Latitude, d.latid);
    boxes.setReadout(Readout::Longitude, d.longi);
    if (placed.outcome == PositionOutcome::Unusable) return placed.outcome;
    boxes.setReadout(Readout::NorthSouth, d.nsText);
    boxes.setReadout(Readout::EastWest, d.ewText);
    latitude_ = placed.latitude;
    longitude_ = placed.longitude;
    if (placed.outcome == PositionOutcome::OutOfRange) {
        links_.status.setStatus(kOutOfRangeText);
        if (placed.startMapSearch && mapSearch_) {
            // A position off the map being replaced says nothing about the
            // map coming: a search would override the user's LOAD. The next
            // position is judged against the new map.
            if (!mapSearch_->mapBeingRead()) mapSearch_->FindMapForPosition();
        } else {
            links_.dialogs.beep();
        }
        return placed.outcome;
    }
    boxes.setReadout(Readout::PixelX, integerText(pixel_.x));
    boxes.setReadout(Readout::PixelY, integerText(pixel_.y));
    const NavigatorState& state = links_.state;
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
    if (positionRead_) map_.addTrailPosition({latitude_, longitude_});
    map_.view().position = pixel_;
    map_.followPosition();
}

void PositionDisplay::startTrail() { map_.clearTrail(); }

}  // namespace tarvok::gps
