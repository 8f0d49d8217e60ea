#include "sounds/sound_table.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace tarvok::sounds {

namespace {

struct Text {
    const char* file;
    const char* dutch;
    const char* english;
};

// The navigator's status sounds and its announcement words.
constexpr Text kNavigatorSentences[] = {
    {"Welkom5.WAV", "Welkom bij Tarvok, de navigator voor uw eigen kaarten.",
     "Welcome to Tarvok, the navigator for your own maps."},
    {"Navig1.WAV", "De navigatie is gestart.", "Navigation has started."},
    {"Navig2.WAV", "De navigatie is gestopt.", "Navigation has stopped."},
    {"Route1.WAV", "De gereden route wordt afgespeeld.", "Playing back the driven route."},
    {"Route2.WAV", "Het afspelen van de route is gestopt.", "Route playback has stopped."},
    {"Totziens.WAV", "Dank u wel en tot ziens.", "Thank you, and goodbye."},
    {"Instel1.WAV", "Het instellingenprogramma wordt gestart.", "Starting the settings program."},
    {"RXfout1.WAV", "Ontvangstfout: geen geldige positie.", "Reception error: no valid position."},
    {"Mzoom0.WAV", "Hele kaart.", "Whole map."},
    {"Mzoom1.WAV", "Zoomniveau 1.", "Zoom level 1."},
    {"Mzoom2.WAV", "Zoomniveau 2.", "Zoom level 2."},
    {"Mzoom3.WAV", "Zoomniveau 3.", "Zoom level 3."},
    {"Mzoom4.WAV", "Zoomniveau 4.", "Zoom level 4."},
    {"Mzoom5.WAV", "Zoomniveau 5.", "Zoom level 5."},
};

constexpr Text kAnnouncementWords[] = {
    {"N.WAV", "noord", "north"},
    {"O.WAV", "oost", "east"},
    {"Z.WAV", "zuid", "south"},
    {"W.WAV", "west", "west"},
    {"Stilstan.WAV", "stilstand", "standing still"},
    {"Tehard.WAV", "te hard!", "too fast!"},
    {"kmh.WAV", "kilometer per uur", "kilometres per hour"},
    {"mph.WAV", "mijl per uur", "miles per hour"},
    {"kts.WAV", "knopen", "knots"},
    {"Koers.WAV", "koers", "course"},
    {"Graden.WAV", "graden", "degrees"},
    {"Positie.WAV", "positie", "position"},
    {"Komma.WAV", "komma", "point"},
};

// The settings program's prompts, its clock speech and its replies to
// voice commands.
constexpr Text kSettingsSentences[] = {
    // Greeting and map product.
    {"INstart1.WAV", "Welkom bij de instellingen van Tarvok.", "Welcome to the Tarvok settings."},
    {"INcdrom0.WAV", "Het gekozen kaartproduct is:", "The chosen map product is:"},
    {"INcdrom1.WAV", "Easy Travel.", "Easy Travel."},
    {"INcdrom2.WAV", "Easy Travel Pro.", "Easy Travel Pro."},
    {"INcdrom3.WAV", "Citydisk Europa.", "Citydisk Europe."},
    {"INcdrom4.WAV", "Citydisk Benelux.", "Citydisk Benelux."},
    {"INcdrom5.WAV", "Shell Stratengids 2 punt 0.", "Shell Stratengids 2 point 0."},
    {"INcdrom6.WAV", "ANWB Benelux Planner.", "A N W B Benelux Planner."},
    {"INcdrom7.WAV", "Uw eigen bitmap-kaarten.", "Your own bitmap maps."},
    // General page.
    {"INsnel1.WAV", "Snelheid in kilometer per uur.", "Speed in kilometres per hour."},
    {"INsnel2.WAV", "Snelheid in mijl per uur.", "Speed in miles per hour."},
    {"INsnel3.WAV", "Snelheid in knopen.", "Speed in knots."},
    {"INtaal1.WAV", "De taal is Nederlands.", "The language is Dutch."},
    {"INtaal2.WAV", "De taal is Engels.", "The language is English."},
    {"INslot1.WAV", "Windows wordt na gebruik niet afgesloten.", "Windows is not closed after use."},
    {"INslot2.WAV", "Windows wordt na gebruik direct afgesloten.", "Windows is shut down directly after use."},
    {"INslot3.WAV", "Na gebruik meldt Windows u af.", "After use, Windows logs you off."},
    {"INXcorr.WAV", "Horizontale schermcorrectie:", "Horizontal screen correction:"},
    {"INYcorr.WAV", "Verticale schermcorrectie:", "Vertical screen correction:"},
    {"INplus.WAV", "plus", "plus"},
    {"INmin2.WAV", "min", "minus"},
    {"INmeter.WAV", "beeldpunten.", "pixels."},
    // Ports page.
    {"INpoort.WAV", "Verbinding met de GPS-ontvanger. Baudsnelheid:", "Connection with the GPS receiver. Baud rate:"},
    {"IN300.WAV", "300 baud.", "300 baud."},
    {"IN600.WAV", "600 baud.", "600 baud."},
    {"IN1200.WAV", "1200 baud.", "1200 baud."},
    {"IN2400.WAV", "2400 baud.", "2400 baud."},
    {"IN4800.WAV", "4800 baud.", "4800 baud."},
    {"IN9600.WAV", "9600 baud.", "9600 baud."},
    {"IN14400.WAV", "14400 baud.", "14400 baud."},
    {"IN19200.WAV", "19200 baud.", "19200 baud."},
    {"IN28800.WAV", "28800 baud.", "28800 baud."},
    {"IN33600.WAV", "33600 baud.", "33600 baud."},
    {"INparit1.WAV", "Pariteit:", "Parity:"},
    {"INbits1.WAV", "Aantal databits:", "Data bits:"},
    {"INcompo.WAV", "Seriële poort:", "Serial port:"},
    {"INCOM-1.WAV", "com 1.", "com 1."},
    {"INCOM-2.WAV", "com 2.", "com 2."},
    {"INCOM-3.WAV", "com 3.", "com 3."},
    {"INCOM-4.WAV", "com 4.", "com 4."},
    // Maps page.
    {"INgardh1.WAV", "Routes uit de eigen routebestanden van Tarvok.", "Routes from Tarvok's own route file."},
    {"INgardh2.WAV", "Routes uit Garmin-bestanden.", "Routes from Garmin files."},
    {"INplek1.WAV", "De navigatie-informatie staat boven in het scherm.",
     "The navigation panel is at the top of the screen."},
    {"INplek2.WAV", "De navigatie-informatie staat rechts in het scherm.",
     "The navigation panel is at the right of the screen."},
    {"INplek3.WAV", "De navigatie-informatie staat onder in het scherm.",
     "The navigation panel is at the bottom of the screen."},
    {"INplek4.WAV", "De navigatie-informatie staat links in het scherm.",
     "The navigation panel is at the left of the screen."},
    {"INkruis1.WAV", "Grootte van het positiekruis:", "Size of the position cross:"},
    {"INRsav0.WAV", "Gereden routes worden niet bewaard.", "Driven routes are not saved."},
    {"INRsav1.WAV", "Gereden routes worden bewaard.", "Driven routes are saved."},
    // Sound page.
    {"INgelui0.WAV", "Het geluid staat uit.", "Sound is off."},
    {"INgelui1.WAV", "Het geluid staat aan.", "Sound is on."},
    {"INgelui2.WAV", "Tijdens de navigatie hoort u:", "During navigation you will hear:"},
    {"INsnel0.WAV", "de snelheid,", "the speed,"},
    {"INkoers.WAV", "de koers,", "the course,"},
    {"INgrad1.WAV", "het woord graden,", "the word degrees,"},
    {"INposit1.WAV", "de positie,", "the position,"},
    {"INposit2.WAV", "het woord positie,", "the word position,"},
    {"INwaars.WAV", "waarschuwingen,", "warnings,"},
    {"INwind1.WAV", "de windrichting.", "the compass point."},
    {"INwaar0.WAV", "De melding waar ben ik staat uit.", "The where am I report is off."},
    {"INwaar1.WAV", "De melding waar ben ik staat aan.", "The where am I report is on."},
    {"INinter1.WAV", "Elke", "Every"},
    {"INmin1.WAV", "minuten,", "minutes,"},
    {"INinzake.WAV", "met de", "with the"},
    {"INplaats.WAV", "dichtstbijzijnde plaatsen.", "nearest places."},
    {"INwaar3.WAV", "Met de richting", "With the bearing"},
    {"INwaar2.WAV", "en de afstand", "and the distance"},
    {"INwaar4.WAV", "tot die plaatsen.", "to those places."},
    {"INtoon1.WAV", "De X en Y coördinaten worden getoond.", "The X and Y pixel coordinates are shown."},
    // Miscellaneous page.
    {"INkeyb1.WAV", "Groot schermtoetsenbord.", "Large on-screen keyboard."},
    {"INkeyb2.WAV", "Klein schermtoetsenbord.", "Small on-screen keyboard."},
    {"INmenu1.WAV", "Kleine menuschermen.", "Small menu screens."},
    {"INmenu2.WAV", "Hoge menuschermen.", "High menu screens."},
    {"INmenu3.WAV", "Fraaie menuschermen.", "Nice menu screens."},
    {"INkleur1.WAV", "Dit scherm is in kleur.", "This screen is in colour."},
    {"INkleur0.WAV", "Dit scherm is zwart-wit.", "This screen is black and white."},
    // Voice commands.
    {"INwelkom.WAV", "Welkom. Zeg een opdracht, bijvoorbeeld algemeen, poorten of help.",
     "Welcome. Say a command, for example algemeen, poorten or help."},
    {"INzegwat.WAV", "Zeg maar wat.", "Say something."},
    {"INherha1.WAV", "Zeg het nog een keer.", "Please say it again."},
    {"INnaam1.WAV", "Mijn naam is Tarvok.", "My name is Tarvok."},
    {"INhelp02.WAV",
     "Zeg algemeen, poorten, kaarten, geluid of diversen voor een pagina. "
     "Zeg verander om een waarde te wijzigen, dan ja of nee. Zeg tijd, datum of stop.",
     "Say algemeen, poorten, kaarten, geluid or diversen for a page. "
     "Say verander to change a value, then ja or nee. Say tijd, datum or stop."},
    {"INeinde0.WAV", "De instellingen worden bewaard. Tot ziens.", "The settings are saved. Goodbye."},
    {"INeinde1.WAV", "Klaar met de algemene instellingen.", "The general settings are done."},
    {"INeinde2.WAV", "Klaar met de poorten.", "The port settings are done."},
    {"INeinde3.WAV", "Klaar met de kaarten.", "The map settings are done."},
    {"INeinde4.WAV", "Klaar met het geluid.", "The sound settings are done."},
    {"INeinde5.WAV", "Klaar met de diverse instellingen.", "The miscellaneous settings are done."},
    {"INeinde6.WAV", "Het kaartproduct is gekozen.", "The map product is chosen."},
    {"INveran0.WAV", "Kies het kaartproduct. Zeg ja of nee.", "Choose the map product. Say ja or nee."},
    {"INveran1.WAV", "Algemene instellingen veranderen. Zeg ja of nee.",
     "Changing the general settings. Say ja or nee."},
    {"INveran2.WAV", "De poorten veranderen. Zeg ja of nee.", "Changing the port settings. Say ja or nee."},
    {"INveran3.WAV", "De kaartinstellingen veranderen. Zeg ja of nee.", "Changing the map settings. Say ja or nee."},
    {"INveran4.WAV", "Het geluid veranderen. Zeg ja of nee.", "Changing the sound settings. Say ja or nee."},
    {"INveran5.WAV", "Diverse instellingen veranderen. Zeg ja of nee.",
     "Changing the miscellaneous settings. Say ja or nee."},
    {"INletop1.WAV", "Let op: met het geluid uit hoort u mij niet meer.",
     "Attention: with the sound off you will not hear me any more."},
    {"INok1.WAV", "Is dat goed?", "Is that right?"},
    {"INfout1.WAV", "Dat heb ik niet begrepen.", "I did not understand that."},
    {"INfout2.WAV", "Wat zegt u?", "Pardon?"},
    {"INfout3.WAV", "Dat ken ik niet. Zeg help voor de opdrachten.", "I do not know that. Say help for the commands."},
    {"INfout4.WAV", "Sorry, dat kan hier niet.", "Sorry, that cannot be done here."},
    {"INfout5.WAV", "Het spraakherkenningsprogramma is niet gevonden.",
     "The speech recognition program was not found."},
    // Clock speech.
    {"Hetis1.WAV", "Het is vandaag", "Today is"},
    {"Hetis2.WAV", "Het is nu", "The time is"},
    {"Uur1.WAV", "uur", "hours"},
    {"Minuten.WAV", "minuten.", "minutes."},
    {"Januari.WAV", "januari", "January"},
    {"Februari.WAV", "februari", "February"},
    {"Maart.WAV", "maart", "March"},
    {"April.WAV", "april", "April"},
    {"Mei.WAV", "mei", "May"},
    {"Juni.WAV", "juni", "June"},
    {"Juli.WAV", "juli", "July"},
    {"Augustus.WAV", "augustus", "August"},
    {"Septembr.WAV", "september", "September"},
    {"Oktober.WAV", "oktober", "October"},
    {"November.WAV", "november", "November"},
    {"December.WAV", "december", "December"},
};

void add(std::vector<SoundText>& table, const Text& t, SoundKind kind) {
    table.push_back({t.file, t.dutch, t.english, kind});
}

// A number file: the name is the number's text as the programs build it
// ("7", "07", "140", "300"), and it says the number itself.
void addNumber(std::vector<SoundText>& table, const std::string& name, int value) {
    const std::string spoken = std::to_string(value);
    table.push_back({name + ".WAV", spoken, spoken, SoundKind::Fragment});
}

std::vector<SoundText> makeTable() {
    std::vector<SoundText> table;
    for (const Text& t : kNavigatorSentences) add(table, t, SoundKind::Sentence);
    for (const Text& t : kAnnouncementWords) add(table, t, SoundKind::Fragment);
    for (const Text& t : kSettingsSentences) add(table, t, SoundKind::Sentence);
    // Single digits and whole numbers to 200 (digits, degrees, sliders, the
    // screen corrections), two-digit texts "00" to "09" (speeds, courses,
    // clock and date), and the hundreds.
    for (int n = 0; n <= 200; ++n) addNumber(table, std::to_string(n), n);
    for (int n = 0; n <= 9; ++n) addNumber(table, {'0', static_cast<char>('0' + n)}, n);
    for (int n = 300; n <= 900; n += 100) addNumber(table, std::to_string(n), n);
    return table;
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

const std::vector<SoundText>& soundTable() {
    static const std::vector<SoundText> table = makeTable();
    return table;
}

std::string storedName(std::string_view fileName) {
    std::size_t end = fileName.size();
    while (end > 0 && (fileName[end - 1] == ' ' || fileName[end - 1] == '.')) --end;
    return std::string(fileName.substr(0, end));
}

const SoundText* findSound(std::string_view fileName) {
    const std::string name = storedName(fileName);
    for (const SoundText& s : soundTable())
        if (std::equal(s.file.begin(), s.file.end(), name.begin(), name.end(),
                       [](char a, char b) { return lower(a) == lower(b); }))
            return &s;
    return nullptr;
}

}  // namespace tarvok::sounds
