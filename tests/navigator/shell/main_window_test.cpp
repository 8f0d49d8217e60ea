// The main window through its real widgets on the offscreen platform.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <cmath>
#include <tuple>
#include <utility>

#include "navigator/shell/radar_screen.h"
#include "navigator/shell/shell_texts.h"
#include "navigator/shell/shell_widgets.h"
#include "tests/navigator/shell/window_fixture.h"

namespace tarvok {
namespace {

using test::ShellWindow;
using test::WindowOptions;

// After a STOP: the status line, the sound it opened last, the stop request
// and whether the window is still shown.
auto afterStop(const ShellWindow& w) {
    return std::tuple(w.window->status(), w.device->opened().back(), w.window->state().stopRequest,
                      w.window->isVisible());
}

// Every control of the window's own area that is shown lies inside `size`.
void expectControlsInside(const ShellWindow& w, QSize size) {
    for (QObject* o : w.window->controls()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (!c || c->isHidden() || c->parentWidget() != w.window->centralWidget()) continue;
        EXPECT_LE(c->geometry().bottom(), size.height()) << c->objectName().toStdString() << " at " << size.height();
        EXPECT_LE(c->geometry().right(), size.width()) << c->objectName().toStdString() << " at " << size.width();
    }
}

// Each typed control and the name the system knows it by.
std::vector<std::pair<const QWidget*, const char*>> typedControls(const MainWindowControls& c) {
    return {
        {c.status, "Label6"},
        {c.loadMap, "Command2"},
        {c.findMap, "Command13"},
        {c.buildMapDatabase, "Command12"},
        {c.goToPixel, "Command3"},
        {c.goToCoordinates, "Command4"},
        {c.routePlayback, "Command1"},
        {c.navigate, "Navig1"},
        {c.setup, "SetupCommand"},
        {c.stop, "cmdQuit"},
        {c.zoomFull, "Zoom0"},
        {c.zoomIn, "ZoomI"},
        {c.zoomOut, "ZoomU"},
        {c.help, "Command6"},
        {c.time, "Tijds"},
        {c.date, "Datum"},
        {c.speed, "Speed"},
        {c.speedUnit, "Smode"},
        {c.course, "Koers"},
        {c.compassDirection, "Windr"},
        {c.northSouth, "NSText"},
        {c.latitude, "Latid"},
        {c.eastWest, "EWText"},
        {c.longitude, "Longi"},
        {c.pixelX, "Xtext"},
        {c.pixelY, "Ytext"},
        {c.zoomLevel, "Ztext"},
        {c.accentLeft, "Text3"},
        {c.accentRight, "Text4"},
        {c.movingMap, "Check1"},
        {c.trail, "Check2"},
        {c.fixStatus, "Label7"},
        {c.crossSize, "Slider3"},
        {c.thinning, "rou1"},
        {c.receiverLog, "Text1"},
        {c.playbackPanel, "Frame10"},
        {c.playbackStart, "Text7"},
        {c.startHours, "HScroll1"},
        {c.startMinutes, "HScroll2"},
        {c.playbackSpeed, "Slider1"},
        {c.playbackProgress, "ProgressBar1"},
        {c.play, "Play1"},
        {c.upperLeftCorner, "TextLB"},
        {c.upperRightCorner, "TextRB"},
        {c.lowerLeftCorner, "TextLO"},
        {c.lowerRightCorner, "TextRO"},
        {c.mapHScroll, "HScroll3"},
        {c.mapVScroll, "VScroll3"},
        {c.mapStatusLine, "Text8"},
        {c.radarCircles[0], "Shape1"},
        {c.radarCircles[1], "Shape2"},
        {c.radarCircles[2], "Shape3"},
    };
}

TEST(MainWindow, StopThreeTimesWhileNavigating) {
    ShellWindow w({.language = '0'});
    w.open();
    QSignalSpy ended(w.window.get(), &MainWindow::ended);
    w.window->state().navigationActive = 1;

    w.button("cmdQuit")->click();
    EXPECT_EQ(afterStop(w), std::tuple(" NAVIGATIE GESTOPT ", "Navig2.WAV", true, true));
    EXPECT_EQ(w.window->state().navigationActive, 0);
    EXPECT_NE(w.device->fileName().string().find("GELUID"), std::string::npos);
    EXPECT_EQ(ended.count(), 0);
    w.window->state().stopRequest = false;  // the navigation loop ends and clears it

    w.button("cmdQuit")->click();
    EXPECT_EQ(afterStop(w), std::tuple(" DANK U EN TOT ZIENS", "Totziens.WAV", true, false));
    EXPECT_EQ(ended.count(), 1);

    std::size_t callsBefore = w.device->calls.size();
    w.button("cmdQuit")->click();  // the program has ended: nothing more
    EXPECT_EQ(w.device->calls.size(), callsBefore);
    EXPECT_EQ(ended.count(), 1);
}

TEST(MainWindow, StopDuringPlaybackHidesTheRoutePanel) {
    ShellWindow w;
    w.open();
    QWidget* frame10 = w.control("Frame10");
    frame10->show();
    w.window->picture2()->hide();
    w.window->state().playbackActive = 1;
    w.button("cmdQuit")->click();
    EXPECT_EQ(afterStop(w), std::tuple(" ROUTE-PLAY STOPPED ", "Route2.WAV", true, true));
    EXPECT_EQ(w.window->state().playbackActive, 0);
    EXPECT_FALSE(frame10->isVisible());
    EXPECT_TRUE(w.window->picture2()->isVisible());

    // StopActiveMode with no mode running does nothing.
    std::size_t calls = w.device->calls.size();
    w.window->stopActiveMode();
    EXPECT_EQ(w.device->calls.size(), calls);
    EXPECT_TRUE(w.window->isVisible());
}

TEST(MainWindow, StopBeforeAnyMapEndsTheProgramWhileTheRadarSweeps) {
    ShellWindow w({.sound = '0'});
    w.open();
    ASSERT_TRUE(w.window->radarRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.window->radarStep() > 0; }, 5000));
    w.button("cmdQuit")->click();
    EXPECT_EQ(w.window->status(), " THANK YOU, GOODBYE!");
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_FALSE(w.window->radarRunning());
    EXPECT_TRUE(w.device->opened().empty());  // sound off: nothing played
}

