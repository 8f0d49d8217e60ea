#include "settings/port_settings.h"

#include "common/text.h"
#include "settings/prompts.h"

namespace tarvok::settings {

namespace {

// The step of a list: the value after `text` (the first after the last),
// `whenEmpty` for an empty text, the text itself when it is not listed.
std::string step(std::string_view text, std::initializer_list<const char*> list, const char* whenEmpty) {
    if (text.empty()) return whenEmpty;
    for (auto it = list.begin(); it != list.end(); ++it)
        if (text == *it) return std::next(it) == list.end() ? *list.begin() : *std::next(it);
    return std::string(text);
}

}  // namespace

PortChange pressRate(std::string_view boxText, SettingsString& s) {
    PortChange c;
    c.text = step(trimTrailingBlanks(boxText),
                  {"300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "28800", "33600"}, "300");
    s.writeLeftAligned(field::BaudRate, c.text);
    c.prompts = {"IN" + withoutBlanks(c.text) + ".WAV"};
    return c;
}

// An all-blank box counts as empty, as a blank field reads.
PortChange pressParity(std::string_view boxText, SettingsString& s) {
    PortChange c;
    c.text = step(trimBlanks(boxText).empty() ? "" : boxText, {"0", "1"}, "0");
    s.writeRaw(field::Parity.pos, 1, c.text);
    c.prompts = {"INparit1.WAV", withoutBlanks(c.text) + ".WAV"};
    return c;
}

PortChange pressDataBits(std::string_view boxText, SettingsString& s) {
    PortChange c;
    c.text = step(trimBlanks(boxText).empty() ? "" : boxText, {"4", "5", "6", "7", "8"}, "4");
    s.writeRaw(field::DataBits.pos, 1, c.text);
    c.prompts = {"INbits1.WAV", c.text + ".WAV"};
    return c;
}

std::string portDisplay(std::string_view number) { return "COM-" + std::string(number); }

PortChange pressPort(SettingsString& s) {
    long long n = roundToInt32Clamped(numericValue(s.read(field::GpsPort))) + 1LL;
    std::string number = integerText(n > 4 || n < 1 ? 1 : n);
    s.writeRaw(field::GpsPort.pos, 1, number);
    PortChange c;
    c.text = portDisplay(number);
    c.prompts = {"INcompo.WAV", "IN" + c.text + ".WAV"};
    return c;
}

PortDefaults resetPortDefaults(SettingsString& s) {
    PortDefaults d;
    s.writeLeftAligned(field::BaudRate, d.baud);
    s.writeRaw(field::Parity.pos, 1, d.parity);
    s.writeRaw(field::DataBits.pos, 1, d.dataBits);
    s.writeRaw(field::GpsPort.pos, 1, "1");
    return d;
}

}  // namespace tarvok::settings
