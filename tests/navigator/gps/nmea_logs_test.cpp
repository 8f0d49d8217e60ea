// Every NMEA log of real receivers through `tarvok-tool nmea`: no crash, one
// output line per RMC sentence with a good (or no) checksum, and latitude and
// longitude as computed here straight from the sentence.
#include <QProcess>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common/settings.h"
#include "common/text.h"
#include "tests/support/temp_prefix.h"

namespace {

namespace fs = std::filesystem;

struct Expected {
    double latitude;   // as shown, without sign
    double longitude;
    std::string line;  // for messages
};

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        std::size_t p = s.find(sep, start);
        out.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) return out;
        start = p + 1;
    }
}

// Degrees from an NMEA ddmm.mmmm field: what a navigator must show. A
// position on whole degrees is shown 0.00001 off, so that it never reads as
// "no minutes received"; an empty field shows 0.
double expectedDegrees(const std::string& field) {
    if (field.empty()) return 0;
    double v = std::strtod(field.c_str(), nullptr);
    double degrees = std::floor(v / 100);
    double minutes = v - degrees * 100;
    if (minutes == 0) return degrees + 0.00001;
    return degrees + minutes / 60;
}

bool goodOrNoChecksum(const std::string& sentence) {
    std::size_t star = sentence.find('*');
    if (star == std::string::npos) return true;
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
    unsigned given = 0;
    std::string digits = sentence.substr(star + 1);
    while (!digits.empty() && digits.back() == ' ') digits.pop_back();
    if (digits.size() != 2 || std::sscanf(digits.c_str(), "%2x", &given) != 1) return false;
    return given == sum;
}

std::vector<Expected> expectedFixes(const std::string& log) {
    std::vector<Expected> out;
    for (std::string line : split(log, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t dollar = line.rfind('$');
        if (dollar == std::string::npos) continue;
        std::string sentence = line.substr(dollar);
        static const char* talkers[] = {"$GPRMC,", "$GNRMC,", "$GLRMC,", "$GARMC,", "$GBRMC,", "$BDRMC,"};
        bool rmc = false;
        for (const char* t : talkers) rmc = rmc || sentence.rfind(t, 0) == 0;
        if (!rmc || !goodOrNoChecksum(sentence)) continue;
        std::vector<std::string> f = split(sentence.substr(0, sentence.find('*')), ',');
        f.resize(std::max<std::size_t>(f.size(), 10));
        out.push_back({expectedDegrees(f[3]), expectedDegrees(f[5]), sentence});
    }
    return out;
}

std::string readAll(const fs::path& p) {
    std::FILE* f = std::fopen(p.c_str(), "rb");
    std::string s;
    char buf[8192];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
}

TEST(NmeaLogs, EveryRmcOfEveryReceiverLogIsShownRight) {
    tarvok::test::TempPrefix prefix;  // no settings file: the built-in defaults
    std::vector<fs::path> logs;
    for (const auto& e : fs::directory_iterator(TARVOK_NMEA_LOGS))
        if (e.path().extension() == ".log") logs.push_back(e.path());
    ASSERT_GT(logs.size(), 40u);
    std::size_t total = 0;
    for (const fs::path& log : logs) {
        SCOPED_TRACE(log.filename().string());
        QProcess tool;
        tool.start(QStringLiteral(TARVOK_TOOL), {QStringLiteral("nmea"), QString::fromStdString(log.string())});
        ASSERT_TRUE(tool.waitForFinished(20000));
        ASSERT_EQ(tool.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(tool.exitCode(), 0);
        std::string out = tool.readAllStandardOutput().toStdString();
        std::vector<std::string> rows = split(out, '\n');
        if (!rows.empty() && rows.back().empty()) rows.pop_back();
        std::vector<Expected> want = expectedFixes(readAll(log));
        ASSERT_EQ(rows.size(), want.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::vector<std::string> cols = split(rows[i], '\t');
            ASSERT_EQ(cols.size(), 10u) << rows[i];
            EXPECT_NEAR(tarvok::numericValue(cols[1]), want[i].latitude, 1e-9) << want[i].line;
            EXPECT_NEAR(tarvok::numericValue(cols[3]), want[i].longitude, 1e-9) << want[i].line;
            EXPECT_GE(cols[1].size(), 8u) << want[i].line;
            EXPECT_EQ(cols[5].size(), 3u) << want[i].line;
            EXPECT_EQ(cols[6], "kmh");
            EXPECT_EQ(cols[7].size(), 3u) << want[i].line;
        }
        total += rows.size();
    }
    EXPECT_GT(total, 1000u);
}

TEST(NmeaLogs, ToolReadsStandardInputAndTheSettings) {
    tarvok::test::TempPrefix prefix;
    // Hour offset 2, speed in knots.
    tarvok::SettingsString s = tarvok::SettingsString::navigatorTemplate();
    std::string bytes = s.bytes();
    bytes.replace(35, 2, "2 ");
    bytes[9] = '3';
    prefix.writeDos("C:\\WINDOWS\\VELKAR.DLL", bytes);
    QProcess tool;
    tool.start(QStringLiteral(TARVOK_TOOL), {QStringLiteral("nmea"), QStringLiteral("-")});
    ASSERT_TRUE(tool.waitForStarted(5000));
    // The second sentence has a wrong checksum, the last no line end.
    tool.write("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
               "$GPRMC,233519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
               "$GNRMC,000001,V,5200.00,S,00400.00,W,,,010124");
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_EQ(tool.readAllStandardOutput().toStdString(),
              "14:35:19\t48,11730\tN\t11,5166666666667\tE\t022\tkts\t084\t O\t23-03-1994\n"
              "2:00:01\t52,00001\tS\t4,000010\tW\t000\tkts\t000\t N\t01-01-2024\n");
    EXPECT_NE(tool.readAllStandardError().toStdString().find("checksum"), std::string::npos);
}

}  // namespace
