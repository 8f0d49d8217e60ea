// The shell's rules without a window: layout, keyboard table, texts, radar.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include "common/clock_texts.h"
#include "navigator/shell/keyboard_commands.h"
#include "navigator/shell/radar_screen.h"
#include "navigator/shell/shell_texts.h"
#include "navigator/shell/window_layout.h"

namespace tarvok {
namespace {

TEST(WindowLayout, ComputedFromTheScreenSize) {
    struct Case {
        int w, h;
        bool panel;
    } cases[] = {{640, 480, false}, {800, 600, true}, {1920, 1080, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        WindowLayout l = computeWindowLayout(c.w, c.h);
        const int mapW = c.w - 230, mapH = c.h - 85;
        EXPECT_EQ(std::tie(l.windowWidth, l.windowHeight, l.picture2Visible, l.picture1.width, l.picture1.height),
                  std::make_tuple(c.w, c.h - 28, c.panel, mapW, mapH));
        EXPECT_EQ(std::tie(l.hScroll3.y, l.hScroll3.width, l.vScroll3.x, l.vScroll3.height),
                  std::make_tuple(mapH + 8, mapW, c.w - 32, mapH));
        EXPECT_EQ(std::tie(l.textRBLeft, l.textLOTop, l.text8Top), std::make_tuple(mapW - 130, mapH - 17, mapH + 20));
        // The map view, its scroll bars and the status box stay inside the window.
        EXPECT_LE(l.vScroll3.x + l.vScroll3.width, l.windowWidth);
        EXPECT_LE(l.text8Top + design::kText8Height, l.windowHeight);
        EXPECT_GT(l.hScroll3.y, l.picture1.y + l.picture1.height - 1);
        for (const LayoutRect& s : l.shape) {
            EXPECT_EQ(s.x, static_cast<int>(std::floor((l.innerWidth - s.width) / 2.0)));
            EXPECT_EQ(s.y, static_cast<int>(std::floor((l.innerHeight - s.height) / 2.0)));
        }
    }
    // 1920 x 1080: inner area 1686 x 991 inside a two-pixel frame.
    WindowLayout big = computeWindowLayout(1920, 1080);
    EXPECT_EQ(std::pair(big.innerWidth, big.innerHeight), std::pair(1686, 991));
    EXPECT_EQ(big.shape[0].x, (1686 - design::kShapeDiameter[0]) / 2);
}

TEST(WindowLayout, FromTheWindowsOwnSizeAfterAResize) {
    // The same rules from the window's size; the panel as the screen decided.
    for (auto [w, h, panel] : {std::tuple{700, 500, true}, std::tuple{1500, 900, false}}) {
        const WindowLayout l = windowLayoutForSize(w, h, panel);
        const WindowLayout screen = computeWindowLayout(w, h + 28);
        EXPECT_EQ(std::tie(l.windowWidth, l.windowHeight, l.picture2Visible), std::tie(w, h, panel));
        EXPECT_EQ(l.picture1, screen.picture1);
    }
    // The smallest window keeps the log's least height above the panel.
    for (bool panel : {true, false}) {
        const WindowLayout least = smallestWindowLayout(panel);
        EXPECT_EQ(least.windowWidth, 640);
        EXPECT_GE(least.windowHeight - 4 - (panel ? design::kInstrumentPanelHeight + 4 : 0),
                  design::kLogTop + design::kLogLeast);
        EXPECT_GT(least.picture1.width, 0);
    }
}

TEST(ShellTexts, WindowTitleNamesTheMapFile) {
    EXPECT_EQ(mainWindowTitle(""), "Tarvok");
    EXPECT_EQ(mainWindowTitle("C:\\TARVOK\\KAARTEN\\Delft.bmp"), "Tarvok - DELFT.BMP");
    EXPECT_EQ(mainWindowTitle("Z:\\home\\kaart.tiff"), "Tarvok - KAART.TIFF");
}

NavigatorState stateWith(char language, char sound) {
    NavigatorState s;
    s.settings.language = language;
    s.settings.soundOn = sound;
    s.soundFolder = language == '0' ? ":\\TARVOK\\GELUID\\" : ":\\TARVOK\\SOUND\\";
    return s;
}

// Presses each key in turn and checks the status text it gives.
void expectStatuses(NavigatorState& s, std::initializer_list<std::pair<int, const char*>> keys) {
    for (auto [key, status] : keys) EXPECT_EQ(applyKey(s, key).status, status) << "key " << char(key);
}

TEST(Keyboard, ScreenCorrectionStopsAt800AndMinus800) {
    NavigatorState s = stateWith('1', '1');
    KeyOutcome o;
    int pressesThatChanged = 0;
    for (int i = 0; i < 50; ++i) {
        int before = s.screenCorrectionX;
        o = applyKey(s, i % 2 ? 'o' : 'O');
        if (s.screenCorrectionX != before) ++pressesThatChanged;
    }
    EXPECT_EQ(std::tuple(s.screenCorrectionX, pressesThatChanged, o.command, o.status),
              std::tuple(800, 40, KeyCommand::ScreenCorrection, "Xcor.= 800 ; Ycor.= 0"));

    s.screenCorrectionX = -800;
    s.screenCorrectionY = -780;
    expectStatuses(s, {{'W', "Xcor.= -800 ; Ycor.= -780"},
                       {'z', "Xcor.= -800 ; Ycor.= -800"},
                       {'Z', "Xcor.= -800 ; Ycor.= -800"},
                       {'n', "Xcor.= -800 ; Ycor.= -780"}});
}

TEST(Keyboard, GTogglesSoundAndSetsTheCompletionCode) {
    NavigatorState s = stateWith('0', '1');
    const KeyOutcome off = applyKey(s, 'g');
    // Switched off, the completion code becomes 1: sound waits end.
    EXPECT_EQ(std::tuple(off.command, off.status, s.settings.soundOn, off.endSoundWaits),
              std::tuple(KeyCommand::SoundSwitchedOff, "  GELUID = UIT ", '0', true));
    const KeyOutcome on = applyKey(s, 'G');
    EXPECT_EQ(std::tuple(on.command, on.status, s.settings.soundOn),
              std::tuple(KeyCommand::SoundSwitchedOn, "  GELUID = AAN ", '1'));
    // Any value but "0" counts as on and is switched off.
    s.settings.soundOn = '7';
    EXPECT_EQ(applyKey(s, 'G').command, KeyCommand::SoundSwitchedOff);

    NavigatorState e = stateWith('1', '0');
    expectStatuses(e, {{'G', "  SOUND = ON "}, {'G', "  SOUND = OFF "}});
}

TEST(Keyboard, DigitsZoomOnlyWhileAModeRuns) {
    NavigatorState s = stateWith('1', '1');
    for (char d : std::string("0123456789")) EXPECT_EQ(applyKey(s, d).command, KeyCommand::None) << d;
    EXPECT_EQ(s.targetZoomLevel, 0);

    s.navigationActive = 1;
    for (auto [key, command, level] : {std::tuple{'2', KeyCommand::ZoomToLevel, 2},
                                       {'0', KeyCommand::ZoomFull, 0},
                                       {'6', KeyCommand::ZoomToLevel, 5},
                                       {'7', KeyCommand::ZoomToLevel, 5},
                                       {'8', KeyCommand::ZoomToLevel, 5},
                                       {'9', KeyCommand::ZoomToLevel, 5}}) {
        const KeyCommand pressed = applyKey(s, key).command;
        EXPECT_EQ(std::tuple(pressed, s.targetZoomLevel), std::tuple(command, level)) << key;
    }
    s.navigationActive = 0;
    s.playbackActive = 1;
    EXPECT_EQ(applyKey(s, '5').command, KeyCommand::ZoomToLevel);
}

TEST(Keyboard, KeyPreviewIsSwitchedOffWhileAModeRuns) {
    NavigatorState s = stateWith('1', '1');
    s.keyPreview = false;
    applyKey(s, 'x');
    EXPECT_TRUE(s.keyPreview);
    s.playbackActive = 1;
    applyKey(s, 'x');
    EXPECT_FALSE(s.keyPreview);
}

TEST(Keyboard, SpeedUnitKeysAndTheUnitWordFile) {
    NavigatorState s = stateWith('1', '1');
    s.programDrive = 'D';
    const KeyOutcome m = applyKey(s, 'm');
    EXPECT_EQ(std::tuple(m.command, s.settings.speedUnit, s.unitWord, m.unitWordFile, m.status),
              std::tuple(KeyCommand::SpeedUnit, '2', "mph", "D:\\TARVOK\\SOUND\\mph.WAV", ""));

    NavigatorState q = stateWith('0', '0');
    const KeyOutcome t = applyKey(q, 'T');  // sound off: nothing reloaded
    EXPECT_EQ(std::tuple(q.settings.speedUnit, q.unitWord, t.unitWordFile), std::tuple('3', "kts", ""));
    applyKey(q, 'K');
    EXPECT_EQ(std::tuple(q.settings.speedUnit, q.unitWord), std::tuple('1', "kmh"));
}

TEST(Keyboard, IntervalStepLastsBetweenPressesWithin2To30Seconds) {
    NavigatorState s = stateWith('1', '1');
    expectStatuses(s, {{'L', " Interval:2 sec."}, {'R', " Interval:4 sec."}, {'r', " Interval:6 sec."}});
    for (int i = 0; i < 20; ++i) applyKey(s, 'R');
    expectStatuses(s, {{'R', " Interval:30 sec."}, {'l', " Interval:28 sec."}});
}

TEST(Keyboard, EscapeRaisesTheStopRequestAndOtherKeysDoNothing) {
    NavigatorState s = stateWith('1', '1');
    EXPECT_EQ(applyKey(s, 27).command, KeyCommand::Escape);
    EXPECT_TRUE(s.stopRequest);
    NavigatorState t = stateWith('1', '1');
    for (int k : {int('a'), int('Q'), int(' '), int('-'), 13}) EXPECT_EQ(applyKey(t, k).command, KeyCommand::None);
    EXPECT_FALSE(t.stopRequest);
    expectStatuses(t, {{'i', "  ZOOM-IN 1 LEVEL "}, {'u', "  ZOOM-OUT 1 LEVEL "}});
}

TEST(Keyboard, PShowsAndHidesTheTrailInTheWindowsLanguage) {
    for (auto [language, hidden, shown] :
         {std::tuple{'1', "  TRAIL = OFF ", "  TRAIL = ON "}, std::tuple{'0', "  SPOOR = UIT ", "  SPOOR = AAN "}}) {
        NavigatorState s = stateWith(language, '1');
        ASSERT_TRUE(s.trailShown);
        const KeyOutcome o = applyKey(s, 'p');
        EXPECT_EQ(std::tuple(o.command, o.status, s.trailShown), std::tuple(KeyCommand::Trail, hidden, false));
        EXPECT_EQ(applyKey(s, 'P').status, shown);
        EXPECT_TRUE(s.trailShown);
    }
}

TEST(ShellTexts, ClockAndDateGetALeadingZero) {
    for (auto [text, expected] : {std::pair{clockText(9, 5, 33), "09:05:33"},
                                  {clockText(23, 0, 0), "23:00:00"},
                                  {timeOfDayText(9, 5, 33), "9:05:33"},
                                  {dateText(7, 12, 2026), "07-12-2026"},
                                  {dateText(17, 3, 1994), "17-3-1994"}})
        EXPECT_EQ(text, expected);
}

TEST(ShellTexts, EveryControlHasBothLanguages) {
    for (const ControlTexts& t : mainWindowTexts()) {
        EXPECT_EQ(t.captionDutch == nullptr, t.captionEnglish == nullptr) << t.name;
        EXPECT_TRUE(t.tooltipDutch && t.tooltipEnglish) << t.name;
    }
    EXPECT_EQ(mainWindowTexts().size(), 26u);
}

// A point of the radar drawing, to 1e-9 pixels.
void expectPoint(double x, double y, double wantX, double wantY) {
    EXPECT_NEAR(x, wantX, 1e-9);
    EXPECT_NEAR(y, wantY, 1e-9);
}

TEST(RadarScreen, PointsGoClockwiseFromStraightDown) {
    const RadarPoint c{100, 100};
    for (auto [degrees, x, y] : {std::tuple{0, 100, 110}, {90, 90, 100}, {180, 100, 90}}) {
        const RadarPoint p = radarPoint(c, degrees, 10);
        expectPoint(p.x, p.y, x, y);
    }
    // The centre is half the inner size, rounded halves to even.
    const RadarPoint centre = radarCentre(565, 511);
    expectPoint(centre.x, centre.y, 282, 256);
}

TEST(RadarScreen, DialHasItsTicksCirclesAndBeam) {
    RadarPoint c{300, 200};
    RadarDrawing d = radarDial(c);
    // 73 ticks, 37 marks, 481 beam rays; six circles.
    ASSERT_EQ(d.lines.size(), 73u + 37u + 481u);
    ASSERT_EQ(d.circles.size(), 6u);
    EXPECT_EQ(d.circles.front().radius, 25);
    EXPECT_EQ(d.circles.back().radius, 150);
    const RadarLine& tick = d.lines[0];
    EXPECT_EQ(tick.colour, (RadarColour{0, 0, 0}));
    expectPoint(tick.y1, tick.y2, 200 + 175, 200 + 181);
    const RadarLine& mark = d.lines[73];
    EXPECT_EQ(mark.colour, (RadarColour{100, 0, 0}));
    expectPoint(mark.y1, mark.y2, 200 + 187, 200 + 195);
    const RadarLine& lastRay = d.lines.back();
    RadarPoint tip = radarPoint(c, 25, 175);
    EXPECT_EQ(lastRay.x1, 300);
    expectPoint(lastRay.x2, lastRay.y2, tip.x, tip.y);
    EXPECT_EQ(lastRay.colour, (RadarColour{0, 200, 0}));
}

TEST(RadarScreen, SweepStepsDrawEdgesSpokesAndRefreshTheClock) {
    RadarPoint c{0, 0};
    int spokeSteps = 0, clockSteps = 0;
    for (int step = 0; step < kSweepSteps; ++step) {
        RadarDrawing d = radarSweepStep(c, step);
        ASSERT_EQ(d.circles.size(), 6u);
        bool spokes = d.lines.size() == 8 + 12;
        ASSERT_TRUE(spokes || d.lines.size() == 8) << step;
        spokeSteps += spokes;
        clockSteps += d.refreshClock;
        if (step == 0) {
            double a = 1;
            RadarPoint lead = radarPoint(c, a + 24, 175), trail = radarPoint(c, a, 175);
            EXPECT_NEAR(d.lines[0].x2, lead.x, 1e-9);
            EXPECT_NEAR(d.lines[3].x2, lead.x + 1, 1e-9);
            EXPECT_NEAR(d.lines[3].y1, 1, 1e-9);
            EXPECT_EQ(d.lines[0].colour, (RadarColour{0, 200, 0}));
            EXPECT_NEAR(d.lines[4].y2, trail.y, 1e-9);
            EXPECT_EQ(d.lines[4].colour, (RadarColour{0, 120, 0}));
        }
    }
    // a = 5, 10, ..., 360 give spokes; a = 10, ..., 360 refresh the clock.
    EXPECT_EQ(spokeSteps, 72);
    EXPECT_EQ(clockSteps, 36);
    EXPECT_TRUE(radarSweepStep(c, 8).lines.size() == 20);  // a = 5
    EXPECT_FALSE(radarSweepStep(c, 9).refreshClock);       // a = 5.5
    EXPECT_TRUE(radarSweepStep(c, 18).refreshClock);       // a = 10
    EXPECT_EQ(radarSweepStep(c, 8).lines[19].colour, (RadarColour{0, 100, 0}));
    EXPECT_EQ(radarSweepStep(c, 12).lines.size(), 8u);  // a = 7: no spokes
}

// A line's pixels on a 6 x 4 image: the pixel holding each point, the ends
// included, unbroken; nothing outside the image.
TEST(RadarScreen, PlottedLinesSetThePixelsHoldingTheirPoints) {
    constexpr RadarColour kGreen{0, 200, 0};
    struct Row {
        RadarLine line;
        const char* rows;  // '#' set, '.' untouched; row by row
    };
    for (const Row& r : {
             Row{{0, 0, 5, 0, kGreen}, "######|......|......|......"},
             Row{{2.7, 0.2, 2.7, 3.9, kGreen}, "..#...|..#...|..#...|..#..."},
             Row{{0, 0, 3, 3, kGreen}, "#.....|.#....|..#...|...#.."},
             Row{{0.5, 3.5, 5.5, 1.5, kGreen}, "......|....##|..##..|##...."},
             Row{{-3, 1, 8, 1, kGreen}, "......|######|......|......"},  // cut at both sides
             Row{{4.2, 2.9, 4.2, 2.9, kGreen}, "......|......|....#.|......"},
             Row{{9, 9, 12, 12, kGreen}, "......|......|......|......"},
             Row{{0, 0, std::nan(""), 3, kGreen}, "......|......|......|......"},
             Row{{0, 0, 1e9, 3, kGreen}, "......|......|......|......"},
         }) {
        std::vector<std::uint32_t> image(6 * 4, 0);
        plotRadarLine(image.data(), 6, 4, r.line);
        std::string got;
        for (int y = 0; y < 4; ++y) {
            if (y) got += '|';
            for (int x = 0; x < 6; ++x) {
                const std::uint32_t px = image[std::size_t(y * 6 + x)];
                got += px == 0xff00c800u ? '#' : px == 0 ? '.' : '?';
            }
        }
        EXPECT_EQ(got, r.rows) << r.line.x1 << "," << r.line.y1 << " to " << r.line.x2 << "," << r.line.y2;
    }
}

}  // namespace
}  // namespace tarvok
