// The settings program listening for spoken commands. The recogniser types
// what it hears into the command box; a text that has not grown for one
// second is one command. Around every answer the recogniser's microphone is
// switched off and on again (keystrokes sent as messages to its window), so
// the program does not hear its own prompts.
//
// The loop runs on the window's thread as a set of states driven by timers
// and by the box's text changes, never by spinning: between events the
// window is fully usable and the program uses no processor time.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>

#include "settings/voice_control.h"

namespace tarvok {

class WindowPresence;

namespace settings {

class ListeningLoop : public QObject {
    Q_OBJECT
public:
    // What the loop needs of the window.
    class Host {
    public:
        virtual ~Host() = default;
        virtual std::string commandText() const = 0;
        virtual void setCommandText(const std::string& text) = 0;
        virtual void showCommandColours(const CommandBoxColours& colours) = 0;
        // The loop (re)starts: the page code goes back to 0.
        virtual void listeningStarts() = 0;
        // Stops the prompt that plays and marks playback complete.
        virtual void closeSound() = 0;
        // Acts on the command in the box; may yield, may close the window.
        virtual void handleCommand() = 0;
        // The stop flag: the window is closing.
        virtual bool stopRequested() const = 0;
    };

    enum class State {
        Off,         // not listening
        Announcing,  // " FreeSpeech!" shown, the loop starts shortly
        Preparing,   // waiting for the recogniser to take dictation
        Listening,   // waiting for a text that stays one second
        Muting,      // a command is in: waiting for the microphone to go off
        Busy,        // answering the command
        Unmuting,    // waiting for the recogniser to listen again
    };

    struct Timings {
        std::chrono::milliseconds announce{2000};    // " FreeSpeech!" before the loop starts
        std::chrono::milliseconds lookInterval{20};  // between two looks for a recogniser state
        std::chrono::milliseconds settle{40};        // after the recogniser took dictation
        std::chrono::milliseconds steady{1000};      // a text that does not grow for this long is a command
    };
    // A recogniser state that does not show within this many looks is not
    // waited for any longer.
    static constexpr int kLookTries = 25;

    ListeningLoop(Host& host, WindowPresence& presence, QObject* parent = nullptr);

    void setTimings(const Timings& t) { timings_ = t; }

    // At the window's start: when the recogniser is there (microphone off or
    // dictation), shows " FreeSpeech!" and starts listening after a pause;
    // false, and nothing started, when it is not there.
    bool startAtLaunch();
    // Starts listening from the first step; a loop that runs starts over.
    void run();
    // Stops listening at once (the window is closing).
    void end();
    // The command box's text has changed.
    void commandTextChanged();

    State state() const { return state_; }

signals:
    void stateChanged(ListeningLoop::State state);

private:
    void enter(State s);
    // Calls `then` after `wait`, unless the loop is ended or started anew.
    void after(std::chrono::milliseconds wait, std::function<void()> then);
    // Looks for a recogniser title up to kLookTries times, then goes on
    // with `then` whether it showed or not.
    void lookFor(const char* title, State during, std::function<void()> then);
    void lookAgain();
    // Sends keystrokes to the recogniser, whichever state it shows.
    void sendToRecogniser(const char* keys);
    void listen();
    void steadyElapsed();
    void answer();
    bool stopping();

    Host& host_;
    WindowPresence& presence_;
    Timings timings_;
    State state_ = State::Off;
    QTimer wait_;                      // every wait of the loop but the one-second rule
    QTimer steady_;                    // the one-second rule
    std::function<void()> next_;       // after the wait
    std::function<void()> afterLook_;  // after the look
    const char* lookTitle_ = nullptr;
    int tries_ = 0;
    std::size_t lastLength_ = 0;  // of the box text at the last growth; 0 after each command
    unsigned runs_ = 0;           // counts starts, so an answer knows when the loop was restarted under it
};

}  // namespace settings
}  // namespace tarvok
