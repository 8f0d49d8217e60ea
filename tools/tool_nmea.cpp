// tarvok-tool nmea FILE|-: what the navigator shows for each RMC sentence a
// receiver sends, one tab-separated line per sentence: Tijds, Latid, NSText,
// Longi, EWText, Speed, Smode, Koers, Windr, Datum. The hour offset and the
// speed unit come from the settings file of the drive prefix, or the
// built-in defaults when there is none.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "common/settings.h"
#include "common/text.h"
#include "navigator/gps/motion_display.h"
#include "navigator/gps/reception.h"
#include "platform/dos_path.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"
#include "tools/tool_verbs.h"

namespace {

tarvok::gps::DisplaySettings displaySettings() {
    tarvok::DosPaths paths(tarvok::DosPaths::defaultPrefix());
    tarvok::SettingsString s = tarvok::SettingsString::navigatorTemplate();
    if (auto drive = tarvok::locateSettingsFile(paths)) tarvok::loadSettings(paths, *drive, s);
    tarvok::NavigatorSettings n = tarvok::decodeForNavigator(s);
    return {static_cast<int>(tarvok::numericValue(n.hourOffset)), n.speedUnit};
}

void printDisplay(const tarvok::gps::MotionDisplay& d) {
    const std::string* fields[] = {&d.tijds, &d.latid, &d.nsText, &d.longi, &d.ewText,
                                   &d.speed, &d.smode, &d.koers,  &d.windr, &d.datum};
    std::string line;
    for (const std::string* f : fields) {
        if (!line.empty()) line.push_back('\t');
        line += *f;
    }
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stdout);
}

int nmea(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarvok-tool nmea FILE|-\n");
        return 2;
    }
    // A file must be a file (a pipe is read through "-").
    tarvok::RegularFile file;
    if (args[0] != "-") {
        file = tarvok::RegularFile::openForReading(args[0]);
        if (!file) {
            std::fprintf(stderr, "tarvok-tool nmea: cannot open %s\n",
                         tarvok::fileErrorText(args[0], file.error()).c_str());
            return 1;
        }
    }
    const int in = file ? file.fd() : STDIN_FILENO;
    const tarvok::gps::DisplaySettings settings = displaySettings();
    tarvok::gps::NmeaReception reception;
    tarvok::gps::MotionDisplay display;
    char buf[4096];
    // The text is fed in the pieces a serial read would bring, through the
    // same line assembly; whatever follows the last line end is a line too.
    auto feed = [&](std::string_view chunk) {
        tarvok::gps::ReceivedSentences got = reception.receive(chunk, nullptr);
        for (const std::string& bad : got.rejected)
            std::fprintf(stderr, "checksum does not match, not shown: %s\n", bad.c_str());
        for (const tarvok::gps::RmcFields& f : got.fixes) {
            tarvok::gps::showRmc(f, settings, display);
            printDisplay(display);
        }
    };
    bool failed = false;
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        failed = n < 0;
        if (n <= 0) break;
        feed(std::string_view(buf, static_cast<std::size_t>(n)));
    }
    feed("\n");
    if (failed) {
        std::fprintf(stderr, "tarvok-tool nmea: read error on %s\n", args[0].c_str());
        return 1;
    }
    return 0;
}

tarvok::tool::VerbRegistration reg("nmea", "nmea FILE|-   show what the navigator makes of a receiver's NMEA", nmea);

}  // namespace
