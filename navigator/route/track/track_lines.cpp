#include "navigator/route/track/track_lines.h"

#include <algorithm>

namespace tarvok {

namespace {
constexpr std::size_t kChunk = 64 * 1024;
}

TrackLineReader::TrackLineReader(std::istream& in) : in_(in), buffer_(kChunk) { line_.reserve(kLineKept); }

bool TrackLineReader::fill() {
    if (eof_ || failed_) return false;
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    std::streamsize got = in_.gcount();
    if (in_.bad()) {
        failed_ = true;
        return false;
    }
    if (got <= 0) {
        eof_ = true;
        return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(got);
    return true;
}

void TrackLineReader::keep(const char* bytes, std::size_t count) {
    if (line_.size() < kLineKept) line_.append(bytes, std::min(count, kLineKept - line_.size()));
}

bool TrackLineReader::next() {
    line_.clear();
    bool any = false;  // something of this line has been taken
    for (;;) {
        if (pos_ == end_ && !fill()) break;
        const char* b = buffer_.data() + pos_;
        const std::size_t n = end_ - pos_;
        std::size_t i = 0;
        // A line feed at the start of a line belongs to it (position 1).
        if (!any && b[0] == '\n') i = 1;
        while (i < n && b[i] != '\r' && b[i] != '\n') ++i;
        if (i < n && b[i] == '\r') {
            keep(b, i + 1);
            pos_ += i + 1;
            ++count_;
            return true;
        }
        keep(b, i);
        pos_ += i;
        any = any || i > 0;
        if (i < n) {
            // A bare line feed: it ends this line and begins the next one.
            ++count_;
            return true;
        }
    }
    if (failed_) return false;
    // The rest of the file after the last carriage return: a line of its
    // own unless it is only the line feed of that carriage return.
    if (!any || line_ == "\n") return false;
    ++count_;
    return true;
}

std::string_view lineColumns(std::string_view line, std::size_t pos, std::size_t length) {
    if (pos == 0 || pos > line.size()) return {};
    return line.substr(pos - 1, length);
}

}  // namespace tarvok
