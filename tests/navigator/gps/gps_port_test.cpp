#include "platform/gps_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

#include "tests/navigator/gps/gpsd_process.h"
#include "tests/navigator/gps/pty.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok {
namespace {

namespace fs = std::filesystem;

// Counts a port's opened / failed signals and keeps the failure reasons.
struct PortSignals {
    int opened = 0;
    std::vector<QString> failures;
    explicit PortSignals(GpsPort& port) {
        QObject::connect(&port, &GpsPort::opened, [this] { ++opened; });
        QObject::connect(&port, &GpsPort::failed, [this](const QString& why) { failures.push_back(why); });
    }
    int answers() const { return opened + static_cast<int>(failures.size()); }
};

using test::waitFor;

TEST(LineSettings, ClassicSerialStringWithoutSeparators) {
    EXPECT_EQ(parseLineSettings("4800n81"), (LineSettings{4800, 'n', 8, 1}));
    EXPECT_EQ(parseLineSettings("4800n80"), (LineSettings{4800, 'n', 8, 1}));  // parity flag 0: one stop bit
    EXPECT_EQ(parseLineSettings("9600E72"), (LineSettings{9600, 'e', 7, 2}));
    EXPECT_EQ(parseLineSettings("115200n81"), (LineSettings{115200, 'n', 8, 1}));
    EXPECT_EQ(parseLineSettings("4800n71.5"), (LineSettings{4800, 'n', 7, 3}));
    for (const char* bad : {"", "n81", "4800", "4800x81", "4800n", "4800n8", "4800n83", "99999999999n81"})
        EXPECT_FALSE(parseLineSettings(bad)) << bad;
    for (auto [text, shown] :
         {std::pair{"4800n81", "4800,N,8,1"}, {"9600e72", "9600,E,7,2"}, {"4800o71.5", "4800,O,7,1.5"}})
        EXPECT_EQ(lineSettingsText(*parseLineSettings(text)), shown);
}

TEST(ComPort, ResolvesThroughDosdevicesElseTtyS) {
    test::TempPrefix prefix;
    fs::create_directories(prefix.prefix() / "dosdevices");
    EXPECT_EQ(resolveComPort(prefix.prefix(), 2).device, "/dev/ttyS1");
    fs::create_symlink("/dev/null", prefix.prefix() / "dosdevices" / "com1");
    PortTarget t = resolveComPort(prefix.prefix(), 1);
    EXPECT_EQ(t.kind, PortTarget::Kind::Serial);
    EXPECT_EQ(t.device, "/dev/null");
    fs::create_symlink("gpsd://127.0.0.1:2948", prefix.prefix() / "dosdevices" / "com3");
    t = resolveComPort(prefix.prefix(), 3);
    EXPECT_EQ(t.kind, PortTarget::Kind::Gpsd);
    EXPECT_EQ(t.host, "127.0.0.1");
    EXPECT_EQ(t.port, 2948);
    EXPECT_EQ(t.describe(), "gpsd://127.0.0.1:2948");
    fs::create_symlink("gpsd://gpshost", prefix.prefix() / "dosdevices" / "com4");
    t = resolveComPort(prefix.prefix(), 4);
    EXPECT_EQ(t.host, "gpshost");
    EXPECT_EQ(t.port, 2947);
    // A dangling link names the device it points at.
    fs::create_symlink("/dev/ttyUSB9", prefix.prefix() / "dosdevices" / "com2");
    EXPECT_EQ(resolveComPort(prefix.prefix(), 2).device, "/dev/ttyUSB9");
}

TEST(GpsPortSerial, ReceivesAtTheLineSettingsThroughAPty) {
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    GpsPort port;
    PortSignals sig(port);
    port.open(PortTarget{PortTarget::Kind::Serial, pty.slaveName(), "", 0}, LineSettings{4800, 'n', 8, 1});
    ASSERT_TRUE(waitFor([&] { return sig.answers() > 0; }));
    ASSERT_EQ(sig.opened, 1) << (sig.failures.empty() ? "" : sig.failures[0].toStdString());
    // The line really runs at 4800 8N1.
    termios t{};
    int fd = ::open(pty.slaveName().c_str(), O_RDONLY | O_NOCTTY);
    ASSERT_GE(fd, 0);
    tcgetattr(fd, &t);
    ::close(fd);
    EXPECT_EQ(cfgetispeed(&t), B4800);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0u);

