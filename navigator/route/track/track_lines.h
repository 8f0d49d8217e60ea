// Cutting a text track file into lines, reading the file in pieces.
//
// A line ends with its carriage return; every line after the first begins
// with the line feed of the line before, and column positions count that
// line feed as position 1. A line feed that follows no carriage return (a
// file written with Unix line ends) ends the line before it as well and
// starts the next one, so such files have the same columns. The last line
// needs no carriage return. Only the first `kLineKept` characters of a line
// are kept, which covers every column a point line has: memory stays
// bounded whatever the file holds.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tarvok {

class TrackLineReader {
public:
    static constexpr std::size_t kLineKept = 256;

    explicit TrackLineReader(std::istream& in);

    // Cuts the next line; false at the end of the file or when reading
    // fails (then failed() tells which).
    bool next();
    // The current line, at most kLineKept characters of it.
    std::string_view line() const { return line_; }
    bool failed() const { return failed_; }
    // Lines cut so far.
    std::size_t count() const { return count_; }

private:
    bool fill();
    void keep(const char* bytes, std::size_t count);

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    std::string line_;
    std::size_t count_ = 0;
};

// The characters of `line` from position `pos` (1-based) on, at most
// `length` of them; positions past the end read as empty text.
std::string_view lineColumns(std::string_view line, std::size_t pos, std::size_t length);

}  // namespace tarvok
