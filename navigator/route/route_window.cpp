#include "navigator/route/route_window.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>

#include "common/text.h"
#include "navigator/shell/main_window.h"
#include "navigator/shell/sound_playback.h"

namespace tarvok {

namespace {

std::chrono::milliseconds endTextDuration{2000};

// A turn of the event loop reads records for at most this long before it
// yields, so a long stretch before the start moment never holds the window.
constexpr qint64 kTickNanoseconds = 4'000'000;
constexpr std::int64_t kReadsPerCheck = 256;

}  // namespace

void RouteWindowPlayback::setEndTextDuration(std::chrono::milliseconds d) { endTextDuration = d; }

RouteWindowPlayback::RouteWindowPlayback(MainWindow& window, TrackWindowImport* tracks, TrackPositionCalls calls)
    : QObject(&window), window_(window), tracks_(tracks), calls_(std::move(calls)) {
    setObjectName(QStringLiteral("RouteWindowPlayback"));
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &RouteWindowPlayback::tick);
    endText_.setSingleShot(true);
    connect(&endText_, &QTimer::timeout, this, &RouteWindowPlayback::endTextElapsed);

    if (auto* b = window_.control<QPushButton>("Command1"))
        connect(b, &QPushButton::clicked, this, &RouteWindowPlayback::Command1_Click);
    if (auto* b = window_.control<QPushButton>("Play1"))
        connect(b, &QPushButton::clicked, this, &RouteWindowPlayback::Play1_Click);
    if (auto* s = window_.control<QSlider>("Slider1"))
        connect(s, &QSlider::valueChanged, this, [this](int step) {
            if (walk_) walk_->setSpeedStep(step);
        });
    if (auto* s = window_.control<QScrollBar>("HScroll1"))
        connect(s, &QScrollBar::valueChanged, this, &RouteWindowPlayback::HScroll1_Change);
    if (auto* s = window_.control<QScrollBar>("HScroll2"))
        connect(s, &QScrollBar::valueChanged, this, &RouteWindowPlayback::HScroll2_Change);
}

RouteWindowPlayback::~RouteWindowPlayback() = default;

void RouteWindowPlayback::setBox(const char* name, const std::string& text) {
    if (auto* box = window_.control<QLineEdit>(name)) box->setText(QString::fromStdString(cp1252ToUtf8(text)));
}

void RouteWindowPlayback::setText7(const std::string& text) { setBox("Text7", text); }

void RouteWindowPlayback::setProgress(int value) {
    if (auto* bar = window_.control<QProgressBar>("ProgressBar1")) bar->setValue(value);
}

// ------------------------------------------------------------- route button

void RouteWindowPlayback::Command1_Click() {
    NavigatorState& s = window_.state();
    if (s.playbackActive == 1) {
        // Clears the flag, raises the stop request, closes the panel and
        // says so.
        window_.stopPlayback();
        return;
    }
    s.playbackActive = 1;
    s.navigationActive = 0;
    window_.setStatus(inLanguage(s.language(), " ROUTE-VERTONING ", " PLAY DRIVEN ROUTE"));
    s.currentSoundName = "Route1.WAV";
    window_.sound().playSound();
    QWidget* frame10 = window_.control("Frame10");
    QWidget* picture2 = window_.control("Picture2");
    if (s.settings.routeSource == '0') {
        if (picture2) picture2->hide();
        if (frame10) frame10->show();
        return;
    }
    if (frame10) frame10->hide();
    if (picture2) picture2->setVisible(window_.layoutInUse().picture2Visible);
    if (tracks_) tracks_->ImportTrack();
}

// ------------------------------------------------------------- start moment

void RouteWindowPlayback::HScroll1_Change() {
    window_.state().stopRequest = true;
    auto* hours = window_.control<QScrollBar>("HScroll1");
    auto* minutes = window_.control<QScrollBar>("HScroll2");
    const int h = hours ? hours->value() : 0;
    const int m = minutes ? minutes->value() : 0;
    route::StartMoment moment = route::startMoment(QDateTime::currentSecsSinceEpoch(), h, m);
    threshold_ = moment.threshold;
    startTimeText_ = moment.startTimeText;
    window_.state().routePlaybackStart = moment.systemTime;
    setText7(moment.text7);
}

