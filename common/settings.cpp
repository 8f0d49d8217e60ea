#include "settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "common/text.h"
#include "platform/dos_path.h"
#include "platform/regular_file.h"

namespace fs = std::filesystem;

namespace tarvok {

namespace {

std::string buildTemplate() {
    SettingsString t(std::string(kSettingsProgramLength, '0'));
    for (const field::Field& f : field::all) t.writeValue(f, f.templateValue);
    return t.bytes();
}

int intValue(std::string_view text) { return roundToInt32(numericValue(text)).value_or(0); }

// The settings program keeps of the baud rate only the characters before
// its trailing blanks: 3 when characters 4 and 5 are blanks, 4 when only
// character 5 is.
std::string baudRateBeforeBlanks(std::string_view baud) {
    if (baud.size() == 5 && baud[3] == ' ' && baud[4] == ' ') return std::string(baud.substr(0, 3));
    if (baud.size() == 5 && baud[4] == ' ') return std::string(baud.substr(0, 4));
    return std::string(baud);
}

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang 14, the fuzz build).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

std::string fieldText(field::Format format, int width, std::string_view value) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    if (format == field::Format::TwoDigits) return padLeft(value, w, '0').substr(0, w);
    return padRightToWidth(value, w);
}

SettingsString SettingsString::settingsProgramTemplate() { return SettingsString(buildTemplate()); }

SettingsString SettingsString::navigatorTemplate() {
    return SettingsString(buildTemplate().substr(0, kNavigatorLength));
}

std::string_view SettingsString::read(int pos, int width) const {
    if (pos < 1 || width <= 0) return {};
    auto start = static_cast<std::size_t>(pos - 1);
    if (start >= bytes_.size()) return {};
    return std::string_view(bytes_).substr(start, static_cast<std::size_t>(width));
}

void SettingsString::writeRaw(int pos, int width, std::string_view text) {
    if (pos < 1 || width <= 0) return;
    std::string padded = padRightToWidth(text, static_cast<std::size_t>(width));
    for (int i = 0; i < width; ++i) {
        auto at = static_cast<std::size_t>(pos - 1 + i);
        if (at >= bytes_.size()) break;
        bytes_[at] = padded[static_cast<std::size_t>(i)];
    }
}

void SettingsString::writeValue(field::Field f, std::string_view value) {
    writeRaw(f.pos, f.width, fieldText(f.format, f.width, value));
}

void SettingsString::writeNumber(field::Field f, long long value) { writeValue(f, integerText(value)); }

void SettingsString::writeChar(field::Field f, char c) { writeRaw(f.pos, 1, std::string_view(&c, 1)); }

void SettingsString::writeTwoDigits(field::Field f, int value) {
    writeRaw(f.pos, f.width, fieldText(field::Format::TwoDigits, f.width, integerText(value)));
}

void SettingsString::writeHourOffset(int hours) { writeNumber(field::HourOffset, hours); }

void SettingsString::writeLeftAligned(field::Field f, std::string_view text) { writeRaw(f.pos, f.width, text); }

NavigatorSettings decodeForNavigator(const SettingsString& s) {
    NavigatorSettings n;
    for (const field::Field& f : field::all) {
        const std::string_view text = s.read(f);
        std::visit(Overloaded{
                       [](std::monostate) {},
                       [&](char NavigatorSettings::*m) { n.*m = text.empty() ? ' ' : text[0]; },
                       [&](int NavigatorSettings::*m) {
                           n.*m = f.format == field::Format::Correction ? roundToInt32Clamped(2.0 * numericValue(text))
                                                                        : intValue(text);
                       },
                       [&](std::string NavigatorSettings::*m) {
                           n.*m = std::string(f.format == field::Format::BaudRate ? trimBlanks(text) : text);
                       },
                   },
                   f.navigator);
    }
    return n;
}

SettingsProgramOptions decodeForSettingsProgram(const SettingsString& s) {
    SettingsProgramOptions o;
    for (const field::Field& f : field::all) {
        const std::string_view text = s.read(f);
        std::visit(Overloaded{
                       [](std::monostate) {},
                       [&](std::string SettingsProgramOptions::*m) {
                           o.*m = f.format == field::Format::BaudRate ? baudRateBeforeBlanks(text) : std::string(text);
                       },
                       [&](int SettingsProgramOptions::*m) { o.*m = intValue(text); },
                   },
                   f.settingsProgram);
    }
    // The hour offset is kept both as stored and as its value.
    o.hourOffset = intValue(o.hourOffsetText);
    return o;
}

std::string settingsFileDosPath(char drive) { return std::string(1, drive) + ":\\WINDOWS\\VELKAR.DLL"; }

std::optional<char> locateSettingsFile(const DosPaths& paths) {
    for (char d : {'C', 'D'}) {
        std::error_code ec;
        const fs::file_status st = fs::status(paths.toNative(settingsFileDosPath(d)), ec);
        if (fs::exists(st) && !fs::is_directory(st)) return d;
    }
    return std::nullopt;
}

LoadResult loadSettings(const DosPaths& paths, char drive, SettingsString& s, int* error) {
    int why = 0;
    const std::optional<std::string> bytes =
        readRegularFile(paths.toNative(settingsFileDosPath(drive)), &why, static_cast<std::size_t>(s.length()));
    if (error) *error = why;
    if (!bytes) return why == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    s.writeRaw(1, static_cast<int>(bytes->size()), *bytes);
    return LoadResult::Loaded;
}

SaveResult saveSettings(const DosPaths& paths, char drive, const SettingsString& s) {
    SaveResult r;
    fs::path file = paths.toNative(settingsFileDosPath(drive));
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);

    // Keep whatever an existing file holds past the string's end.
    std::string content = s.bytes();
    if (std::optional<std::string> previous = readRegularFile(file))
        if (previous->size() > content.size()) content += previous->substr(content.size());

    // A fresh file under a unique name, renamed over the old one (or over a
    // link planted in its place, never through it).
    if (const int error = replaceFile(file, content)) {
        r.errorNumber = error;
        r.error = "cannot write " + file.string() + ": " +
                  (error == kNotAFile ? "it is not a file" : std::generic_category().message(error));
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace tarvok
