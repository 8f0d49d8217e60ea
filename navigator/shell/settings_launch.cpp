#include "settings_launch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "common/text.h"
#include "platform/dialogs.h"
#include "platform/process_end_watch.h"
#include "platform/window_presence.h"

namespace tarvok {

SettingsLaunch::SettingsLaunch(WindowPresence& presence, QObject* parent) : QObject(parent), presence_(presence) {
    setObjectName(QStringLiteral("SettingsLaunch"));
    connect(&lookTimer_, &QTimer::timeout, this, &SettingsLaunch::look);
}

SettingsLaunch::~SettingsLaunch() = default;

const char* SettingsLaunch::changeSettingsText(Language l) {
    return inLanguage<const char*>(l, "VERANDER INSTELLING", "CHANGE SETTINGS");
}

const char* SettingsLaunch::alreadyOpenText(Language l) {
    return inLanguage<const char*>(l, " INSTELLINGEN AL OPEN ", " SETTINGS ALREADY OPEN ");
}

namespace {

// The fixed lines of the message when the settings program did not start.
struct NotStartedLine {
    const char* dutch;
    const char* english;
};
constexpr NotStartedLine kNotStarted{"Het instellingenprogramma is niet gestart.",
                                     "The settings program was not started."};
constexpr NotStartedLine kCouldNotStart{"Het kon niet worden gestart:", "It could not be started:"};
constexpr NotStartedLine kLookedIn{"Gezocht in:", "Looked for in:"};
constexpr NotStartedLine kAndOnPath{"en in het zoekpad (PATH).", "and on the search path (PATH)."};

}  // namespace

std::vector<std::string> SettingsLaunch::notStartedLines(Language l, const std::vector<std::string>& tried,
                                                         bool found) {
    auto text = [l](const NotStartedLine& line) { return std::string(inLanguage(l, line.dutch, line.english)); };
    std::vector<std::string> lines{"TARVOK", "", text(kNotStarted), ""};
    if (found) {
        lines.push_back(text(kCouldNotStart));
        for (const std::string& t : tried) lines.push_back(utf8ToCp1252(t));
        return lines;
    }
    lines.push_back(text(kLookedIn));
    for (const std::string& t : tried) lines.push_back(utf8ToCp1252(t));
    lines.push_back(text(kAndOnPath));
    return lines;
}

bool SettingsLaunch::settingsWindowOpen() const {
    return presence_.isOpen(kSettingsTitleDutch) || presence_.isOpen(kSettingsTitleEnglish);
}

std::vector<std::string> SettingsLaunch::folders() const {
    if (!program_.folders.empty()) return program_.folders;
    return {QCoreApplication::applicationDirPath().toStdString()};
}

void SettingsLaunch::setupCommandClick() {
    if (stopped_) return;
    const Language l = calls_.language();
    if (phase_ == Phase::Starting || phase_ == Phase::Grace || phase_ == Phase::Waiting || settingsWindowOpen()) {
        calls_.setStatus(alreadyOpenText(l));
        // A settings window opened some other way is waited for as well.
        if (phase_ == Phase::Idle || phase_ == Phase::LateWatch) {
            phase_ = Phase::Waiting;
            seen_ = true;
            lookTimer_.start(program_.lookInterval);
        }
        return;
    }
    calls_.setStatus(changeSettingsText(l));
    if (!start()) return;
    phase_ = Phase::Starting;
    seen_ = false;
    lookTimer_.start(program_.lookInterval);
    calls_.playSetupSound();
    if (stopped_ || phase_ != Phase::Starting) return;
    phase_ = Phase::Grace;
    grace_.start();
    // Ended while its sound played.
    if (programEnded_) look();
}

bool SettingsLaunch::start() {
    const QString name = QString::fromStdString(program_.name);
    std::vector<std::string> tried;
    QString path;
    for (const std::string& folder : folders()) {
        QFileInfo candidate(QDir(QString::fromStdString(folder)).filePath(name));
        tried.push_back(candidate.filePath().toStdString());
        if (candidate.isFile() && candidate.isExecutable()) {
            path = candidate.absoluteFilePath();
            break;
        }
    }
    if (path.isEmpty()) path = QStandardPaths::findExecutable(name);
    const Language l = calls_.language();
    if (path.isEmpty()) {
        tried.push_back(program_.name);
        calls_.critical(joinMessageLines(notStartedLines(l, tried, false)));
        return false;
    }
    QStringList args;
    for (const std::string& a : program_.arguments) args << QString::fromStdString(a);
    // The navigator keeps no handle on it: it runs on when the navigator
    // ends. Its end is watched through its process id.
    qint64 pid = 0;
    if (!QProcess::startDetached(path, args, QString(), &pid)) {
        calls_.critical(joinMessageLines(notStartedLines(l, {path.toStdString()}, true)));
        return false;
    }
    programEnded_ = false;
    programWatch_ = std::make_unique<ProcessEndWatch>(pid);
    connect(programWatch_.get(), &ProcessEndWatch::ended, this, &SettingsLaunch::programEnded);
    return true;
}

void SettingsLaunch::programEnded() {
    programEnded_ = true;
    if (phase_ == Phase::Grace || phase_ == Phase::Waiting || phase_ == Phase::LateWatch) look();
}

void SettingsLaunch::look() {
    if (stopped_ || phase_ == Phase::Idle) {
        lookTimer_.stop();
        return;
    }
    const bool open = settingsWindowOpen();
    if (open) seen_ = true;
    switch (phase_) {
    case Phase::Idle:
    case Phase::Starting: return;
    case Phase::Grace:
        if (!programEnded_ && grace_.elapsed() < program_.gracePeriod.count()) return;
        phase_ = Phase::Waiting;
        [[fallthrough]];
    case Phase::Waiting:
        if (open) return;
        // Seen and gone, or its program has ended: the wait is over.
        if (seen_ || programEnded_) {
            phase_ = Phase::Idle;
            lookTimer_.stop();
        } else {
            // Not shown in time: reload now, and again once it has come and
            // gone.
            phase_ = Phase::LateWatch;
        }
        reload();
        return;
    case Phase::LateWatch:
        if (open) {
            phase_ = Phase::Waiting;
        } else if (programEnded_) {
            // Its window came and went between two looks, or never came.
            phase_ = Phase::Idle;
            lookTimer_.stop();
            reload();
        }
        return;
    }
}

void SettingsLaunch::reload() {
    calls_.reload();
    emit reloaded();
}

void SettingsLaunch::stop() {
    stopped_ = true;
    phase_ = Phase::Idle;
    lookTimer_.stop();
}

}  // namespace tarvok