void RouteWindowPlayback::HScroll2_Change() {
    auto* minutes = window_.control<QScrollBar>("HScroll2");
    if (minutes && minutes->value() >= 60) {
        // Sixty minutes are one more hour; each bar's change runs again.
        window_.state().stopRequest = true;
        minutes->setValue(0);
        if (auto* hours = window_.control<QScrollBar>("HScroll1")) hours->setValue(hours->value() + 1);
        return;
    }
    HScroll1_Change();
}

// ------------------------------------------------------------------ PlayRoute

void RouteWindowPlayback::Play1_Click() {
    abandon();
    endText_.stop();
    NavigatorState& s = window_.state();
    s.playbackActive = 1;
    s.navigationActive = 0;
    // The file is read, never created: a missing file plays as empty.
    route::RouteFileReader file(window_.paths(), route::routeFilePath(s.programDrive));
    s.stopRequest = false;
    // What Text7 shows again after the end text: the start moment, or the
    // opening moment while the bars were never moved.
    if (!startTimeText_.empty()) restoreText7_ = startTimeText_ + "  ";
    else if (auto* text7 = window_.control<QLineEdit>("Text7"))
        restoreText7_ = utf8ToCp1252(text7->text().toStdString());
    auto* slider = window_.control<QSlider>("Slider1");
    walk_ = std::make_unique<route::RoutePlayback>(std::move(file), threshold_, slider ? slider->value() : 0);
    timer_.start();
}

void RouteWindowPlayback::tick() {
    if (!walk_) {
        timer_.stop();
        return;
    }
    if (window_.state().stopRequest) {
        // Stopped: nothing more is shown; the flags stay as the stopper set them.
        abandon();
        emit finished();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    route::PlaybackEvent e;
    do {
        e = walk_->next(kReadsPerCheck);
    } while (e.kind == route::PlaybackEvent::Kind::Pending && clock.nsecsElapsed() < kTickNanoseconds);
    setProgress(e.progress);
    using Kind = route::PlaybackEvent::Kind;
    using Outcome = route::PlaybackEvent::Outcome;
    switch (e.kind) {
    case Kind::Pending: return;  // yield; the walk goes on in the next turn
    case Kind::Show: showRecord(e); return;
    case Kind::Finished: break;
    }
    timer_.stop();
    walk_.reset();
    switch (e.outcome) {
    case Outcome::SearchMode:
        setProgress(100);
        closePlayback();
        break;
    case Outcome::NoRouteData: endWithText(route::kNoRouteDataText); break;
    case Outcome::SearchDone:
    case Outcome::None: endWithText(route::kSearchDoneText); break;
    }
}

void RouteWindowPlayback::showRecord(const route::PlaybackEvent& e) {
    const route::RouteRecordTexts t = route::routeRecordTexts(e.record);
    setBox("Datum", t.datum);
    setBox("Tijds", t.tijds);
    setBox("NSText", t.nsText);
    setBox("EWText", t.ewText);
    setBox("Latid", t.latid);
    setBox("Longi", t.longi);
    // UpdatePosition places the position; during playback it records nothing.
    if (calls_.updatePosition) calls_.updatePosition();
    setBox("Koers", t.koers);
    setBox("Windr", t.windr);
    if (t.smode) {
        setBox("Smode", *t.smode);
        setBox("Speed", t.speed);
    }
    emit recordShown(e.index);
    if (window_.state().stopRequest) return;  // the next turn ends the walk
    if (calls_.followPosition) calls_.followPosition();
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
    window_.state().playbackActive = 0;
    emit finished();
}

void RouteWindowPlayback::abandon() {
    timer_.stop();
    walk_.reset();
}

}  // namespace tarvok
