// The settings file as both programs read it: its bytes laid over the
// built-in string (a short file replaces only its own length), and any
// string length decoded directly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/settings.h"
#include "common/text.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);

    // What loadSettings leaves: the file's first bytes over the template.
    for (SettingsString s : {SettingsString::navigatorTemplate(), SettingsString::settingsProgramTemplate()}) {
        std::string laid = s.bytes();
        laid.replace(0, std::min(bytes.size(), laid.size()), bytes.substr(0, laid.size()));
        SettingsString loaded(laid);
        NavigatorSettings n = decodeForNavigator(loaded);
        SettingsProgramOptions o = decodeForSettingsProgram(loaded);
        // The settings program writes its values back; the string keeps its length.
        loaded.writeTwoDigits(field::CrossSize, o.crossSize);
        loaded.writeHourOffset(o.hourOffset);
        loaded.writeLeftAligned(field::BaudRate, o.baudRate);
        loaded.writeLeftAligned(field::CorrectionX, integerText(o.correctionX));
        if (loaded.length() != laid.size()) __builtin_trap();
        (void)n;
    }

    // A string of whatever length the file had.
    SettingsString raw(bytes);
    (void)decodeForNavigator(raw);
    (void)decodeForSettingsProgram(raw);
    return 0;
}
