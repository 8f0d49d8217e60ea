// Assembly of received characters into NMEA lines.
//
// A serial read hands over whatever has arrived: half a sentence, several
// sentences, a sentence and the start of the next. Every complete line is
// handed on; the characters after the last line end are kept for the next
// read. A line ends at LF; a CR before it belongs to the line end (receivers
// send CR LF, some logs and bridges only LF).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvok::gps {

struct ReceivedLine {
    std::string text;  // the line without its line end
    std::string raw;   // the line as received, with its line end
};

class LineAssembler {
public:
    // A partial line longer than this is garbage (a binary protocol, a wrong
    // baud rate): it is dropped instead of growing without bound.
    static constexpr std::size_t kMaxPartialLine = 4096;

    // Adds received characters; returns the lines they complete, in order.
    std::vector<ReceivedLine> add(std::string_view chunk);

    // The characters received after the last line end.
    const std::string& pending() const { return pending_; }
    void clear() { pending_.clear(); }

private:
    std::string pending_;
};

}  // namespace tarvok::gps
