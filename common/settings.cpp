#include "settings.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "common/text.h"
#include "platform/dos_path.h"

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
                           n.*m = f.format == field::Format::Correction
                                      ? roundToInt32Clamped(2.0 * numericValue(text))
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

std::string settingsFileDosPath(char drive) {
    return std::string(1, drive) + ":\\WINDOWS\\VELKAR.DLL";
}

std::optional<char> locateSettingsFile(const DosPaths& paths) {
    for (char d : {'C', 'D'}) {
        std::error_code ec;
        if (fs::is_regular_file(paths.toNative(settingsFileDosPath(d)), ec)) return d;
    }
    return std::nullopt;
}

LoadResult loadSettings(const DosPaths& paths, char drive, SettingsString& s) {
    fs::path file = paths.toNative(settingsFileDosPath(drive));
    std::error_code ec;
    if (!fs::exists(file, ec)) return LoadResult::Missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) return LoadResult::Unreadable;
    std::string bytes(s.length(), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return LoadResult::Unreadable;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    s.writeRaw(1, static_cast<int>(bytes.size()), bytes);
    return LoadResult::Loaded;
}

SaveResult saveSettings(const DosPaths& paths, char drive, const SettingsString& s) {
    SaveResult r;
    fs::path file = paths.toNative(settingsFileDosPath(drive));
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);

    // Keep whatever an existing file holds past the string's end.
    std::string content = s.bytes();
    {
        std::ifstream old(file, std::ios::binary);
        if (old) {
            std::string previous((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
            if (previous.size() > content.size()) content += previous.substr(content.size());
        }
    }

    fs::path tmp = file;
    tmp += ".tmp";
    // A fresh file, never one a stale link points to.
    ::unlink(tmp.c_str());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        r.errorNumber = errno;
        r.error = "cannot create " + tmp.string() + ": " + std::generic_category().message(r.errorNumber);
        return r;
    }
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            r.errorNumber = errno;
            r.error = "cannot write " + tmp.string() + ": " + std::generic_category().message(r.errorNumber);
            ::close(fd);
            ::unlink(tmp.c_str());
            return r;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    bool synced = ::fsync(fd) == 0;
    bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        r.errorNumber = errno;
        r.error = "cannot write " + tmp.string() + ": " + std::generic_category().message(r.errorNumber);
        ::unlink(tmp.c_str());
        return r;
    }
    if (::rename(tmp.c_str(), file.c_str()) != 0) {
        r.errorNumber = errno;
        r.error = "cannot replace " + file.string() + ": " + std::generic_category().message(r.errorNumber);
        ::unlink(tmp.c_str());
        return r;
    }
    r.ok = true;
    return r;
}

}  // namespace tarvok
