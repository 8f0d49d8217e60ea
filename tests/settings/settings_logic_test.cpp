// The settings program's rules through its plain tables: option buttons,
// port buttons, explanation prompts, clock speech, placement and texts.
#include <gtest/gtest.h>

#include <cmath>

#include "common/text.h"

#include "platform/dialogs.h"
#include "settings/form_logic.h"
#include "settings/option_controls.h"
#include "settings/port_settings.h"
#include "settings/prompts.h"

namespace tarvok::settings {
namespace {

using Prompts = std::vector<std::string>;

SettingsString withFields(std::initializer_list<std::pair<field::Field, const char*>> fields) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    for (auto [f, text] : fields) s.writeRaw(f.pos, f.width, text);
    return s;
}

// Presses a button `clicks` times from a stored value; returns each click's
// stored field text and display text ("-" when the box is left unchanged).
std::vector<std::pair<std::string, std::string>> press(const char* button, const std::string& start, int clicks,
                                                       const char* language = "0") {
    const OptionButton& b = *optionButton(button);
    SettingsString s = withFields({{field::Language, language}});
    s.writeRaw(b.field.pos, b.field.width, start);
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < clicks; ++i) {
        const std::string before = s.bytes();
        OptionChange c = pressOptionButton(b, s);
        for (std::size_t at = 0; at < before.size(); ++at) {
            const bool inField = int(at) + 1 >= b.field.pos && int(at) + 1 < b.field.pos + b.field.width;
            if (!inField) {
                EXPECT_EQ(s.bytes()[at], before[at]) << button << " changed position " << at + 1;
            }
        }
        out.emplace_back(std::string(s.read(b.field)), c.display.value_or("-"));
    }
    return out;
}

using Steps = std::vector<std::pair<std::string, std::string>>;

