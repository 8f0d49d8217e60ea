// Received characters from the GPS port, in reads of the sizes the first
// bytes give: line assembly, the reception log, the sentences and their
// fields, the position and motion display and what an announcement would
// speak of it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "navigator/gps/announcement.h"
#include "navigator/gps/motion_display.h"
#include "navigator/gps/reception.h"

using namespace tarvok::gps;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    DisplaySettings settings;
    settings.hourOffset = in.byte() % 24;
    settings.speedUnit = static_cast<char>('0' + in.byte() % 5);
    const std::uint8_t speech = in.byte();
    SpeechOptions options;
    options.speakSpeed = speech & 1;
    options.speakCourse = speech & 2;
    options.speakPosition = speech & 4;
    options.speakUnit = speech & 8;
    options.speakDegreesWord = speech & 16;
    options.speakPositionWord = speech & 32;
    options.speakCompass = speech & 64;
    const std::uint8_t seed = in.byte();

    NmeaReception reception;
    ReceptionLog log;
    log.open();
    MotionDisplay display;
    AnnouncementState state;
    std::size_t read = 1 + seed % 97;
    while (!in.empty()) {
        ReceivedSentences got = reception.receive(in.take(read), &log);
        for (const RmcFields& f : got.fixes) {
            showRmc(f, settings, display);
            (void)shownSpeedValue(display);
            SpokenTexts spoken{display.latid, display.longi, display.nsText, display.ewText,
                               display.speed, display.koers, display.windr};
            if (speakDecision(true, state, spoken) == SpeakDecision::Announce) {
                (void)announcementFragments(spoken, options);
                announcementStarted(state);
            }
            (void)spokenDecimals(display.latid);
        }
        if (log.text().size() > ReceptionLog::kMaxLength + 2 * LineAssembler::kMaxPartialLine + 200) __builtin_trap();
        read = 1 + (read * 31 + seed) % 211;
    }
    log.close();
    return 0;
}
