// Reception of NMEA text: received characters are assembled into lines,
// written to the reception log, and the RMC sentences among them handed
// out for display. The navigation loop and `tarvok-tool nmea` share it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "navigator/gps/nmea_lines.h"
#include "navigator/gps/nmea_sentence.h"

namespace tarvok::gps {

// The reception log Text1: what arrived, bounded in size.
class ReceptionLog {
public:
    static constexpr std::size_t kMaxLength = 20000;

    // Navigation starts: "Opening Com port" and an empty line.
    void open();
    // Navigation ends: an empty line, the log, "Closing Com port", an empty line.
    void close();
    // Names the device the port was opened on and its line settings
    // ("COM1: /dev/ttyUSB0 4800,N,8,1"; no settings for a gpsd connection).
    void portOpened(const std::string& port, const std::string& device, const std::string& lineSettings);
    // Adds the text of one read. A log already longer than kMaxLength
    // restarts as "Overwriting buffer" and this read's text is not shown.
    void append(std::string_view received);

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }

private:
    std::string text_;
};

struct ReceivedSentences {
    std::vector<RmcFields> fixes;       // RMC sentences to show, in order
    std::vector<std::string> rejected;  // RMC lines whose checksum did not match
    std::size_t lines = 0;              // complete lines in this read
    bool fixStatusChanged = false;      // a GGA, GSA or RMC of this read changed fixStatus()
    std::size_t sentences = 0;          // of them, sentences of any type (holdsSentence)
};

class NmeaReception {
public:
    // One read's characters. Complete lines go to `log` (when given) and are
    // classified; the rest waits for the next read.
    ReceivedSentences receive(std::string_view chunk, ReceptionLog* log);
    void reset() {
        lines_.clear();
        fixStatus_ = {};
    }
    // The receiver's fix after the sentences received so far.
    const FixStatus& fixStatus() const { return fixStatus_; }

private:
    LineAssembler lines_;
    FixStatus fixStatus_;
};

}  // namespace tarvok::gps
