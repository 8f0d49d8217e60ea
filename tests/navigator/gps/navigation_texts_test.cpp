// The navigation loop's texts in both languages, values filled in where the
// fixed parts put them.
#include <gtest/gtest.h>

#include <string>

#include "navigator/gps/navigation_texts.h"

namespace tarvok::gps {
namespace {

struct TextRow {
    const char* what;
    std::string text;
    const char* expected;
};

TEST(NavigationTexts, EachTextInBothLanguages) {
    const Language nl = Language::Dutch, en = Language::English;
    const TextRow rows[] = {
        {"active nl", navigationStatusText(NavigationStatus::Active, nl), " NAVIGATIE ACTIEF "},
        {"active en", navigationStatusText(NavigationStatus::Active, en), " NAVIGATION ACTIVE "},
        {"not saved nl", navigationStatusText(NavigationStatus::RouteNotSaved, nl), " ROUTE NIET BEWAARD!"},
        {"not saved en", navigationStatusText(NavigationStatus::RouteNotSaved, en), " ROUTE NOT SAVED!"},
        {"active, not saved nl", navigationStatusText(NavigationStatus::ActiveRouteNotSaved, nl),
         " NAVIGATIE ACTIEF - ROUTE NIET BEWAARD! "},
        {"active, not saved en", navigationStatusText(NavigationStatus::ActiveRouteNotSaved, en),
         " NAVIGATION ACTIVE - ROUTE NOT SAVED! "},
        {"no data nl", navigationStatusText(NavigationStatus::NoData, nl), " GEEN GPS-GEGEVENS "},
        {"no data en", navigationStatusText(NavigationStatus::NoData, en), " NO GPS DATA "},
        {"port settings nl", unusablePortSettingsText(nl, "4800x81", '2'),
         "de poortinstellingen \"4800x81\" (poort 2) zijn niet bruikbaar"},
        {"port settings en", unusablePortSettingsText(en, "4800x81", '2'),
         "the port settings \"4800x81\" (port 2) cannot be used"},
        {"not opened nl", portNotOpenedText(nl, "COM1", "busy"), "De GPS-poort COM1 kan niet worden geopend:\r\nbusy"},
        {"not opened en", portNotOpenedText(en, "COM1", "busy"), "The GPS port COM1 cannot be opened:\r\nbusy"},
        {"lost nl", connectionLostText(nl, "COM3 (/dev/ttyS2)", "gone"),
         "De verbinding met de GPS-ontvanger op COM3 (/dev/ttyS2) is verbroken:\r\ngone"},
        {"lost en", connectionLostText(en, "COM3 (/dev/ttyS2)", "gone"),
         "The connection to the GPS receiver on COM3 (/dev/ttyS2) was lost:\r\ngone"},
        {"route nl", routeNotSavedText(nl, "disk full"), "De gereden route kan niet worden bewaard:\r\ndisk full"},
        {"route en", routeNotSavedText(en, "disk full"), "The route driven cannot be saved:\r\ndisk full"},
    };
    for (const TextRow& row : rows) EXPECT_EQ(row.text, row.expected) << row.what;
}

}  // namespace
}  // namespace tarvok::gps
