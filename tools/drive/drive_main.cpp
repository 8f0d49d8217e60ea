// tarvok-drive [--program map|set] [--screen WxH] [--pass-microseconds N] SCRIPT
//
// Starts a program's window (the navigator's unless --program names
// another; offscreen when there is no display) in the drive prefix
// ($TARVOK_PREFIX, as the programs use it) and runs the script's steps;
// exits 0 when every step succeeded, 1 at the first failing step (or when
// the program does not start), 2 on a usage error. "-" reads the script from
// standard input. --screen lays the window out for another screen size;
// --pass-microseconds sets how long one pass of a sound wait counts (40 by
// default, so the 250,000-pass waits last 10 seconds), for scripts that must
// not wait long.
#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <sstream>

#include <QWidget>

#include "common/text.h"
#include "platform/dos_path.h"
#include "platform/file_error_text.h"
#include "platform/media_control.h"
#include "platform/program_end.h"
#include "platform/regular_file.h"
#include "tools/drive/drive.h"

namespace tarvok::drive {

std::vector<std::string> splitScriptLine(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '#' && words.empty()) break;
        std::string w;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q == '\\' && i < line.size()) {
                    char e = line[i++];
                    w.push_back(e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e);
                } else {
                    w.push_back(q);
                }
            }
            if (!closed) throw std::runtime_error("unterminated quote");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w.push_back(line[i++]);
        }
        words.push_back(w);
    }
    return words;
}

long long numberArg(const std::vector<std::string>& args, std::size_t i, long long fallback) {
    if (i >= args.size()) return fallback;
    std::size_t used = 0;
    long long v = std::stoll(args[i], &used);
    if (used != args[i].size()) throw std::invalid_argument("not a number: " + args[i]);
    return v;
}

std::map<std::string, Verb>& verbs() {
    static std::map<std::string, Verb> table;
    return table;
}

std::map<std::string, ProgramFactory>& programs() {
    static std::map<std::string, ProgramFactory> table;
    return table;
}

std::vector<QObject*> DrivenProgram::controls() {
    std::vector<QObject*> named;
    for (QObject* o : window().findChildren<QObject*>())
        if (!o->objectName().isEmpty()) named.push_back(o);
    return named;
}

namespace {

std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out.push_back(c);
    }
    return out;
}

}  // namespace

void ScriptedDialogs::critical(const std::string& text) {
    messages.push_back(text);
    log_ << "message: " << escaped(cp1252ToUtf8(text)) << std::endl;
}

std::size_t ScriptedDialogs::ask(const std::string& text, const std::vector<std::string>& choices) {
    messages.push_back(text);
    std::size_t a = choices.size() - 1;
    if (!questionAnswers.empty()) {
        a = std::min(questionAnswers.front(), choices.size() - 1);
        questionAnswers.pop_front();
    }
    log_ << "question: " << escaped(cp1252ToUtf8(text)) << "\nanswered: " << cp1252ToUtf8(choices[a]) << std::endl;
    return a;
}

std::optional<std::string> ScriptedDialogs::openFile(const std::string& filter, const std::string&) {
    fileFilters.push_back(filter);
    if (fileAnswers.empty()) {
        log_ << "file dialog (" << cp1252ToUtf8(filter) << "): no answer queued, cancelled" << std::endl;
        return std::nullopt;
    }
    std::optional<std::string> a = fileAnswers.front();
    fileAnswers.pop_front();
    log_ << "file dialog (" << cp1252ToUtf8(filter) << "): " << (a ? *a : std::string("cancel")) << std::endl;
    return a;
}

bool ScriptedDialogs::openDocument(const std::string& nativePath) {
    openedDocuments.push_back(nativePath);
    log_ << "open document: " << nativePath << std::endl;
    return true;
}

