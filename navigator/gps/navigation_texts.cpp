#include "navigator/gps/navigation_texts.h"

#include "common/text.h"

namespace tarvok::gps {

const char* navigationStatusText(NavigationStatus status, Language language) {
    switch (status) {
    case NavigationStatus::Active: return inLanguage(language, " NAVIGATIE ACTIEF ", " NAVIGATION ACTIVE ");
    case NavigationStatus::RouteNotSaved: return inLanguage(language, " ROUTE NIET BEWAARD!", " ROUTE NOT SAVED!");
    case NavigationStatus::ActiveRouteNotSaved:
        return inLanguage(language, " NAVIGATIE ACTIEF - ROUTE NIET BEWAARD! ",
                          " NAVIGATION ACTIVE - ROUTE NOT SAVED! ");
    case NavigationStatus::NoData: return inLanguage(language, " GEEN GPS-GEGEVENS ", " NO GPS DATA ");
    }
    return "";
}

std::string fixStatusText(const FixStatus& status, Language language) {
    if (!status.known) return {};
    if (!status.fix) return inLanguage(language, "GEEN FIX", "NO FIX");
    // The kind of correction GGA reports, where it is more than plain GPS.
    const char* correction = status.quality == 2                          ? "DGPS"
                             : status.quality == 4 || status.quality == 5 ? "RTK"
                             : status.quality == 6                        ? "DR"
                                                                          : nullptr;
    std::string text;
    if (status.dimension > 0) text = integerText(status.dimension) + "D";
    if (correction) text += (text.empty() ? "" : " ") + std::string(correction);
    if (text.empty()) text = "GPS";
    if (status.satellites >= 0) text += " " + integerText(status.satellites) + " sat";
    return text;
}

namespace {

// A message with one or two inserted values: the fixed parts around them.
struct MessageParts {
    const char* before;
    const char* between;
    const char* after;
};

struct BilingualMessage {
    MessageParts dutch, english;
};

constexpr BilingualMessage kUnusablePortSettings{{"de poortinstellingen \"", "\" (poort ", ") zijn niet bruikbaar"},
                                                 {"the port settings \"", "\" (port ", ") cannot be used"}};
constexpr BilingualMessage kPortNotOpened{{"De GPS-poort ", " kan niet worden geopend:\r\n", ""},
                                          {"The GPS port ", " cannot be opened:\r\n", ""}};
constexpr BilingualMessage kConnectionLost{{"De verbinding met de GPS-ontvanger op ", " is verbroken:\r\n", ""},
                                           {"The connection to the GPS receiver on ", " was lost:\r\n", ""}};
constexpr BilingualMessage kRouteNotSaved{{"De gereden route kan niet worden bewaard:\r\n", "", ""},
                                          {"The route driven cannot be saved:\r\n", "", ""}};

std::string filledIn(const BilingualMessage& message, Language language, std::string_view first,
                     std::string_view second = {}) {
    const MessageParts& parts = inLanguage(language, message.dutch, message.english);
    std::string text = parts.before;
    text += first;
    text += parts.between;
    text += second;
    text += parts.after;
    return text;
}

}  // namespace

std::string unusablePortSettingsText(Language language, std::string_view lineText, char port) {
    return filledIn(kUnusablePortSettings, language, lineText, std::string_view(&port, 1));
}

std::string portNotOpenedText(Language language, std::string_view where, std::string_view reason) {
    return filledIn(kPortNotOpened, language, where, reason);
}

std::string connectionLostText(Language language, std::string_view where, std::string_view reason) {
    return filledIn(kConnectionLost, language, where, reason);
}

std::string routeNotSavedText(Language language, std::string_view reason) {
    return filledIn(kRouteNotSaved, language, reason);
}

}  // namespace tarvok::gps
