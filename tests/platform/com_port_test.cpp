// Where a COM port leads: the serial devices present, the atomic re-link
// inside the prefix, and the gpsd probe against a real gpsd and against
// nothing.
#include "platform/com_port.h"

#include <QSignalSpy>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/gpsd_probe.h"
#include "tests/navigator/gps/gpsd_process.h"
#include "tests/navigator/gps/pty.h"
#include "tests/support/gpsd_ready.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& p, const std::string& content = "") {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << content;
}

TEST(ComPortDevices, StableNamesFirstThenEachKindByNumber) {
    test::TempPrefix tp;
    fs::path dev = tp.root() / "dev", sys = tp.root() / "sys";
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS12", "ttySX", "tty0", "ttyUSB"})
        touch(dev / name);
    fs::create_directories(dev / "serial" / "by-id");
    fs::create_symlink("../../ttyUSB2", dev / "serial" / "by-id" / "usb-b");
    fs::create_symlink("../../ttyUSB2", dev / "serial" / "by-id" / "usb-a");
    fs::create_symlink("../../ttyUSB7", dev / "serial" / "by-id" / "usb-gone");  // dangling: unplugged
    // ttyS1 has no UART behind it; ttyS12 has one; ttyS0 tells nothing.
    touch(sys / "class" / "tty" / "ttyS1" / "type", "0\n");
    touch(sys / "class" / "tty" / "ttyS12" / "type", "4\n");
    std::vector<std::string> expected;
    for (const char* rel :
         {"serial/by-id/usb-a", "serial/by-id/usb-b", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS12"})
        expected.push_back((dev / rel).string());
    EXPECT_EQ(detectSerialDevices(dev, sys), expected);
    EXPECT_TRUE(detectSerialDevices(tp.root() / "nothing", sys).empty());
}

TEST(ComPortAttach, ReplacesTheLinkAtomicallyAndOnlyInsideThePrefix) {
    test::TempPrefix tp;
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_TRUE(attachComPort(tp.prefix(), 1, pty.slaveName()).ok);
    EXPECT_EQ(resolveComPort(tp.prefix(), 1).device, fs::canonical(pty.slaveName()).string());
    ASSERT_TRUE(attachComPort(tp.prefix(), 1, "gpsd://localhost:2947").ok);
    PortTarget t = resolveComPort(tp.prefix(), 1);
    EXPECT_EQ(t.kind, PortTarget::Kind::Gpsd);
    EXPECT_EQ(t.describe(), "gpsd://localhost:2947");
    // Nothing but com1 is left in the folder (no temporary links).
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(tp.prefix() / "dosdevices")) ++entries;
    EXPECT_EQ(entries, 1);

    // A com2 that is a real file is not the program's to replace.
    touch(comPortLink(tp.prefix(), 2), "mine");
    AttachResult r = attachComPort(tp.prefix(), 2, "/dev/ttyUSB0");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("com2"), std::string::npos) << r.error;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(comPortLink(tp.prefix(), 2))));

    // A dosdevices folder that leads elsewhere is not followed.
    test::TempPrefix other;
    fs::create_directories(other.root() / "elsewhere");
    fs::create_directories(other.prefix());
    fs::create_directory_symlink(other.root() / "elsewhere", other.prefix() / "dosdevices");
    EXPECT_FALSE(attachComPort(other.prefix(), 1, "/dev/ttyUSB0").ok);
    EXPECT_TRUE(fs::is_empty(other.root() / "elsewhere"));
    EXPECT_FALSE(attachComPort(tp.prefix(), 0, "/dev/ttyUSB0").ok);
}

TEST(GpsdProbe, AnswersForARealGpsdAndNotForAnEmptyPort) {
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    test::GpsdProcess gpsd(pty.slaveName());
    ASSERT_TRUE(gpsd.started());
    EXPECT_TRUE(test::gpsdAnswers(gpsd.port()));
    gpsd.kill();
    GpsdProbe probe;
    QSignalSpy finished(&probe, &GpsdProbe::finished);
    probe.start(QStringLiteral("localhost"), gpsd.port(), 2000);
    ASSERT_TRUE(test::waitFor([&] { return !probe.running(); }, 3000));
    EXPECT_FALSE(finished.last()[0].toBool());
    EXPECT_FALSE(probe.running());
}

}  // namespace
}  // namespace tarvok
