// Where the command line finds the map database: the program folder on the
// drive that holds the settings file.
#pragma once

#include <string>

#include "common/program_folder.h"
#include "common/settings.h"
#include "navigator/map/map_database.h"
#include "platform/dos_path.h"

namespace tarvok::tool {

// "C:\TARVOK\Autoload.TVK" on the drive where the settings file lies (C
// when there is none).
inline std::string mapDatabaseDosPath(const DosPaths& paths) {
    const char drive = locateSettingsFile(paths).value_or('C');
    return programFolderOn(drive) + "\\" + map::kMapDatabaseName;
}

}  // namespace tarvok::tool
