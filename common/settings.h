// The settings string and the settings file shared by the navigator and the
// settings program.
//
// The string is a fixed-layout byte sequence addressed by 1-based position;
// every option owns a fixed position and width. The settings program holds
// 145 characters, the navigator 121 (it only looks at the first 121 bytes of
// the file). The file is "<drive>:\WINDOWS\VELKAR.DLL" and holds exactly the
// string's bytes, with no header and no terminator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarvok {

class DosPaths;

inline constexpr std::size_t kSettingsProgramLength = 145;
inline constexpr std::size_t kNavigatorLength = 121;

// The navigator's run-time copies of the options.
struct NavigatorSettings {
    char language = '1';
    char autoMapSearch = '0';
    char speedUnit = '1';
    char mapDatum = '1';
    char panelSide = '1';
    char colourScheme = '0';
    char recordRoute = '0';
    char gpsPort = '1';
    char routeSource = '0';
    char soundOn = '1';
    char speakSpeed = '0';
    char speakCourse = '0';
    char speakPosition = '0';
    char speakWarnings = '0';
    char speakUnit = '0';
    char speakDegreesWord = '0';
    char speakPositionWord = '0';
    char speakCompass = '0';
    char whereAmI = '0';
    char nearestDirection = '0';
    char nearestDistance = '0';
    char showXY = '0';
    int playbackSpeed = 0;          // field 33 as an integer
    std::string hourOffset = "0 ";  // field 36 as stored
    int crossSize = 0;              // field 51
    std::string baudRate = "4800";  // field 60 without surrounding blanks
    char parity = '1';
    char dataBits = '8';
    std::int32_t correctionX = 0;  // twice field 80
    std::int32_t correctionY = 0;  // twice field 85
    int reportInterval = 0;        // field 95
    int placeNameCount = 0;        // field 97
};

// The settings program's option values.
struct SettingsProgramOptions {
    std::string language, autoMapSearch, speedUnit, mapDatum, closeWindows, panelSide, keyboardSize, menuStyle,
        colourScheme, recordRoute, gpsPort, routeSource, parity, dataBits, soundOn, speakSpeed, speakCourse,
        speakPosition, speakWarnings, speakUnit, speakDegreesWord, speakPositionWord, speakCompass, mapProduct,
        whereAmI, nearestDirection, nearestDistance, showXY;
    int playbackSpeed = 0;       // field 33
    int speechSpeed = 0;         // field 75
    std::string hourOffsetText;  // field 36 as stored
    int hourOffset = 0;          //   and its value
    std::string baudRate;        // field 60 without its trailing blanks
    int correctionX = 0;         // field 80
    int correctionY = 0;         // field 85
    int crossSize = 0;           // field 51 (slider value)
    int reportInterval = 0;      // field 95 (slider value)
    int placeNameCount = 0;      // field 97 (slider value)
};