TEST(MainWindow, OPressedFiftyTimesStopsAt800) {
    ShellWindow w;
    w.open();
    for (int i = 0; i < 50; ++i) w.keyInto("Command2", 'O');
    EXPECT_EQ(w.window->state().screenCorrectionX, 800);
    EXPECT_EQ(w.window->status(), "Xcor.= 800 ; Ycor.= 0");
    w.window->state().screenCorrectionX = -800;
    w.keyInto("Command2", 'w');
    EXPECT_EQ(w.window->state().screenCorrectionX, -800);
}

TEST(MainWindow, NSTextIsUpperCasedAndTheKeyIsPreviewed) {
    ShellWindow w;
    w.open();
    w.keyInto("NSText", 'n');
    EXPECT_EQ(w.box("NSText")->text(), "N");
    EXPECT_EQ(w.window->state().screenCorrectionY, 20);
    // Alt+N is the NAV button's shortcut, not the N key.
    QTest::keyClick(w.control("NSText"), 'n', Qt::AltModifier);
    EXPECT_EQ(w.window->state().screenCorrectionY, 20);
    w.box("EWText")->setText("w");
    EXPECT_EQ(w.box("EWText")->text(), "W");
}

TEST(MainWindow, DigitsZoomOnlyWhileNavigating) {
    ShellWindow w;
    w.open();
    w.keyInto("Xtext", '1');
    w.keyInto("Xtext", '2');
    EXPECT_EQ(w.box("Xtext")->text(), "12");  // the digits reach the box
    EXPECT_EQ(w.map.count("zoom"), 0);

    w.window->state().navigationActive = 1;
    w.keyInto("Xtext", '2');
    EXPECT_EQ(w.map.count("zoomToLevel 2"), 1);
    // Key preview is now off until the navigation loop's next position.
    EXPECT_FALSE(w.window->state().keyPreview);
    w.keyInto("Xtext", '3');
    EXPECT_EQ(w.map.count("zoomToLevel"), 1);
    w.window->state().keyPreview = true;
    w.keyInto("Xtext", '8');
    EXPECT_EQ(w.map.count("zoomToLevel 5"), 1);
    w.window->state().keyPreview = true;
    w.keyInto("Xtext", '0');
    EXPECT_EQ(w.map.count("zoomFull"), 1);
}

