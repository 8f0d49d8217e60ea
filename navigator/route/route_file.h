// The route file ROUTE1.TVK in the program folder: route records one after
// the other (record k starts at byte k x 56), no header, no count. It grows
// only at its end, in blocks: one filler record followed by the recorded
// positions in the order in which they were shown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "navigator/route/route_record.h"

namespace tarvok {
class DosPaths;
}

namespace tarvok::route {

// The route file of a program folder: "C:\TARVOK" -> "C:\TARVOK\ROUTE1.TVK".
std::string routeFilePath(std::string_view programFolder);
// The route file in the program folder of a program drive: 'D' ->
// "D:\TARVOK\ROUTE1.TVK".
std::string routeFilePath(char programDrive);

// Reads records by their number straight from the file; nothing is cached.
// A missing or unreadable file reads as empty and is not created.
class RouteFileReader {
public:
    explicit RouteFileReader(const std::filesystem::path& nativePath);
    RouteFileReader(const DosPaths& paths, std::string_view dosPath);
    ~RouteFileReader();
    RouteFileReader(RouteFileReader&& other) noexcept;
    RouteFileReader& operator=(RouteFileReader&& other) noexcept;
    RouteFileReader(const RouteFileReader&) = delete;
    RouteFileReader& operator=(const RouteFileReader&) = delete;

    // The number of whole records when the file was opened; a torn last
    // record (a write cut short) is not counted.
    std::int64_t count() const { return count_; }
    // Record k (0 <= k < count()); empty outside that range or when the
    // bytes cannot be read.
    std::optional<RouteRecord> read(std::int64_t k) const;

private:
    int fd_ = -1;
    std::int64_t count_ = 0;
};

// Appends one block to the route file at the DOS path `dosPath` (normally
// routeFilePath(programFolder)): a filler record (56 zero bytes) followed by
// `points`, in one write, then flushed to the disk (fdatasync). The caller
// passes only the recorded positions, in the order shown (the navigation
// loop: its 501 points); the filler is added here. A recorded position has
// type 'M', the time stamp routeSecondsNow(), the hemisphere letters and the
// absolute latitude and longitude as shown, the shown speed with the speed
// unit setting's character, the course, and every other field 0.
//
// The file is created when missing. A torn last record left by an earlier
// crash is overwritten, so the block starts at a whole record. When any
// step fails (folder missing, disk full, file-size limit, read-only file)
// the file is put back as it was (a new file is removed again) and the
// result is a message text naming the file and the reason, e.g.
// "cannot write C:\TARVOK\ROUTE1.TVK: No space left on device";
// on success the result is empty.
std::optional<std::string> appendRouteBlock(const DosPaths& paths, std::string_view dosPath,
                                            const std::vector<RouteRecord>& points);

// The question when the program ends with recorded positions that could not
// be written: how many, and the file with the reason (`error` as
// appendRouteBlock gives it). Its choices: try again (first, the safe one),
// or discard the positions.
std::vector<std::string> unsavedRouteLines(Language language, std::size_t positions, std::string_view error);
std::vector<std::string> unsavedRouteChoices(Language language);

}  // namespace tarvok::route
