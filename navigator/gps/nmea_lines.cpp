#include "navigator/gps/nmea_lines.h"

namespace tarvok::gps {

std::vector<ReceivedLine> LineAssembler::add(std::string_view chunk) {
    std::vector<ReceivedLine> lines;
    std::size_t start = 0;
    while (start < chunk.size()) {
        std::size_t lf = chunk.find('\n', start);
        if (lf == std::string_view::npos) {
            pending_.append(chunk.substr(start));
            if (pending_.size() > kMaxPartialLine) pending_.clear();
            break;
        }
        ReceivedLine line;
        line.raw = pending_;
        line.raw.append(chunk.substr(start, lf + 1 - start));
        pending_.clear();
        std::size_t end = line.raw.size() - 1;
        if (end > 0 && line.raw[end - 1] == '\r') --end;
        line.text = line.raw.substr(0, end);
        lines.push_back(std::move(line));
        start = lf + 1;
    }
    return lines;
}

}  // namespace tarvok::gps