    QByteArray got;
    QObject::connect(&port, &GpsPort::readyRead, [&] { got += port.readAll(); });
    ASSERT_TRUE(pty.write("$GPRMC,1\r\n$GPR"));
    ASSERT_TRUE(waitFor([&] { return got.size() >= 14; }));
    EXPECT_EQ(got, QByteArray("$GPRMC,1\r\n$GPR"));
}

TEST(GpsPortSerial, MissingDeviceFailsWithTheReason) {
    GpsPort port;
    PortSignals sig(port);
    port.open(PortTarget{PortTarget::Kind::Serial, "/dev/ttyUSB-not-there", "", 0}, LineSettings{});
    ASSERT_TRUE(waitFor([&] { return !sig.failures.empty(); }));
    EXPECT_FALSE(sig.failures[0].isEmpty());
    EXPECT_FALSE(port.isOpen());
    // Four data bits: no serial line has them.
    test::Pty pty;
    GpsPort port2;
    PortSignals sig2(port2);
    port2.open(PortTarget{PortTarget::Kind::Serial, pty.slaveName(), "", 0}, LineSettings{4800, 'n', 4, 1});
    ASSERT_TRUE(waitFor([&] { return !sig2.failures.empty(); }));
    EXPECT_NE(sig2.failures[0].indexOf(QStringLiteral("4 data bits")), -1);
}

TEST(GpsPortSerial, VanishingDeviceIsReportedOnce) {
    test::Pty pty;
    GpsPort port;
    PortSignals sig(port);
    port.open(PortTarget{PortTarget::Kind::Serial, pty.slaveName(), "", 0}, LineSettings{});
    ASSERT_TRUE(waitFor([&] { return sig.opened > 0; }));
    pty.closeSlave();
    pty.closeMaster();  // the receiver is unplugged
    ASSERT_TRUE(waitFor([&] { return !sig.failures.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(sig.failures.size(), 1u);
    EXPECT_FALSE(port.isOpen());
}

TEST(GpsPortGpsd, RawNmeaThroughTheRealDaemon) {
    test::Pty pty;
    ASSERT_TRUE(pty.ok());
    test::GpsdProcess gpsd(pty.slaveName());
    ASSERT_TRUE(gpsd.started()) << "gpsd is part of the setup packages";
    const quint16 listen = gpsd.port();

    GpsPort port;
    PortSignals sig(port);
    QByteArray got;
    QObject::connect(&port, &GpsPort::readyRead, [&] { got += port.readAll(); });
    // gpsd takes a moment to listen: try until the connection stands.
    QElapsedTimer t;
    t.start();
    while (sig.opened == 0 && t.elapsed() < 8000) {
        sig.failures.clear();
        port.open(PortTarget{PortTarget::Kind::Gpsd, "", "127.0.0.1", listen}, LineSettings{});
        waitFor([&] { return sig.answers() > 0; }, 2000);
        if (sig.opened == 0) waitFor([] { return false; }, 100);
    }
    ASSERT_EQ(sig.opened, 1);
    const char* rmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n";
    bool seen = waitFor(
        [&] {
            pty.drain();
            pty.write(rmc);
            return got.contains("$GPRMC,123519,A,4807.038,N");
        },
        10000);
    ASSERT_TRUE(seen) << got.toStdString();
    // Only the receiver's sentences come through, not gpsd's own reports.
    EXPECT_FALSE(got.contains("\"class\""));
    // gpsd going away is a lost connection.
    gpsd.kill();
    ASSERT_TRUE(waitFor([&] { return !sig.failures.empty(); }));
}

}  // namespace
}  // namespace tarvok
