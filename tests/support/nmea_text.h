// NMEA sentences as a receiver sends them, for tests and benchmarks.
#pragma once

#include <cstdio>
#include <string>

namespace tarvok::test {

// "$<body>*hh\r\n" with the checksum of body.
inline std::string nmeaSentence(const std::string& body) {
    unsigned x = 0;
    for (char c : body) x ^= static_cast<unsigned char>(c);
    char sum[8];
    std::snprintf(sum, sizeof sum, "*%02X\r\n", x);
    return "$" + body + sum;
}

}  // namespace tarvok::test