TEST(MainWindow, ZoomButtonsAndKeysRunTheMapViewsZoom) {
    ShellWindow w;
    w.open();
    w.button("ZoomI")->click();
    w.button("ZoomU")->click();
    w.button("Zoom0")->click();
    w.keyInto("Command2", 'i');
    EXPECT_EQ(w.window->status(), "  ZOOM-IN 1 LEVEL ");
    w.keyInto("Command2", 'U');
    EXPECT_EQ(w.window->status(), "  ZOOM-OUT 1 LEVEL ");
    std::vector<std::string> zooms(w.map.calls.begin() + 3, w.map.calls.end());
    EXPECT_EQ(zooms, (std::vector<std::string>{"zoomIn", "zoomOut", "zoomFull", "zoomIn", "zoomOut"}));
}

TEST(MainWindow, GTogglesSoundWithDutchTexts) {
    ShellWindow w({.language = '0'});
    w.open();
    int loadsAtOpen = w.speech.fragmentLoads;
    EXPECT_EQ(loadsAtOpen, 1);  // sound on: fragments loaded at opening
    auto sound = [&] { return std::tuple(w.window->status(), w.window->state().settings.soundOn); };
    w.keyInto("Command2", 'G');
    EXPECT_EQ(sound(), std::tuple("  GELUID = UIT ", '0'));
    EXPECT_EQ(w.window->sound().completionCode(), 1);
    w.keyInto("Command2", 'g');
    EXPECT_EQ(sound(), std::tuple("  GELUID = AAN ", '1'));
    EXPECT_EQ(w.speech.fragmentLoads, loadsAtOpen + 1);
}

TEST(MainWindow, GEndsARunningSoundWait) {
    ShellWindow w;
    w.open();
    QElapsedTimer t;
    QTimer::singleShot(20, w.window.get(), [&] { w.window->formKeyPress('G'); });
    w.window->state().currentSoundName = "Navig1.WAV";
    SoundPlayback::setPassDuration(std::chrono::microseconds(40));  // a 10-second bound
    t.start();
    w.window->sound().playSound();
    EXPECT_LT(t.elapsed(), 5000);
}

TEST(MainWindow, UnitKeysReloadTheSpokenWord) {
    ShellWindow w;
    w.open();
    w.keyInto("Command2", 'm');
    EXPECT_EQ(w.window->state().settings.speedUnit, '2');
    ASSERT_EQ(w.speech.unitWords.size(), 1u);
    EXPECT_EQ(w.speech.unitWords[0], "C:\\TARVOK\\SOUND\\mph.WAV");
    EXPECT_TRUE(w.box("Smode")->text().isEmpty());  // shown with the next speed
}

TEST(MainWindow, LanguageChoosesTooltipsCaptionsAndSoundFolder) {
    {
        ShellWindow w({.language = '1'});
        w.open();
        EXPECT_EQ(w.window->state().soundFolder, ":\\TARVOK\\SOUND\\");
        for (const ControlTexts& t : mainWindowTexts()) {
            QWidget* c = w.control(t.name);
            ASSERT_NE(c, nullptr) << t.name;
            EXPECT_EQ(c->toolTip().toStdString(), t.tooltipEnglish) << t.name;
        }
        EXPECT_EQ(w.button("Command2")->text(), "LOA&D");
        EXPECT_EQ(w.device->opened().front(), "Welkom5.WAV");
        EXPECT_NE(w.device->fileName().string().find("SOUND"), std::string::npos);
    }
    {
        ShellWindow w({.language = '0'});
        w.open();
        EXPECT_EQ(w.window->state().soundFolder, ":\\TARVOK\\GELUID\\");
        EXPECT_EQ(w.button("Command2")->text(), "LAA&D");
        EXPECT_EQ(w.button("Command13")->text(), "&ZOEK");
        EXPECT_EQ(w.button("cmdQuit")->toolTip(), "Beeindig mode / het programma");
        EXPECT_EQ(w.window->status(), "  LAAD S.V.P. KAART");
    }
}

