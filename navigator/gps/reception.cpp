#include "navigator/gps/reception.h"

namespace tarvok::gps {

void ReceptionLog::open() { text_ = "Opening Com port\r\n\r\n"; }

void ReceptionLog::portOpened(const std::string& port, const std::string& device, const std::string& lineSettings) {
    append(port + ": " + device + (lineSettings.empty() ? "" : " " + lineSettings) + "\r\n\r\n");
}

void ReceptionLog::close() { text_ = "\r\n\r\n" + text_ + "Closing Com port\r\n\r\n"; }

void ReceptionLog::append(std::string_view received) {
    if (text_.size() > kMaxLength) {
        text_ = "Overwriting buffer\r\n";
        return;
    }
    text_.append(received);
}

ReceivedSentences NmeaReception::receive(std::string_view chunk, ReceptionLog* log) {
    ReceivedSentences out;
    std::vector<ReceivedLine> lines = lines_.add(chunk);
    out.lines = lines.size();
    if (lines.empty()) return out;
    if (log) {
        std::string shown;
        for (const ReceivedLine& l : lines) shown += l.text + "\r\n";
        log->append(shown);
    }
    for (const ReceivedLine& l : lines) {
        if (holdsSentence(l.text)) ++out.sentences;
        ClassifiedLine c = classifyLine(l.text);
        const bool rmc = c.sentence.type == SentenceType::RMC;
        if (c.verdict == LineVerdict::BadChecksum) {
            if (rmc) out.rejected.push_back(l.text);
            continue;
        }
        if (c.verdict != LineVerdict::Process) continue;
        if (rmc) out.fixes.push_back(rmcFields(c.sentence));
        const FixStatus before = fixStatus_;
        updateFixStatus(fixStatus_, c.sentence);
        out.fixStatusChanged = out.fixStatusChanged || !(before == fixStatus_);
    }
    return out;
}

}  // namespace tarvok::gps