// Runs the steps one after another from the event loop, so that steps run
// while handlers of earlier steps are still inside their own waits, as a
// user's actions would.
class ScriptRunner : public QObject {
public:
    ScriptRunner(Driver& driver, std::vector<std::pair<int, std::vector<std::string>>> steps)
        : driver_(driver), steps_(std::move(steps)) {
        connect(&timer_, &QTimer::timeout, this, &ScriptRunner::tick);
        timer_.start(10);
    }

private:
    void tick() {
        if (busy_) return;
        busy_ = true;
        while (next_ < steps_.size()) {
            auto& [lineNo, words] = steps_[next_];
            if (!started_) {
                driver_.stepTime.start();
                started_ = true;
            }
            auto verb = verbs().find(words[0]);
            StepResult r;
            if (verb == verbs().end()) {
                r = StepResult::failed("unknown verb '" + words[0] + "'");
            } else {
                try {
                    r = verb->second.run(driver_, {words.begin() + 1, words.end()});
                } catch (const std::exception& e) { r = StepResult::failed(e.what()); }
            }
            if (r.state == StepState::Pending) break;
            if (r.state == StepState::Failed) {
                driver_.out << "line " << lineNo << ": " << words[0] << ": " << r.error << std::endl;
                finish(1);
                return;
            }
            ++next_;
            started_ = false;
            // One step per pass, so queued clicks and keys are handled first.
            break;
        }
        busy_ = false;
        if (next_ >= steps_.size()) finish(0);
    }

    void finish(int code) {
        timer_.stop();
        driver_.out << (code == 0 ? "script done" : "script failed") << std::endl;
        QCoreApplication::exit(code);
    }

    Driver& driver_;
    std::vector<std::pair<int, std::vector<std::string>>> steps_;
    std::size_t next_ = 0;
    bool started_ = false;
    bool busy_ = false;
    QTimer timer_;
};

}  // namespace tarvok::drive

int main(int argc, char** argv) {
    using namespace tarvok;
    // Offscreen unless a display is there.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvok-drive"));
    // The script may go on after the window has closed (wait-ended, dump).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QStringList args = QApplication::arguments();
    std::optional<QSize> screen;
    QString scriptPath;
    std::string program = "map";
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--screen") && i + 1 < args.size()) {
            QStringList wh = args[++i].split(QLatin1Char('x'));
            if (wh.size() == 2) screen = QSize(wh[0].toInt(), wh[1].toInt());
        } else if (args[i] == QLatin1String("--pass-microseconds") && i + 1 < args.size()) {
            MediaControl::setPassDuration(std::chrono::microseconds(args[++i].toLongLong()));
        } else if (args[i] == QLatin1String("--program") && i + 1 < args.size()) {
            program = args[++i].toStdString();
        } else if (scriptPath.isEmpty()) {
            scriptPath = args[i];
        }
    }
    if (scriptPath.isEmpty() || (screen && screen->isEmpty())) {
        std::cerr << "usage: tarvok-drive [--program map|set] [--screen WxH] [--pass-microseconds N] SCRIPT\n"
                     "verbs:\n";
        for (const auto& [name, verb] : drive::verbs()) std::cerr << "  " << verb.usage << "\n";
        return 2;
    }
    auto factory = drive::programs().find(program);
    if (factory == drive::programs().end()) {
        std::cerr << "tarvok-drive: --program " << program << ": no such program (map: TarvokMAP, set: TarvokSET)\n";
        return 2;
    }

    std::istringstream file;
    if (scriptPath != QLatin1String("-")) {
        int error = 0;
        const std::optional<std::string> text = readRegularFile(scriptPath.toStdString(), &error);
        if (!text) {
            std::cerr << "tarvok-drive: cannot read " << fileErrorText(scriptPath.toStdString(), error) << "\n";
            return 2;
        }
        file.str(*text);
    }
    std::istream& in = scriptPath == QLatin1String("-") ? std::cin : file;
    std::vector<std::pair<int, std::vector<std::string>>> steps;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        try {
            std::vector<std::string> words = drive::splitScriptLine(line);
            if (!words.empty()) steps.emplace_back(n, std::move(words));
        } catch (const std::exception& e) {
            std::cerr << "line " << n << ": " << e.what() << "\n";
            return 2;
        }
    }

    int code = 1;
    {
        drive::ScriptedDialogs dialogs(std::cout);
        std::unique_ptr<drive::DrivenProgram> driven =
            factory->second(drive::ProgramOptions{dialogs, DosPaths(DosPaths::defaultPrefix()), screen});
        if (driven) {
            drive::Driver driver{*driven, dialogs, std::cout, {}, {}, screen};
            drive::ScriptRunner runner(driver, std::move(steps));
            code = app.exec();
        }
    }
    endProgram(code);
}
