#include "settings/listening_loop.h"

#include "common/window_titles.h"
#include "platform/window_presence.h"

namespace tarvok::settings {

ListeningLoop::ListeningLoop(Host& host, WindowPresence& presence, QObject* parent)
    : QObject(parent), host_(host), presence_(presence) {
    wait_.setSingleShot(true);
    steady_.setSingleShot(true);
    connect(&wait_, &QTimer::timeout, this, [this] {
        if (auto then = std::exchange(next_, nullptr)) then();
    });
    connect(&steady_, &QTimer::timeout, this, &ListeningLoop::steadyElapsed);
}

void ListeningLoop::enter(State s) {
    if (state_ == s) return;
    state_ = s;
    emit stateChanged(s);
}

bool ListeningLoop::stopping() {
    if (!host_.stopRequested()) return false;
    end();
    return true;
}

void ListeningLoop::after(std::chrono::milliseconds wait, std::function<void()> then) {
    next_ = std::move(then);
    wait_.start(wait);
}

bool ListeningLoop::startAtLaunch() {
    if (!presence_.isOpen(kRecogniserMutedTitle) && !presence_.isOpen(kRecogniserDictationTitle)) return false;
    end();
    ++runs_;
    host_.setCommandText(" FreeSpeech!");
    enter(State::Announcing);
    after(timings_.announce, [this] { run(); });
    return true;
}

void ListeningLoop::run() {
    end();
    ++runs_;
    // 1. Listening colours, no page chosen.
    host_.showCommandColours(kListeningColours);
    host_.listeningStarts();
    // 2. The recogniser into dictation with its microphone on.
    // (A message reaches a title only while it is open.)
    presence_.send(kRecogniserCommandTitle, kDictationKeys);
    presence_.send(kRecogniserMutedTitle, kMicrophoneKeys);
    // 3. Give it a moment to show dictation, then a little more.
    lookFor(kRecogniserDictationTitle, State::Preparing, [this] {
        after(timings_.settle, [this] {
            // 4. The program's own first command: a prompt asking the user
            // to say something.
            host_.setCommandText("Zegwat");
            listen();
        });
    });
}

void ListeningLoop::end() {
    wait_.stop();
    steady_.stop();
    next_ = nullptr;
    afterLook_ = nullptr;
    enter(State::Off);
}

void ListeningLoop::lookFor(const char* title, State during, std::function<void()> then) {
    enter(during);
    lookTitle_ = title;
    tries_ = 0;
    afterLook_ = std::move(then);
    lookAgain();
}

void ListeningLoop::lookAgain() {
    if (stopping()) return;
    if (presence_.isOpen(lookTitle_) || ++tries_ >= kLookTries) {
        if (auto then = std::exchange(afterLook_, nullptr)) then();
        return;
    }
    after(timings_.lookInterval, [this] { lookAgain(); });
}

void ListeningLoop::sendToRecogniser(const char* keys) {
    for (const char* title : {kRecogniserDictationTitle, kRecogniserCommandTitle, kRecogniserMutedTitle})
        if (presence_.send(title, keys)) return;
}

void ListeningLoop::listen() {
    if (stopping()) return;
    enter(State::Listening);
    commandTextChanged();
}

// While the speaker talks the text grows; each growth starts the second
// anew. A text shorter than two characters never counts.
void ListeningLoop::commandTextChanged() {
    if (state_ != State::Listening) return;
    const std::size_t length = host_.commandText().size();
    if (length > lastLength_) {
        lastLength_ = length;
        if (length >= 2) steady_.start(timings_.steady);
    } else if (length >= 2 && !steady_.isActive()) {
        steady_.start(timings_.steady);
    }
}

void ListeningLoop::steadyElapsed() {
    if (state_ != State::Listening || stopping()) return;
    if (host_.commandText().size() < 2) return;
    // One second without growth: the text is one command. The microphone
    // goes off before the program speaks.
    host_.closeSound();
    if (presence_.isOpen(kRecogniserMutedTitle)) {
        answer();
        return;
    }
    sendToRecogniser(kMicrophoneKeys);
    sendToRecogniser(kDictationKeys);
    lookFor(kRecogniserMutedTitle, State::Muting, [this] { answer(); });
}

void ListeningLoop::answer() {
    enter(State::Busy);
    host_.showCommandColours(kBusyColours);
    const unsigned run = runs_;
    host_.handleCommand();
    // The answer may have closed the window, or a click in the box may have
    // started the loop anew while a prompt played.
    if (run != runs_ || state_ != State::Busy || stopping()) return;
    host_.setCommandText("");
    lastLength_ = 0;
    sendToRecogniser(kMicrophoneKeys);
    lookFor(kRecogniserDictationTitle, State::Unmuting, [this] {
        host_.showCommandColours(kListeningColours);
        listen();
    });
}

}  // namespace tarvok::settings
