// The navigator's shared run-time state: one instance, owned by the main
// window, read and written by the map, gps and route parts.
//
// The mode flags and the stop request are plain shared variables: long-running activities poll them between their
// steps, and handlers that run nested inside those activities set them.
#pragma once

#include <cstdint>
#include <string>

#include "common/language.h"
#include "common/program_folder.h"
#include "common/settings.h"

namespace tarvok {

struct NavigatorState {
    // Where the settings file was found; every path of the navigator starts
    // with the drive letter.
    char programDrive = 'C';
    // "C:\TARVOK": the program folder on the program drive.
    std::string programFolder() const { return programFolderOn(programDrive); }

    // The navigator's copies of the options (language, sound, speed unit,
    // colour scheme, ...), decoded from the settings string.
    SettingsString settingsString = SettingsString::navigatorTemplate();
    NavigatorSettings settings;

    // ":\TARVOK\GELUID\" (Dutch) or ":\TARVOK\SOUND\" (English), chosen once
    // when the main window opens. A sound's path is the program drive, this
    // folder and the file name joined without separators.
    std::string soundFolder = soundFolderOf(Language::English);
    // File name of the next sound for PlaySound ("Navig2.WAV").
    std::string currentSoundName;

    // Mode flags: 1 while the navigation loop runs / while route or track
    // playback runs (or the route playback panel is offered).
    std::int16_t navigationActive = 0;
    std::int16_t playbackActive = 0;
    // Asks the running loop to end; each loop clears it when it starts.
    bool stopRequest = false;

    // When on, every key typed anywhere in the main window reaches the
    // window's key handler first. A running mode switches it on again with
    // each new position, so that at most one key is taken per update.
    bool keyPreview = true;

    // Primary screen size in pixels.
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;

    // The level the next zoom-to-level request zooms to (the current zoom
    // level itself lives in the map view, MapViewState::zoom); 1 once the
    // first map is loaded (the radar screen runs while it is 0).
    std::int16_t targetZoomLevel = 0;
    std::int16_t mapLoaded = 0;

    // Screen correction in pixels (twice the settings fields), changed by
    // the O, W, N and Z keys, never saved.
    std::int32_t screenCorrectionX = 0;
    std::int32_t screenCorrectionY = 0;

    // The unit word of the speed unit setting ("kmh", "mph", "kts").
    std::string unitWord = "kmh";

    // The L/R interval step 0..14 (interval 2 x (step + 1) seconds). It lasts
    // from one key press to the next; nothing is paced by it yet.
    int intervalStep = 0;

    // The route playback start moment (seconds since 1970, local clock),
    // set to the opening moment of the window.
    std::int64_t routePlaybackStart = 0;

    // Whether the trail of driven or played positions is drawn on the map
    // (the P key and the trail box switch it); never saved.
    bool trailShown = true;

    // Counts announcements; reset when the main window opens.
    int announcementCounter = 0;

    Language language() const { return languageOf(settings.language); }
    bool modeRunning() const { return navigationActive == 1 || playbackActive == 1; }
    // Program drive, sound folder and file name: "C:\TARVOK\SOUND\Navig2.WAV".
    std::string soundPath(const std::string& fileName) const { return soundFolderPath() + fileName; }
    // Program drive and sound folder: "C:\TARVOK\SOUND\".
    std::string soundFolderPath() const { return std::string(1, programDrive) + soundFolder; }
};

}  // namespace tarvok
