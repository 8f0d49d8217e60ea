// The spoken announcements in the main window: LoadSpeechFragments, the
// unit word reload and SpeakStatus over the window's readouts. Plugs itself
// into the window as its speech calls; a child of the window named
// "SpeechWindow".
#pragma once

#include <QObject>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "navigator/gps/announcement.h"
#include "navigator/shell/shell_calls.h"
#include "platform/dos_path.h"

namespace tarvok {
class Dialogs;
class SoundPlayback;
struct NavigatorState;
}  // namespace tarvok

namespace tarvok::gps {

class SpeechWindow : public QObject, public SpeechCalls {
    Q_OBJECT
public:
    // What the announcements use of the main window.
    struct Links {
        Readouts& readouts;     // what is spoken
        NavigatorState& state;  // the options, the sound folder, the counter
        SoundPlayback& sound;
        Dialogs& dialogs;
        const DosPaths& paths;
        ShellPlugs& plugs;  // where it plugs in as the speech calls
    };
    explicit SpeechWindow(Links links, QObject* parent = nullptr);
    ~SpeechWindow() override;

    // SpeechCalls
    void loadSpeechFragments() override;
    void reloadUnitWord(const std::string& dosPath) override;
    // Reads Latid, Longi, NSText, EWText, Speed, Koers and Windr. Speaks at
    // once when the last sound has finished (completion code not 0), else on
    // the 20th call without a completion notice. The announcement is written
    // into the sound folder as "Algem1.WAV" and started without waiting;
    // a position without fix plays "RXfout1.WAV" instead (waited for).
    void speakStatus() override;

    // What the texts and options of the window give now (for tests).
    SpokenTexts readouts() const;
    SpeechOptions options() const;
    // The preloaded fragments, the unit word first: names and bytes.
    const std::vector<std::pair<std::string, std::string>>& preloaded() const { return preloaded_; }

private:
    std::string fragment(const std::string& name, const std::filesystem::path& folder) const;
    void announce();

    Links links_;
    std::vector<std::pair<std::string, std::string>> preloaded_;
    bool loaded_ = false;
    bool speaking_ = false;
    bool writeFailureShown_ = false;
};

}  // namespace tarvok::gps
