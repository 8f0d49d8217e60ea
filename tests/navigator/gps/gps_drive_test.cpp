// tarvok-drive feeds an NMEA file through a pseudo-terminal on COM1 into a
// navigating window.
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <utility>

#include "common/settings.h"
#include "navigator/route/route_file.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

namespace fs = std::filesystem;

// A prefix with route recording on, the map DELFT and a receiver log of
// three fixes; returns the paths of the bitmap and the log.
std::pair<fs::path, fs::path> prepareDrive(const test::TempPrefix& tp) {
    SettingsString settings = SettingsString::settingsProgramTemplate();
    settings.writeChar(field::SoundOn, '0');
    settings.writeChar(field::RecordRoute, '1');
    tp.writeDos("C:\\WINDOWS\\VELKAR.DLL", settings.bytes());
    fs::create_directories(tp.paths().toNative("C:\\TARVOK"));  // the program folder, for ROUTE1.TVK
    const auto bmp = tp.writeDos("C:\\MAPS\\DELFT.BMP", "");
    QImage img(600, 400, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    EXPECT_TRUE(img.save(QString::fromStdString(bmp.string()), "BMP"));
    tp.writeDos("C:\\MAPS\\DELFT.des", "Delft\r\nx\r\nx\r\n521000N0040000E,0,400\r\n522000N0043000E,600,0\r\n");
    // LF line ends, as NMEA logs often have; a GGA between the fixes.
    const auto nmea = tp.root() / "drive.nmea";
    test::writeFile(nmea,
                    "$GPRMC,120000,A,5215.00,N,00415.00,E,022.4,084.4,230394,003.1,W*65\n"
                    "$GPGGA,120000,5215.00,N,00415.00,E,1,08,0.9,0.0,M,46.9,M,,*48\n"
                    "$GPRMC,120001,A,5215.00,N,00416.00,E,022.4,084.4,230394,003.1,W*67\n"
                    "$GPRMC,120002,A,5215.00,N,00417.00,E,022.4,084.4,230394,003.1,W*65\n");
    return {bmp, nmea};
}

// Runs tarvok-drive on the script in the prefix; its exit code and output.
std::pair<int, std::string> runDrive(const test::TempPrefix& tp, const std::string& scriptText) {
    const test::ProgramRun r = test::runDriveScript(QStringLiteral(TARVOK_DRIVE), tp, scriptText);
    return {r.exitCode, r.out + r.err};
}

// The map line once DELFT is shown. The map is read in the background:
// fixes that came before it would fall off the start picture.
constexpr const char* kDelftShown = "expect Text8 \" MAP:  Delft ;  600 x 400 pixels\"\n";

// The script's start: the map loaded, the log fed at once, navigating until
// the last fix is shown.
std::string navigatedThroughTheLog(const fs::path& bmp, const fs::path& nmea) {
    return "load-map " + bmp.string() + "\n" + kDelftShown + "feed " + nmea.string() +
           " 0\nclick Navig1\nwait-fed\nexpect Tijds 12:00:02\n";
}

TEST(GpsDrive, FeedsAFileIntoTheNavigatingWindowAndPutsTheLinkBack) {
    test::TempPrefix tp;
    const auto [bmp, nmea] = prepareDrive(tp);
    // The user's own com1 link, which the feed borrows.
    fs::create_directories(tp.prefix() / "dosdevices");
    fs::create_symlink("/dev/ttyUSB0", tp.prefix() / "dosdevices" / "com1");
    const auto dump = tp.root() / "controls.json";
    const auto [code, out] = runDrive(tp,
                                      "wait-status \"  PLEASE LOAD A MAP\"\n"
                                      "load-map " +
                                          bmp.string() +
                                          "\n" +
                                          kDelftShown +
                                          "feed " +
                                          nmea.string() +
                                          " 20\n"
                                          "click Navig1\n"
                                          "wait-fed\n"
                                          "expect Tijds 12:00:02\n"
                                          "expect Xtext 340\n"
                                          "wait-status \" NAVIGATION ACTIVE \"\n"
                                          "click Navig1\n"
                                          "wait-status \" NAVIGATION STOPPED\"\n"
                                          "dump " +
                                          dump.string() +
                                          "\n"
                                          "click cmdQuit\n"
                                          "wait-ended\n");
    ASSERT_EQ(code, 0) << out;

    // The log shows every line; the fixes went into the route file.
    QJsonArray controls = QJsonDocument::fromJson(QByteArray::fromStdString(test::readFile(dump))).array();
    QString log;
    for (const auto& c : controls)
        if (c.toObject()["name"].toString() == QLatin1String("Text1")) log = c.toObject()["text"].toString();
    EXPECT_TRUE(log.contains(QStringLiteral("$GPGGA,120000"))) << log.toStdString();
    EXPECT_TRUE(log.endsWith(QStringLiteral("Closing Com port\n\n"))) << log.toStdString();
    route::RouteFileReader route(tp.paths(), route::routeFilePath("C:\\TARVOK"));
    EXPECT_EQ(route.count(), 4);
    EXPECT_EQ(fs::read_symlink(tp.prefix() / "dosdevices" / "com1"), "/dev/ttyUSB0");
}

TEST(GpsDrive, TheScriptAnswersTheQuestionAboutPositionsNotSaved) {
    test::TempPrefix tp;
    const auto [bmp, nmea] = prepareDrive(tp);
    fs::create_directories(tp.paths().toNative("C:\\TARVOK\\ROUTE1.TVK"));  // cannot be written
    const auto [code, out] = runDrive(tp, navigatedThroughTheLog(bmp, nmea) +
                                              "click Navig1\n"
                                              "wait-status \" ROUTE NOT SAVED!\"\n"
                                              "expect-message\n"
                                              "answer 0\n"
                                              "click cmdQuit\n"
                                              "wait-ended\n");
    ASSERT_EQ(code, 0) << out;
    // Tried again once as answered, then (no answer left) discarded.
    const auto first = out.find("question: WARNING!\\r\\n\\r\\n3 positions of the route driven");
    ASSERT_NE(first, std::string::npos) << out;
    const auto again = out.find("answered: Try again", first);
    ASSERT_NE(again, std::string::npos) << out;
    EXPECT_NE(out.find("answered: Discard", again), std::string::npos) << out;
}

// Ended from outside while navigating with route recording on (a session
// that logs out sends SIGTERM and SIGHUP together; Ctrl+C in a terminal):
// the window closes as the user's close does, so the positions shown, not
// yet in the route file, are written, and the program ends at once and
// cleanly.
TEST(GpsDrive, AnEndRequestedFromOutsideWhileNavigatingKeepsTheRouteDriven) {
    for (const std::vector<int>& requests : std::vector<std::vector<int>>{{SIGTERM}, {SIGTERM, SIGHUP}, {SIGINT}}) {
        SCOPED_TRACE(requests.front());
        test::TempPrefix tp;
        const auto [bmp, nmea] = prepareDrive(tp);
        const auto shown = tp.root() / "shown.json";
        const std::string routeFile = route::routeFilePath("C:\\TARVOK");
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        ASSERT_TRUE(test::startDriveScript(p, QStringLiteral(TARVOK_DRIVE), tp,
                                           navigatedThroughTheLog(bmp, nmea) + "dump " + shown.string() +
                                               "\n"
                                               "wait-ended 60000\n"));
        ASSERT_TRUE(test::waitFor([&] { return fs::exists(shown) || p.state() == QProcess::NotRunning; }, 30000))
            << p.readAll().toStdString();
        ASSERT_EQ(p.state(), QProcess::Running) << p.readAll().toStdString();
        EXPECT_FALSE(fs::exists(tp.paths().toNative(routeFile))) << "a block is written only when full";
        for (int signal : requests) ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(10000));
        const std::string out = p.readAll().toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << out;
        EXPECT_EQ(p.exitCode(), 0) << out;
        EXPECT_NE(out.find("script done"), std::string::npos) << out;
        EXPECT_EQ(route::RouteFileReader(tp.paths(), routeFile).count(), 4);
    }
}

}  // namespace
}  // namespace tarvok
