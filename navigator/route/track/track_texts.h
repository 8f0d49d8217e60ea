// The texts of track import: status line, file dialog filter, messages.
// Windows-1252 text.
#pragma once

#include <string>
#include <vector>

#include "common/language.h"

namespace tarvok {

enum class TrackStatus {
    SelectFile,  // while the file dialog is open
    Showing,     // while the points are shown
    Ready,       // at the end of the file
};

const char* trackStatusText(TrackStatus status, Language language);

// The file dialog's filter, in "description|pattern" pairs.
const char* trackFileFilter();

// rou1_Change: " TOON ELK ROUTEPUNT" for 0, else " TOON OM DE " & n & " PTN."
// (both languages).
std::string thinningStatusText(int thinning);

// The lines of the message when no file was chosen or it cannot be opened.
std::vector<std::string> trackFileNotFoundLines(Language language);

// The lines of the message when a track file stops being readable part way
// (a GPX file that is not well-formed XML, a read error); `reason` is the
// reader's own explanation.
std::vector<std::string> trackFileUnreadableLines(Language language, const std::string& reason);

}  // namespace tarvok
