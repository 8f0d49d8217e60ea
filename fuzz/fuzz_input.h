// Taking a fuzzer's input apart: a few leading bytes steer options and
// sizes, the rest is the file or line being read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarvok::fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte (0 when none is left).
    std::uint8_t byte() {
        if (rest_.empty()) return 0;
        auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // The next two bytes as a little-endian number.
    std::uint16_t word() {
        std::uint16_t lo = byte();
        return static_cast<std::uint16_t>(lo | byte() << 8);
    }
    // Up to `count` of the next bytes.
    std::string_view take(std::size_t count) {
        std::string_view part = rest_.substr(0, count);
        rest_.remove_prefix(part.size());
        return part;
    }
    // The bytes up to the next `separator` (which is consumed), or all.
    std::string_view until(char separator) {
        std::size_t at = rest_.find(separator);
        std::string_view part = rest_.substr(0, at);
        rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
        return part;
    }
    std::string_view rest() const { return rest_; }
    bool empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

}  // namespace tarvok::fuzz
