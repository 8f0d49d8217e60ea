#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstring>

#include "navigator/route/route_file.h"
#include "tests/navigator/route/route_test_files.h"
#include "tests/support/fifo_guard.h"

namespace tarvok::route {
namespace {

namespace fs = std::filesystem;
using tarvok::test::TempPrefix;

constexpr const char* kRoute = "C:\\TARVOK\\ROUTE1.TVK";

TEST(RouteRecord, FieldsSitAtTheirOffsetsLittleEndian) {
    RouteRecord r;
    r.type = 'M';
    r.timeStamp = 1.0;  // 0x3FF0000000000000
    r.latHemisphere = 'Z';
    r.latitude = -2.0;  // 0xC000000000000000 (stored as given)
    r.lonHemisphere = 'W';
    r.longitude = 0.5;  // 0x3FE0000000000000
    r.speed = 0x01020304;
    r.speedUnit = '2';
    r.reserved32 = 0xA1A2A3A4;
    r.course = -1;
    r.x = 0x11223344;
    r.y = 7;
    r.reserved48 = 0xB1B2B3B4;
    r.reserved52 = 0xC1C2C3C4;
    const unsigned char expected[56] = {'M',  0,    0,    0,    0,    0,    0,    0xF0, 0x3F,  // 0 type, 1 time stamp
                                        'Z',  0,    0,    0,    0,    0,    0,    0,    0xC0,  // 9, 10
                                        'W',  0,    0,    0,    0,    0,    0,    0xE0, 0x3F,  // 18, 19
                                        0x04, 0x03, 0x02, 0x01, '2',                           // 27 speed, 31 unit
                                        0xA4, 0xA3, 0xA2, 0xA1, 0xFF, 0xFF, 0xFF, 0xFF,        // 32, 36 course
                                        0x44, 0x33, 0x22, 0x11, 7,    0,    0,    0,           // 40 X, 44 Y
                                        0xB4, 0xB3, 0xB2, 0xB1, 0xC4, 0xC3, 0xC2, 0xC1};       // 48, 52
    RouteRecordBytes b = encodeRouteRecord(r);
    EXPECT_EQ(0, std::memcmp(b.data(), expected, 56));
    EXPECT_EQ(decodeRouteRecord(expected), r);
    EXPECT_FALSE(r.isFiller());
    EXPECT_TRUE(RouteRecord{}.isFiller());
    EXPECT_EQ(signedLatitude(r), -2.0);
    EXPECT_EQ(signedLongitude(r), -0.5);
    r.latHemisphere = 'S';
    r.lonHemisphere = 'E';
    EXPECT_EQ(signedLatitude(r), -2.0);
    EXPECT_EQ(signedLongitude(r), 0.5);
}

TEST(RouteTime, CountsCalendarSecondsFrom1995) {
    EXPECT_EQ(routeSecondsOf({1995, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(routeSecondsOf({1995, 1, 2, 0, 0, 1}), 86401);
    // 1996 is a leap year: 1 March 1996 lies 365 + 31 + 29 days after the epoch.
    EXPECT_EQ(routeSecondsOf({1996, 3, 1, 0, 0, 0}), (365 + 31 + 29) * 86400LL);
    EXPECT_EQ(routeDateTimeOf(static_cast<double>((365 + 31 + 29) * 86400LL) + 3723.9),
              (LocalDateTime{1996, 3, 1, 1, 2, 3}));
    EXPECT_EQ(routeDateTimeOf(-1), (LocalDateTime{1994, 12, 31, 23, 59, 59}));
    LocalDateTime t{2026, 12, 7, 17, 30, 5};
    EXPECT_EQ(routeDateTimeOf(static_cast<double>(routeSecondsOf(t))), t);
    // Garbage time stamps stay within the calendar.
    EXPECT_EQ(routeDateTimeOf(1e300), (LocalDateTime{9999, 12, 31, 23, 59, 59}));
    EXPECT_EQ(routeDateTimeOf(-1e300), (LocalDateTime{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(routeDateTimeOf(std::nan("")), (LocalDateTime{1995, 1, 1, 0, 0, 0}));
    // The system clock reads through the local calendar.
    std::int64_t now = 1'800'000'000;
    EXPECT_EQ(routeSecondsFromSystemTime(now), routeSecondsOf(localDateTimeOf(now)));
    EXPECT_EQ(routeSecondsFromSystemTime(now + 60) - routeSecondsFromSystemTime(now), 60);
}

TEST(RouteFile, PathInTheProgramFolder) {
    EXPECT_EQ(routeFilePath('D'), "D:\\TARVOK\\ROUTE1.TVK");
    EXPECT_EQ(routeFilePath("C:\\TARVOK"), kRoute);
    EXPECT_EQ(routeFilePath("C:\\TARVOK\\"), kRoute);
}

TEST(RouteFile, ReadsRecordsByNumberAndIgnoresATornTail) {
    TempPrefix tp;
    std::string bytes = test::routeFileBytes(2);
    tp.writeDos(kRoute, bytes + std::string(30, 'x'));
    RouteFileReader f(tp.paths(), kRoute);
    ASSERT_EQ(f.count(), 1004);
    EXPECT_TRUE(f.read(0)->isFiller());
    EXPECT_EQ(*f.read(1), test::recordedPoint(1));
    EXPECT_TRUE(f.read(502)->isFiller());
    EXPECT_EQ(*f.read(1003), test::recordedPoint(1003));
    EXPECT_FALSE(f.read(1004));  // the torn record
    EXPECT_FALSE(f.read(-1));
}

TEST(RouteFile, MissingFileReadsAsEmptyAndIsNotCreated) {
    TempPrefix tp;
    tp.writeDos("C:\\TARVOK\\other", "");
    RouteFileReader f(tp.paths(), kRoute);
    EXPECT_EQ(f.count(), 0);
    EXPECT_FALSE(f.read(0));
    EXPECT_FALSE(tp.paths().exists(kRoute));
    // A folder or a pipe in the file's place reads as empty too, at once.
    fs::create_directories(tp.paths().toNative(kRoute));
    EXPECT_EQ(RouteFileReader(tp.paths(), kRoute).count(), 0);
    tarvok::test::FifoGuard pipe(tp.paths().toNative("C:\\TARVOK\\ROUTE2.TVK"));
    EXPECT_EQ(RouteFileReader(pipe.path()).count(), 0);
    EXPECT_FALSE(pipe.released()) << "the reader waited on the pipe";
}

TEST(RouteFile, AppendsFillerAndPointsAndOverwritesATornTail) {
    TempPrefix tp;
    tp.writeDos("C:\\TARVOK\\other", "");
    std::vector<RouteRecord> points{test::recordedPoint(1), test::recordedPoint(2)};
    ASSERT_EQ(appendRouteBlock(tp.paths(), kRoute, points), std::nullopt);
    EXPECT_EQ(tp.readDos(kRoute), test::routeFileBytes(1, 1.0e9, 2));

    // A crash left half a record behind: the next block starts in its place.
    std::string afterCrash = tp.readDos(kRoute) + std::string(20, 'x');
    tp.writeDos(kRoute, afterCrash);
    points = {test::recordedPoint(4), test::recordedPoint(5)};
    ASSERT_EQ(appendRouteBlock(tp.paths(), kRoute, points), std::nullopt);
    std::string expected = test::routeFileBytes(2, 1.0e9, 2);
    EXPECT_EQ(tp.readDos(kRoute), expected);
    RouteFileReader f(tp.paths(), kRoute);
    EXPECT_EQ(f.count(), 6);
    EXPECT_EQ(*f.read(5), test::recordedPoint(5));
}

// Runs appendRouteBlock in a child whose file size limit is `limit` bytes, as
// a full disk would stop it; true when it reported a failure with a message
// naming the file.
bool appendFailsUnderSizeLimit(const TempPrefix& tp, rlim_t limit, const std::vector<RouteRecord>& points) {
    pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {
            limit, limit
        };
        ::setrlimit(RLIMIT_FSIZE, &lim);
        auto error = appendRouteBlock(tp.paths(), kRoute, points);
        ::_exit(!error ? 1 : error->find("ROUTE1.TVK") == std::string::npos ? 2 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: message without the file";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(RouteFile, ANewFileIsTheOwnersAloneAndALinkOrPipeIsNeverWrittenThrough) {
    TempPrefix tp;
    const std::vector<RouteRecord> points{test::recordedPoint(1)};
    tp.writeDos("C:\\TARVOK\\other", "");
    ASSERT_EQ(appendRouteBlock(tp.paths(), kRoute, points), std::nullopt);
    EXPECT_EQ(fs::status(tp.paths().toNative(kRoute)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // A link planted at the file's name: refused, its target untouched.
    const fs::path outside = tp.root() / "outside";
    tarvok::test::writeFile(outside, "keep");
    const fs::path linked = tp.paths().toNative("C:\\TARVOK\\ROUTE2.TVK");
    fs::create_symlink(outside, linked);
    auto error = appendRouteBlock(tp.paths(), "C:\\TARVOK\\ROUTE2.TVK", points);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "cannot write C:\\TARVOK\\ROUTE2.TVK: it is not a file");
    EXPECT_EQ(tarvok::test::readFile(outside), "keep");
    // A pipe: refused at once.
    tarvok::test::FifoGuard pipe(tp.paths().toNative("C:\\TARVOK\\ROUTE3.TVK"));
    error = appendRouteBlock(tp.paths(), "C:\\TARVOK\\ROUTE3.TVK", points);
    EXPECT_FALSE(pipe.released()) << "the writer waited on the pipe";
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("it is not a file"), std::string::npos);
}

TEST(RouteFile, FailedAppendLeavesTheFileAsItWas) {
    TempPrefix tp;
    std::vector<RouteRecord> block;
    for (int i = 1; i <= 501; ++i) block.push_back(test::recordedPoint(i));
    const std::string before = test::routeFileBytes(1) + std::string(10, 'x');
    tp.writeDos(kRoute, before);
    // Room for a few records only: the write is cut short part way.
    EXPECT_TRUE(appendFailsUnderSizeLimit(tp, before.size() + 200, block));
    EXPECT_EQ(tp.readDos(kRoute), before);

    // A file that did not exist is removed again.
    TempPrefix empty;
    empty.writeDos("C:\\TARVOK\\other", "");
    EXPECT_TRUE(appendFailsUnderSizeLimit(empty, 100, block));
    EXPECT_FALSE(empty.paths().exists(kRoute));

    // A read-only file and a missing folder are reported, nothing changes.
    const fs::path native = tp.paths().toNative(kRoute);
    fs::permissions(native, fs::perms::owner_read);
    if (::access(native.c_str(), W_OK) != 0) {  // root may write anyway
        auto error = appendRouteBlock(tp.paths(), kRoute, block);
        ASSERT_TRUE(error);
        EXPECT_NE(error->find("C:\\TARVOK\\ROUTE1.TVK"), std::string::npos) << *error;
        EXPECT_EQ(tp.readDos(kRoute), before);
    }
    fs::permissions(native, fs::perms::owner_all);
    auto error = appendRouteBlock(tp.paths(), "C:\\NOWHERE\\ROUTE1.TVK", block);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos) << *error;
}

}  // namespace
}  // namespace tarvok::route
