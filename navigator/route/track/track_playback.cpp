#include "navigator/route/track/track_playback.h"

#include <cerrno>
#include <filesystem>

#include "navigator/route/track/track_gpx.h"
#include "navigator/route/track/track_texts.h"
#include "platform/dialogs.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"

namespace tarvok {

TrackPlayback::TrackPlayback(TrackPlaybackHost& host, gps::PositionCalls* position, Dialogs& dialogs,
                             const PlaybackClock& clock, QObject* parent)
    : QObject(parent), host_(host), position_(position), dialogs_(dialogs), driver_(*this, clock) {}

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
    if (position_) position_->startTrail();
    driver_.start();
}

bool TrackPlayback::stopRequested() const { return host_.stopRequest(); }

void TrackPlayback::stopped() {
    // A stopper that ended the playback itself has said so on the status
    // line; that text stays.
    if (host_.playbackActive()) host_.setStatus("");
    host_.setPlaybackActive(false);
    finish();
}

PlaybackSteps::Read TrackPlayback::readOn() {
    TrackStep step = import_->step(host_.thinning());
    switch (step.kind) {
    case TrackStep::Kind::Skipped: return Read::Pending;
    case TrackStep::Kind::Point: due_ = std::move(step.point); return Read::Due;
    case TrackStep::Kind::End: {
        const std::string end = "End";
        host_.showSpeed("000", &end);
        host_.setPlaybackActive(false);
        host_.setStatus(trackStatusText(TrackStatus::Ready, host_.language()));
        finish();
        return Read::Finished;
    }
    case TrackStep::Kind::Error: break;
    }
    stopImport();
    errorExit(trackFileUnreadableLines(host_.language(), step.error));
    emit finished();
    return Read::Finished;
}

void TrackPlayback::showDue() { showPoint(due_); }

void TrackPlayback::showPoint(const TrackPointTexts& point) {
    host_.showPoint(point);
    map::PixelPosition pixel{0, 0};
    if (position_) {
        position_->UpdatePosition();
        pixel = position_->positionPixel();
    }
    host_.showCourse(TrackCourse(motion_, pixel.x, pixel.y));
    const TrackSpeedTexts speed = TrackSpeed(motion_, point.tijds, host_.speedUnit());
    host_.showSpeed(speed.speed, speed.smode ? &*speed.smode : nullptr);
    host_.setKeyPreview(true);
    if (position_) position_->followPosition();
    host_.raiseWindow();
}

void TrackPlayback::stopImport() {
    driver_.stop();
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