TEST(MainWindow, ColourSchemeOneMakesTheFourteenReadoutsWhite) {
    const char* readouts[] = {"Speed",  "Smode", "Koers", "Windr", "Text3", "Text4", "EWText",
                              "NSText", "Latid", "Longi", "Xtext", "Ytext", "Tijds", "Datum"};
    ShellWindow bw({.colourScheme = '1'});
    bw.open();
    ShellWindow colour({.colourScheme = '0'});
    colour.open();
    for (const char* name : readouts) {
        EXPECT_EQ(bw.box(name)->palette().color(QPalette::Base), QColor(255, 255, 255)) << name;
        EXPECT_NE(colour.box(name)->palette().color(QPalette::Base), QColor(255, 255, 255)) << name;
    }
    // Boxes outside the list keep their colour.
    EXPECT_NE(bw.box("Ztext")->palette().color(QPalette::Base), QColor(255, 255, 255));
}

TEST(MainWindow, LayoutFollowsTheScreen) {
    for (QSize screen : {QSize(640, 480), QSize(800, 600), QSize(1920, 1080)}) {
        ShellWindow w({.screen = screen});
        w.open();
        SCOPED_TRACE(screen.width());
        EXPECT_EQ(w.window->size(), QSize(screen.width(), screen.height() - 28));
        EXPECT_EQ(w.window->picture2()->isVisible(), screen.width() != 640);
        EXPECT_EQ(w.window->picture1()->size(), QSize(screen.width() - 230, screen.height() - 85));
        QWidget* text8 = w.control("Text8");
        EXPECT_EQ(text8->y(), screen.height() - 85 + 20);
        EXPECT_EQ(w.control("TextRO")->pos(), QPoint(screen.width() - 230 - 130, screen.height() - 85 - 17));
        expectControlsInside(w, w.window->size());
    }
}

TEST(MainWindow, EveryControlExistsByName) {
    ShellWindow w;
    w.open();
    for (const auto& [typed, name] : typedControls(w.window->widgets())) EXPECT_NE(w.control(name), nullptr) << name;
    for (const char* name : {"Picture1", "Picture2"}) EXPECT_NE(w.control(name), nullptr) << name;
    for (const char* name : {"PicClip1", "MMControl1"}) EXPECT_NE(w.window->findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(w.control<QAbstractButton>("Check1")->text(), "Moving map");
    EXPECT_FALSE(w.control("Frame10")->isVisible());
    EXPECT_EQ(w.window->windowTitle(), "Tarvok");
}

TEST(MainWindow, EachTypedControlIsTheWidgetOfItsName) {
    ShellWindow w;
    for (const auto& [widget, name] : typedControls(w.window->widgets())) EXPECT_EQ(widget, w.control(name)) << name;
}

TEST(MainWindow, OpeningSequenceShowsClockStartPictureAndRadar) {
    ShellWindow w;
    w.open();
    QString tijds = w.box("Tijds")->text();
    EXPECT_EQ(tijds.size(), 8);
    EXPECT_EQ(tijds[2], ':');
    QString datum = w.box("Datum")->text();
    EXPECT_TRUE(datum.endsWith(' '));
    EXPECT_EQ(datum[2], '-');
    EXPECT_TRUE(w.box("Text7")->text().endsWith("  "));
    EXPECT_EQ(w.window->picClip1()->picture().size(), QSize(640, 480));
    EXPECT_EQ(w.map.calls, (std::vector<std::string>{"resetForStart", "showStartPicture 640x480", "applyZoom"}));
    EXPECT_TRUE(w.window->radarRunning());
    // The needles rest at speed 0 (25 degrees) and course 0 (pointing up),
    // each with its shadows.
    const auto& needles = w.window->picture2()->lines();
    ASSERT_EQ(needles.size(), 6u);
    EXPECT_EQ(std::tuple(needles[0].x1, needles[0].y1, needles[0].x2, needles[0].y2),
              std::tuple(720, 650, 720 - int(std::lround(480 * std::sin(25 * 3.14159265359 / 180))),
                         650 + int(std::lround(480 * std::cos(25 * 3.14159265359 / 180)))));
    EXPECT_EQ(std::pair(needles[2].x2, needles[2].y2), std::pair(2100, 650 - 480));
    EXPECT_EQ(needles[2].colour, QColor(255, 255, 255));
    EXPECT_EQ(needles[5].colour, QColor(250, 200, 200));
    // The dial is drawn: a tick straight below the centre is black, the
    // beam at 13 degrees bright green.
    const QImage& img = w.window->picture1()->drawing();
    RadarPoint c = radarCentre(img.width(), img.height());
    EXPECT_EQ(img.pixelColor(int(c.x), int(c.y) + 178), QColor(0, 0, 0));
    RadarPoint beam = radarPoint(c, 13, 120);
    EXPECT_EQ(img.pixelColor(int(std::lround(beam.x)), int(std::lround(beam.y))), QColor(0, 200, 0));
}

TEST(MainWindow, RadarStopsOnceAMapIsLoadedThenTheWelcomeSoundIsClosed) {
    ShellWindow w;
    w.open();
    QSignalSpy done(w.window.get(), &MainWindow::formLoadDone);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.window->radarStep() > 0; }, 5000));
    ASSERT_TRUE(w.window->radarRunning());
    EXPECT_EQ(w.window->sound().completionCode(), 0);  // the welcome sound plays
    w.window->state().mapLoaded = 1;
    QTimer::singleShot(50, w.window.get(), [&] { w.device->notify(1); });
    ASSERT_TRUE(done.wait(2000));
    EXPECT_FALSE(w.window->radarRunning());
    EXPECT_EQ(w.device->calls.back(), "close");
    EXPECT_EQ(w.window->sound().completionCode(), 1);
    int step = w.window->radarStep();
    QTest::qWait(3 * MainWindow::kRadarFrameMilliseconds);
    EXPECT_EQ(w.window->radarStep(), step);
}

