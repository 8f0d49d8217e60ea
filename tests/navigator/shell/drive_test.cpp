// tarvok-drive runs the real navigator window from a script.
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/window_presence.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

namespace fs = std::filesystem;

// The script's run: its exit code and all it wrote, the log and the errors.
struct DriveRun {
    int exitCode = -1;
    std::string out;
};

DriveRun drive(const test::TempPrefix& tp, const std::string& script, QStringList options = {}) {
    const test::ProgramRun r = test::runDriveScript(QStringLiteral(TARVOK_DRIVE), tp, script, options);
    return {r.exitCode, r.out + r.err};
}

QJsonObject controlIn(const QJsonArray& dump, const QString& name) {
    for (const auto& v : dump)
        if (v.toObject()[QStringLiteral("name")].toString() == name) return v.toObject();
    return {};
}

TEST(TarvokDrive, RunsAScriptOnTheWindow) {
    test::TempPrefix tp;
    std::string dir = tp.root().string();
    DriveRun r = drive(tp,
                       "# open, type, keys, STOP twice\n"
                       "wait-status \"  PLEASE LOAD A MAP\"\n"
                       "type NSText n\n"
                       "expect NSText N\n"
                       "key o Command2\n"
                       "wait-status \"Xcor.= 20 ; Ycor.= 20\"\n"
                       "state navigationActive 1\n"
                       "click cmdQuit\n"
                       "wait-status \" NAVIGATION STOPPED\"\n"
                       "dump " +
                           dir +
                           "/controls.json\n"
                           "grab " +
                           dir +
                           "/window.png\n"
                           "click Command6\n"
                           "sleep 50\n"
                           "click cmdQuit\n"
                           "wait-ended\n",
                       {QStringLiteral("--screen"), QStringLiteral("1024x768")});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("script done"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("USERNav4.HTM"), std::string::npos) << r.out;

    QFile f(QString::fromStdString(dir + "/controls.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QJsonArray dump = QJsonDocument::fromJson(f.readAll()).array();
    EXPECT_EQ(controlIn(dump, "Label6")["text"].toString(), " NAVIGATION STOPPED");
    EXPECT_EQ(controlIn(dump, "NSText")["text"].toString(), "N");
    EXPECT_EQ(controlIn(dump, "Command2")["text"].toString(), "LOA&D");
    EXPECT_FALSE(controlIn(dump, "Frame10")["visible"].toBool());
    EXPECT_TRUE(controlIn(dump, "Picture2")["visible"].toBool());
    EXPECT_EQ(controlIn(dump, "PicClip1")["width"].toInt(), 640);
    QImage png(QString::fromStdString(dir + "/window.png"));
    EXPECT_EQ(png.size(), QSize(1024, 740));
}

TEST(TarvokDrive, StopsAtTheFirstFailingStep) {
    test::TempPrefix tp;
    DriveRun r = drive(tp, "expect NSText X 100\nclick cmdQuit\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("line 1: expect: timed out"), std::string::npos) << r.out;
    DriveRun unknown = drive(tp, "\n  frobnicate now\n");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.out.find("line 2: frobnicate: unknown verb"), std::string::npos) << unknown.out;
    DriveRun quote = drive(tp, "type Latid \"52,1\n");
    EXPECT_EQ(quote.exitCode, 2);
    DriveRun other = drive(tp, "sleep 1\n", {QStringLiteral("--program"), QStringLiteral("nav")});
    EXPECT_EQ(other.exitCode, 2);
    EXPECT_NE(other.out.find("--program nav: no such program"), std::string::npos) << other.out;
}

TEST(TarvokDrive, RunsTheSettingsWindowAndItsEndSavesTheSettings) {
    test::TempPrefix tp;
    const QStringList set{QStringLiteral("--program"), QStringLiteral("set")};
    const std::string dir = tp.root().string();
    DriveRun r = drive(tp,
                       "expect SnText \" kmh\"\n"
                       "click Scomm1\n"
                       "expect SnText \" mph\"\n"
                       "click Mtoets2\n"
                       "sounds INstart1.WAV INcdrom0.WAV INcdrom1.WAV\n"
                       "dump " +
                           dir +
                           "/controls.json\n"
                           "grab " +
                           dir +
                           "/ports.png\n"
                           "key Esc\n"
                           "wait-ended\n",
                       set);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(tp.readDos("C:\\WINDOWS\\VELKAR.DLL").substr(9, 1), "2") << "mph saved when the window closed";
    QFile f(QString::fromStdString(dir + "/controls.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonArray dump = QJsonDocument::fromJson(f.readAll()).array();
    EXPECT_TRUE(controlIn(dump, "Frame2")["visible"].toBool());
    EXPECT_FALSE(controlIn(dump, "Frame1")["visible"].toBool());
    EXPECT_FALSE(QImage(QString::fromStdString(dir + "/ports.png")).isNull());
    // A script that ends with the window open saves as the program's end
    // does; the navigator's own verbs and flags are refused.
    EXPECT_EQ(drive(tp, "click Scomm1\nsleep 50\n", set).exitCode, 0);
    EXPECT_EQ(tp.readDos("C:\\WINDOWS\\VELKAR.DLL").substr(9, 1), "3");
    for (const char* script : {"feed /dev/null\n", "state navigationActive 1\n", "wait-status X\n"}) {
        DriveRun refused = drive(tp, script, set);
        EXPECT_EQ(refused.exitCode, 1) << script;
        EXPECT_NE(refused.out.find("line 1: "), std::string::npos) << refused.out;
    }
}

// The process running `exe` in this test's window registry, 0 when none.
pid_t processRunning(const fs::path& exe, const test::TempPrefix& tp) {
    const std::string mine = "TARVOK_RUNTIME_DIR=" + tp.runtimeDir().string();
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator("/proc", ec)) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (fs::read_symlink(e.path() / "exe", ec) != exe) continue;
        std::string env = test::readFile(e.path() / "environ");
        for (std::size_t at = 0; at < env.size(); at = env.find('\0', at) + 1) {
            if (env.compare(at, mine.size() + 1, mine + '\0') == 0) return static_cast<pid_t>(std::stol(name));
            if (env.find('\0', at) == std::string::npos) break;
        }
    }
    return 0;
}

// SETUP as installed: TarvokSET is looked for beside the navigator (in the
// build tree, and in a folder laid out as an install), then on PATH. Found,
// it runs until it is asked to end, and the navigator waits for its window;
// missing, the navigator says where it looked and goes on.
TEST(TarvokDrive, SetupStartsTheTarvokSetBesideTheNavigatorOrSaysWhereItLooked) {
    const fs::path built = fs::path(TARVOK_DRIVE).parent_path();
    struct Row {
        const char* layout;
        bool withSettingsProgram;
    };
    for (const Row& row : {Row{"build", true}, Row{"install", true}, Row{"install", false}}) {
        SCOPED_TRACE(std::string(row.layout) + (row.withSettingsProgram ? "" : " without TarvokSET"));
        test::TempPrefix tp;
        fs::path bin = built;
        if (std::string(row.layout) == "install") {
            bin = tp.root() / "bin";
            fs::create_directories(bin);
            fs::copy_file(built / "tarvok-drive", bin / "tarvok-drive");
            if (row.withSettingsProgram) fs::copy_file(built / "TarvokSET", bin / "TarvokSET");
            fs::create_directory_symlink(fs::canonical(built / ".." / "share"), tp.root() / "share");
        }
        const fs::path emptyPath = tp.root() / "nothing";
        fs::create_directories(emptyPath);
        test::writeFile(tp.root() / "setup.txt",
                        row.withSettingsProgram
                            ? "setup-grace 200\nclick SetupCommand\nwait-status \"CHANGE SETTINGS\"\n"
                              "wait-setup 20000\nclick cmdQuit\nwait-ended\n"
                            : "click SetupCommand\nexpect-message\nwait-status \"CHANGE SETTINGS\"\n"
                              "click cmdQuit\nwait-ended\n");
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PATH"), QString::fromStdString(emptyPath.string()));
        p.setProcessEnvironment(env);
        p.start(QString::fromStdString((bin / "tarvok-drive").string()),
                {QStringLiteral("--pass-microseconds"), QStringLiteral("1"),
                 QString::fromStdString((tp.root() / "setup.txt").string())});
        if (row.withSettingsProgram) {
            // The user closes it; the session ending does the same.
            pid_t set = 0;
            EXPECT_TRUE(test::waitFor([&] { return (set = processRunning(bin / "TarvokSET", tp)) != 0; }, 15000));
            std::unique_ptr<WindowPresence> presence = createWindowPresence();
            EXPECT_TRUE(test::waitFor([&] { return presence->isOpen("TARVOK - SETTINGS"); }, 15000));
            if (set) ::kill(set, SIGTERM);
        }
        ASSERT_TRUE(p.waitForFinished(30000));
        const std::string out = p.readAll().toStdString();
        EXPECT_EQ(p.exitCode(), 0) << out;
        if (!row.withSettingsProgram) {
            EXPECT_NE(out.find("message: TARVOK\\r\\n\\r\\nThe settings program was not started.\\r\\n\\r\\n"
                               "Looked for in:\\r\\n" +
                               (bin / "TarvokSET").string()),
                      std::string::npos)
                << out;
        }
    }
}

// A settings window that opens and closes between two of SETUP's looks:
// the end of the settings program ends the wait long before the grace
// period would, and the navigator takes the new settings over (Dutch: the
// sound switch answers in Dutch).
TEST(TarvokDrive, SetupEndsItsWaitWhenTheSettingsProgramEndsUnseen) {
    test::TempPrefix tp;
    const fs::path settingsScript = tp.root() / "set.txt";
    test::writeFile(settingsScript, "click Command4\nexpect Ttaal1 NL\nkey Esc\nwait-ended\n");
    DriveRun r = drive(tp, "settings-script " + settingsScript.string() +
                               "\n"
                               "setup-grace 60000\n"
                               "click SetupCommand\n"
                               "wait-status \"CHANGE SETTINGS\"\n"
                               "wait-setup 20000\n"
                               "key g\n"
                               "wait-status \"  GELUID = UIT \"\n"
                               "click cmdQuit\n"
                               "wait-ended\n");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(tp.readDos("C:\\WINDOWS\\VELKAR.DLL").substr(4, 1), "0") << "Dutch saved by the settings window";
}

// Whether process `pid` has a handler of its own for `signal`: the SigCgt
// mask of /proc/PID/status.
bool catchesSignal(qint64 pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// TarvokMAP itself, ended from outside with its window open, closes the
// window as the user does and ends at once and cleanly.
TEST(TarvokMap, AnEndRequestedFromOutsideClosesTheWindowAndEndsCleanly) {
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        test::TempPrefix tp;
        QProcess map;
        map.setProcessChannelMode(QProcess::MergedChannels);
        ASSERT_TRUE(test::startProgram(map, QStringLiteral(TARVOK_MAP), {},
                                       {.env = {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}}}));
        ASSERT_TRUE(test::waitFor([&] { return catchesSignal(map.processId(), signal); }, 15000));
        ::kill(static_cast<pid_t>(map.processId()), signal);
        ASSERT_TRUE(map.waitForFinished(10000));
        EXPECT_EQ(map.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(map.exitCode(), 0) << map.readAll().toStdString();
    }
}

TEST(TarvokDrive, ChecksTheSoundsStartedSinceTheLastCheck) {
    test::TempPrefix tp;
    DriveRun r = drive(tp,
                       "wait-status \"  PLEASE LOAD A MAP\"\n"
                       "sounds Welkom5.WAV\n"
                       "state navigationActive 1\n"
                       "click cmdQuit\n"
                       "sounds C:\\TARVOK\\SOUND\\Navig2.WAV\n"
                       "click cmdQuit\n"
                       "wait-ended\n"
                       "sounds\n",
                       {QStringLiteral("--program"), QStringLiteral("map")});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("sound C:\\TARVOK\\SOUND\\Totziens.WAV"), std::string::npos) << r.out;
    // A sound other than the one named fails the step and says what played.
    DriveRun wrong = drive(tp, "sounds Navig1.WAV\n");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.out.find("line 1: sounds: sounds started: C:\\TARVOK\\SOUND\\Welkom5.WAV"), std::string::npos)
        << wrong.out;
}

}  // namespace
}  // namespace tarvok
