#include "media_control.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "platform/dos_path.h"

namespace tarvok {

namespace {
std::chrono::microseconds perPass{40};
}  // namespace

std::chrono::microseconds MediaControl::passDuration() { return perPass; }
void MediaControl::setPassDuration(std::chrono::microseconds p) { perPass = p; }

MediaControl::MediaControl(const DosPaths& paths, std::unique_ptr<SoundDevice> device, QObject* parent)
    : QObject(parent), paths_(paths), device_(std::move(device)) {
    setObjectName(QStringLiteral("MMControl1"));
    device_->setParent(nullptr);
    connect(device_.get(), &SoundDevice::done, this, &MediaControl::done);
}

MediaControl::~MediaControl() {
    abortWaits();
    device_->disconnect(this);
}

void MediaControl::start(const std::string& dosPath) {
    completionCode_ = 0;
    device_->close();
    ++started_;
    startedFiles_.push_back(dosPath);
    if (startedFiles_.size() > kStartedSoundsKept) startedFiles_.pop_front();
    device_->open(paths_.toNative(dosPath));
    device_->play();
}

void MediaControl::close() { device_->close(); }

bool MediaControl::waitForEnd(long passes) {
    if (completionCode_ == 1) return true;
    auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(perPass * passes);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(int(std::clamp<long long>(bound.count(), 0, std::numeric_limits<int>::max())));
    waits_.push_back(&loop);
    loop.exec();
    waits_.erase(std::find(waits_.begin(), waits_.end(), &loop));
    return completionCode_ == 1;
}

void MediaControl::playSound(char soundSwitch, const std::string& soundFolder, const std::string& fileName) {
    if (soundSwitch == '0') return;
    start(soundFolder + fileName);
    waitForEnd(kPlaySoundPasses);
    close();
    setCompletionCode(1);
}

void MediaControl::playPrompt(char soundSwitch, const std::string& soundFolder, const std::string& fileName) {
    if (soundSwitch == '0') return;
    setCompletionCode(1);
    start(soundFolder + fileName);
    if (soundSwitch != '1') return;
    waitForEnd(kPromptChecks);
    close();
    setCompletionCode(1);
    for (int i = 0; i < kYieldsAfterPrompt; ++i) QCoreApplication::processEvents();
}

void MediaControl::setCompletionCode(int code) {
    completionCode_ = std::int16_t(code);
    if (code == 1) abortWaits();
}

void MediaControl::done(int notifyCode) {
    setCompletionCode(notifyCode);
    emit notified(notifyCode);
}

void MediaControl::abortWaits() {
    for (QEventLoop* l : waits_) l->quit();
}

std::vector<std::string> MediaControl::takeStartedSounds() {
    std::vector<std::string> files(startedFiles_.begin(), startedFiles_.end());
    startedFiles_.clear();
    return files;
}

}  // namespace tarvok
