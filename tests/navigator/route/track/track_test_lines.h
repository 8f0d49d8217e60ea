// Builders for the point lines of the test tracks.
#pragma once

#include <string>
#include <string_view>

namespace tarvok::test {

// A line with `parts` placed at their 1-based column positions, the leading
// line feed being position 1; blanks in between.
inline std::string columnLine(std::initializer_list<std::pair<std::size_t, std::string_view>> parts) {
    std::string line = "\n";
    for (const auto& [pos, text] : parts) {
        if (line.size() < pos - 1 + text.size()) line.resize(pos - 1 + text.size(), ' ');
        line.replace(pos - 1, text.size(), text);
    }
    return line + "\r";
}

// A track file point line: "T  N5213.12345 E00454.12345 23-MAR-94 12:34:56".
inline std::string trkLine(std::string_view lat = "N5213.12345", std::string_view lon = "E00454.12345",
                           std::string_view date = "23-MAR-94", std::string_view time = "12:34:56") {
    return columnLine({{2, "T"}, {5, lat}, {17, lon}, {30, date}, {40, time}});
}

// A text export point line: decimal degrees at 8 and 21, date at 35, time at 46.
inline std::string txtLine(std::string_view lat = "52.1234567", std::string_view lon = "04.7654321",
                           std::string_view date = "23-03-1994", std::string_view time = "12:34:56") {
    return columnLine({{2, "T"}, {8, lat}, {21, lon}, {35, date}, {46, time}});
}

}  // namespace tarvok::test
