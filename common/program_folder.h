// The program folder of both programs on the program drive (the drive where
// the settings file was found), and the sound folders below it.
#pragma once

#include <string>

#include "common/language.h"

namespace tarvok {

// "C:\TARVOK" for drive 'C'.
inline std::string programFolderOn(char drive) { return std::string(1, drive) + ":\\TARVOK"; }

// The sound folder of a language without its drive letter: ":\TARVOK\GELUID\"
// (Dutch) or ":\TARVOK\SOUND\" (English). A sound's path is the drive
// letter, this folder and the file name joined without separators.
inline std::string soundFolderOf(Language language) {
    return inLanguage<std::string>(language, ":\\TARVOK\\GELUID\\", ":\\TARVOK\\SOUND\\");
}

}  // namespace tarvok
