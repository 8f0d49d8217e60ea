// Navigation through the real window: the NAV button opens COM1, which the
// prefix's dosdevices/com1 link points at a pseudo-terminal (or at a gpsd
// daemon fed by one); the test writes NMEA into the master side like a
// receiver and looks at what the window shows.
#include "navigator/gps/navigation_loop.h"
#include "navigator/navigator_windows.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

#include "navigator/gps/position_display.h"
#include "navigator/map/map_loader.h"
#include "navigator/map/map_view_widget.h"
#include "navigator/map/map_window.h"
#include "navigator/route/route_file.h"
#include "navigator/shell/settings_launch.h"
#include "navigator/shell/shell_widgets.h"
#include "platform/window_presence.h"
#include "tests/navigator/gps/gpsd_process.h"
#include "tests/navigator/gps/pty.h"
#include "tests/navigator/shell/stand_in_settings.h"
#include "tests/navigator/shell/window_fixture.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/full_disk.h"
#include "tests/support/nmea_text.h"
#include "tests/support/readouts.h"
#include "tests/support/wait_for.h"

namespace tarvok::gps {
namespace {

namespace fs = std::filesystem;
using State = NavigationLoop::State;

using test::waitFor;

using test::nmeaSentence;

std::string rmc(const std::string& time, const std::string& lat, const std::string& lon,
                const std::string& speed = "022.4", const std::string& course = "084.4",
                const std::string& talker = "GP") {
    return nmeaSentence(talker + "RMC," + time + ",A," + lat + ",N," + lon + ",E," + speed + "," + course +
                        ",230394,003.1,W");
}

// Map DELFT, 600 x 400 pixels, 52 10' N .. 52 20' N, 4 00' E .. 4 30' E.
constexpr const char* kCorners = "Delft\r\nx\r\nx\r\n521000N0040000E,0,400\r\n522000N0043000E,600,0\r\n";

struct NavigationWindow : ::testing::Test {
    test::ShellWindow shell;
    std::unique_ptr<map::MapWindow> map;
    std::unique_ptr<PositionDisplay> display;
    std::unique_ptr<NavigationLoop> loop;
    test::Pty pty;

    void SetUp() override {
        map = std::make_unique<map::MapWindow>(mapWindowLinks(*shell.window), shell.window.get());
        display = std::make_unique<PositionDisplay>(positionDisplayLinks(*shell.window), *map);
        loop = std::make_unique<NavigationLoop>(navigationLinks(*shell.window, shell.speech), *display);
        QObject::connect(shell.window.get(), &MainWindow::ended, loop.get(), &NavigationLoop::programEnding);
        shell.open();
        // Where the start-up finds the settings; the route file goes there.
        fs::create_directories(shell.prefix.paths().toNative("C:\\TARVOK"));
        ASSERT_TRUE(shell.loadMap(shell.writeMap("C:\\MAPS\\DELFT", 600, 400, kCorners)));
        ASSERT_TRUE(pty.ok());
        linkCom1(pty.slaveName());
    }
    void TearDown() override {
        NavigationLoop::setSilenceLimit(std::chrono::seconds(5));
        loop.reset();
        display.reset();
        map.reset();
    }

