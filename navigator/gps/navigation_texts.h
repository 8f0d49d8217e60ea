// The Dutch and English texts of the navigation loop: its status-line texts
// and the reasons it gives when the GPS port or the route file fails.
// Windows-1252 text.
#pragma once

#include <string>
#include <string_view>

#include "common/language.h"
#include "navigator/gps/nmea_sentence.h"

namespace tarvok::gps {

enum class NavigationStatus {
    Active,               // the loop runs
    RouteNotSaved,        // a block of route points could not be written
    ActiveRouteNotSaved,  // the loop runs while positions wait for that block
    NoData,               // the port is open but no sentence has come for a while
};

const char* navigationStatusText(NavigationStatus status, Language language);

// The port fields of the settings ("4800n81") do not make a line setting,
// or the port number is not a number from 1 up.
std::string unusablePortSettingsText(Language language, std::string_view lineText, char port);

// The GPS port ("COM1" or "COM1 (/dev/ttyUSB0)") failed to open, or the
// receiver's connection broke after it opened; reason is the system's text.
std::string portNotOpenedText(Language language, std::string_view where, std::string_view reason);
std::string connectionLostText(Language language, std::string_view where, std::string_view reason);

// The receiver's fix for the instrument panel: "3D 9 sat", "2D DGPS 5 sat",
// "GPS 7 sat" (no GSA), "NO FIX" / "GEEN FIX"; empty while nothing is known.
std::string fixStatusText(const FixStatus& status, Language language);

// The route file refused a block of route points; reason says why.
std::string routeNotSavedText(Language language, std::string_view reason);

}  // namespace tarvok::gps