// The table of option fields: for every field its position and width, how
// its value is written, its value in the built-in template, and where each
// program keeps its run-time copy. The templates, both decodes and the
// settings program's field writes all go through this one table.
namespace field {

// How a value is written into a field's characters.
enum class Format {
    Code,        // one character from the field's list of codes ("0"/"1", "1".."4")
    Digit,       // one decimal digit (a slider value)
    TwoDigits,   // a number as two digits with a leading "0": "07", "15"
    HourOffset,  // hours 0..23 left-aligned, padded with a blank: "5 ", "12"
    BaudRate,    // the rate left-aligned, padded with blanks: "4800 ", "300  "
    Correction,  // a signed number left-aligned, padded with blanks: "-15  "
};

// The navigator's copy of a field: a character as stored; an integer (twice
// the value for a correction); a text (as stored, the baud rate without its
// blanks); or none.
using NavigatorCopy =
    std::variant<std::monostate, char NavigatorSettings::*, int NavigatorSettings::*, std::string NavigatorSettings::*>;
// The settings program's copy: a text (the baud rate without its trailing
// blanks) or an integer value.
using SettingsProgramCopy =
    std::variant<std::monostate, std::string SettingsProgramOptions::*, int SettingsProgramOptions::*>;

struct Field {
    int pos;
    int width;
    Format format = Format::Code;
    std::string_view templateValue = "0";
    NavigatorCopy navigator = {};
    SettingsProgramCopy settingsProgram = {};
};

using N = NavigatorSettings;
using S = SettingsProgramOptions;
// clang-format off
//                                   pos width  format              template navigator copy          settings program copy
inline constexpr Field Language         { 5, 1, Format::Code,       "1",    &N::language,          &S::language};
inline constexpr Field AutoMapSearch    { 6, 1, Format::Code,       "1",    &N::autoMapSearch,     &S::autoMapSearch};
inline constexpr Field SpeedUnit        {10, 1, Format::Code,       "1",    &N::speedUnit,         &S::speedUnit};
inline constexpr Field MapDatum         {15, 1, Format::Code,       "1",    &N::mapDatum,          &S::mapDatum};
inline constexpr Field CloseWindows     {20, 1, Format::Code,       "0",    {},                    &S::closeWindows};
inline constexpr Field PanelSide        {22, 1, Format::Code,       "1",    &N::panelSide,         &S::panelSide};
inline constexpr Field KeyboardSize     {31, 1, Format::Code,       "1",    {},                    &S::keyboardSize};
inline constexpr Field MenuStyle        {32, 1, Format::Code,       "1",    {},                    &S::menuStyle};
inline constexpr Field PlaybackSpeed    {33, 1, Format::Digit,      "5",    &N::playbackSpeed,     &S::playbackSpeed};
inline constexpr Field ColourScheme     {35, 1, Format::Code,       "0",    &N::colourScheme,      &S::colourScheme};
inline constexpr Field HourOffset       {36, 2, Format::HourOffset, "0",    &N::hourOffset,        &S::hourOffsetText};
inline constexpr Field RecordRoute      {38, 1, Format::Code,       "1",    &N::recordRoute,       &S::recordRoute};
inline constexpr Field GpsPort          {40, 1, Format::Code,       "1",    &N::gpsPort,           &S::gpsPort};
inline constexpr Field RouteSource      {42, 1, Format::Code,       "0",    &N::routeSource,       &S::routeSource};
inline constexpr Field CrossSize        {51, 2, Format::TwoDigits,  "10",   &N::crossSize,         &S::crossSize};
inline constexpr Field BaudRate         {60, 5, Format::BaudRate,   "4800", &N::baudRate,          &S::baudRate};
inline constexpr Field Parity           {66, 1, Format::Code,       "1",    &N::parity,            &S::parity};
inline constexpr Field DataBits         {69, 1, Format::Code,       "8",    &N::dataBits,          &S::dataBits};
inline constexpr Field SoundOn          {70, 1, Format::Code,       "1",    &N::soundOn,           &S::soundOn};
inline constexpr Field SpeakSpeed       {71, 1, Format::Code,       "1",    &N::speakSpeed,        &S::speakSpeed};
inline constexpr Field SpeakCourse      {72, 1, Format::Code,       "1",    &N::speakCourse,       &S::speakCourse};
inline constexpr Field SpeakPosition    {73, 1, Format::Code,       "1",    &N::speakPosition,     &S::speakPosition};
inline constexpr Field SpeakWarnings    {74, 1, Format::Code,       "1",    &N::speakWarnings,     &S::speakWarnings};
inline constexpr Field SpeechSpeed      {75, 1, Format::Digit,      "5",    {},                    &S::speechSpeed};
inline constexpr Field SpeakUnit        {76, 1, Format::Code,       "1",    &N::speakUnit,         &S::speakUnit};
inline constexpr Field SpeakDegreesWord {77, 1, Format::Code,       "1",    &N::speakDegreesWord,  &S::speakDegreesWord};
inline constexpr Field SpeakPositionWord{78, 1, Format::Code,       "1",    &N::speakPositionWord, &S::speakPositionWord};
inline constexpr Field SpeakCompass     {79, 1, Format::Code,       "1",    &N::speakCompass,      &S::speakCompass};
inline constexpr Field CorrectionX      {80, 5, Format::Correction, "0",    &N::correctionX,       &S::correctionX};
inline constexpr Field CorrectionY      {85, 5, Format::Correction, "0",    &N::correctionY,       &S::correctionY};
inline constexpr Field MapProduct       {90, 1, Format::Code,       "1",    {},                    &S::mapProduct};
inline constexpr Field WhereAmI         {91, 1, Format::Code,       "1",    &N::whereAmI,          &S::whereAmI};
inline constexpr Field NearestDirection {92, 1, Format::Code,       "1",    &N::nearestDirection,  &S::nearestDirection};
inline constexpr Field NearestDistance  {93, 1, Format::Code,       "1",    &N::nearestDistance,   &S::nearestDistance};
inline constexpr Field ReportInterval   {95, 2, Format::TwoDigits,  "5",    &N::reportInterval,    &S::reportInterval};
inline constexpr Field PlaceNameCount   {97, 2, Format::TwoDigits,  "5",    &N::placeNameCount,    &S::placeNameCount};
inline constexpr Field ShowXY           {99, 1, Format::Code,       "0",    &N::showXY,            &S::showXY};

// Every field, by position.
inline constexpr Field all[] = {
    Language,      AutoMapSearch, SpeedUnit,        MapDatum,          CloseWindows,   PanelSide,
    KeyboardSize,  MenuStyle,     PlaybackSpeed,    ColourScheme,      HourOffset,     RecordRoute,
    GpsPort,       RouteSource,   CrossSize,        BaudRate,          Parity,         DataBits,
    SoundOn,       SpeakSpeed,    SpeakCourse,      SpeakPosition,     SpeakWarnings,  SpeechSpeed,
    SpeakUnit,     SpeakDegreesWord, SpeakPositionWord, SpeakCompass,  CorrectionX,    CorrectionY,
    MapProduct,    WhereAmI,      NearestDirection, NearestDistance,   ReportInterval, PlaceNameCount,
    ShowXY,
};
// clang-format on

// Fields follow one another without overlapping, and all lie where both
// programs' strings hold them.
constexpr bool fieldsInOrder() {
    int end = 1;
    for (const Field& f : all) {
        if (f.pos < end || f.width < 1) return false;
        end = f.pos + f.width;
    }
    return end - 1 <= 99;
}
static_assert(fieldsInOrder());

}  // namespace field

