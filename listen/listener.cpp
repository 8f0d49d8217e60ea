#include "listen/listener.h"

#include "common/text.h"

namespace tarvok::listen {

Listener::Listener(WindowPresence& presence, QObject* parent) : QObject(parent), presence_(presence) {
    connect(&presence_, &WindowPresence::messageReceived, this, &Listener::onMessage);
}

std::string Listener::title() const {
    if (!microphoneOn_) return std::string(microphoneOffTitle);
    return std::string(mode_ == Mode::Command ? commandModeTitle : dictationTitle);
}

bool Listener::start(std::string& error) {
    for (std::string_view t : {commandModeTitle, dictationTitle, microphoneOffTitle}) {
        if (presence_.isOpen(std::string(t))) {
            error = "Another recogniser is already running (a window \"" + std::string(t) + "\" is open)";
            return false;
        }
    }
    if (!presence_.announce(title())) {
        error = "Could not announce the window \"" + title() + "\"";
        return false;
    }
    return true;
}

void Listener::show() { presence_.announce(title()); }

void Listener::onMessage(const std::string& text) {
    // Key strings name the letter in either case, as the keystroke is the same.
    const std::string keys = upperAscii(trimBlanks(text));
    if (keys == toDictationKeys) {
        mode_ = Mode::Dictation;
        show();
    } else if (keys == microphoneKeys) {
        microphoneOn_ = !microphoneOn_;
        // The microphone switches before the title tells it: a program that
        // waits for the dictation title speaks at once and must be heard.
        emit microphoneSwitched(microphoneOn_);
        show();
    }
}

std::string Listener::hear(const std::string& phrase) {
    if (!microphoneOn_ || mode_ != Mode::Dictation || phrase.empty()) return {};
    for (std::string_view t : settingsTitles) {
        const std::string window(t);
        if (presence_.send(window, phrase)) return window;
    }
    return {};
}

}  // namespace tarvok::listen
