#include "navigator/route/track/track_playback.h"

#include <QElapsedTimer>
#include <cerrno>
#include <filesystem>

#include "navigator/route/track/track_gpx.h"
#include "navigator/route/track/track_texts.h"
#include "platform/dialogs.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"

namespace tarvok {

namespace {
// A tick of the event loop shows at most one point and cuts lines for at
// most this long, so skipped lines cost no event-loop turn each while the
// window still answers at once.
constexpr qint64 kTickNanoseconds = 4'000'000;
}  // namespace

TrackPlayback::TrackPlayback(TrackPlaybackHost& host, Dialogs& dialogs, QObject* parent)
    : QObject(parent), host_(host), dialogs_(dialogs) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &TrackPlayback::tick);
}

void TrackPlayback::ImportTrack() {
    if (running()) finish();
    host_.setPlaybackActive(true);
    host_.setNavigationActive(false);
    host_.setStopRequest(true);
    host_.showInstrumentPanel();

    host_.setStatus(trackStatusText(TrackStatus::SelectFile, host_.language()));
    const auto chosen = dialogs_.openFile(trackFileFilter(), folder_);
    std::unique_ptr<TrackSource> source;
    int openError = ENOENT;
    if (chosen && !chosen->empty()) source = openTrackFile(*chosen, *chosen, host_.hourOffset(), &openError);
    if (!source) {
        // A file that is there but cannot be read (a pipe, no permission)
        // is told as such, with the reason.
        const Language language = host_.language();
        errorExit(openError == ENOENT
                      ? trackFileNotFoundLines(language)
                      : trackFileUnreadableLines(language, fileErrorText(*chosen, openError, language)));
        emit finished();
        return;
    }
    folder_ = std::filesystem::path(*chosen).parent_path().string();

    host_.setStatus(trackStatusText(TrackStatus::Showing, host_.language()));
    host_.setStopRequest(false);
    import_ = std::make_unique<TrackImport>(std::move(source));
    timer_.start();
}

void TrackPlayback::tick() {
    QElapsedTimer clock;
    clock.start();
    while (import_) {
        if (host_.stopRequest()) {
            // A stopper that ended the playback itself has said so on the
            // status line; that text stays.
            if (host_.playbackActive()) host_.setStatus("");
            host_.setPlaybackActive(false);
            finish();
            return;
        }
        TrackStep step = import_->step(host_.thinning());
        switch (step.kind) {
        case TrackStep::Kind::Skipped:
            if (clock.nsecsElapsed() > kTickNanoseconds) return;
            break;
        case TrackStep::Kind::Point:
            showPoint(step.point);
            return;  // yield: the window draws and answers before the next point
        case TrackStep::Kind::End: {
            const std::string end = "End";
            host_.showSpeed("000", &end);
            host_.setPlaybackActive(false);
            host_.setStatus(trackStatusText(TrackStatus::Ready, host_.language()));
            finish();
            return;
        }
        case TrackStep::Kind::Error:
            stopImport();
            errorExit(trackFileUnreadableLines(host_.language(), step.error));
            emit finished();
            return;
        }
    }
}

void TrackPlayback::showPoint(const TrackPointTexts& point) {
    host_.showPoint(point);
    host_.updatePosition();
    std::int32_t x = 0, y = 0;
    host_.positionPixel(&x, &y);
    host_.showCourse(TrackCourse(motion_, x, y));
    const TrackSpeedTexts speed = TrackSpeed(motion_, point.tijds, host_.speedUnit());
    host_.showSpeed(speed.speed, speed.smode ? &*speed.smode : nullptr);
    host_.setKeyPreview(true);
    host_.followPosition();
    host_.raiseWindow();
}

void TrackPlayback::stopImport() {
    timer_.stop();
    import_.reset();
}

void TrackPlayback::finish() {
    stopImport();
    emit finished();
}

void TrackPlayback::errorExit(const std::vector<std::string>& lines) {
    dialogs_.beep();
    dialogs_.critical(joinMessageLines(lines));
    host_.setPlaybackActive(false);
}

}  // namespace tarvok
