// tarvok-drive: runs a program's window (the navigator's by default) and
// executes a script of steps on it, one step per line:
//
//   verb arg arg ...      words separated by blanks; "quoted words" may hold
//                         blanks and the escapes \" \\ \r \n \t
//   # comment             empty lines and comments are skipped
//
// Each verb lives in a table; a drive_<topic>.cpp file adds verbs with a
// static VerbRegistration. A verb runs on the window's event loop and may
// take several passes (waits): it returns Pending until it is done.
//
// The general verbs work on any DrivenProgram; a program is added by one
// drive_<program>.cpp file with a static ProgramRegistration.
#pragma once

#include <QElapsedTimer>
#include <QSize>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/dos_path.h"

class QObject;
class QWidget;

namespace tarvok {
class MediaControl;
}

namespace tarvok::drive {

// Splits a script line into words; nothing for an empty or comment line.
// Throws std::runtime_error on an unterminated quote.
std::vector<std::string> splitScriptLine(const std::string& line);

// Dialogs answered by the script: message boxes and questions are recorded
// (and printed) as messages and return at once; file dialogs and questions
// take the next queued answer (a question without one gets its last choice).
class ScriptedDialogs : public Dialogs {
public:
    explicit ScriptedDialogs(std::ostream& log) : log_(log) {}
    std::vector<std::string> messages;                   // every box, in order
    std::size_t messagesTaken = 0;                       // how many an expect-message consumed
    std::deque<std::optional<std::string>> fileAnswers;  // empty optional = cancel
    std::deque<std::size_t> questionAnswers;
    std::vector<std::string> fileFilters;
    std::vector<std::string> openedDocuments;
    int beeps = 0;

    void critical(const std::string& text) override;
    std::size_t ask(const std::string& text, const std::vector<std::string>& choices) override;
    std::optional<std::string> openFile(const std::string& filter, const std::string& folder) override;
    void beep() override { ++beeps; }
    bool openDocument(const std::string& nativePath) override;

private:
    std::ostream& log_;
};

enum class StepState { Done, Pending, Failed };

struct StepResult {
    StepState state = StepState::Done;
    std::string error;  // for Failed
    static StepResult done() { return {}; }
    static StepResult pending() { return {StepState::Pending, {}}; }
    static StepResult failed(std::string why) { return {StepState::Failed, std::move(why)}; }
};

// The program being driven, as the general verbs see it.
class DrivenProgram {
public:
    virtual ~DrivenProgram() = default;

    // The program's top-level window: controls are looked up in it, keys go
    // to it when nothing has the focus, grab takes its picture.
    virtual QWidget& window() = 0;
    // The controls that dump lists, in order; by default every named
    // object inside the window.
    virtual std::vector<QObject*> controls();
    // The running status line (Windows-1252), when the program has one.
    virtual std::optional<std::string> status() const { return std::nullopt; }
    // Whether the program has ended (its window unloaded).
    virtual bool ended() const = 0;
    // Its multimedia control, MMControl1.
    virtual MediaControl& mediaControl() = 0;
    // Sets one of the program's shared flags by name (the state verb);
    // throws on a name the program does not know.
    virtual void setState(const std::string& flag, long long value) = 0;
};

// What a verb gets: the program, the dialogs, the output, and how long the
// current step has been running (for waits and timeouts).
struct Driver {
    DrivenProgram& program;
    ScriptedDialogs& dialogs;
    std::ostream& out;
    QElapsedTimer stepTime;  // started when the step began
    long long elapsedMs() const { return stepTime.elapsed(); }
    // Sounds the running sounds step has taken from the media control.
    std::vector<std::string> soundsTaken;
    // The --screen size the program was laid out for, if one was given.
    std::optional<QSize> screen;
};

// What a program's start gets from the command line.
struct ProgramOptions {
    ScriptedDialogs& dialogs;
    DosPaths paths;               // the drive prefix
    std::optional<QSize> screen;  // --screen: lay the window out for this size
};

// Starts the program and opens its window; nothing when it could not start
// (its message has been shown through the dialogs).
using ProgramFactory = std::function<std::unique_ptr<DrivenProgram>(const ProgramOptions&)>;

// The programs by their --program name ("map", "set").
std::map<std::string, ProgramFactory>& programs();

struct ProgramRegistration {
    ProgramRegistration(const std::string& name, ProgramFactory start) { programs()[name] = std::move(start); }
};

using VerbFunction = std::function<StepResult(Driver&, const std::vector<std::string>& args)>;

struct Verb {
    std::string usage;  // "click CONTROL   clicks a button"
    VerbFunction run;
};

std::map<std::string, Verb>& verbs();

struct VerbRegistration {
    VerbRegistration(const std::string& name, std::string usage, VerbFunction run) {
        verbs()[name] = Verb{std::move(usage), std::move(run)};
    }
};

// The default timeout of waits, in milliseconds.
inline constexpr long long kDefaultTimeoutMs = 5000;

// A number argument, or `fallback` when absent; throws on a bad number.
long long numberArg(const std::vector<std::string>& args, std::size_t i, long long fallback);

}  // namespace tarvok::drive
