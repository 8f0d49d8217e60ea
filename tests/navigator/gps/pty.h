// A pseudo-terminal standing in for a GPS receiver: the port under test
// opens the slave side, the test writes NMEA into the master side.
#pragma once

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

namespace tarvok::test {

class Pty {
public:
    Pty() {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            slaveName_ = name;
            // Raw from the start, so nothing written before the port opens
            // is echoed or translated.
            termios t{};
            tcgetattr(slave_, &t);
            cfmakeraw(&t);
            tcsetattr(slave_, TCSANOW, &t);
            fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty() {
        closeMaster();
        if (slave_ >= 0) ::close(slave_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& slaveName() const { return slaveName_; }
    // Our own hold on the slave: while it is open the line stays up even
    // when no one else has it open.
    void closeSlave() {
        if (slave_ >= 0) ::close(slave_);
        slave_ = -1;
    }
    // The receiver goes away: the slave side sees a hang-up.
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    bool write(std::string_view data) {
        while (!data.empty()) {
            ssize_t n = ::write(master_, data.data(), data.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) {
                drain();
                usleep(1000);
                continue;
            }
            if (n <= 0) return false;
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    // Writes what fits into the line now: how many characters were taken
    // (0 when it is full), -1 on an error. For writers that keep the event
    // loop running while the reading side catches up.
    long tryWrite(std::string_view data) {
        ssize_t n;
        do n = ::write(master_, data.data(), data.size());
        while (n < 0 && errno == EINTR);
        if (n < 0 && errno == EAGAIN) return 0;
        return n < 0 ? -1 : static_cast<long>(n);
    }
    // Reads and forgets what the other side wrote (probes of gpsd).
    void drain() {
        char buf[1024];
        while (master_ >= 0 && ::read(master_, buf, sizeof buf) > 0) {}
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
};

}  // namespace tarvok::test