TEST(MainWindow, WelcomeWaitLeavesALaterSoundAlone) {
    ShellWindow w;
    w.open();
    QSignalSpy done(w.window.get(), &MainWindow::formLoadDone);
    w.window->state().mapLoaded = 1;
    w.window->sound().start("C:\\TARVOK\\SOUND\\map.WAV");  // e.g. a spoken map name
    std::size_t calls = w.device->calls.size();
    ASSERT_TRUE(done.wait(2000));
    EXPECT_EQ(w.device->calls.size(), calls);
    EXPECT_EQ(w.window->sound().completionCode(), 0);
}

TEST(MainWindow, ALongStatusShrinksToFitTheStatusLine) {
    ShellWindow w;
    w.open();
    auto* label6 = w.control<QLabel>("Label6");
    const int normal = label6->font().pixelSize();
    w.window->setStatus(" NAVIGATIE ACTIEF - ROUTE NIET BEWAARD! ");
    EXPECT_LT(label6->font().pixelSize(), normal);
    EXPECT_LE(QFontMetrics(label6->font()).horizontalAdvance(label6->text()), label6->contentsRect().width());
    w.window->setStatus(" NAVIGATION ACTIVE ");
    EXPECT_EQ(label6->font().pixelSize(), normal);
}

TEST(MainWindow, EscapeClosesWithoutGoodbye) {
    ShellWindow w;
    w.open();
    QSignalSpy ended(w.window.get(), &MainWindow::ended);
    w.control("Latid")->setFocus();
    QTest::keyClick(w.control("Latid"), Qt::Key_Escape);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_TRUE(w.window->state().stopRequest);
    EXPECT_GE(w.dialogs.beeps, 1);
    EXPECT_NE(w.window->status(), " THANK YOU, GOODBYE!");
    for (const std::string& f : w.device->opened()) EXPECT_NE(f, "Totziens.WAV");
}

TEST(MainWindow, HelpOpensTheUserGuideInTheProgramFolder) {
    ShellWindow w;
    w.open();
    w.prefix.writeDos("C:\\TARVOK\\USERNAV4.HTM", "<html></html>");
    w.button("Command6")->click();
    ASSERT_EQ(w.dialogs.openedDocuments.size(), 1u);
    EXPECT_EQ(w.dialogs.openedDocuments[0], w.prefix.paths().toNative("C:\\TARVOK\\USERNAV4.HTM").string());
    EXPECT_TRUE(w.dialogs.messages.empty());
}

