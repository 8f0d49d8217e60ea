// tarvok-drive: runs the navigator's main window and executes a script of
// steps on it, one step per line:
//
//   verb arg arg ...      words separated by blanks; "quoted words" may hold
//                         blanks and the escapes \" \\ \r \n \t
//   # comment             empty lines and comments are skipped
//
// Each verb lives in a table; a drive_<topic>.cpp file adds verbs with a
// static VerbRegistration. A verb runs on the window's event loop and may
// take several passes (waits): it returns Pending until it is done.
#pragma once

#include <QElapsedTimer>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace tarvok {
class MainWindow;
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
    std::vector<std::string> messages;  // every box, in order
    std::size_t messagesTaken = 0;      // how many an expect-message consumed
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

// What a verb gets: the window, the dialogs, the output, and how long the
// current step has been running (for waits and timeouts).
struct Driver {
    MainWindow& window;
    ScriptedDialogs& dialogs;
    std::ostream& out;
    QElapsedTimer stepTime;  // started when the step began
    long long elapsedMs() const { return stepTime.elapsed(); }
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
