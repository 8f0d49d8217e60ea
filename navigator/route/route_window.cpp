#include "navigator/route/route_window.h"

#include <QDateTime>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "common/text.h"
#include "navigator/shell/navigator_state.h"
#include "navigator/shell/sound_playback.h"

namespace tarvok {

namespace {

std::chrono::milliseconds endTextDuration{2000};

// Records read per look at the read budget.
constexpr std::int64_t kReadsPerCheck = 256;

}  // namespace

void RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds d) { endTextDuration = d; }

RouteWindowPlayback::RouteWindowPlayback(Links links, TrackWindowImport* tracks, gps::PositionCalls* position,
                                         const PlaybackClock& clock, QObject* parent)
    : QObject(parent), links_(links), tracks_(tracks), position_(position), driver_(*this, clock) {
    setObjectName(QStringLiteral("RouteWindowPlayback"));
    endText_.setSingleShot(true);
    connect(&endText_, &QTimer::timeout, this, &RouteWindowPlayback::endTextElapsed);

    const MainWindowControls& c = links.controls;
    connect(c.routePlayback, &QPushButton::clicked, this, &RouteWindowPlayback::Command1_Click);
    connect(c.play, &QPushButton::clicked, this, &RouteWindowPlayback::Play1_Click);
    connect(c.playbackSpeed, &QSlider::valueChanged, this, [this](int step) {
        if (walk_) walk_->setSpeedStep(step);
    });
    connect(c.startHours, &QScrollBar::valueChanged, this, &RouteWindowPlayback::HScroll1_Change);
    connect(c.startMinutes, &QScrollBar::valueChanged, this, &RouteWindowPlayback::HScroll2_Change);
}

RouteWindowPlayback::~RouteWindowPlayback() = default;

void RouteWindowPlayback::setText7(const std::string& text) {
    links_.controls.playbackStart->setText(QString::fromStdString(cp1252ToUtf8(text)));
}

void RouteWindowPlayback::setProgress(int value) { links_.controls.playbackProgress->setValue(value); }

// ------------------------------------------------------------- route button

void RouteWindowPlayback::Command1_Click() {
    NavigatorState& s = links_.state;
    if (s.playbackActive == 1) {
        // Clears the flag, raises the stop request, closes the panel and
        // says so.
        links_.modes.stopPlayback();
        return;
    }
    s.playbackActive = 1;
    s.navigationActive = 0;
    links_.status.setStatus(inLanguage(s.language(), " ROUTE-VERTONING ", " PLAY DRIVEN ROUTE"));
    s.currentSoundName = "Route1.WAV";
    links_.sound.playSound();
    if (s.settings.routeSource == '0') {
        links_.modes.showPlaybackPanel();
        return;
    }
    links_.modes.showInstrumentPanel();
    if (tracks_) tracks_->ImportTrack();
}

// ------------------------------------------------------------- start moment

void RouteWindowPlayback::HScroll1_Change() {
    links_.state.stopRequest = true;
    const int h = links_.controls.startHours->value();
    const int m = links_.controls.startMinutes->value();
    route::StartMoment moment = route::startMoment(QDateTime::currentSecsSinceEpoch(), h, m);
    threshold_ = moment.threshold;
    startTimeText_ = moment.startTimeText;
    links_.state.routePlaybackStart = moment.systemTime;
    setText7(moment.text7);
}

void RouteWindowPlayback::HScroll2_Change() {
    QScrollBar* minutes = links_.controls.startMinutes;
    if (minutes->value() >= 60) {
        // Sixty minutes are one more hour; each bar's change runs again.
        links_.state.stopRequest = true;
        minutes->setValue(0);
        QScrollBar* hours = links_.controls.startHours;
        hours->setValue(hours->value() + 1);
        return;
    }
    HScroll1_Change();
}

// ------------------------------------------------------------------ PlayRoute

void RouteWindowPlayback::Play1_Click() {
    abandon();
    endText_.stop();
    NavigatorState& s = links_.state;
    s.playbackActive = 1;
    s.navigationActive = 0;
    // The file is read, never created: a missing file plays as empty.
    route::RouteFileReader file(links_.paths, route::routeFilePath(s.programFolder()));
    s.stopRequest = false;
    // What Text7 shows again after the end text: the start moment, or the
    // opening moment while the bars were never moved.
    if (!startTimeText_.empty()) restoreText7_ = startTimeText_ + "  ";
    else restoreText7_ = utf8ToCp1252(links_.controls.playbackStart->text().toStdString());
    walk_ = std::make_unique<route::RoutePlayback>(std::move(file), threshold_, links_.controls.playbackSpeed->value());
    if (position_) position_->startTrail();
    driver_.start();
}

bool RouteWindowPlayback::stopRequested() const { return links_.state.stopRequest; }

void RouteWindowPlayback::stopped() {
    // Stopped: nothing more is shown; the flags stay as the stopper set them.
    abandon();
    emit finished();
}

bool RouteWindowPlayback::paced() const { return walk_ && walk_->speedStep() != 0; }

PlaybackSteps::Read RouteWindowPlayback::readOn() {
    const route::PlaybackEvent e = walk_->next(kReadsPerCheck);
    setProgress(e.progress);
    using Kind = route::PlaybackEvent::Kind;
    using Outcome = route::PlaybackEvent::Outcome;
    switch (e.kind) {
    case Kind::Pending: return Read::Pending;
    case Kind::Show: due_ = e; return Read::Due;
    case Kind::Finished: break;
    }
    abandon();
    switch (e.outcome) {
    case Outcome::SearchMode:
        setProgress(100);
        closePlayback();
        break;
    case Outcome::NoRouteData: endWithText(route::kNoRouteDataText); break;
    case Outcome::SearchDone:
    case Outcome::None: endWithText(route::kSearchDoneText); break;
    }
    return Read::Finished;
}

void RouteWindowPlayback::showRecord(const route::PlaybackEvent& e) {
    const route::RouteRecordTexts t = route::routeRecordTexts(e.record);
    Readouts& r = links_.readouts;
    showPointReadouts(r, t);
    // UpdatePosition places the position; during playback it records nothing.
    if (position_) position_->UpdatePosition();
    r.setReadout(Readout::Course, t.koers);
    r.setReadout(Readout::CompassDirection, t.windr);
    if (t.smode) {
        r.setReadout(Readout::SpeedUnit, *t.smode);
        r.setReadout(Readout::Speed, t.speed);
    }
    emit recordShown(e.index);
    if (links_.state.stopRequest) return;  // the next turn ends the walk
    if (position_) position_->followPosition();
}

void RouteWindowPlayback::endWithText(const char* text) {
    setText7(text);
    // The text stays a while; the window stays live meanwhile.
    endText_.start(endTextDuration);
}

void RouteWindowPlayback::endTextElapsed() {
    setText7(restoreText7_);
    setProgress(0);
    closePlayback();
}

void RouteWindowPlayback::closePlayback() {
    links_.state.playbackActive = 0;
    emit finished();
}

void RouteWindowPlayback::abandon() {
    driver_.stop();
    walk_.reset();
}

}  // namespace tarvok
