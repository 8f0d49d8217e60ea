#include "settings/prompts.h"

#include <cstdlib>

#include "common/clock_texts.h"
#include "common/program_folder.h"
#include "common/text.h"

namespace tarvok::settings {

namespace {

using Prompts = std::vector<std::string>;

std::string fieldText(const SettingsString& s, field::Field f) { return std::string(s.read(f)); }

int fieldNumber(const SettingsString& s, field::Field f) { return roundToInt32Clamped(numericValue(s.read(f))); }

// The file chosen by a field's value; nothing for a value not listed.
void pick(Prompts& out, const SettingsString& s, field::Field f,
          std::initializer_list<std::pair<const char*, const char*>> choices) {
    std::string v = fieldText(s, f);
    for (auto [value, file] : choices)
        if (v == value) {
            out.emplace_back(file);
            return;
        }
}

// One file for the value "match", another for any other value.
void either(Prompts& out, const SettingsString& s, field::Field f, const char* match, const char* ifMatch,
            const char* otherwise) {
    out.emplace_back(fieldText(s, f) == match ? ifMatch : otherwise);
}

void append(Prompts& out, Prompts more) {
    out.insert(out.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

void correction(Prompts& out, const char* word, int value) {
    out.emplace_back(word);
    if (value > 0) out.emplace_back("INplus.WAV");
    if (value < 0) out.emplace_back("INmin2.WAV");
    out.push_back(numberFile(std::llabs(value)));
    out.emplace_back("INmeter.WAV");
}

void add(Prompts& out, Explanation e, const SettingsString& s) {
    using namespace field;
    switch (e) {
    case Explanation::None: return;
    case Explanation::Greeting:
        out.emplace_back("INstart1.WAV");
        out.emplace_back("INcdrom0.WAV");
        add(out, Explanation::MapProduct, s);
        return;
    case Explanation::MapProduct:
        pick(out, s, MapProduct,
             {{"1", "INcdrom1.WAV"},
              {"2", "INcdrom2.WAV"},
              {"3", "INcdrom3.WAV"},
              {"4", "INcdrom4.WAV"},
              {"5", "INcdrom5.WAV"},
              {"6", "INcdrom6.WAV"},
              {"7", "INcdrom7.WAV"}});
        return;
    case Explanation::SpeedUnit:
        pick(out, s, SpeedUnit, {{"1", "INsnel1.WAV"}, {"2", "INsnel2.WAV"}, {"3", "INsnel3.WAV"}});
        return;
    case Explanation::Language: pick(out, s, field::Language, {{"0", "INtaal1.WAV"}, {"1", "INtaal2.WAV"}}); return;
    case Explanation::CloseWindows:
        pick(out, s, CloseWindows, {{"0", "INslot1.WAV"}, {"1", "INslot2.WAV"}, {"2", "INslot3.WAV"}});
        return;
    case Explanation::GeneralPage:
        add(out, Explanation::SpeedUnit, s);
        add(out, Explanation::Language, s);
        add(out, Explanation::CloseWindows, s);
        correction(out, "INXcorr.WAV", fieldNumber(s, CorrectionX));
        correction(out, "INYcorr.WAV", fieldNumber(s, CorrectionY));
        return;
    case Explanation::PortsPage:
        out.emplace_back("INpoort.WAV");
        for (Explanation value :
             {Explanation::BaudRate, Explanation::Parity, Explanation::DataBits, Explanation::ComPort})
            add(out, value, s);
        return;
    case Explanation::BaudRate: append(out, baudRatePrompts(s.read(BaudRate))); return;
    case Explanation::Parity: append(out, parityPrompts(s.read(Parity))); return;
    case Explanation::DataBits: append(out, dataBitsPrompts(s.read(DataBits))); return;
    case Explanation::ComPort: append(out, comPortPrompts(portDisplay(s.read(GpsPort)))); return;
    case Explanation::RouteSource: either(out, s, RouteSource, "0", "INgardh1.WAV", "INgardh2.WAV"); return;
    case Explanation::ScreenSideOrCrossSize: {
        std::string product = fieldText(s, MapProduct);
        if (product == "1" || product == "2")
            pick(out, s, PanelSide,
                 {{"1", "INplek1.WAV"}, {"2", "INplek4.WAV"}, {"3", "INplek3.WAV"}, {"4", "INplek2.WAV"}});
        else if (numericValue(product) > 2) {
            out.emplace_back("INkruis1.WAV");
            out.push_back(numberFile(fieldNumber(s, CrossSize)));
        }
        return;
    }
    case Explanation::RouteRecording: either(out, s, RecordRoute, "0", "INRsav0.WAV", "INRsav1.WAV"); return;
    case Explanation::MapsPage:
        add(out, Explanation::RouteSource, s);
        add(out, Explanation::ScreenSideOrCrossSize, s);
        add(out, Explanation::RouteRecording, s);
        return;
    case Explanation::SoundSwitch: either(out, s, SoundOn, "0", "INgelui0.WAV", "INgelui1.WAV"); return;
    case Explanation::SoundPage: {
        auto ticked = [&](Field f) { return fieldText(s, f) == "1"; };
        add(out, Explanation::SoundSwitch, s);
        out.emplace_back("INgelui2.WAV");
        if (ticked(SpeakSpeed)) out.emplace_back("INsnel0.WAV");
        if (ticked(SpeakUnit)) add(out, Explanation::SpeedUnit, s);
        if (ticked(SpeakCourse)) out.emplace_back("INkoers.WAV");
        if (ticked(SpeakDegreesWord)) out.emplace_back("INgrad1.WAV");
        if (ticked(SpeakPosition)) out.emplace_back("INposit1.WAV");
        if (ticked(SpeakPositionWord)) out.emplace_back("INposit2.WAV");
        if (ticked(SpeakWarnings)) out.emplace_back("INwaars.WAV");
        if (ticked(SpeakCompass)) out.emplace_back("INwind1.WAV");
        if (!ticked(WhereAmI)) {
            out.emplace_back("INwaar0.WAV");
        } else {
            out.emplace_back("INwaar1.WAV");
            out.emplace_back("INinter1.WAV");
            out.push_back(numberFile(fieldNumber(s, ReportInterval)));
            out.emplace_back("INmin1.WAV");
            out.emplace_back("INinzake.WAV");
            out.push_back(numberFile(fieldNumber(s, PlaceNameCount)));
            out.emplace_back("INplaats.WAV");
        }
        if (ticked(NearestDirection)) out.emplace_back("INwaar3.WAV");
        if (ticked(NearestDistance)) out.emplace_back("INwaar2.WAV");
        if (ticked(NearestDirection) || ticked(NearestDistance)) out.emplace_back("INwaar4.WAV");
        if (ticked(ShowXY)) out.emplace_back("INtoon1.WAV");
        return;
    }
    case Explanation::KeyboardSize: either(out, s, KeyboardSize, "2", "INkeyb1.WAV", "INkeyb2.WAV"); return;
    case Explanation::MenuStyle:
        pick(out, s, MenuStyle, {{"1", "INmenu1.WAV"}, {"2", "INmenu2.WAV"}, {"3", "INmenu3.WAV"}});
        return;
    case Explanation::ColourScheme: either(out, s, ColourScheme, "0", "INkleur1.WAV", "INkleur0.WAV"); return;
    case Explanation::MiscPage:
        add(out, Explanation::KeyboardSize, s);
        add(out, Explanation::MenuStyle, s);
        add(out, Explanation::ColourScheme, s);
        return;
    }
}

}  // namespace

Language languageIn(const SettingsString& s) {
    std::string_view v = s.read(field::Language);
    return languageOf(v.empty() ? ' ' : v[0]);
}

std::vector<std::string> explanationPrompts(Explanation e, const SettingsString& s) {
    Prompts out;
    add(out, e, s);
    return out;
}

Explanation pageExplanation(int page) {
    switch (page) {
    case 1: return Explanation::GeneralPage;
    case 2: return Explanation::PortsPage;
    case 3: return Explanation::MapsPage;
    case 4: return Explanation::SoundPage;
    case 5: return Explanation::MiscPage;
    default: return Explanation::None;
    }
}

std::string withoutBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

std::vector<std::string> baudRatePrompts(std::string_view baudText) {
    return {"IN" + withoutBlanks(baudText) + ".WAV"};
}

std::vector<std::string> parityPrompts(std::string_view parityText) {
    return {"INparit1.WAV", withoutBlanks(parityText) + ".WAV"};
}

std::vector<std::string> dataBitsPrompts(std::string_view dataBitsText) {
    return {"INbits1.WAV", withoutBlanks(dataBitsText) + ".WAV"};
}

std::vector<std::string> comPortPrompts(std::string_view portDisplay) {
    return {"INcompo.WAV", "IN" + withoutBlanks(portDisplay) + ".WAV"};
}

std::string portDisplay(std::string_view number) { return "COM-" + std::string(number); }

std::string numberFile(long long n) { return integerText(n) + ".WAV"; }

std::string promptFolder(char drive, Language language) { return std::string(1, drive) + soundFolderOf(language); }

std::string promptPath(char drive, Language language, std::string_view prompt) {
    return promptFolder(drive, language) + std::string(prompt);
}

std::vector<std::string> timeSpeech(int hour, int minute, int second) {
    std::string t = clockText(hour, minute, second);
    return {"Hetis2.WAV", t.substr(0, 2) + ".WAV", "Uur1.WAV", t.substr(3, 2) + ".WAV", "Minuten.WAV"};
}

std::vector<std::string> dateSpeech(int day, int month, int year) {
    // "07-12-01": two-digit day, month and year.
    std::string t = dayMonthYearText(day, month, padLeft(integerText(((year % 100) + 100) % 100), 2));
    std::string yy = t.substr(6, 2);
    t = t.substr(0, 6) + (numericValue(yy) < 80 ? "20" : "19") + yy;
    static const char* const kMonths[12] = {"Januari.WAV",  "Februari.WAV", "Maart.WAV",    "April.WAV ",
                                            "Mei.WAV",      "Juni.WAV",     "Juli.WAV",     "Augustus.WAV",
                                            "Septembr.WAV", "Oktober.WAV",  "November.WAV", "December.WAV"};
    int m = roundToInt32Clamped(numericValue(t.substr(3, 2)));
    std::string monthFile = m >= 1 && m <= 12 ? kMonths[m - 1] : "";
    return {"Hetis1.WAV", t.substr(0, 2) + ".WAV", monthFile, t.substr(6, 2) + ".WAV", t.substr(8, 2) + ".WAV"};
}

}  // namespace tarvok::settings
