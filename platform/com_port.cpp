#include "platform/com_port.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace tarvok {

std::string PortTarget::describe() const {
    if (kind == Kind::Gpsd) return "gpsd://" + host + ":" + std::to_string(port);
    return device;
}

fs::path comPortLink(const fs::path& prefix, int number) {
    return prefix / "dosdevices" / ("com" + std::to_string(number));
}

namespace {

PortTarget gpsdTarget(std::string hostPort) {
    PortTarget t;
    t.kind = PortTarget::Kind::Gpsd;
    while (!hostPort.empty() && hostPort.back() == '/') hostPort.pop_back();
    std::size_t colon = hostPort.rfind(':');
    t.host = hostPort.substr(0, colon);
    if (colon != std::string::npos) {
        std::string digits = hostPort.substr(colon + 1);
        bool ok = !digits.empty() && digits.size() <= 5;
        for (char c : digits) ok = ok && std::isdigit(static_cast<unsigned char>(c));
        unsigned long v = ok ? std::stoul(digits) : 0;
        t.port = ok && v > 0 && v <= 65535 ? static_cast<std::uint16_t>(v) : 0;
    }
    if (t.host.empty()) t.host = "localhost";
    return t;
}

// The number at the end of a device name ("ttyUSB12" -> 12), for sorting.
long trailingNumber(const std::string& name) {
    std::size_t i = name.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(name[i - 1]))) --i;
    if (i == name.size() || name.size() - i > 9) return -1;
    return std::stol(name.substr(i));
}

bool hasNoUart(const fs::path& sysRoot, const std::string& name) {
    std::ifstream in(sysRoot / "class" / "tty" / name / "type");
    std::string type;
    return in >> type && type == "0";
}

std::string systemMessage(int e) { return std::generic_category().message(e); }

}  // namespace

PortTarget resolveComPort(const fs::path& prefix, int number) {
    PortTarget t;
    fs::path link = comPortLink(prefix, number);
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(link, ec))) {
        std::string target = fs::read_symlink(link, ec).string();
        if (target.rfind("gpsd://", 0) == 0) return gpsdTarget(target.substr(7));
        // The device itself, so that its lock is the one other programs see.
        fs::path resolved = fs::canonical(link, ec);
        t.device = ec ? (link.parent_path() / target).lexically_normal().string() : resolved.string();
        return t;
    }
    if (fs::exists(link, ec)) {
        t.device = link.string();
        return t;
    }
    t.device = "/dev/ttyS" + std::to_string(number - 1);
    return t;
}

std::vector<std::string> detectSerialDevices(const fs::path& devRoot, const fs::path& sysRoot) {
    std::vector<std::string> found;
    std::error_code ec;
    std::vector<std::string> byId;
    for (fs::directory_iterator it(devRoot / "serial" / "by-id", ec), end; !ec && it != end; it.increment(ec))
        if (fs::exists(it->path(), ec)) byId.push_back(it->path().string());
    std::sort(byId.begin(), byId.end());
    found.insert(found.end(), byId.begin(), byId.end());

    for (const char* stem : {"ttyUSB", "ttyACM", "ttyS"}) {
        std::vector<std::pair<long, std::string>> group;
        for (fs::directory_iterator it(devRoot, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (name.rfind(stem, 0) != 0) continue;
            long n = trailingNumber(name);
            if (n < 0 || name.size() != std::string(stem).size() + std::to_string(n).size()) continue;
            if (std::string(stem) == "ttyS" && hasNoUart(sysRoot, name)) continue;
            group.emplace_back(n, it->path().string());
        }
        std::sort(group.begin(), group.end());
        for (auto& [n, path] : group) found.push_back(path);
    }
    return found;
}

AttachResult attachComPort(const fs::path& prefix, int number, const std::string& target) {
    AttachResult r;
    if (number < 1 || target.empty()) {
        r.error = "nothing to attach";
        return r;
    }
    fs::path folder = prefix / "dosdevices";
    fs::path link = comPortLink(prefix, number);
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(folder, ec))) {
        r.error = folder.string() + " is a link; it is left as it is";
        return r;
    }
    fs::create_directories(folder, ec);
    if (ec) {
        r.error = "cannot create " + folder.string() + ": " + ec.message();
        return r;
    }
    fs::file_status old = fs::symlink_status(link, ec);
    if (fs::exists(old) && !fs::is_symlink(old)) {
        r.error = link.string() + " is not a link; it is left as it is";
        return r;
    }
    std::random_device rd;
    for (int attempt = 0; attempt < 20; ++attempt) {
        fs::path tmp =
            folder / (".com" + std::to_string(number) + "." + std::to_string(::getpid()) + "." + std::to_string(rd()));
        if (::symlink(target.c_str(), tmp.c_str()) != 0) {
            if (errno == EEXIST) continue;
            r.error = "cannot create a link in " + folder.string() + ": " + systemMessage(errno);
            return r;
        }
        if (::rename(tmp.c_str(), link.c_str()) != 0) {
            r.error = "cannot replace " + link.string() + ": " + systemMessage(errno);
            ::unlink(tmp.c_str());
            return r;
        }
        r.ok = true;
        return r;
    }
    r.error = "no free temporary name in " + folder.string();
    return r;
}

}  // namespace tarvok
