#include "navigator/route/track/track_window.h"

#include <QLineEdit>
#include <QSlider>

#include "common/text.h"
#include "navigator/route/track/track_texts.h"
#include "navigator/shell/main_window.h"

namespace tarvok {

TrackWindowImport::TrackWindowImport(MainWindow& window, TrackPositionCalls calls)
    : QObject(&window), window_(window), calls_(std::move(calls)), playback_(*this, window.dialogs(), this) {
    if (auto* rou1 = window_.control<QSlider>("rou1"))
        connect(rou1, &QSlider::valueChanged, this, &TrackWindowImport::rou1_Change);
}

void TrackWindowImport::rou1_Change(int value) { window_.setStatus(thinningStatusText(value)); }

void TrackWindowImport::setPlaybackActive(bool on) { window_.state().playbackActive = on ? 1 : 0; }
bool TrackWindowImport::playbackActive() const { return window_.state().playbackActive == 1; }
void TrackWindowImport::setNavigationActive(bool on) { window_.state().navigationActive = on ? 1 : 0; }
void TrackWindowImport::setStopRequest(bool on) { window_.state().stopRequest = on; }
bool TrackWindowImport::stopRequest() const { return window_.state().stopRequest; }
Language TrackWindowImport::language() const { return window_.state().language(); }
char TrackWindowImport::speedUnit() const { return window_.state().settings.speedUnit; }
int TrackWindowImport::hourOffset() const {
    return roundToInt32Clamped(numericValue(window_.state().settings.hourOffset));
}
int TrackWindowImport::thinning() const {
    auto* rou1 = window_.control<QSlider>("rou1");
    return rou1 ? rou1->value() : 0;
}

void TrackWindowImport::setStatus(const std::string& text) { window_.setStatus(text); }

void TrackWindowImport::showInstrumentPanel() {
    if (QWidget* frame10 = window_.control("Frame10")) frame10->hide();
    // The instrument panel stays hidden on a screen too narrow for it.
    if (QWidget* picture2 = window_.control("Picture2")) picture2->setVisible(window_.layoutInUse().picture2Visible);
}

void TrackWindowImport::setBox(const char* name, const std::string& text) {
    if (auto* box = window_.control<QLineEdit>(name)) box->setText(QString::fromStdString(cp1252ToUtf8(text)));
}

void TrackWindowImport::showPoint(const TrackPointTexts& p) {
    setBox("Tijds", p.tijds);
    setBox("Datum", p.datum);
    setBox("NSText", p.nsText);
    setBox("EWText", p.ewText);
    setBox("Latid", p.latid);
    setBox("Longi", p.longi);
}

void TrackWindowImport::updatePosition() {
    if (calls_.updatePosition) calls_.updatePosition();
}

void TrackWindowImport::positionPixel(std::int32_t* x, std::int32_t* y) const {
    if (calls_.positionPixel) calls_.positionPixel(x, y);
}

void TrackWindowImport::showCourse(const TrackCourseTexts& course) {
    setBox("Koers", course.koers);
    setBox("Windr", course.windr);
}

void TrackWindowImport::showSpeed(const std::string& speed, const std::string* smode) {
    setBox("Speed", speed);
    if (smode) setBox("Smode", *smode);
}

void TrackWindowImport::setKeyPreview(bool on) { window_.state().keyPreview = on; }

void TrackWindowImport::followPosition() {
    if (calls_.followPosition) calls_.followPosition();
}

void TrackWindowImport::raiseWindow() {
    if (!window_.isActiveWindow()) window_.raise();
}

}  // namespace tarvok
