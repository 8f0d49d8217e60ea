#include <gtest/gtest.h>

#include "navigator/gps/nmea_lines.h"
#include "navigator/gps/nmea_sentence.h"
#include "navigator/gps/reception.h"

namespace tarvok::gps {
namespace {

const char* kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";

TEST(LineAssembler, KeepsThePartialRestForTheNextRead) {
    LineAssembler a;
    EXPECT_TRUE(a.add("$GPRMC,1235").empty());
    auto lines = a.add("19,A\r\n$GPGGA,1\r\n$GPR");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "$GPRMC,123519,A");
    EXPECT_EQ(lines[0].raw, "$GPRMC,123519,A\r\n");
    EXPECT_EQ(lines[1].text, "$GPGGA,1");
    EXPECT_EQ(a.pending(), "$GPR");
    // A bare LF ends a line too; a CR split from its LF still belongs to it.
    lines = a.add("MC,2\r");
    EXPECT_TRUE(lines.empty());
    lines = a.add("\n$X\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "$GPRMC,2");
    EXPECT_EQ(lines[1].text, "$X");
}

TEST(LineAssembler, DropsAnEndlessLine) {
    LineAssembler a;
    a.add(std::string(LineAssembler::kMaxPartialLine + 1, 'x'));
    EXPECT_TRUE(a.pending().empty());
    auto lines = a.add("yy\n$GPRMC\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].text, "$GPRMC");
}

TEST(Checksum, MatchesAbsentWrong) {
    // Blanks and the carriage returns of a doubled line end after the digits
    // are tolerated, as some receivers end their lines with CR CR LF.
    const std::string rmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
    for (auto [line, state] : {std::pair{std::string(kRmc), ChecksumState::Matches},
                               {rmc + "*6a", ChecksumState::Matches},
                               {rmc + "*6A \t", ChecksumState::Matches},
                               {rmc + "*6A\r", ChecksumState::Matches},
                               {rmc, ChecksumState::Absent},
                               {rmc + "*6B", ChecksumState::Wrong},
                               {rmc + "*6B\r", ChecksumState::Wrong},
                               {rmc + "*6", ChecksumState::Wrong},
                               {rmc + "*6A0", ChecksumState::Wrong},
                               {std::string("$GPRMC,1*zz"), ChecksumState::Wrong}})
        EXPECT_EQ(checkChecksum(line), state) << line;
}

TEST(Sentence, RmcFromEveryTalkerSplitCommaToComma) {
    for (const char* talker : {"GP", "GN", "GL", "GA", "GB", "BD", "GQ", "GI", "XX"}) {
        auto s = splitSentence(std::string("$") + talker + "RMC,001,A,5212.34567,N,00421.1,E,0.02,077.52,010124");
        ASSERT_TRUE(s);
        EXPECT_EQ(s->type, SentenceType::RMC) << talker;
        RmcFields f = rmcFields(*s);
        EXPECT_EQ(f.latitude, "5212.34567");
        EXPECT_EQ(f.speedKnots, "0.02");
        EXPECT_EQ(f.course, "077.52");
        EXPECT_EQ(f.date, "010124");
    }
    // Proprietary sentences, other types, lower case or digits are not RMC.
    for (const char* other : {"$GPGGA,1,2", "$PGRMC,1", "$PQRMC,1", "$gpRMC,1", "$G1RMC,1", "$GPRMCX,1", "GPRMC,1", ""})
        EXPECT_NE(splitSentence(other).value_or(Sentence{}).type, SentenceType::RMC) << other;
    // Missing trailing fields are empty, the checksum is no field.
    auto s = splitSentence("$GNRMC,1,V*00");
    RmcFields f = rmcFields(*s);
    EXPECT_EQ(f.status, "V");
    EXPECT_EQ(f.latitude, "");
    EXPECT_EQ(f.date, "");
}

TEST(Sentence, NoiseBeforeTheDollarIsSkipped) {
    EXPECT_EQ(classifyLine(std::string("\x04\x10r") + kRmc).verdict, LineVerdict::Process);
    EXPECT_EQ(classifyLine(" $GPRMC,1,A").verdict, LineVerdict::Process);
    EXPECT_EQ(classifyLine("GPRMC,1,A").verdict, LineVerdict::Ignore);
}

TEST(Reception, EveryLineOfAReadCountsTheRestWaits) {
    NmeaReception r;
    ReceptionLog log;
    log.open();
    // A read starting mid-sentence, then an RMC with a second sentence behind
    // it, then the start of another RMC.
    std::string chunk = std::string("4,W*6A\r\n") + kRmc + "\r\n$GPGGA,123519,4807.038,N\r\n" + kRmc + "\r\n$GNR";
    ReceivedSentences got = r.receive(chunk, &log);
    EXPECT_EQ(got.lines, 4u);
    ASSERT_EQ(got.fixes.size(), 2u);
    EXPECT_EQ(got.fixes[0].time, "123519");
    EXPECT_EQ(log.text(), "Opening Com port\r\n\r\n4,W*6A\r\n" + std::string(kRmc) +
                              "\r\n$GPGGA,123519,4807.038,N\r\n" + kRmc + "\r\n");
    got = r.receive("MC,235959,A,5200.00,N,00400.00,E,000.0,000.0,311299\r\n", &log);
    ASSERT_EQ(got.fixes.size(), 1u);
    EXPECT_EQ(got.fixes[0].time, "235959");
}

TEST(Reception, BadChecksumIsLoggedNotShown) {
    NmeaReception r;
    ReceptionLog log;
    std::string bad = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B";
    ReceivedSentences got = r.receive(bad + "\r\n", &log);
    EXPECT_TRUE(got.fixes.empty());
    ASSERT_EQ(got.rejected.size(), 1u);
    EXPECT_EQ(log.text(), bad + "\r\n");
}

TEST(ReceptionLog, RestartsPastTheLimitAndTheFixStillCounts) {
    NmeaReception r;
    ReceptionLog log;
    log.setText(std::string(20000, 'x'));
    r.receive(std::string(kRmc) + "\r\n", &log);  // exactly 20000 before: still appended
    EXPECT_GT(log.text().size(), 20000u);
    log.setText(std::string(20001, 'x'));
    ReceivedSentences got = r.receive(std::string(kRmc) + "\r\n", &log);
    EXPECT_EQ(log.text(), "Overwriting buffer\r\n");
    EXPECT_EQ(got.fixes.size(), 1u);
    r.receive("$GPGGA\r\n", &log);
    EXPECT_EQ(log.text(), "Overwriting buffer\r\n$GPGGA\r\n");
    log.close();
    EXPECT_EQ(log.text(), "\r\n\r\nOverwriting buffer\r\n$GPGGA\r\nClosing Com port\r\n\r\n");
}

}  // namespace
}  // namespace tarvok::gps
