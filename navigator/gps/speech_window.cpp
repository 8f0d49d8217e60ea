#include "navigator/gps/speech_window.h"

#include <QCoreApplication>

#include "common/text.h"
#include "navigator/gps/announcement_file.h"
#include "navigator/shell/navigator_state.h"
#include "navigator/shell/sound_playback.h"
#include "platform/dialogs.h"

namespace tarvok::gps {

namespace {

constexpr const char* kWavExtension = ".WAV";

// A fragment's file in the sound folder: the name as written, which is how
// the sound sets name them, else whatever file matches it without regard to
// case.
std::filesystem::path fragmentFile(const DosPaths& paths, const std::filesystem::path& folder,
                                   const std::string& dosPath, const std::string& fileName) {
    std::filesystem::path exact = folder / fileName;
    std::error_code ec;
    if (std::filesystem::is_regular_file(exact, ec)) return exact;
    return paths.toNative(dosPath);
}

}  // namespace

SpeechWindow::SpeechWindow(Links links, QObject* parent) : QObject(parent), links_(links) {
    setObjectName(QStringLiteral("SpeechWindow"));
    links.plugs.setSpeechCalls(this);
}

SpeechWindow::~SpeechWindow() { links_.plugs.setSpeechCalls(nullptr); }

void SpeechWindow::loadSpeechFragments() {
    const NavigatorState& s = links_.state;
    if (s.settings.soundOn != '1') return;
    preloaded_.clear();
    for (const std::string& name : preloadedFragmentNames(s.settings.speedUnit)) {
        const std::string dos = s.soundPath(name + kWavExtension);
        preloaded_.emplace_back(name, readFragmentFile(links_.paths.toNative(dos)));
    }
    loaded_ = true;
}

void SpeechWindow::reloadUnitWord(const std::string& dosPath) {
    if (!loaded_) loadSpeechFragments();
    if (preloaded_.empty()) return;
    // The word's name is its file name without the extension.
    std::string name(dosFileNameOf(dosPath));
    if (name.size() > 4) name.resize(name.size() - 4);
    preloaded_[0] = {name, readFragmentFile(links_.paths.toNative(dosPath))};
}

SpokenTexts SpeechWindow::readouts() const {
    auto text = [this](Readout box) { return links_.readouts.readout(box); };
    return {text(Readout::Latitude), text(Readout::Longitude), text(Readout::NorthSouth),      text(Readout::EastWest),
            text(Readout::Speed),    text(Readout::Course),    text(Readout::CompassDirection)};
}

SpeechOptions SpeechWindow::options() const {
    const NavigatorSettings& n = links_.state.settings;
    SpeechOptions o;
    o.speakSpeed = n.speakSpeed == '1';
    o.speakCourse = n.speakCourse == '1';
    o.speakPosition = n.speakPosition == '1';
    o.speakWarnings = n.speakWarnings == '1';
    o.speakUnit = n.speakUnit == '1';
    o.speakDegreesWord = n.speakDegreesWord == '1';
    o.speakPositionWord = n.speakPositionWord == '1';
    o.speakCompass = n.speakCompass == '1';
    // The unit word spoken is the one preloaded, whatever the unit now is.
    o.unitWord = preloaded_.empty() ? preloadedFragmentNames(n.speedUnit).front() : preloaded_.front().first;
    return o;
}

std::string SpeechWindow::fragment(const std::string& name, const std::filesystem::path& folder) const {
    for (const auto& [preName, bytes] : preloaded_)
        if (preName == name) return bytes;
    const std::string fileName = name + kWavExtension;
    return readFragmentFile(fragmentFile(links_.paths, folder, links_.state.soundPath(fileName), fileName));
}

void SpeechWindow::speakStatus() {
    // A sentence processed while this call yields or waits is not counted.
    if (speaking_) return;
    NavigatorState& s = links_.state;
    MediaControl& sound = links_.sound;
    AnnouncementState a{std::int16_t(sound.completionCode()), s.announcementCounter};
    const SpeakDecision d = speakDecision(s.settings.soundOn == '1', a, readouts());
    if (a.completionCode != sound.completionCode()) sound.setCompletionCode(a.completionCode);
    s.announcementCounter = a.counter;
    speaking_ = true;
    switch (d) {
    case SpeakDecision::Silent:
    case SpeakDecision::Wait: break;
    case SpeakDecision::ReceptionError:
        s.currentSoundName = kReceptionErrorFile;
        links_.sound.playSound();
        break;
    case SpeakDecision::Announce: announce(); break;
    }
    speaking_ = false;
}

void SpeechWindow::announce() {
    if (!loaded_) loadSpeechFragments();
    NavigatorState& s = links_.state;
    const DosPaths& paths = links_.paths;
    const std::filesystem::path folder = paths.toNative(s.soundFolderPath());
    std::string samples;
    for (const std::string& name : announcementFragments(readouts(), options())) samples += fragment(name, folder);

    // The previous announcement is released first; the notice of a sound
    // cut off here arrives while yielding, so it cannot count as the end
    // of the new one.
    links_.sound.close();
    QCoreApplication::processEvents();
    AnnouncementState a;
    announcementStarted(a);
    links_.sound.setCompletionCode(a.completionCode);
    s.announcementCounter = a.counter;

    const std::string dosFile = s.soundPath(kAnnouncementFile);
    const std::filesystem::path file = fragmentFile(paths, folder, dosFile, kAnnouncementFile);
    if (auto error = writeAnnouncementFile(file, samples)) {
        // Nothing plays; the next sentence tries again. Told once.
        links_.sound.setCompletionCode(1);
        if (!writeFailureShown_) {
            writeFailureShown_ = true;
            links_.dialogs.critical(joinMessageLines(announcementNotWrittenLines(s.language(), dosFile, *error)));
        }
        return;
    }
    writeFailureShown_ = false;
    links_.sound.start(dosFile);
}

}  // namespace tarvok::gps