    void linkCom1(const std::string& target) {
        fs::path dev = shell.prefix.prefix() / "dosdevices";
        fs::create_directories(dev);
        fs::remove(dev / "com1");
        fs::create_symlink(target, dev / "com1");
    }
    std::string box(const char* name) { return shell.box(name)->text().toStdString(); }
    std::string text1() { return shell.control<QPlainTextEdit>("Text1")->toPlainText().toStdString(); }
    // Text1 once the port is open: the device and its line settings named.
    std::string openedLog() { return "Opening Com port\n\nCOM1: " + pty.slaveName() + " 4800,N,8,1\n\n"; }
    void startReceiving() {
        shell.button("Navig1")->click();
        ASSERT_TRUE(waitFor([&] { return loop->state() == State::Receiving; }));
    }
    // The second click on NAV, and the loop back at rest.
    void stop() {
        shell.button("Navig1")->click();
        ASSERT_TRUE(waitFor([&] { return loop->state() == State::Idle; }));
    }
    // The one message shown so far holds `part` (at its start if asked).
    void expectOneMessage(const std::string& part, bool atStart = false) {
        ASSERT_EQ(shell.dialogs.messages.size(), 1u);
        const std::size_t at = shell.dialogs.messages[0].find(part);
        EXPECT_TRUE(atStart ? at == 0 : at != std::string::npos) << shell.dialogs.messages[0];
    }
    // Writes into the receiver side, letting the window read while the
    // line is full.
    bool send(std::string_view nmea) {
        while (!nmea.empty()) {
            long n = pty.tryWrite(nmea);
            if (n < 0) return false;
            nmea.remove_prefix(static_cast<std::size_t>(n));
            if (!nmea.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    // Writes into the receiver side and waits until the window has shown
    // `fixes` positions in all.
    void feed(const std::string& nmea, long fixes) {
        ASSERT_TRUE(send(nmea));
        ASSERT_TRUE(waitFor([&] { return loop->fixesShown() >= fixes; })) << text1();
    }
    // Writes a line that is only logged and waits until Text1 shows it.
    void feedLogged(const std::string& line, const std::string& shown) {
        ASSERT_TRUE(send(line));
        ASSERT_TRUE(waitFor([&] { return text1().find(shown) != std::string::npos; })) << text1();
    }
};

TEST_F(NavigationWindow, ShowsEachFixOfAReceiverOnAPtyAndStopsOnTheSecondClick) {
    startReceiving();
    EXPECT_EQ(std::tuple(shell.window->state().navigationActive, shell.window->state().stopRequest,
                         shell.device->opened().back()),
              std::tuple(1, false, "Navig1.WAV"));
    EXPECT_EQ(text1(), openedLog());

    // 52 15.00' N, 4 15.00' E: the middle column, row 201 of the map.
    feed(rmc("123519", "5215.00", "00415.00"), 1);
    test::expectReadouts(*shell.window, {{"Tijds", "12:35:19"},
                                         {"Latid", "52,25000"},
                                         {"NSText", "N"},
                                         {"Longi", "4,250000"},
                                         {"EWText", "E"},
                                         {"Speed", "041"},
                                         {"Smode", "kmh"},
                                         {"Koers", "084"},
                                         {"Windr", " O"},
                                         {"Datum", "23-03-1994"},
                                         {"Xtext", "300"},
                                         {"Ytext", "201"}});
    EXPECT_EQ(shell.window->status(), " NAVIGATION ACTIVE ");
    EXPECT_EQ(shell.window->picture2()->lines().size(), 6u);
    EXPECT_EQ(shell.speech.statusCalls, 1);
    EXPECT_FALSE(map->viewWidget().mark().empty());
    EXPECT_EQ(display->positionPixel(), (map::PixelPosition{300, 201}));

    // Two sentences in one read, the second from a multi-constellation
    // receiver with five minute decimals: both are shown.
    feed(rmc("123520", "5215.00", "00415.00") + rmc("123521", "5212.50000", "00407.50000", "0.02", "7.6", "GN"), 3);
    test::expectReadouts(
        *shell.window,
        {{"Tijds", "12:35:21"}, {"Latid", "52,2083333333333"}, {"Speed", "000"}, {"Koers", "008"}, {"Xtext", "150"}});

    // A read that starts in the middle of a sentence: the fragment is logged
    // and dropped, the sentence behind it shown.
    feed("0415.00,E,022.4,084.4,230394,003.1,W*6A\r\n" + rmc("123522", "5215.00", "00415.00"), 4);
    EXPECT_EQ(box("Tijds"), "12:35:22");
    EXPECT_NE(text1().find("\n0415.00,E,022.4"), std::string::npos);

    // A sentence split over two reads waits for its end (the pause lets the
    // first part arrive on its own; the result is the same if it does not).
    const std::string split = rmc("123523", "5215.00", "00415.00");
    ASSERT_TRUE(send(split.substr(0, 20)));
    waitFor([] { return false; }, 50);
    EXPECT_EQ(loop->fixesShown(), 4);
    feed(split.substr(20), 5);
    EXPECT_EQ(box("Tijds"), "12:35:23");

    // A wrong checksum: logged, not shown.
    std::string bad = rmc("123524", "5216.00", "00416.00");
    bad[bad.size() - 3] = bad[bad.size() - 3] == '0' ? '1' : '0';
    ASSERT_TRUE(send(bad));
    feedLogged("$GPGGA,second\r\n", "$GPGGA,second");
    EXPECT_EQ(loop->fixesShown(), 5);
    EXPECT_EQ(box("Tijds"), "12:35:23");
    EXPECT_NE(text1().find(bad.substr(0, bad.size() - 2)), std::string::npos);

    // The second click stops.
    stop();
    EXPECT_EQ(std::tuple(shell.window->state().navigationActive, shell.window->status(), shell.device->opened().back()),
              std::tuple(0, " NAVIGATION STOPPED", "Navig2.WAV"));
    const std::string log = text1();
    EXPECT_EQ(log.substr(0, 19) + log.substr(log.size() - 19), "\n\nOpening Com port\n\nClosing Com port\n\n");
    EXPECT_TRUE(shell.dialogs.messages.empty());
    // Nothing is read any more; a new start opens the port again.
    startReceiving();
    EXPECT_EQ(text1(), openedLog());
    feed(rmc("123530", "5215.00", "00415.00"), 1);
    shell.window->cmdQuitClick();  // STOP stops navigation first
    ASSERT_TRUE(waitFor([&] { return loop->state() == State::Idle; }));
    EXPECT_FALSE(shell.window->programEnded());
}

TEST_F(NavigationWindow, TheMovingMapFollowsAndKeysAreTakenOncePerFix) {
    startReceiving();
    shell.control<QCheckBox>("Check1")->setChecked(true);
    shell.button("ZoomI")->click();
    shell.button("ZoomI")->click();
    ASSERT_EQ(map->view().zoom, 2);
    feed(rmc("100000", "5215.00", "00415.00"), 1);
    // Centred on (300, 201): the view's centre is the position pixel.
    map::PixelPosition c = map->view().viewCentreInBitmap();
    EXPECT_NEAR(c.x, 300, 2);
    EXPECT_NEAR(c.y, 201, 2);
    const int h1 = map->view().hScroll().value;
    feed(rmc("100001", "5215.00", "00420.00"), 2);  // 100 pixels further east
    EXPECT_EQ(map->view().hScroll().value, h1 + 100);

    // Moving map off: the view stays, the cross moves to where the view
    // shows the position.
    shell.control<QCheckBox>("Check1")->setChecked(false);
    feed(rmc("100002", "5215.00", "00410.00"), 3);
    EXPECT_EQ(map->view().hScroll().value, h1 + 100);
    const double vw = map->view().virtualWidth();
    EXPECT_NEAR(map->view().position.x, (200.0 - (h1 + 100)) / 600 * vw + 202, 2);

    // A key while navigating is taken once; the next fix takes one again.
    ASSERT_TRUE(shell.window->state().keyPreview);
    shell.keyInto("Xtext", 'N');
    EXPECT_FALSE(shell.window->state().keyPreview);
    feed(rmc("100003", "5215.00", "00410.00"), 4);
    EXPECT_TRUE(shell.window->state().keyPreview);
    stop();
}

// Announcements that wait in a nested event loop on their first call, while
// the receiver sends the next sentence.
struct WaitingSpeech : SpeechCalls {
    std::function<void()> firstCall;
    std::vector<std::string> shownTimes;
    std::function<std::string()> tijds;
    void loadSpeechFragments() override {}
    void reloadUnitWord(const std::string&) override {}
    void speakStatus() override {
        shownTimes.push_back(tijds());
        if (shownTimes.size() == 1 && firstCall) firstCall();
    }
};

TEST_F(NavigationWindow, AReadArrivingWhileAFixIsShownWaitsItsTurn) {
    WaitingSpeech speech;
    speech.tijds = [&] { return box("Tijds"); };
    speech.firstCall = [&] {
        ASSERT_TRUE(send(rmc("100003", "5215.00", "00415.00")));
        waitFor([] { return false; }, 100);  // the read arrives in here
    };
    loop = std::make_unique<NavigationLoop>(navigationLinks(*shell.window, speech), *display);
    startReceiving();
    feed(rmc("100001", "5215.00", "00415.00") + rmc("100002", "5215.00", "00415.00"), 3);
    EXPECT_EQ(speech.shownTimes, (std::vector<std::string>{"10:00:01", "10:00:02", "10:00:03"}));
    stop();
    loop = std::make_unique<NavigationLoop>(navigationLinks(*shell.window, shell.speech), *display);
}

TEST_F(NavigationWindow, OffTheMapBeepsWithoutSearchAndRunsTheSearchWithIt) {
    startReceiving();
    feed(rmc("100000", "5215.00", "00415.00"), 1);
    const int beeps = shell.dialogs.beeps;
    // East of the map's right edge: x is 0, the pixel readouts stay.
    feed(rmc("100001", "5215.00", "00445.00"), 2);
    EXPECT_EQ(shell.dialogs.beeps, beeps + 1);
    EXPECT_EQ(display->positionPixel().x, 0);
    test::expectReadouts(*shell.window, {{"Xtext", "300"}, {"Longi", "4,750000"}});

    struct CountingSearch : MapSearchCalls {
        int searches = 0;
        bool reading = false;
        bool FindMapForPosition() override { return ++searches, false; }
        bool mapBeingRead() const override { return reading; }
    } search;
    display->setMapSearch(&search);
    shell.window->state().settings.autoMapSearch = '1';
    feed(rmc("100002", "5230.00", "00415.00"), 3);  // north of the map
    EXPECT_EQ(search.searches, 1);
    EXPECT_EQ(shell.dialogs.beeps, beeps + 1);
    // While a map is being read, a position off the old one waits for it:
    // no search to override it, no beep.
    search.reading = true;
    feed(rmc("100003", "5231.00", "00415.00"), 4);
    EXPECT_EQ(search.searches, 1);
    EXPECT_EQ(shell.dialogs.beeps, beeps + 1);
    stop();
}

// Leaving Delft northwards with the automatic map search on: the next map
// is a large bitmap read on a worker (slowed here like a slow disk). The
// window keeps showing every fix on Delft while it loads, then switches.
TEST_F(NavigationWindow, AnAutomaticSwitchToALargeMapKeepsShowingFixesWhileItLoads) {
    constexpr int W = 3000, H = 2000;  // 18 MB of pixels, 52 20' .. 52 30' N
    const auto big = shell.prefix.paths().toNative("C:\\MAPS\\NORTH.BMP");
    ASSERT_TRUE(test::writeBmp(big.string(), W, H, 24, [](int y, std::uint8_t* px) {
        for (int x = 0; x < W; ++x, px += 3) px[0] = px[1] = px[2] = std::uint8_t(x ^ y);
    }));
    shell.prefix.writeDos("C:\\MAPS\\NORTH.des",
                          "North\r\nx\r\nx\r\n522000N0040000E,0,2000\r\n523000N0043000E,3000,0\r\n");
    shell.button("Command12")->click();  // AUTO: both maps of C:\\MAPS into the database
    display->setMapSearch(map.get());
    map->setPositionCalls(display.get());
    shell.window->state().settings.autoMapSearch = '1';
    map::MapLoader::setReadDelay(std::chrono::milliseconds(400));
    startReceiving();

    feed(rmc("100000", "5219.00", "00415.00"), 1);
    feed(rmc("100001", "5221.00", "00415.00"), 2);  // off Delft, on the north map: the search starts
    ASSERT_TRUE(map->mapLoading());
    for (int i = 0; i < 4 && map->mapLoading(); ++i) {
        // On northwards meanwhile: each fix is shown while Delft stays the map.
        const std::string second = std::to_string(2 + i);
        feed(rmc("10000" + second, "5222.00", "00415.00"), 3 + i);
        EXPECT_EQ(box("Tijds"), "10:00:0" + second);
        EXPECT_EQ(box("Latid"), "52,3666666666667");
        EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\DELFT.BMP");
    }
    EXPECT_GE(loop->fixesShown(), 4) << "no fix was shown while the map loaded";
    shell.settleMap();
    map::MapLoader::setReadDelay(std::chrono::milliseconds(0));
    EXPECT_EQ(map->calibration().mapPath, "C:\\MAPS\\NORTH.bmp");
    EXPECT_EQ(map->bitmap().width(), W);
    EXPECT_NEAR(map->calibration().edges.bottom, 52 + 1.0 / 3, 1e-9);
    EXPECT_EQ(shell.window->status(), " MAP:  NORTH");
    EXPECT_FALSE(map->viewWidget().mark().empty());  // the position, placed on the new map
    EXPECT_TRUE(shell.dialogs.messages.empty());
    shell.button("Navig1")->click();
    ASSERT_TRUE(waitFor([&] { return loop->state() == State::Idle; }));
}

TEST_F(NavigationWindow, ALogPastItsCapRestartsAndTheFixStillCounts) {
    startReceiving();
    // What the log holds on opening, and sentences that bring it to 20,001.
    const std::size_t opening = loop->log().text().size();
    std::string filler;
    while (opening + filler.size() + 2 * 100 < 20001) filler += "$GPTXT," + std::string(91, 'x') + "\r\n";
    filler += "$GPTXT," + std::string(20001 - opening - filler.size() - 9, 'y') + "\r\n";
    ASSERT_EQ(opening + filler.size(), 20001u);
    ASSERT_TRUE(send(filler));
    ASSERT_TRUE(waitFor([&] { return loop->log().text().size() == 20001; })) << loop->log().text().size();
    const std::string& log = loop->log().text();
    std::size_t lineEnds = 0;
    for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2)) ++lineEnds;
    EXPECT_EQ(text1().size(), 20001u - lineEnds);  // shown with line feeds only
    feed(rmc("101010", "5215.00", "00415.00"), 1);
    EXPECT_EQ(text1(), "Overwriting buffer\n");
    EXPECT_EQ(box("Tijds"), "10:10:10");
    feedLogged("$GPGGA,after\r\n", "$GPGGA,after");
    EXPECT_EQ(text1(), "Overwriting buffer\n$GPGGA,after\n");
    stop();
}

TEST_F(NavigationWindow, ASilentReceiverIsToldUntilSentencesComeAgain) {
    NavigationLoop::setSilenceLimit(std::chrono::milliseconds(500));
    auto status = [&] { return shell.window->status(); };
    startReceiving();
    EXPECT_EQ(text1(), openedLog());
    ASSERT_TRUE(waitFor([&] { return status() == " NO GPS DATA "; })) << status();
    // Noise, as at a wrong line speed, and a sentence with a wrong checksum
    // are no data.
    std::string bad = nmeaSentence("GPGSV,1,1,00");
    bad[bad.size() - 3] = bad[bad.size() - 3] == '0' ? '1' : '0';
    feedLogged("\x83\x91$\xfe\x07 noise\r\n" + bad, "noise");
    EXPECT_EQ(status(), " NO GPS DATA ");
    // Any sentence brings the normal status back, a fix as well.
    feedLogged(nmeaSentence("GPGSV,1,1,01"), "$GPGSV,1,1,01");
    EXPECT_EQ(status(), " NAVIGATION ACTIVE ");
    ASSERT_TRUE(waitFor([&] { return status() == " NO GPS DATA "; })) << status();
    feed(rmc("120000", "5215.00", "00415.00"), 1);
    EXPECT_EQ(status(), " NAVIGATION ACTIVE ");
    // Stopped, the silence is no longer watched.
    stop();
    waitFor([] { return false; }, 700);
    EXPECT_EQ(status(), " NAVIGATION STOPPED");
}

TEST_F(NavigationWindow, AVanishingReceiverEndsNavigationWithAMessage) {
    startReceiving();
    feed(rmc("100000", "5215.00", "00415.00"), 1);
    pty.closeSlave();
    pty.closeMaster();  // unplugged
    ASSERT_TRUE(waitFor([&] { return loop->state() == State::Idle; }));
    EXPECT_EQ(shell.window->state().navigationActive, 0);
    expectOneMessage("The connection to the GPS receiver on COM1 (" + pty.slaveName());
    EXPECT_EQ(shell.window->status(), " NAVIGATION STOPPED");
    EXPECT_NE(text1().find("Closing Com port"), std::string::npos);
}

TEST_F(NavigationWindow, APortThatCannotBeOpenedReturnsToIdleWithAMessage) {
    linkCom1("/dev/ttyUSB-not-plugged-in");
    stop();
    EXPECT_EQ(shell.window->state().navigationActive, 0);
    expectOneMessage("The GPS port COM1 (/dev/ttyUSB-not-plugged-in) cannot be opened:", true);
    // Line settings no serial line has (four data bits).
    linkCom1(pty.slaveName());
    shell.window->state().settings.dataBits = '4';
    shell.button("Navig1")->click();
    ASSERT_TRUE(waitFor([&] { return shell.dialogs.messages.size() == 2; }));
    EXPECT_EQ(loop->state(), State::Idle);
    EXPECT_NE(shell.dialogs.messages[1].find("4 data bits"), std::string::npos);
    // And a usable line afterwards works.
    shell.window->state().settings.dataBits = '8';
    startReceiving();
    feed(rmc("100000", "5215.00", "00415.00"), 1);
}

TEST_F(NavigationWindow, ClosingTheProgramWhileNavigatingClosesThePort) {
    startReceiving();
    feed(rmc("100000", "5215.00", "00415.00"), 1);
    shell.window->close();
    EXPECT_EQ(std::tuple(loop->state(), shell.window->state().navigationActive, shell.window->programEnded()),
              std::tuple(State::Idle, 0, true));
}

// Route recording on, into C:\TARVOK\ROUTE1.TVK of the test's prefix.
struct RouteRecordingWindow : NavigationWindow {
    fs::path folder;
    void SetUp() override {
        NavigationWindow::SetUp();
        shell.window->state().settings.recordRoute = '1';
        folder = shell.prefix.paths().toNative("C:\\TARVOK");
        fs::create_directories(folder);
    }
    route::RouteFileReader routeFile() {
        return route::RouteFileReader(shell.prefix.paths(), route::routeFilePath("C:\\TARVOK"));
    }
    // `n` fixes walking east along 52 15' N, one read each few sentences.
    void drive(int n, long before = 0) {
        std::string nmea;
        for (int i = 0; i < n; ++i) {
            char lon[16];
            std::snprintf(lon, sizeof lon, "%09.3f", 400 + (i % 3000) * 0.01);
            nmea += rmc("120000", "5215.00", lon);
        }
        feed(nmea, before + n);
    }
    // Record k is a shown position at 52 15' N heading 084 at 41 km/h.
    void expectPosition(const route::RouteFileReader& f, std::int64_t k) {
        std::optional<route::RouteRecord> r = f.read(k);
        ASSERT_TRUE(r);
        EXPECT_EQ(std::tuple(r->type, r->latHemisphere, r->lonHemisphere, r->speed, r->speedUnit, r->course),
                  std::tuple('M', 'N', 'E', 41, '1', 84))
            << k;
        EXPECT_NEAR(r->latitude, 52.25, 1e-9);
        EXPECT_GT(r->timeStamp, 9.0e8);  // some time after 2023
    }
};

TEST_F(RouteRecordingWindow, FiveHundredAndOneFixesMakeOneBlockAndAStopAddsNothing) {
    startReceiving();
    drive(501);
    EXPECT_EQ(loop->routePointsWaiting(), 0u);
    route::RouteFileReader f = routeFile();
    ASSERT_EQ(f.count(), 502);
    EXPECT_TRUE(f.read(0)->isFiller());
    expectPosition(f, 1);
    expectPosition(f, 501);
    EXPECT_NEAR(f.read(1)->longitude, 4.00001, 1e-9);  // minutes of 0 show as 0.00001
    EXPECT_NEAR(f.read(501)->longitude, 4 + 5.0 / 60, 1e-9);
    stop();
    EXPECT_EQ(routeFile().count(), 502);
    EXPECT_EQ(fs::file_size(folder / "ROUTE1.TVK"), 502u * 56);
}

TEST_F(RouteRecordingWindow, StoppingAfterThreeHundredFixesSavesThemAsOneBlock) {
    startReceiving();
    drive(300);
    EXPECT_EQ(routeFile().count(), 0);
    stop();
    route::RouteFileReader f = routeFile();
    ASSERT_EQ(f.count(), 301);
    EXPECT_TRUE(f.read(0)->isFiller());
    expectPosition(f, 300);
    EXPECT_TRUE(shell.dialogs.messages.empty());
    // Positions off the map are not recorded; closing the program while
    // navigating saves what was collected.
    startReceiving();
    drive(4);
    feed(rmc("120001", "5300.00", "00415.00"), 5);
    shell.window->close();
    f = routeFile();
    ASSERT_EQ(f.count(), 306);
    EXPECT_TRUE(f.read(301)->isFiller());
    expectPosition(f, 305);
}

TEST_F(RouteRecordingWindow, AFileThatCannotBeWrittenIsReportedOnceAndNothingIsLost) {
    // A folder where the route file should be: every write fails.
    fs::create_directories(folder / "ROUTE1.TVK");
    startReceiving();
    drive(501);
    expectOneMessage("The route driven cannot be saved:\r\ncannot ", true);
    EXPECT_EQ(loop->routePointsWaiting(), 501u);
    drive(501, 501);
    EXPECT_EQ(shell.dialogs.messages.size(), 1u);  // once per navigation
    EXPECT_EQ(loop->routePointsWaiting(), 1002u);
    // The stop fails too: the status line says so, the positions stay.
    stop();
    EXPECT_EQ(shell.window->status(), " ROUTE NOT SAVED!");
    EXPECT_EQ(shell.dialogs.messages.size(), 1u);
    // Once the file can be written, the next block carries all of them.
    fs::remove(folder / "ROUTE1.TVK");
    startReceiving();
    drive(2);
    stop();
    route::RouteFileReader f = routeFile();
    ASSERT_EQ(f.count(), 1005);
    EXPECT_TRUE(f.read(0)->isFiller());
    expectPosition(f, 1004);
}

TEST_F(RouteRecordingWindow, WithTheDiskFullTheStatusKeepsSayingSoAndClosingAsksUntilWritten) {
    startReceiving();  // the port first: its lock file needs room too
    test::FullDisk full;
    drive(501);
    expectOneMessage("ROUTE1.TVK: File too large");
    feed(rmc("120001", "5215.00", "00415.00"), 502);
    EXPECT_EQ(shell.window->status(), " NAVIGATION ACTIVE - ROUTE NOT SAVED! ");
    // The close box while navigating: asked, tried again with the disk
    // still full, asked again; the space freed, the next try writes them.
    shell.dialogs.answer = [&](const std::string&) {
        if (shell.dialogs.questions.size() == 2) full.lift();
        return std::size_t{0};
    };
    shell.window->close();
    ASSERT_EQ(shell.dialogs.questions.size(), 2u);
    EXPECT_NE(shell.dialogs.questions[0].find("502 positions of the route driven"), std::string::npos)
        << shell.dialogs.questions[0];
    EXPECT_NE(shell.dialogs.questions[0].find("cannot write C:\\TARVOK\\ROUTE1.TVK: File too large"),
              std::string::npos);
    EXPECT_EQ(shell.dialogs.messages.size(), 1u);  // the question says it, no second box
    ASSERT_EQ(routeFile().count(), 503);
    expectPosition(routeFile(), 502);
    EXPECT_EQ(loop->routePointsWaiting(), 0u);
}

// Each way of ending the program with positions that could not be written.
struct EndingWithUnsavedRoute : RouteRecordingWindow, ::testing::WithParamInterface<const char*> {};

TEST_P(EndingWithUnsavedRoute, AsksAndDiscardsOnlyWhenTold) {
    startReceiving();
    test::FullDisk full;
    drive(3);
    stop();
    EXPECT_EQ(shell.window->status(), " ROUTE NOT SAVED!");
    ASSERT_EQ(loop->routePointsWaiting(), 3u);
    const std::string how = GetParam();
    if (how == "Escape") shell.keyInto("Latid", '\x1b');
    else if (how == "STOP") shell.button("cmdQuit")->click();
    else shell.window->close();
    EXPECT_TRUE(shell.window->programEnded());
    ASSERT_EQ(shell.dialogs.questions.size(), 1u) << how;  // the double answers: discard
    EXPECT_NE(shell.dialogs.questions[0].find("3 positions"), std::string::npos);
    EXPECT_EQ(loop->routePointsWaiting(), 0u);
    EXPECT_EQ(routeFile().count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingWithUnsavedRoute, ::testing::Values("Escape", "STOP", "CloseBox"));

TEST_F(RouteRecordingWindow, SetupWhileNavigatingShowsAndRecordsEveryFixThenTakesTheNewUnit) {
    // The settings file holds what the window runs with, recording on; the
    // stand-in settings program switches to Dutch and mph when it closes.
    SettingsString s = shell.window->state().settingsString;
    s.writeChar(field::RecordRoute, '1');
    const fs::path file = shell.prefix.writeDos("C:\\WINDOWS\\VELKAR.DLL", s.bytes());
    auto presence = createWindowPresence();
    SettingsLaunch launch(*presence);
    shell.window->attachSettingsLaunch(launch);
    SettingsProgram p = test::standInSettingsProgram(kSettingsTitleDutch, 0, 20000, file, {{5, "0"}, {10, "2"}});
    p.gracePeriod = std::chrono::milliseconds(100);
    launch.setProgram(p);

    startReceiving();
    drive(3);
    shell.button("SetupCommand")->click();
    ASSERT_TRUE(waitFor([&] { return presence->isOpen(kSettingsTitleDutch); }));
    drive(20, 3);  // every fix shown while the settings window is open
    EXPECT_TRUE(presence->isOpen(kSettingsTitleDutch));
    EXPECT_NE(launch.phase(), SettingsLaunch::Phase::Idle);
    EXPECT_EQ(box("Smode"), "kmh");
    ASSERT_TRUE(presence->send(kSettingsTitleDutch, "quit"));
    ASSERT_TRUE(waitFor([&] { return launch.phase() == SettingsLaunch::Phase::Idle; }, 10000));

    feed(rmc("120100", "5215.00", "00415.00"), 24);
    test::expectReadouts(*shell.window, {{"Smode", "mph"}, {"Speed", "025"}});
    EXPECT_EQ(shell.button("Navig1")->toolTip().toStdString(), "Start GPS navigation");  // captions stay
    stop();
    EXPECT_EQ(shell.window->status(), " NAVIGATIE GESTOPT ");  // run-time texts follow at once
    route::RouteFileReader f = routeFile();
    ASSERT_EQ(f.count(), 25);
    for (std::int64_t k = 1; k <= 23; ++k) expectPosition(f, k);
    EXPECT_EQ(f.read(24)->speedUnit, '2');
}

// The Done-when of SETUP with both programs for real: the settings window
// runs in a second process (tarvok-drive --program set, the settings
// program's own window code) with a script that sets mph and Dutch and
// closes it, while this navigator goes on receiving from its pty.
TEST_F(RouteRecordingWindow, SetupWithTheRealSettingsWindowKeepsEveryFixAndTakesMph) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    s.writeChar(field::RecordRoute, '1');
    shell.prefix.writeDos("C:\\WINDOWS\\VELKAR.DLL", s.bytes());
    const fs::path script = shell.prefix.root() / "mph.txt";
    test::writeFile(script,
                    "expect SnText \" kmh\"\nclick Scomm1\nexpect SnText \" mph\"\n"
                    "click Command4\nexpect Ttaal1 NL\nsleep 300\nkey Esc\nwait-ended\n");
    auto presence = createWindowPresence();
    SettingsLaunch launch(*presence);
    shell.window->attachSettingsLaunch(launch);
    const fs::path driver(TARVOK_DRIVE);
    SettingsProgram p;
    p.name = driver.filename().string();
    p.folders = {driver.parent_path().string()};
    p.arguments = {"--program", "set", "--pass-microseconds", "1", script.string()};
    p.gracePeriod = std::chrono::milliseconds(200);
    // Looking very often: a title withdrawn before the file is written
    // would show as the old unit.
    p.lookInterval = std::chrono::milliseconds(1);
    launch.setProgram(p);

    // Fix k lies at 4 degrees 1 + k/100 minutes east.
    long fed = 0, fedWhileOpen = 0;
    auto feedOne = [&] {
        char lon[16];
        std::snprintf(lon, sizeof lon, "%09.3f", 401 + ++fed * 0.01);
        feed(rmc("120000", "5215.00", lon), fed);
    };
    startReceiving();
    for (int i = 0; i < 3; ++i) feedOne();
    shell.button("SetupCommand")->click();
    EXPECT_EQ(shell.window->status(), "CHANGE SETTINGS");
    // A fix every few milliseconds until the settings have been reloaded.
    QElapsedTimer t;
    t.start();
    while (launch.phase() != SettingsLaunch::Phase::Idle && t.elapsed() < 20000) {
        fedWhileOpen += presence->isOpen(kSettingsTitleEnglish) || presence->isOpen(kSettingsTitleDutch);
        feedOne();
        waitFor([] { return false; }, 5);
    }
    ASSERT_EQ(launch.phase(), SettingsLaunch::Phase::Idle) << "the settings window did not close";
    EXPECT_GE(fedWhileOpen, 5);
    EXPECT_EQ(shell.window->state().settings.speedUnit, '2');
    feed(rmc("120100", "5215.00", "00415.00"), fed + 1);
    test::expectReadouts(*shell.window, {{"Smode", "mph"}, {"Speed", "025"}});
    // Captions stay English until the next start; run-time texts are Dutch.
    EXPECT_EQ(shell.button("Navig1")->toolTip().toStdString(), "Start GPS navigation");
    EXPECT_EQ(shell.button("Command2")->text().toStdString(), "LOA&D");
    stop();
    EXPECT_EQ(shell.window->status(), " NAVIGATIE GESTOPT ");
    route::RouteFileReader f = routeFile();
    ASSERT_EQ(f.count(), fed + 2);
    for (std::int64_t k = 1; k <= fed; ++k) {
        ASSERT_EQ(f.read(k)->type, 'M') << k;
        EXPECT_NEAR(f.read(k)->longitude, 4 + (1 + k * 0.01) / 60, 1e-9) << k;
    }
    EXPECT_EQ(f.read(fed + 1)->speedUnit, '2');
    EXPECT_TRUE(shell.dialogs.messages.empty());
}

TEST_F(NavigationWindow, ReceivesThroughTheRealGpsd) {
    test::GpsdProcess gpsd(pty.slaveName());
    ASSERT_TRUE(gpsd.started()) << "gpsd is part of the setup packages";
    const quint16 listen = gpsd.port();
    linkCom1("gpsd://127.0.0.1:" + std::to_string(listen));
    // gpsd takes a moment to listen: start again until the connection stands.
    QElapsedTimer t;
    t.start();
    while (loop->state() != State::Receiving && t.elapsed() < 8000) {
        shell.dialogs.messages.clear();
        shell.button("Navig1")->click();
        waitFor([&] { return loop->state() != State::Starting; }, 2000);
        if (loop->state() == State::Idle) waitFor([] { return false; }, 100);
    }
    ASSERT_EQ(loop->state(), State::Receiving);
    const std::string fix = rmc("091500", "5215.00", "00415.00");
    ASSERT_TRUE(waitFor(
        [&] {
            pty.drain();
            pty.write(fix);
            return loop->fixesShown() > 0;
        },
        10000));
    test::expectReadouts(*shell.window, {{"Tijds", "9:15:00"}, {"Xtext", "300"}});
    EXPECT_EQ(text1().find("\"class\""), std::string::npos);
    stop();
    EXPECT_TRUE(shell.dialogs.messages.empty());
}

}  // namespace
}  // namespace tarvok::gps

namespace tarvok::gps {
namespace {

// Trail-coloured pixels of the map picture within `radius` of where the
// last position's map pixel (Xtext, Ytext) is shown.
int trailPixelsAtPosition(map::MapWindow& map, const test::ShellWindow& shell, int radius = 6) {
    const QImage frame = map.viewWidget().grabFrame();
    const map::ClipRect clip = map.viewWidget().shownClip();
    const double px = shell.window->widgets().pixelX->text().toDouble();
    const double py = shell.window->widgets().pixelY->text().toDouble();
    const int cx = int((px - clip.x) * frame.width() / clip.width);
    const int cy = int((py - clip.y) * frame.height() / clip.height);
    int n = 0;
    for (int y = std::max(0, cy - radius); y <= std::min(frame.height() - 1, cy + radius); ++y)
        for (int x = std::max(0, cx - radius); x <= std::min(frame.width() - 1, cx + radius); ++x)
            n += frame.pixel(x, y) == map::MapViewWidget::kTrailCore;
    return n;
}

TEST_F(NavigationWindow, TheTrailLeadsToThePositionFollowsTheZoomAndStartsAfreshWithNav) {
    startReceiving();
    // East along 52 15' N, 10 pixels a fix.
    std::string drive;
    for (int i = 0; i < 12; ++i)
        drive += rmc("1200" + std::to_string(10 + i), "5215.00",
                     "0041" + std::to_string(i / 2) + "." + (i % 2 ? "50" : "00"));
    feed(drive, 12);
    EXPECT_EQ(map->trail().size(), 12u);
    struct Row {
        bool movingMap;
        int zoomIns;
    } rows[] = {{false, 0}, {true, 3}};
    for (const Row& r : rows) {
        shell.window->widgets().movingMap->setChecked(r.movingMap);
        for (int i = 0; i < r.zoomIns; ++i) shell.button("ZoomI")->click();
        feed(rmc("120100", "5215.00", "00416.00"), loop->fixesShown() + 1);
        EXPECT_GT(trailPixelsAtPosition(*map, shell), 5) << "zoom " << map->view().zoom;
    }
    // The trail box and the P key hide and show it.
    auto* box = shell.window->widgets().trail;
    ASSERT_TRUE(box->isChecked());
    box->setChecked(false);
    EXPECT_EQ(trailPixelsAtPosition(*map, shell), 0);
    box->setChecked(true);
    EXPECT_GT(trailPixelsAtPosition(*map, shell), 5);
    shell.window->formKeyPress('p');
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(trailPixelsAtPosition(*map, shell), 0);
    EXPECT_EQ(shell.window->status(), "  TRAIL = OFF ");
    shell.window->formKeyPress('P');
    EXPECT_TRUE(box->isChecked());
    // Stopping keeps the trail; a new navigation starts it afresh.
    stop();
    EXPECT_EQ(map->trail().size(), 14u);
    startReceiving();
    EXPECT_EQ(map->trail().size(), 0u);
}

TEST_F(NavigationWindow, TheFixStatusInTheInstrumentPanelFromGgaGsaAndAVoidRmc) {
    startReceiving();
    auto* label = shell.window->widgets().fixStatus;
    ASSERT_TRUE(label && label->isVisible());
    EXPECT_EQ(label->text(), "");
    const std::pair<std::string, const char*> rows[] = {
        {nmeaSentence("GPGGA,120001,5215.00,N,00415.00,E,1,09,1.0,5.0,M,47.0,M,,") +
             nmeaSentence("GPGSA,A,3,01,02,03,04,05,06,07,08,09,,,,1.8,1.0,1.5"),
         "3D 9 sat"},
        {nmeaSentence("GPRMC,120002,V,5215.00,N,00415.00,E,0.0,0.0,230394,,"), "NO FIX"},
        {nmeaSentence("GPGGA,120003,5215.00,N,00415.00,E,2,05,1.0,5.0,M,47.0,M,,") +
             nmeaSentence("GPGSA,A,2,01,02,03,04,05,,,,,,,,1.8,1.0,1.5"),
         "2D DGPS 5 sat"},
    };
    for (const auto& [nmea, shown] : rows) {
        ASSERT_TRUE(send(nmea));
        EXPECT_TRUE(waitFor([&] { return label->text() == shown; })) << label->text().toStdString();
    }
    // The RMC's own display does not change with it: the void fix was shown.
    EXPECT_EQ(loop->fixesShown(), 1);
    stop();
    EXPECT_EQ(label->text(), "");
}

}  // namespace
}  // namespace tarvok::gps
