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
    c.prompts = baudRatePrompts(c.text);
    return c;
}

// An all-blank box counts as empty, as a blank field reads.
PortChange pressParity(std::string_view boxText, SettingsString& s) {
    PortChange c;
    c.text = step(trimBlanks(boxText).empty() ? "" : boxText, {"0", "1"}, "0");
    s.writeRaw(field::Parity.pos, 1, c.text);
    c.prompts = parityPrompts(c.text);
    return c;
}

PortChange pressDataBits(std::string_view boxText, SettingsString& s) {
    PortChange c;
    c.text = step(trimBlanks(boxText).empty() ? "" : boxText, {"4", "5", "6", "7", "8"}, "4");
    s.writeRaw(field::DataBits.pos, 1, c.text);
    c.prompts = dataBitsPrompts(c.text);
    return c;
}

PortChange pressPort(SettingsString& s) {
    long long n = roundToInt32Clamped(numericValue(s.read(field::GpsPort))) + 1LL;
    std::string number = integerText(n > 4 || n < 1 ? 1 : n);
    s.writeRaw(field::GpsPort.pos, 1, number);
    PortChange c;
    c.text = portDisplay(number);
    c.prompts = comPortPrompts(c.text);
    return c;
}

const std::vector<PortButton>& portButtons() {
    using K = PortButton::Kind;
    static const std::vector<PortButton> table = {
        {"Rate1", "BText1", K::BaudRate, Explanation::BaudRate},
        {"Par1", "Ptext1", K::Parity, Explanation::Parity},
        {"Bit1", "Ntext1", K::DataBits, Explanation::DataBits},
        {"Command5", "CText1", K::ComPort, Explanation::ComPort},
    };
    return table;
}

const PortButton* portButton(std::string_view name) {
    for (const PortButton& b : portButtons())
        if (name == b.button) return &b;
    return nullptr;
}

PortChange pressPortButton(const PortButton& b, std::string_view boxText, SettingsString& s) {
    switch (b.kind) {
    case PortButton::Kind::BaudRate: return pressRate(boxText, s);
    case PortButton::Kind::Parity: return pressParity(boxText, s);
    case PortButton::Kind::DataBits: return pressDataBits(boxText, s);
    case PortButton::Kind::ComPort: break;
    }
    return pressPort(s);
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
