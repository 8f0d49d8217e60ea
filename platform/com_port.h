// Where a COM port leads on this machine, and attaching it to a device.
//
// COMn resolves through <prefix>/dosdevices/comN, a symbolic link to the
// device as Wine keeps it ("com1" -> "/dev/ttyUSB0"), else /dev/ttyS(n-1).
// A link whose target text is "gpsd://host:port" selects a gpsd connection.
// Both programs resolve ports here: the navigator to open the receiver, the
// settings program to show and change where a port goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvok {

struct PortTarget {
    enum class Kind { Serial, Gpsd } kind = Kind::Serial;
    std::string device;  // serial: the device path
    std::string host;    // gpsd
    std::uint16_t port = 2947;
    std::string describe() const;  // "/dev/ttyUSB0", "gpsd://localhost:2947"
};

// <prefix>/dosdevices/comN
std::filesystem::path comPortLink(const std::filesystem::path& prefix, int number);

// COMn (n >= 1) on this prefix.
PortTarget resolveComPort(const std::filesystem::path& prefix, int number);

// The serial devices present under `devRoot` (normally /dev), in this
// order: the stable names in serial/by-id, then ttyUSB*, ttyACM* and ttyS*,
// each group sorted by number. A ttyS port that the kernel reports as having
// no UART (`sysRoot`/class/tty/ttySn/type holding 0) is left out; where that
// is not readable the port is listed.
std::vector<std::string> detectSerialDevices(const std::filesystem::path& devRoot = "/dev",
                                             const std::filesystem::path& sysRoot = "/sys");

struct AttachResult {
    bool ok = false;
    std::string error;  // what went wrong, for the user
};

// Makes COMn lead to `target` (a device path or a "gpsd://host:port" text):
// a new link is made under a unique temporary name in <prefix>/dosdevices
// and renamed over comN, so the port always leads either to its old or to
// its new target. Nothing is written outside the prefix: a dosdevices
// folder that is itself a link, or a comN that is not a link (a file or a
// folder someone put there), is left alone with an error.
AttachResult attachComPort(const std::filesystem::path& prefix, int number, const std::string& target);

}  // namespace tarvok