TEST(OptionButtons, EachRuleStepsStoresAndShows) {
    struct Row {
        const char* button;
        const char* start;
        Steps steps;
    } rows[] = {
        {"Scomm1", " ", {{"1", " kmh"}, {"2", " mph"}, {"3", " kts"}, {"1", " kmh"}}},
        {"KCommand1", "7", {{"1", " 1:   EASY-TRAVEL"}, {"2", " 2:   EASY-TRAVEL PRO"}}},
        {"KCommand1", "0", {{"1", " 1:   EASY-TRAVEL"}}},
        {"KCommand1", "6", {{"7", " 7:   UW EIGEN BITMAP's"}}},
        {"Command2", "0", {{"1", " DIRECT"}, {"2", " LOG-OFF"}, {"0", " UIT"}}},
        {"Command2", "x", {{"0", " UIT"}}},
        {"COMM_GMT", "23", {{"0 ", "+0"}, {"1 ", "+1"}}},
        {"COMM_GMT", "9 ", {{"10", "+10"}}},
        {"COMM_GMT", "ab", {{"1 ", "+1"}}},
        {"Command4", "1", {{"0", "NL"}, {"1", "English"}}},
        {"Command4", "7", {{"1", "English"}}},
        {"Command7", "4", {{"1", "BOVEN"}, {"2", "LINKS"}, {"3", "ONDER"}, {"4", "RECHTS"}}},
        {"command8", "9", {{"1", "KLEIN"}, {"2", "GROOT"}, {"1", "KLEIN"}}},
        {"Menu1", "3", {{"1", "KLEIN"}, {"2", "HOOG"}, {"3", "FRAAI"}}},
        {"Command9", "5", {{"0", "KLEUR"}, {"1", "Z/W"}}},
        {"Routesave", "1", {{"0", "NO SAVE"}, {"1", " SAVE"}}},
        {"Garm1", "1", {{"0", "TVK"}, {"1", "GARMIN"}}},
        {"Soundcom", "1", {{"0", "UIT"}, {"1", "AAN"}}},
        {"Command10", "1", {{"0", "UIT"}, {"1", "AAN"}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(press(r.button, r.start, int(r.steps.size())), r.steps) << r.button << " from " << r.start;
}

TEST(OptionButtons, DisplaysFollowTheLanguageAndLeaveUnknownCodesAlone) {
    struct Row {
        const char* button;
        const char* value;
        const char* dutch;  // null: the box is left as it is
        const char* english;
    } rows[] = {
        {"Command4", "1", "English", "English"}, {"Command4", "0", "NL", "NL"},
        {"Soundcom", "0", "UIT", "OFF"},         {"Soundcom", "1", "AAN", "ON"},
        {"Menu1", "3", "FRAAI", "NICE"},         {"command8", "2", "GROOT", "LARGE"},
        {"Command9", "1", "Z/W", "B&W"},         {"Command10", "0", "UIT", "OFF"},
        {"Command2", "0", " UIT", " OFF"},       {"Scomm1", "7", nullptr, nullptr},
        {"Command2", "9", nullptr, nullptr},     {"Menu1", "0", nullptr, nullptr},
        {"KCommand1", "8", nullptr, nullptr},    {"Soundcom", "\xff", nullptr, nullptr},
        {"Command9", "", nullptr, nullptr},      {"Command7", "5", nullptr, nullptr},
        {"Routesave", "2", nullptr, nullptr},    {"command8", "0", nullptr, nullptr},
    };
    for (const Row& r : rows) {
        const OptionButton& b = *optionButton(r.button);
        auto expect = [](const char* t) { return t ? std::optional<std::string>(t) : std::nullopt; };
        EXPECT_EQ(displayText(b, r.value, Language::Dutch), expect(r.dutch)) << r.button << " " << r.value;
        EXPECT_EQ(displayText(b, r.value, Language::English), expect(r.english)) << r.button << " " << r.value;
    }
}

TEST(OptionButtons, EveryByteInEveryFieldStepsWithoutTouchingOtherFields) {
    for (const OptionButton& b : optionButtons())
        for (int byte = 0; byte < 256; ++byte) {
            std::string text(std::size_t(b.field.width), char(byte));
            auto steps = press(b.button, text, 2);
            ASSERT_EQ(steps.size(), 2u);
        }
}

TEST(OptionButtons, NameTheFilesTheirChangeExplains) {
    struct Row {
        const char* button;
        std::initializer_list<std::pair<field::Field, const char*>> fields;
        Prompts prompts;
    } rows[] = {
        {"Scomm1", {{field::SpeedUnit, "1"}}, {"INsnel2.WAV"}},
        {"Scomm1", {{field::SpeedUnit, "3"}}, {"INsnel1.WAV"}},
        {"Command4", {{field::Language, "0"}}, {"INtaal2.WAV"}},
        {"Command2", {{field::CloseWindows, "1"}}, {"INslot3.WAV"}},
        {"Command7", {{field::PanelSide, "1"}, {field::MapProduct, "2"}}, {"INplek4.WAV"}},
        {"Command7",
         {{field::PanelSide, "1"}, {field::MapProduct, "7"}, {field::CrossSize, "08"}},
         {"INkruis1.WAV", "8.WAV"}},
        {"command8", {{field::KeyboardSize, "1"}}, {"INkeyb1.WAV"}},
        {"Menu1", {{field::MenuStyle, "1"}}, {"INmenu2.WAV"}},
        {"Command9", {{field::ColourScheme, "0"}}, {"INkleur0.WAV"}},
        {"Routesave", {{field::RecordRoute, "0"}}, {"INRsav1.WAV"}},
        {"Garm1", {{field::RouteSource, "1"}}, {"INgardh1.WAV"}},
        {"Soundcom", {{field::SoundOn, "1"}}, {"INgelui0.WAV"}},
        {"KCommand1", {{field::MapProduct, "4"}}, {"INcdrom5.WAV"}},
        {"Command10", {{field::AutoMapSearch, "1"}}, {}},
        {"COMM_GMT", {{field::HourOffset, "3 "}}, {}},
    };
    for (const Row& r : rows) {
        SettingsString s = withFields(r.fields);
        EXPECT_EQ(pressOptionButton(*optionButton(r.button), s).prompts, r.prompts) << r.button;
    }
    EXPECT_EQ(promptPath('D', Language::English, "INsnel2.WAV"), "D:\\TARVOK\\SOUND\\INsnel2.WAV");
    EXPECT_EQ(promptPath('C', Language::Dutch, "April.WAV "), "C:\\TARVOK\\GELUID\\April.WAV ");
}

TEST(Explanations, PagesAndGreetingAsTheirPromptLists) {
    using F = std::initializer_list<std::pair<field::Field, const char*>>;
    struct Row {
        Explanation e;
        F fields;
        Prompts prompts;
    } rows[] = {
        {Explanation::Greeting, {{field::MapProduct, "3"}}, {"INstart1.WAV", "INcdrom0.WAV", "INcdrom3.WAV"}},
        {Explanation::GeneralPage,
         {{field::SpeedUnit, "2"},
          {field::Language, "1"},
          {field::CloseWindows, "0"},
          {field::CorrectionX, "-15  "},
          {field::CorrectionY, "0    "}},
         {"INsnel2.WAV", "INtaal2.WAV", "INslot1.WAV", "INXcorr.WAV", "INmin2.WAV", "15.WAV", "INmeter.WAV",
          "INYcorr.WAV", "0.WAV", "INmeter.WAV"}},
        {Explanation::GeneralPage,
         {{field::SpeedUnit, "9"},
          {field::Language, "x"},
          {field::CloseWindows, "5"},
          {field::CorrectionX, "200  "},
          {field::CorrectionY, "abc  "}},
         {"INXcorr.WAV", "INplus.WAV", "200.WAV", "INmeter.WAV", "INYcorr.WAV", "0.WAV", "INmeter.WAV"}},
        {Explanation::PortsPage,
         {{field::BaudRate, "14400"}, {field::Parity, "0"}, {field::DataBits, "7"}, {field::GpsPort, "3"}},
         {"INpoort.WAV", "IN14400.WAV", "INparit1.WAV", "0.WAV", "INbits1.WAV", "7.WAV", "INcompo.WAV", "INCOM-3.WAV"}},
        {Explanation::MapsPage,
         {{field::RouteSource, "0"}, {field::MapProduct, "1"}, {field::PanelSide, "3"}, {field::RecordRoute, "1"}},
         {"INgardh1.WAV", "INplek3.WAV", "INRsav1.WAV"}},
        {Explanation::MapsPage,
         {{field::RouteSource, "1"}, {field::MapProduct, "5"}, {field::CrossSize, "12"}, {field::RecordRoute, "0"}},
         {"INgardh2.WAV", "INkruis1.WAV", "12.WAV", "INRsav0.WAV"}},
        {Explanation::MapsPage,
         {{field::RouteSource, "0"}, {field::MapProduct, "0"}, {field::RecordRoute, "0"}},
         {"INgardh1.WAV", "INRsav0.WAV"}},
        {Explanation::MiscPage,
         {{field::KeyboardSize, "2"}, {field::MenuStyle, "3"}, {field::ColourScheme, "1"}},
         {"INkeyb1.WAV", "INmenu3.WAV", "INkleur0.WAV"}},
    };
    for (const Row& r : rows) EXPECT_EQ(explanationPrompts(r.e, withFields(r.fields)), r.prompts) << int(r.e);
    for (int page = 1; page <= 5; ++page) EXPECT_NE(pageExplanation(page), Explanation::None);
}

TEST(Explanations, SoundPageSpeaksTheTickedBoxes) {
    // The check boxes lie in positions 71 to 79 (75 is a slider) and 91 to 93.
    auto sound = [](const char* switchValue, std::string boxes71to79, std::string boxes91to93, const char* showXY) {
        SettingsString s = withFields({{field::SoundOn, switchValue},
                                       {field::ShowXY, showXY},
                                       {field::SpeedUnit, "3"},
                                       {field::ReportInterval, "07"},
                                       {field::PlaceNameCount, "12"}});
        s.writeRaw(71, 9, boxes71to79);
        s.writeRaw(91, 3, boxes91to93);
        return explanationPrompts(Explanation::SoundPage, s);
    };
    EXPECT_EQ(sound("0", "000050000", "000", "0"), (Prompts{"INgelui0.WAV", "INgelui2.WAV", "INwaar0.WAV"}));
    EXPECT_EQ(sound("1", "111151111", "111", "1"),
              (Prompts{"INgelui1.WAV", "INgelui2.WAV", "INsnel0.WAV",  "INsnel3.WAV", "INkoers.WAV",  "INgrad1.WAV",
                       "INposit1.WAV", "INposit2.WAV", "INwaars.WAV",  "INwind1.WAV", "INwaar1.WAV",  "INinter1.WAV",
                       "7.WAV",        "INmin1.WAV",   "INinzake.WAV", "12.WAV",      "INplaats.WAV", "INwaar3.WAV",
                       "INwaar2.WAV",  "INwaar4.WAV",  "INtoon1.WAV"}));
    // Only the distance of the nearest place: its file and the closing one.
    EXPECT_EQ(sound("1", "000050000", "001", "0"),
              (Prompts{"INgelui1.WAV", "INgelui2.WAV", "INwaar0.WAV", "INwaar2.WAV", "INwaar4.WAV"}));
    // The speed unit only with its box: position 76.
    EXPECT_EQ(sound("1", "000051000", "000", "0"),
              (Prompts{"INgelui1.WAV", "INgelui2.WAV", "INsnel3.WAV", "INwaar0.WAV"}));
}

TEST(Explanations, SoundPageWithEachCheckBoxAlone) {
    using namespace field;
    struct Row {
        Field box;
        Prompts after;  // what follows "INgelui1.WAV", "INgelui2.WAV"
    } rows[] = {
        {SpeakSpeed, {"INsnel0.WAV", "INwaar0.WAV"}},
        {SpeakUnit, {"INsnel3.WAV", "INwaar0.WAV"}},
        {SpeakCourse, {"INkoers.WAV", "INwaar0.WAV"}},
        {SpeakDegreesWord, {"INgrad1.WAV", "INwaar0.WAV"}},
        {SpeakPosition, {"INposit1.WAV", "INwaar0.WAV"}},
        {SpeakPositionWord, {"INposit2.WAV", "INwaar0.WAV"}},
        {SpeakWarnings, {"INwaars.WAV", "INwaar0.WAV"}},
        {SpeakCompass, {"INwind1.WAV", "INwaar0.WAV"}},
        {WhereAmI, {"INwaar1.WAV", "INinter1.WAV", "7.WAV", "INmin1.WAV", "INinzake.WAV", "12.WAV", "INplaats.WAV"}},
        {NearestDirection, {"INwaar0.WAV", "INwaar3.WAV", "INwaar4.WAV"}},
        {NearestDistance, {"INwaar0.WAV", "INwaar2.WAV", "INwaar4.WAV"}},
        {ShowXY, {"INwaar0.WAV", "INtoon1.WAV"}},
    };
    ASSERT_EQ(std::size(rows), checkBoxes().size());
    for (const Row& r : rows) {
        SettingsString s =
            withFields({{SoundOn, "1"}, {SpeedUnit, "3"}, {ReportInterval, "07"}, {PlaceNameCount, "12"}});
        for (const CheckBox& cb : checkBoxes()) s.writeRaw(cb.field.pos, cb.field.width, "0");
        s.writeRaw(r.box.pos, r.box.width, "1");
        Prompts expected{"INgelui1.WAV", "INgelui2.WAV"};
        expected.insert(expected.end(), r.after.begin(), r.after.end());
        EXPECT_EQ(explanationPrompts(Explanation::SoundPage, s), expected) << r.box.pos;
    }
}

TEST(ClockSpeech, TimeAndDateFromTheirTextRules) {
    EXPECT_EQ(timeSpeech(9, 5, 7), (Prompts{"Hetis2.WAV", "09.WAV", "Uur1.WAV", "05.WAV", "Minuten.WAV"}));
    EXPECT_EQ(timeSpeech(23, 59, 0), (Prompts{"Hetis2.WAV", "23.WAV", "Uur1.WAV", "59.WAV", "Minuten.WAV"}));
    EXPECT_EQ(timeSpeech(0, 0, 0), (Prompts{"Hetis2.WAV", "00.WAV", "Uur1.WAV", "00.WAV", "Minuten.WAV"}));
    struct Row {
        int d, m, y;
        Prompts prompts;
    } rows[] = {
        {7, 12, 2001, {"Hetis1.WAV", "07.WAV", "December.WAV", "20.WAV", "01.WAV"}},
        {17, 4, 2023, {"Hetis1.WAV", "17.WAV", "April.WAV ", "20.WAV", "23.WAV"}},
        {1, 1, 1980, {"Hetis1.WAV", "01.WAV", "Januari.WAV", "19.WAV", "80.WAV"}},
        {31, 9, 2079, {"Hetis1.WAV", "31.WAV", "Septembr.WAV", "20.WAV", "79.WAV"}},
        {28, 2, 1999, {"Hetis1.WAV", "28.WAV", "Februari.WAV", "19.WAV", "99.WAV"}},
    };
    for (const Row& r : rows) EXPECT_EQ(dateSpeech(r.d, r.m, r.y), r.prompts) << r.d << "-" << r.m << "-" << r.y;
    EXPECT_EQ(clockBoxText(9, 5, 7), " 09:05:07");
    EXPECT_EQ(clockBoxText(14, 0, 59), " 14:00:59");
    EXPECT_EQ(dateBoxText(7, 12, 2001), " 07-12-2001");
    EXPECT_EQ(dateBoxText(17, 4, 2023), " 17-04-2023");
}

// A port button pressed on a box text: the new text, the stored field, the prompts.
struct PortRow {
    const char* box;
    std::string text;
    std::string field;
    Prompts prompts;
};

TEST(PortButtons, StepPadAndStoreTheirFields) {
    auto check = [](const char* what, PortChange (*press)(std::string_view, SettingsString&), field::Field f,
                    std::initializer_list<PortRow> rows) {
        for (const PortRow& r : rows) {
            SettingsString s = SettingsString::settingsProgramTemplate();
            const std::string before = s.bytes();
            PortChange c = press(r.box, s);
            EXPECT_EQ(c.text, r.text) << what << " on '" << r.box << "'";
            EXPECT_EQ(s.read(f), r.field) << what << " on '" << r.box << "'";
            EXPECT_EQ(c.prompts, r.prompts) << what << " on '" << r.box << "'";
            EXPECT_EQ(s.bytes().substr(0, f.pos - 1), before.substr(0, f.pos - 1));
            EXPECT_EQ(s.bytes().substr(f.pos - 1 + f.width), before.substr(f.pos - 1 + f.width));
        }
    };
    check("Rate1", pressRate, field::BaudRate,
          {{"33600", "300", "300  ", {"IN300.WAV"}},
           {"4800 ", "9600", "9600 ", {"IN9600.WAV"}},
           {"9600", "14400", "14400", {"IN14400.WAV"}},
           {"", "300", "300  ", {"IN300.WAV"}},
           {"     ", "300", "300  ", {"IN300.WAV"}},
           {"12345", "12345", "12345", {"IN12345.WAV"}},
           {" 4800", " 4800", " 4800", {"IN4800.WAV"}}});
    check("Par1", pressParity, field::Parity,
          {{"", "0", "0", {"INparit1.WAV", "0.WAV"}},
           {"0", "1", "1", {"INparit1.WAV", "1.WAV"}},
           {"1", "0", "0", {"INparit1.WAV", "0.WAV"}},
           {" ", "0", "0", {"INparit1.WAV", "0.WAV"}},
           {"x", "x", "x", {"INparit1.WAV", "x.WAV"}}});
    check("Bit1", pressDataBits, field::DataBits,
          {{"", "4", "4", {"INbits1.WAV", "4.WAV"}},
           {"7", "8", "8", {"INbits1.WAV", "8.WAV"}},
           {"8", "4", "4", {"INbits1.WAV", "4.WAV"}},
           {"9", "9", "9", {"INbits1.WAV", "9.WAV"}}});
}

TEST(PortButtons, PortNumberAndDefaults) {
    for (auto [stored, next] : {std::pair{"1", "2"}, {"4", "1"}, {" ", "1"}, {"9", "1"}, {"\x80", "1"}}) {
        SettingsString s = withFields({{field::GpsPort, stored}});
        PortChange c = pressPort(s);
        EXPECT_EQ(s.read(field::GpsPort), next) << stored;
        EXPECT_EQ(c.text, std::string("COM-") + next);
        EXPECT_EQ(c.prompts, (Prompts{"INcompo.WAV", std::string("INCOM-") + next + ".WAV"}));
    }
    SettingsString s =
        withFields({{field::BaudRate, "19200"}, {field::Parity, "0"}, {field::DataBits, "5"}, {field::GpsPort, "3"}});
    PortDefaults d = resetPortDefaults(s);
    EXPECT_EQ(s.read(field::BaudRate), "4800 ");
    EXPECT_EQ(s.read(field::Parity), "1");
    EXPECT_EQ(s.read(field::DataBits), "8");
    EXPECT_EQ(s.read(field::GpsPort), "1");
    EXPECT_EQ(d.baud + d.parity + d.dataBits + d.port, "480018COM-1");
}

TEST(SlidersAndChecks, StoredAsTheirFieldsHold) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    struct Row {
        const char* name;
        int value;
        const char* stored;
    } rows[] = {
        {"Slider1", 9, "9"}, {"Slider2", 0, "0"}, {"Slider3", 7, "07"}, {"Slider4", 15, "15"}, {"Slider5", 20, "20"}};
    for (const Row& r : rows) {
        const Slider& sl = *slider(r.name);
        writeSlider(sl, s, r.value);
        EXPECT_EQ(s.read(sl.field), r.stored) << r.name;
        // Every position the slider offers comes back as it was stored.
        for (int v = sl.minimum; v <= sl.maximum; ++v) {
            writeSlider(sl, s, v);
            EXPECT_EQ(numericValue(s.read(sl.field)), v) << r.name;
        }
    }
    EXPECT_EQ(checkBoxes().size(), 12u);
    EXPECT_TRUE(isTicked(withFields({{field::ShowXY, "1"}}), field::ShowXY));
    for (const char* v : {"0", "2", " ", "\xff"})
        EXPECT_FALSE(isTicked(withFields({{field::ShowXY, v}}), field::ShowXY));
}

TEST(FormLogic, PlacementPagesAndLetters) {
    struct Row {
        int w, h;
        Placement p;
    } rows[] = {
        {1024, 768, {1024, 743, 2880, 1860, 192, 124}},
        {1920, 1080, {1920, 1055, 9600, 4200, 640, 280}},
        {640, 480, {640, 455, 0, 0, 0, 0}},
        {600, 519, {600, 494, -300, 0, -20, 0}},
    };
    for (const Row& r : rows) {
        Placement p = placement(r.w, r.h);
        EXPECT_EQ(std::tie(p.windowWidth, p.windowHeight, p.panelLeftTwips, p.panelTopTwips, p.panelLeft, p.panelTop),
                  std::tie(r.p.windowWidth, r.p.windowHeight, r.p.panelLeftTwips, r.p.panelTopTwips, r.p.panelLeft,
                           r.p.panelTop))
            << r.w << "x" << r.h;
    }
    EXPECT_EQ(twipsToPixels(kPageLeftTwips), 144);
    EXPECT_EQ(twipsToPixels(kPageTopTwips), 147);
    std::string letters;
    for (int page = 1; page <= kPages; ++page) {
        letters += pageLetter(page);
        EXPECT_EQ(pageOfLetter(pageLetter(page)), page);
        EXPECT_EQ(pageOfLetter(char(pageLetter(page) + 32)), page);
    }
    EXPECT_EQ(letters, "APKGD");
    EXPECT_EQ(pageOfLetter('B'), 0);
    for (const char* p : {"1", "2"}) EXPECT_TRUE(mapsPageShowsFrame31(p));
    for (const char* p : {"3", "7", "0", "", "12"}) EXPECT_FALSE(mapsPageShowsFrame31(p));
    EXPECT_EQ(windowTitle(Language::Dutch), "TARVOK - INSTELLINGEN");
    EXPECT_EQ(windowTitle(Language::English), "TARVOK - SETTINGS");
    EXPECT_EQ(tabText(3, Language::English), "Map's");
}

TEST(FormLogic, CorrectionPreviewCrossAtItsScale) {
    EXPECT_EQ(correctionOfHScroll(185), -15);
    EXPECT_EQ(correctionOfVScroll(185), 15);
    EXPECT_EQ(vScrollOfCorrection(correctionOfVScroll(37)), 37);
    EXPECT_EQ(correctionBoxText(-15), " -15");
    for (auto [h, v] : {std::pair{185, 200}, {0, 0}, {400, 400}}) {
        const int cx = int(std::lround(h * 3.06 / 15)), cy = int(std::lround(v * 2.8 / 15));
        int red = 0, shades = 0;
        for (const Dot& d : previewDots(h, v)) {
            if (d.colour == kPreviewCross) {
                ++red;
                EXPECT_TRUE(d.x == cx || d.y == cy) << d.x << "," << d.y;
                EXPECT_LE(std::abs(d.x - cx) + std::abs(d.y - cy), 6);
            } else {
                ++shades;
                EXPECT_TRUE(d.colour == kPreviewDark || d.colour == kPreviewLight);
            }
        }
        EXPECT_EQ(red, 25);
        EXPECT_GT(shades, 100);
        EXPECT_LT(cx, kPreviewWidth);
        EXPECT_LT(cy, kPreviewHeight);
    }
}

TEST(FormLogic, MessagesAsWritten) {
    EXPECT_EQ(joinMessageLines(filesNotFoundLines()),
              "TARVOK\r\n\r\nBenodigde bestanden niet gevonden!\r\n\r\nWaarschijnlijk is de software niet      \r\n"
              "goed geinstalleerd.\r\nInstalleer de software opnieuw.");
    std::string dutch = joinMessageLines(saveFailedLines(Language::Dutch, "C:\\WINDOWS\\VELKAR.DLL", "/p/x", 28, "e"));
    std::string english =
        joinMessageLines(saveFailedLines(Language::English, "C:\\WINDOWS\\VELKAR.DLL", "/p/x", 13, "e"));
    for (const char* part : {"C:\\WINDOWS\\VELKAR.DLL", "schijf vol", "NIET opgeslagen"})
        EXPECT_NE(dutch.find(part), std::string::npos) << part;
    for (const char* part : {"C:\\WINDOWS\\VELKAR.DLL", "no permission to write", "NOT saved"})
        EXPECT_NE(english.find(part), std::string::npos) << part;
    std::optional<SchemeColours> colour = schemeColours("0"), bw = schemeColours("1");
    ASSERT_TRUE(colour && bw);
    EXPECT_EQ(colour->boxes, (Rgb{0, 255, 0}));
    EXPECT_EQ(colour->clock, (Rgb{0, 255, 255}));
    EXPECT_EQ(colour->closeWindows, (Rgb{255, 255, 0}));
    EXPECT_EQ(bw->boxes, (Rgb{255, 255, 255}));
    EXPECT_FALSE(schemeColours("2"));
}

}  // namespace
}  // namespace tarvok::settings
