// Every NMEA log of real receivers (nmea/*.log) through `tarvok-tool nmea`,
// compared with its check file nmea/<log>.chk: the tool's standard output
// (one line per RMC sentence with a good or no checksum) followed by its
// standard error (the sentences turned away). A mismatch prints the lines
// that differ.
//
// After a deliberate change of what the navigator shows, regenerate the check
// files from the current code and review the difference before committing:
//
//   TARVOK_UPDATE_CHK=1 ctest --test-dir build/release -R NmeaLogs
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "common/settings.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_prefix.h"

namespace {

namespace fs = std::filesystem;
using tarvok::test::readFile;
using tarvok::test::writeFile;

// `tarvok-tool nmea ARG`, with `input` on its standard input.
tarvok::test::ProgramRun runNmea(const std::string& arg, const std::string& input = {}) {
    return tarvok::test::runTool({QStringLiteral("nmea"), QString::fromStdString(arg)}, {.input = input});
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The lines where `actual` departs from `expected`, at most 20 of them.
std::string lineDiff(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> e = linesOf(expected), a = linesOf(actual);
    std::ostringstream out;
    out << "expected " << e.size() << " lines, got " << a.size() << "\n";
    int shown = 0;
    for (std::size_t i = 0; i < std::max(e.size(), a.size()) && shown < 20; ++i) {
        const std::string* want = i < e.size() ? &e[i] : nullptr;
        const std::string* got = i < a.size() ? &a[i] : nullptr;
        if (want && got && *want == *got) continue;
        ++shown;
        out << "line " << i + 1 << ":\n  - " << (want ? *want : "(none)") << "\n  + " << (got ? *got : "(none)")
            << "\n";
    }
    return out.str();
}

std::vector<fs::path> receiverLogs() {
    std::vector<fs::path> logs;
    for (const auto& e : fs::directory_iterator(TARVOK_NMEA_LOGS))
        if (e.path().extension() == ".log") logs.push_back(e.path());
    std::sort(logs.begin(), logs.end());
    return logs;
}

class NmeaLogs : public ::testing::TestWithParam<fs::path> {};

TEST_P(NmeaLogs, OutputMatchesItsCheckFile) {
    tarvok::test::TempPrefix prefix;  // no settings file: the built-in defaults
    const fs::path log = GetParam();
    const fs::path chk = fs::path(log).replace_extension(".chk");
    const auto run = runNmea(log.string());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string actual = run.out + run.err;
    if (std::getenv("TARVOK_UPDATE_CHK")) writeFile(chk, actual);
    ASSERT_TRUE(fs::is_regular_file(chk)) << chk << " is missing; make it with TARVOK_UPDATE_CHK=1";
    const std::string expected = readFile(chk);
    EXPECT_TRUE(expected == actual) << chk.filename().string() << " differs:\n" << lineDiff(expected, actual);
}

// Test names from the log names, letters and digits only.
std::string logName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.stem().string();
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Receivers, NmeaLogs, ::testing::ValuesIn(receiverLogs()), logName);

TEST(NmeaLogSet, EveryLogHasACheckFileAndNoCheckFileIsLeftOver) {
    const std::vector<fs::path> logs = receiverLogs();
    ASSERT_GT(logs.size(), 40u);
    std::size_t shown = 0;
    for (const fs::path& log : logs) shown += linesOf(readFile(fs::path(log).replace_extension(".chk"))).size();
    EXPECT_GT(shown, 1000u);
    for (const auto& e : fs::directory_iterator(TARVOK_NMEA_LOGS))
        EXPECT_TRUE(e.path().extension() != ".chk" || fs::exists(fs::path(e.path()).replace_extension(".log")))
            << e.path();
}

TEST(NmeaLogSet, ToolReadsStandardInputAndTheSettings) {
    tarvok::test::TempPrefix prefix;
    // Hour offset 2, speed in knots.
    std::string bytes = tarvok::SettingsString::navigatorTemplate().bytes();
    bytes.replace(35, 2, "2 ");
    bytes[9] = '3';
    prefix.writeDos("C:\\WINDOWS\\VELKAR.DLL", bytes);
    // The second sentence has a wrong checksum, the last no line end.
    const auto run = runNmea("-",
                             "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
                             "$GPRMC,233519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
                             "$GNRMC,000001,V,5200.00,S,00400.00,W,,,010124");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "14:35:19\t48,11730\tN\t11,5166666666667\tE\t022\tkts\t084\t O\t23-03-1994\n"
              "2:00:01\t52,00001\tS\t4,000010\tW\t000\tkts\t000\t N\t01-01-2024\n");
    EXPECT_NE(run.err.find("checksum"), std::string::npos);
}

}  // namespace
