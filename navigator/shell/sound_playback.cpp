#include "sound_playback.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "navigator/shell/navigator_state.h"
#include "platform/dos_path.h"

namespace tarvok {

namespace {
std::chrono::microseconds perPass{40};
// The wait also looks at the completion code at this interval, so a code
// written straight into the shared state (not through setCompletionCode)
// ends it too.
constexpr int kPollMilliseconds = 20;
}  // namespace

std::chrono::microseconds SoundPlayback::passDuration() { return perPass; }
void SoundPlayback::setPassDuration(std::chrono::microseconds p) { perPass = p; }

SoundPlayback::SoundPlayback(NavigatorState& state, const DosPaths& paths,
                             std::unique_ptr<SoundDevice> device, QObject* parent)
    : QObject(parent), state_(state), paths_(paths), device_(std::move(device)) {
    setObjectName(QStringLiteral("MMControl1"));
    device_->setParent(nullptr);
    connect(device_.get(), &SoundDevice::done, this, &SoundPlayback::done);
}

SoundPlayback::~SoundPlayback() {
    abortWaits();
    device_->disconnect(this);
}

void SoundPlayback::start(const std::string& dosPath) {
    state_.completionCode = 0;
    device_->close();
    ++started_;
    device_->open(paths_.toNative(dosPath));
    device_->play();
}

void SoundPlayback::close() { device_->close(); }

bool SoundPlayback::waitForEnd(long passes) {
    if (state_.completionCode == 1) return true;
    auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(perPass * passes);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [this, &loop] {
        if (state_.completionCode == 1) loop.quit();
    });
    deadline.start(int(std::max<long long>(0, bound.count())));
    poll.start(kPollMilliseconds);
    waits_.push_back(&loop);
    loop.exec();
    waits_.erase(std::find(waits_.begin(), waits_.end(), &loop));
    return state_.completionCode == 1;
}

void SoundPlayback::playSound() {
    if (state_.settings.soundOn == '0') return;
    start(state_.soundPath(state_.currentSoundName));
    waitForEnd(kPlaySoundPasses);
    close();
    setCompletionCode(1);
}

void SoundPlayback::setCompletionCode(int code) {
    state_.completionCode = std::int16_t(code);
    if (code == 1)
        for (QEventLoop* l : waits_) l->quit();
}

void SoundPlayback::done(int notifyCode) {
    setCompletionCode(notifyCode);
    emit notified(notifyCode);
}

void SoundPlayback::abortWaits() {
    for (QEventLoop* l : waits_) l->quit();
}

}  // namespace tarvok
