// DOS paths ("C:\TARVOK\SOUND\Navig1.WAV") on a Linux file system.
//
// A prefix folder stands in for the drives: <prefix>/drive_c is C:,
// <prefix>/drive_d is D:, and Z: is the root of the file system, for files
// chosen anywhere else. Program logic keeps DOS paths (8-bit Windows-1252
// text with backslashes); only the file-system boundary translates them.
// Lookup ignores case and trailing blanks and dots in every name, as Windows
// does, so "C:\TARVOK\SOUND\April.WAV " finds "april.wav".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvok {

class DosPaths {
public:
    explicit DosPaths(std::filesystem::path prefix);

    // The prefix in use: $TARVOK_PREFIX when set and not empty, else
    // $XDG_DATA_HOME/tarvok, else ~/.local/share/tarvok.
    static std::filesystem::path defaultPrefix();

    const std::filesystem::path& prefix() const { return prefix_; }

    // The native folder that stands for a drive letter (any case); empty for
    // a letter that is not a drive here.
    std::filesystem::path driveRoot(char drive) const;

    // The native path of a DOS path. Each name is matched against the
    // existing entries of its folder without regard to case or trailing
    // blanks and dots; from the first name that does not exist on, the names
    // are taken as written (trailing blanks and dots dropped), so the result
    // is also the path at which to create a new file. A path without a drive
    // letter is taken relative to the current folder.
    std::filesystem::path toNative(std::string_view dosPath) const;

    // Whether a file or folder exists at the DOS path.
    bool exists(std::string_view dosPath) const;

    // The DOS form of a native path: under a drive folder it is that drive's
    // path, anything else is on Z:. Relative paths are made absolute first.
    std::string toDos(const std::filesystem::path& native) const;

private:
    std::filesystem::path prefix_;
};

// The folder name of a DOS path: everything up to and including the last
// backslash ("C:\MAPS\A.BMP" -> "C:\MAPS\").
std::string dosFolderOf(std::string_view dosPath);
// The file name of a DOS path: what follows the last backslash
// ("C:\MAPS\A.BMP" -> "A.BMP"); the whole text when it has none.
std::string_view dosFileNameOf(std::string_view dosPath);

}  // namespace tarvok