// The characters that hold `value` in a field of the format and width:
// two-digit fields get a leading "0", every other value is left-aligned and
// padded with blanks; a longer value is cut to the width.
std::string fieldText(field::Format format, int width, std::string_view value);

// A settings string of fixed length. It is never resized: fields are
// replaced in place and every other character stays as it was.
class SettingsString {
public:
    explicit SettingsString(std::string bytes) : bytes_(std::move(bytes)) {}

    // The built-in strings used when no settings file exists: reserved
    // positions hold "0", every option the template value of its field.
    static SettingsString settingsProgramTemplate();
    static SettingsString navigatorTemplate();

    std::size_t length() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

    // The characters of a field (1-based position). Positions beyond the
    // string read as nothing.
    std::string_view read(int pos, int width) const;
    std::string_view read(field::Field f) const { return read(f.pos, f.width); }

    // Replaces the field's characters with `text` cut or padded with blanks
    // to the field's width; nothing outside the field changes.
    void writeRaw(int pos, int width, std::string_view text);

    // Writes a value in the field's own format (fieldText).
    void writeValue(field::Field f, std::string_view value);
    void writeNumber(field::Field f, long long value);

    // The settings program's formatting rules by name:
    void writeChar(field::Field f, char c);                        // one-character fields
    void writeTwoDigits(field::Field f, int value);                // slider fields: "07", "15"
    void writeHourOffset(int hours);                               // field 36: "5 ", "12"
    void writeLeftAligned(field::Field f, std::string_view text);  // fields 60, 80, 85

private:
    std::string bytes_;
};

NavigatorSettings decodeForNavigator(const SettingsString& s);

SettingsProgramOptions decodeForSettingsProgram(const SettingsString& s);

// The settings file on a drive, as a DOS path: "C:\WINDOWS\VELKAR.DLL".
std::string settingsFileDosPath(char drive);

// 'C' when the file exists on C, else 'D' when it exists on D, else empty.
// A folder of that name does not count; anything else does, so that a file
// that cannot be read (no permission, a pipe) is reported as such by the
// load, not as missing.
std::optional<char> locateSettingsFile(const DosPaths& paths);

enum class LoadResult { Loaded, Missing, Unreadable };

// Replaces the string's characters with the file's first bytes (as many as
// the string is long). A file shorter than the string replaces only as many
// characters as it has; the rest keep their current content. When the file
// is missing or cannot be read the string is left unchanged; `error` (when
// given) then holds the reason, an errno value or kNotAFile.
LoadResult loadSettings(const DosPaths& paths, char drive, SettingsString& s, int* error = nullptr);

struct SaveResult {
    bool ok = false;
    std::string error;    // what went wrong, for the user
    int errorNumber = 0;  // the system's error number of the failure (errno), or kNotAFile
};

// Writes the whole string over the first bytes of the settings file (the
// file is created when absent; bytes past the string's end of an existing
// longer file are kept). The new content goes to a temporary file that is
// flushed and renamed over the old one, so a crash or a full disk never
// leaves a truncated settings file.
SaveResult saveSettings(const DosPaths& paths, char drive, const SettingsString& s);

}  // namespace tarvok
