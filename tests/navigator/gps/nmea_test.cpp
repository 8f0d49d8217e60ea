#include <gtest/gtest.h>

#include "navigator/gps/navigation_texts.h"
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

TEST(FixStatus, FromGgaGsaAndRmcAsTheyArrive) {
    // Each row: a sentence received after those above it, and the text then.
    struct Row {
        const char* line;
        const char* english;
        const char* dutch;
    } rows[] = {
        {"$GPZDA,120000.00,01,01,2024,00,00", "", ""},  // says nothing of the fix
        {"$GPRMC,120000,V,,,,,,,010124,,", "NO FIX", "GEEN FIX"},
        {"$GPGGA,120001,5200.0,N,00400.0,E,1,07,1.0,5.0,M,47.0,M,,", "GPS 7 sat", "GPS 7 sat"},
        {"$GNGSA,A,3,01,02,03,04,05,06,07,,,,,,1.8,1.0,1.5", "3D 7 sat", "3D 7 sat"},
        {"$GPGGA,120002,5200.0,N,00400.0,E,2,09,0.9,5.0,M,47.0,M,,", "3D DGPS 9 sat", "3D DGPS 9 sat"},
        {"$GPGGA,120003,5200.0,N,00400.0,E,,,,,,,,,", "3D DGPS 9 sat", "3D DGPS 9 sat"},  // empty: kept
        {"$GNGSA,A,2,01,02,03,,,,,,,,,,2.0,1.0,1.7", "2D DGPS 9 sat", "2D DGPS 9 sat"},
        {"$GPGGA,120004,5200.0,N,00400.0,E,4,14,0.5,5.0,M,47.0,M,,", "2D RTK 14 sat", "2D RTK 14 sat"},
        {"$GNRMC,120005,V,5200.0,N,00400.0,E,0.0,0.0,010124,,,N", "NO FIX", "GEEN FIX"},
        {"$GNRMC,120006,A,5200.0,N,00400.0,E,0.0,0.0,010124,,,A", "2D RTK 14 sat", "2D RTK 14 sat"},
        {"$GPGGA,120007,,,,,0,00,99.9,,,,,,", "NO FIX", "GEEN FIX"},
        {"$GNGSA,A,1,,,,,,,,,,,,,99.9,99.9,99.9", "NO FIX", "GEEN FIX"},
        {"$GPGGA,120008,5200.0,N,00400.0,E,6,05,2.0,5.0,M,47.0,M,,", "DR 5 sat", "DR 5 sat"},
        {"$GPGGA,120009,5200.0,N,00400.0,E,x,zz,,,,,,,", "DR 5 sat", "DR 5 sat"},  // garbage: kept
    };
    FixStatus status;
    for (const Row& r : rows) {
        updateFixStatus(status, splitSentence(r.line).value());
        EXPECT_EQ(fixStatusText(status, Language::English), r.english) << r.line;
        EXPECT_EQ(fixStatusText(status, Language::Dutch), r.dutch) << r.line;
    }
}

TEST(FixStatus, ReceptionSaysWhenItChangedAndKeepsRejectingOnlyRmc) {
    NmeaReception r;
    const std::string gga = "$GPGGA,120001,5200.0,N,00400.0,E,1,07,1.0,5.0,M,47.0,M,,*43\r\n";
    ReceivedSentences got = r.receive(gga, nullptr);
    EXPECT_TRUE(got.fixStatusChanged);
    EXPECT_EQ(r.fixStatus().satellites, 7);
    EXPECT_TRUE(got.fixes.empty());
    EXPECT_FALSE(r.receive(gga, nullptr).fixStatusChanged);  // the same again
    // A GGA with a wrong checksum changes nothing and is not listed as a rejected RMC.
    got = r.receive("$GPGGA,120001,5200.0,N,00400.0,E,0,00,1.0,5.0,M,47.0,M,,*00\r\n", nullptr);
    EXPECT_FALSE(got.fixStatusChanged);
    EXPECT_TRUE(got.rejected.empty());
    r.reset();
    EXPECT_FALSE(r.fixStatus().known);
}

TEST(Sentence, NoiseBeforeTheDollarIsSkipped) {
    EXPECT_EQ(classifyLine(std::string("\x04\x10r") + kRmc).verdict, LineVerdict::Process);
    EXPECT_EQ(classifyLine(" $GPRMC,1,A").verdict, LineVerdict::Process);
    EXPECT_EQ(classifyLine("GPRMC,1,A").verdict, LineVerdict::Ignore);
}

TEST(Sentence, ACompleteSentenceOfAnyTypeButNotNoise) {
    const struct {
        const char* line;
        bool sentence;
    } rows[] = {
        {"$GPGSV,3,1,11*79", false},  // wrong checksum
        {"$GPGSV,3,1,11", true},      // none
        {"\x83\x91$GPTXT,01,01,02,ANTENNA OK", true},
        {"$PSRF1,x", true},  // proprietary: still a receiver talking
        {"$GP\xFE\x07,1", false},
        {"$GPRMC", true},
        {"$GPRM", false},
        {"$GPRMCX,1", false},
        {"\x83\x91\xFE garbage", false},
        {"", false},
    };
    for (const auto& r : rows) EXPECT_EQ(holdsSentence(r.line), r.sentence) << r.line;
    NmeaReception reception;
    EXPECT_EQ(reception.receive(std::string(kRmc) + "\r\nnoise\r\n$GPGGA,1\r\n$GPGSV,1,1,00*00\r\n", nullptr).sentences,
              2u);
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
