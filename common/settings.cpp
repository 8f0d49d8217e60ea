#include "settings.h"

#include <cerrno>
#include <cstdio>
#include <initializer_list>
#include <utility>
#include <system_error>

#include "common/text.h"
#include "platform/dos_path.h"
#include "platform/regular_file.h"

namespace fs = std::filesystem;

namespace tarvok {

namespace {

// Reserved positions hold '0'; every option holds a valid value: English,
// km/h, sound and every spoken item on, route recording on, COM1 at
// 4800 baud with parity flag 1 and 8 data bits.
std::string buildTemplate() {
    std::string s(kSettingsProgramLength, '0');
    SettingsString t(s);
    using namespace field;
    for (auto [f, c] : std::initializer_list<std::pair<Field, char>>{{Language, '1'}, {AutoMapSearch, '1'}, {SpeedUnit, '1'},
                        {MapDatum, '1'}, {CloseWindows, '0'}, {PanelSide, '1'},
                        {KeyboardSize, '1'}, {MenuStyle, '1'}, {PlaybackSpeed, '5'},
                        {ColourScheme, '0'}, {RecordRoute, '1'}, {GpsPort, '1'},
                        {RouteSource, '0'}, {Parity, '1'}, {DataBits, '8'}, {SoundOn, '1'},
                        {SpeakSpeed, '1'}, {SpeakCourse, '1'}, {SpeakPosition, '1'},
                        {SpeakWarnings, '1'}, {SpeechSpeed, '5'}, {SpeakUnit, '1'},
                        {SpeakDegreesWord, '1'}, {SpeakPositionWord, '1'}, {SpeakCompass, '1'},
                        {MapProduct, '1'}, {WhereAmI, '1'}, {NearestDirection, '1'},
                        {NearestDistance, '1'}, {ShowXY, '0'}})
        t.writeChar(f, c);
    t.writeHourOffset(0);
    t.writeTwoDigits(CrossSize, 10);
    t.writeLeftAligned(BaudRate, "4800");
    t.writeLeftAligned(CorrectionX, "0");
    t.writeLeftAligned(CorrectionY, "0");
    t.writeTwoDigits(ReportInterval, 5);
    t.writeTwoDigits(PlaceNameCount, 5);
    return t.bytes();
}

char charAt(const SettingsString& s, field::Field f) {
    std::string_view v = s.read(f);
    return v.empty() ? ' ' : v[0];
}

int intValue(std::string_view text) { return roundToInt32(numericValue(text)).value_or(0); }

}  // namespace

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

void SettingsString::writeChar(field::Field f, char c) { writeRaw(f.pos, 1, std::string_view(&c, 1)); }

void SettingsString::writeTwoDigits(field::Field f, int value) {
    writeRaw(f.pos, f.width, padLeft(integerText(value), 2, '0'));
}

void SettingsString::writeHourOffset(int hours) {
    writeRaw(field::HourOffset.pos, field::HourOffset.width, integerText(hours));
}

void SettingsString::writeLeftAligned(field::Field f, std::string_view text) {
    writeRaw(f.pos, f.width, text);
}

NavigatorSettings decodeForNavigator(const SettingsString& s) {
    using namespace field;
    NavigatorSettings n;
    n.language = charAt(s, Language);
    n.autoMapSearch = charAt(s, AutoMapSearch);
    n.speedUnit = charAt(s, SpeedUnit);
    n.mapDatum = charAt(s, MapDatum);
    n.panelSide = charAt(s, PanelSide);
    n.colourScheme = charAt(s, ColourScheme);
    n.recordRoute = charAt(s, RecordRoute);
    n.gpsPort = charAt(s, GpsPort);
    n.routeSource = charAt(s, RouteSource);
    n.soundOn = charAt(s, SoundOn);
    n.speakSpeed = charAt(s, SpeakSpeed);
    n.speakCourse = charAt(s, SpeakCourse);
    n.speakPosition = charAt(s, SpeakPosition);
    n.speakWarnings = charAt(s, SpeakWarnings);
    n.speakUnit = charAt(s, SpeakUnit);
    n.speakDegreesWord = charAt(s, SpeakDegreesWord);
    n.speakPositionWord = charAt(s, SpeakPositionWord);
    n.speakCompass = charAt(s, SpeakCompass);
    n.whereAmI = charAt(s, WhereAmI);
    n.nearestDirection = charAt(s, NearestDirection);
    n.nearestDistance = charAt(s, NearestDistance);
    n.showXY = charAt(s, ShowXY);
    n.playbackSpeed = intValue(s.read(PlaybackSpeed));
    n.hourOffset = std::string(s.read(HourOffset));
    n.crossSize = intValue(s.read(CrossSize));
    n.baudRate = std::string(trimBlanks(s.read(BaudRate)));
    n.parity = charAt(s, Parity);
    n.dataBits = charAt(s, DataBits);
    n.correctionX = roundToInt32Clamped(2.0 * numericValue(s.read(CorrectionX)));
    n.correctionY = roundToInt32Clamped(2.0 * numericValue(s.read(CorrectionY)));
    n.reportInterval = intValue(s.read(ReportInterval));
    n.placeNameCount = intValue(s.read(PlaceNameCount));
    return n;
}

SettingsProgramOptions decodeForSettingsProgram(const SettingsString& s) {
    using namespace field;
    SettingsProgramOptions o;
    auto text = [&](field::Field f) { return std::string(s.read(f)); };
    o.language = text(Language);
    o.autoMapSearch = text(AutoMapSearch);
    o.speedUnit = text(SpeedUnit);
    o.mapDatum = text(MapDatum);
    o.closeWindows = text(CloseWindows);
    o.panelSide = text(PanelSide);
    o.keyboardSize = text(KeyboardSize);
    o.menuStyle = text(MenuStyle);
    o.colourScheme = text(ColourScheme);
    o.recordRoute = text(RecordRoute);
    o.gpsPort = text(GpsPort);
    o.routeSource = text(RouteSource);
    o.parity = text(Parity);
    o.dataBits = text(DataBits);
    o.soundOn = text(SoundOn);
    o.speakSpeed = text(SpeakSpeed);
    o.speakCourse = text(SpeakCourse);
    o.speakPosition = text(SpeakPosition);
    o.speakWarnings = text(SpeakWarnings);
    o.speakUnit = text(SpeakUnit);
    o.speakDegreesWord = text(SpeakDegreesWord);
    o.speakPositionWord = text(SpeakPositionWord);
    o.speakCompass = text(SpeakCompass);
    o.mapProduct = text(MapProduct);
    o.whereAmI = text(WhereAmI);
    o.nearestDirection = text(NearestDirection);
    o.nearestDistance = text(NearestDistance);
    o.showXY = text(ShowXY);
    o.playbackSpeed = intValue(s.read(PlaybackSpeed));
    o.speechSpeed = intValue(s.read(SpeechSpeed));
    o.hourOffsetText = text(HourOffset);
    o.hourOffset = intValue(o.hourOffsetText);
    // The baud field keeps only the characters before its trailing blanks:
    // 3 when characters 4 and 5 are blanks, 4 when only character 5 is.
    std::string baud = text(BaudRate);
    if (baud.size() == 5 && baud[3] == ' ' && baud[4] == ' ') baud.resize(3);
    else if (baud.size() == 5 && baud[4] == ' ') baud.resize(4);
    o.baudRate = baud;
    o.correctionX = intValue(s.read(CorrectionX));
    o.correctionY = intValue(s.read(CorrectionY));
    o.crossSize = intValue(s.read(CrossSize));
    o.reportInterval = intValue(s.read(ReportInterval));
    o.placeNameCount = intValue(s.read(PlaceNameCount));
    return o;
}

std::string settingsFileDosPath(char drive) {
    return std::string(1, drive) + ":\\WINDOWS\\VELKAR.DLL";
}

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
        r.error = "cannot write " + file.string() + ": " + (error == kNotAFile ? "it is not a file"
                                                                                 : std::generic_category().message(error));
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace tarvok
