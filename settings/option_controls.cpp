#include "settings/option_controls.h"

#include "common/text.h"

namespace tarvok::settings {

namespace {

using R = OptionButton::Rule;
using E = Explanation;

int number(std::string_view text) { return roundToInt32Clamped(numericValue(text)); }

}  // namespace

const std::vector<OptionButton>& optionButtons() {
    using namespace field;
    static const std::vector<OptionButton> table = {
        // Page 1, general.
        {"Command4",
         "Ttaal1",
         field::Language,
         R::Chain,
         0,
         {{"1", "0"}},
         "1",
         {{"1", "English", "English"}, {nullptr, "NL", "NL"}},
         E::Language},
        {"Scomm1",
         "SnText",
         SpeedUnit,
         R::Cycle,
         3,
         {},
         nullptr,
         {{"1", " kmh", " kmh"}, {"2", " mph", " mph"}, {"3", " kts", " kts"}},
         E::SpeedUnit},
        {"Command2",
         "AWText",
         CloseWindows,
         R::Chain,
         0,
         {{"0", "1"}, {"1", "2"}},
         "0",
         {{"0", " UIT", " OFF"}, {"1", " DIRECT", " DIRECT"}, {"2", " LOG-OFF", " LOG-OFF"}},
         E::CloseWindows},
        // Page 3, maps.
        {"Command7",
         "plekje",
         PanelSide,
         R::Cycle,
         4,
         {},
         nullptr,
         {{"1", "BOVEN", "BOVEN"}, {"2", "LINKS", "LINKS"}, {"3", "ONDER", "ONDER"}, {"4", "RECHTS", "RECHTS"}},
         E::ScreenSideOrCrossSize},
        {"Routesave",
         "RSText1",
         RecordRoute,
         R::Chain,
         0,
         {{"0", "1"}},
         "0",
         {{"0", "NO SAVE", "NO SAVE"}, {"1", " SAVE", " SAVE"}},
         E::RouteRecording},
        {"Garm1",
         "DText1",
         RouteSource,
         R::Chain,
         0,
         {{"1", "0"}},
         "1",
         {{"0", "TVK", "TVK"}, {nullptr, "GARMIN", "GARMIN"}},
         E::RouteSource},
        // Page 4, sound.
        {"Soundcom",
         "SNDText1",
         SoundOn,
         R::Chain,
         0,
         {{"0", "1"}},
         "0",
         {{"0", "UIT", "OFF"}, {"1", "AAN", "ON"}},
         E::SoundSwitch},
        // Page 5, miscellaneous.
        {"command8",
         "Toetsje",
         KeyboardSize,
         R::Chain,
         0,
         {{"1", "2"}},
         "1",
         {{"1", "KLEIN", "SMALL"}, {"2", "GROOT", "LARGE"}},
         E::KeyboardSize},
        {"Menu1",
         "MText",
         MenuStyle,
         R::Cycle,
         3,
         {},
         nullptr,
         {{"1", "KLEIN", "SMALL"}, {"2", "HOOG", "HIGH"}, {"3", "FRAAI", "NICE"}},
         E::MenuStyle},
        {"Command9",
         "zw1",
         ColourScheme,
         R::Chain,
         0,
         {{"0", "1"}},
         "0",
         {{"0", "KLEUR", "COLOUR"}, {"1", "Z/W", "B&W"}},
         E::ColourScheme},
        {"Command10",
         "Tzoek1",
         AutoMapSearch,
         R::Chain,
         0,
         {{"1", "0"}},
         "1",
         {{"1", "AAN", "ON"}, {nullptr, "UIT", "OFF"}},
         E::None},
        // Beside the pages: the map product and the hour offset.
        {"KCommand1",
         "CDtext1",
         MapProduct,
         R::Cycle,
         7,
         {},
         nullptr,
         {{"1", " 1:   EASY-TRAVEL", " 1:   EASY-TRAVEL"},
          {"2", " 2:   EASY-TRAVEL PRO", " 2:   EASY-TRAVEL PRO"},
          {"3", " 3:   CITYDISK EUROPE", " 3:   CITYDISK EUROPE"},
          {"4", " 4:   CITYDISK BENELUX", " 4:   CITYDISK BENELUX"},
          {"5", " 5:   SHELL STRATENGIDS 2.0", " 5:   SHELL STRATENGIDS 2.0"},
          {"6", " 6:   ANWB-BENELUX PLANNER", " 6:   ANWB-BENELUX PLANNER"},
          {"7", " 7:   UW EIGEN BITMAP's", " 7:   UW EIGEN BITMAP's"}},
         E::MapProduct},
        {"COMM_GMT", "GMText", HourOffset, R::HourOffset, 0, {}, nullptr, {}, E::None},
    };
    return table;
}

const OptionButton* optionButton(std::string_view name) {
    for (const OptionButton& b : optionButtons())
        if (name == b.button) return &b;
    return nullptr;
}

std::string nextValue(const OptionButton& b, std::string_view current) {
    switch (b.rule) {
    case R::Cycle: {
        long long n = static_cast<long long>(number(current)) + 1;
        return integerText(n > b.highest || n < 1 ? 1 : n);
    }
    case R::Chain:
        for (auto [from, to] : b.chain)
            if (current == from) return to;
        return b.otherwise;
    case R::HourOffset: {
        long long n = static_cast<long long>(number(current)) + 1;
        return integerText(n < 0 || n > 23 ? 0 : n);
    }
    }
    return std::string(current);
}

std::optional<std::string> displayText(const OptionButton& b, std::string_view value, Language language) {
    if (b.rule == R::HourOffset) return "+" + integerText(number(value));
    for (const ValueText& t : b.texts)
        if (!t.value || value == t.value) return std::string(inLanguage(language, t.dutch, t.english));
    return std::nullopt;
}

std::string currentValue(const OptionButton& b, const SettingsString& s) { return std::string(s.read(b.field)); }

OptionChange pressOptionButton(const OptionButton& b, SettingsString& s) {
    OptionChange c;
    c.value = nextValue(b, currentValue(b, s));
    if (b.rule == R::HourOffset) s.writeHourOffset(number(c.value));
    else s.writeRaw(b.field.pos, b.field.width, c.value);
    c.display = displayText(b, c.value, languageIn(s));
    c.prompts = explanationPrompts(b.prompt, s);
    return c;
}

const std::vector<CheckBox>& checkBoxes() {
    using namespace field;
    static const std::vector<CheckBox> table = {
        {"SNDCheck1", SpeakSpeed, "Snelh", "Speed"},
        {"SNDCheck2", SpeakCourse, "Koers", "Bear'g"},
        {"SNDCheck3", SpeakPosition, "Positie", "Position"},
        {"SNDCheck4", SpeakWarnings, "Pasop", "Careful"},
        {"SNDCheck5", SpeakUnit, "\"kmh...\"", "\"kmh...\""},
        {"SNDCheck6", SpeakDegreesWord, "Graden", "Degrees"},
        {"SNDCheck7", SpeakPositionWord, "'Positie'", "'Position'"},
        {"SNDCheck8", SpeakCompass, "Kompas", "Compas"},
        {"SndCheck11", WhereAmI, "WAAR BEN IK", "WHERE AM I?"},
        {"SndCheck12", NearestDirection, "Richting", "Bearing"},
        {"SndCheck13", NearestDistance, "Afstand", "Distance"},
        {"SndCheck14", ShowXY, "Toon X,Y", "Show X,Y"},
    };
    return table;
}

bool isTicked(const SettingsString& s, field::Field f) { return s.read(f) == "1"; }

const std::vector<Slider>& sliders() {
    using namespace field;
    static const std::vector<Slider> table = {
        {"Slider1", "Label12", PlaybackSpeed, 0, 9},   {"Slider2", "Label15", SpeechSpeed, 0, 9},
        {"Slider3", "Label13", ReportInterval, 0, 15}, {"Slider4", "Label14", PlaceNameCount, 0, 15},
        {"Slider5", "Label17", CrossSize, 0, 20},
    };
    return table;
}

const Slider* slider(std::string_view name) {
    for (const Slider& sl : sliders())
        if (name == sl.name) return &sl;
    return nullptr;
}

void writeSlider(const Slider& sl, SettingsString& s, int value) {
    if (sl.field.width == 2) s.writeTwoDigits(sl.field, value);
    else s.writeRaw(sl.field.pos, sl.field.width, integerText(value));
}

std::optional<SchemeColours> schemeColours(std::string_view value) {
    if (value == "0") return SchemeColours{{0, 255, 0}, {0, 255, 255}, {255, 255, 0}};
    if (value == "1") return SchemeColours{{255, 255, 255}, {255, 255, 255}, {255, 255, 255}};
    return std::nullopt;
}

const std::vector<const char*>& schemeBoxes() {
    static const std::vector<const char*> boxes = {"plekje", "zw1",      "Toetsje", "RSText1", "DText1", "SnText",
                                                   "BText1", "Ptext1",   "Ntext1",  "CText1",  "MText",  "Ttaal1",
                                                   "Tzoek1", "SNDText1", "GMText",  "Klokje",  "Dagje",  "AWText"};
    return boxes;
}

}  // namespace tarvok::settings
