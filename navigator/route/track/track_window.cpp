#include "navigator/route/track/track_window.h"

#include <QSlider>

#include "common/text.h"
#include "navigator/route/track/track_texts.h"
#include "navigator/shell/navigator_state.h"

namespace tarvok {

TrackWindowImport::TrackWindowImport(Links links, gps::PositionCalls* position, const PlaybackClock& clock,
                                     QObject* parent)
    : QObject(parent), links_(links), playback_(*this, position, links.dialogs, clock, this) {
    connect(links.controls.thinning, &QSlider::valueChanged, this, &TrackWindowImport::rou1_Change);
}

void TrackWindowImport::rou1_Change(int value) { links_.status.setStatus(thinningStatusText(value)); }

void TrackWindowImport::setPlaybackActive(bool on) { links_.state.playbackActive = on ? 1 : 0; }
bool TrackWindowImport::playbackActive() const { return links_.state.playbackActive == 1; }
void TrackWindowImport::setNavigationActive(bool on) { links_.state.navigationActive = on ? 1 : 0; }
void TrackWindowImport::setStopRequest(bool on) { links_.state.stopRequest = on; }
bool TrackWindowImport::stopRequest() const { return links_.state.stopRequest; }
Language TrackWindowImport::language() const { return links_.state.language(); }
char TrackWindowImport::speedUnit() const { return links_.state.settings.speedUnit; }
int TrackWindowImport::hourOffset() const {
    return roundToInt32Clamped(numericValue(links_.state.settings.hourOffset));
}
int TrackWindowImport::thinning() const { return links_.controls.thinning->value(); }

void TrackWindowImport::setStatus(const std::string& text) { links_.status.setStatus(text); }

void TrackWindowImport::showInstrumentPanel() { links_.modes.showInstrumentPanel(); }

void TrackWindowImport::showPoint(const TrackPointTexts& p) { showPointReadouts(links_.readouts, p); }

void TrackWindowImport::showCourse(const TrackCourseTexts& course) {
    links_.readouts.setReadout(Readout::Course, course.koers);
    links_.readouts.setReadout(Readout::CompassDirection, course.windr);
}

void TrackWindowImport::showSpeed(const std::string& speed, const std::string* smode) {
    links_.readouts.setReadout(Readout::Speed, speed);
    if (smode) links_.readouts.setReadout(Readout::SpeedUnit, *smode);
}

void TrackWindowImport::setKeyPreview(bool on) { links_.state.keyPreview = on; }

void TrackWindowImport::raiseWindow() { links_.modes.bringToFront(); }

}  // namespace tarvok