TEST(MainWindow, HelpWithoutAViewerOrAGuideSaysWhereTheGuideIsInTheWindowsLanguage) {
    const struct {
        char language;
        bool guide;
        const char* says;
    } rows[] = {{'1', true, "You will find it here:"},
                {'0', true, "U vindt haar hier:"},
                {'1', false, "The user guide was not found:"},
                {'0', false, "De gebruiksaanwijzing is niet gevonden:"}};
    for (const auto& r : rows) {
        ShellWindow w(WindowOptions{r.language});
        w.open();
        if (r.guide) w.prefix.writeDos("C:\\TARVOK\\USERNav4.HTM", "<html></html>");
        w.dialogs.documentsOpen = false;
        w.window->widgets().help->click();
        ASSERT_EQ(w.dialogs.messages.size(), 1u) << r.says;
        const std::string& m = w.dialogs.messages[0];
        EXPECT_NE(m.find(r.says), std::string::npos) << m;
        EXPECT_NE(m.find(w.prefix.paths().toNative("C:\\TARVOK\\USERNav4.HTM").string()), std::string::npos) << m;
    }
}

}  // namespace
}  // namespace tarvok

namespace tarvok {
namespace {

// The radar repaints only the cells its sweep passes through, a frame of
// steps at a time, and mends its circles only there: what the screen shows
// must still be the drawing, pixel for pixel; a frame drawn as one must
// leave the pixels of its steps; and the drawing must be the lines with the
// circles traced whole over them.
TEST(RadarScreen, TheSweepRepaintsEveryPixelItChangesAndAFrameEqualsItsSteps) {
    MapPicture shown, byStep;
    QImage whole;
    auto drawWhole = [&whole](const RadarDrawing& d) {
        for (const RadarLine& l : d.lines)
            plotRadarLine(reinterpret_cast<std::uint32_t*>(whole.bits()), whole.width(), whole.height(), l);
        QPainter p(&whole);
        for (const RadarCircle& c : d.circles) {
            p.setPen(QPen(QColor(c.colour.r, c.colour.g, c.colour.b), 0));
            p.drawEllipse(QPointF(c.cx, c.cy), c.radius, c.radius);
        }
    };
    for (MapPicture* p : {&shown, &byStep}) {
        p->resize(404, 404);
        p->showStretched(QImage());
    }
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    const RadarPoint c = radarCentre(shown.innerSize().width(), shown.innerSize().height());
    shown.draw(radarDial(c));
    byStep.draw(radarDial(c));
    whole = shown.drawing().copy();
    for (int first : {0, 6, 12, 18, 714}) {  // spokes at step 8, the clock at 18, 714 wraps round
        shown.draw(radarSweepFrame(c, first, 6));
        for (int i = 0; i < 6; ++i) byStep.draw(radarSweepStep(c, (first + i) % kSweepSteps));
        drawWhole(radarSweepFrame(c, first, 6));
        ASSERT_EQ(shown.drawing(), byStep.drawing()) << first;
        ASSERT_EQ(shown.drawing(), whole) << "circles not mended after frame " << first;
        QCoreApplication::processEvents();
        const QRect inner = shown.contentsRect();
        const QImage screen =
            shown.screen()->grabWindow(shown.winId()).toImage().convertToFormat(QImage::Format_RGB32).copy(inner);
        ASSERT_EQ(screen, shown.drawing()) << "pixels left stale after frame " << first;
    }
    EXPECT_TRUE(radarSweepFrame(c, 18, 6).refreshClock);  // step 18: 10 degrees
    EXPECT_FALSE(radarSweepFrame(c, 0, 6).refreshClock);
}

TEST(MainWindow, ResizingLaysTheWindowOutFromItsOwnSizeTheMapViewTakingTheRoom) {
    test::ShellWindow w;
    w.open();
    const WindowLayout atStart = w.window->layoutInUse();
    ASSERT_EQ(atStart.windowWidth, 800);
    for (QSize size : {QSize(700, 500), QSize(1280, 900), QSize(640, 480), QSize(300, 200)}) {
        w.window->resize(size);
        QCoreApplication::processEvents();
        const QSize now = w.window->size();  // never below the smallest whole window
        EXPECT_GE(now.width(), std::min(size.width(), 640));
        EXPECT_EQ(w.window->widgets().mapPicture->width(), now.width() - 230) << now.width();
        EXPECT_EQ(w.window->widgets().mapPicture->height(), now.height() + 28 - 85);
        expectControlsInside(w, now);
        EXPECT_TRUE(w.window->widgets().instrumentPanel->isVisible());
        // The screen's layout stays the one of the start.
        EXPECT_EQ(w.window->layoutInUse().windowWidth, 800);
    }
}

}  // namespace
}  // namespace tarvok
