// The GPS verbs of tarvok-drive: a pseudo-terminal stands in for the GPS
// receiver. `feed` makes it, links COM1 of the prefix (dosdevices/com1) to
// its slave side and writes the lines of an NMEA file into it, one every
// MS milliseconds while navigation is active, so a script can start
// navigation with `click Navig1` and watch the drive. The previous com1
// link is put back when the program ends.
#include <QObject>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <pty.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include "navigator/shell/main_window.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"
#include "tools/drive/drive_navigator.h"

namespace tarvok::drive {

namespace {

namespace fs = std::filesystem;

class NmeaFeed : public QObject {
public:
    NmeaFeed(MainWindow& window, std::vector<std::string> lines, long long msPerLine)
        : QObject(&window), window_(window), lines_(std::move(lines)), msPerLine_(msPerLine) {
        setObjectName(QStringLiteral("NmeaFeed"));
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error(std::string("cannot make a pseudo-terminal: ") + std::strerror(errno));
        // Raw, so the sentences arrive as written; the slave stays open here
        // so that the line lives while the navigator has the port closed.
        termios t{};
        tcgetattr(slave_, &t);
        cfmakeraw(&t);
        tcsetattr(slave_, TCSANOW, &t);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        linkCom1(name);
        connect(&timer_, &QTimer::timeout, this, &NmeaFeed::tick);
        timer_.start(static_cast<int>(msPerLine_ > 0 ? msPerLine_ : 10));
    }
    ~NmeaFeed() override {
        std::error_code ec;
        fs::remove(link_, ec);
        if (!previous_.empty()) fs::create_symlink(previous_, link_, ec);
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }

    bool finished() const { return next_ >= lines_.size() && pending_.empty(); }
    std::size_t linesWritten() const { return next_ - (pending_.empty() ? 0 : 1); }
    std::size_t lineCount() const { return lines_.size(); }
    long long msPerLine() const { return msPerLine_; }

private:
    void linkCom1(const std::string& slave) {
        fs::path folder = window_.paths().prefix() / "dosdevices";
        fs::create_directories(folder);
        link_ = folder / "com1";
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(link_, ec))) previous_ = fs::read_symlink(link_, ec);
        fs::remove(link_, ec);
        fs::create_symlink(slave, link_);
    }

    // Writes what is waiting; false while the line is full.
    bool flush() {
        while (!pending_.empty()) {
            ssize_t n = ::write(master_, pending_.data(), pending_.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            pending_.erase(0, static_cast<std::size_t>(n));
        }
        return true;
    }

    void tick() {
        // Only a navigating window reads the port; the file waits meanwhile.
        if (window_.state().navigationActive != 1) return;
        if (!flush()) return;
        do {
            if (next_ >= lines_.size()) {
                timer_.stop();
                return;
            }
            pending_ = lines_[next_++] + "\r\n";
        } while (flush() && msPerLine_ <= 0);
    }

    MainWindow& window_;
    std::vector<std::string> lines_;
    long long msPerLine_;
    std::size_t next_ = 0;
    std::string pending_;
    QTimer timer_;
    int master_ = -1;
    int slave_ = -1;
    fs::path link_;
    fs::path previous_;
};

NmeaFeed* runningFeed(Driver& d) { return navigatorWindow(d).findChild<NmeaFeed*>(QStringLiteral("NmeaFeed")); }

VerbRegistration feed("feed",
                      "feed FILE [MS]           links COM1 to a pseudo-terminal and feeds the NMEA file into it, "
                      "a line every MS ms (1000; 0 = at once) while navigating",
                      [](Driver& d, const auto& a) {
                          if (a.empty()) throw std::runtime_error("usage: feed FILE [MS]");
                          int error = 0;
                          const std::optional<std::string> text = readRegularFile(a[0], &error);
                          if (!text) throw std::runtime_error("cannot read " + fileErrorText(a[0], error));
                          std::istringstream in(*text);
                          std::vector<std::string> lines;
                          for (std::string line; std::getline(in, line);) {
                              if (!line.empty() && line.back() == '\r') line.pop_back();
                              if (!line.empty()) lines.push_back(line);
                          }
                          const long long ms = numberArg(a, 1, 1000);
                          if (ms < 0) throw std::runtime_error("feed: MS must not be negative");
                          delete runningFeed(d);  // a new feed replaces the one before
                          new NmeaFeed(navigatorWindow(d), std::move(lines), ms);
                          return StepResult::done();
                      });

VerbRegistration waitFed("wait-fed", "wait-fed [MS]            waits until every line of the feed has been written",
                         [](Driver& d, const auto& a) {
                             NmeaFeed* f = runningFeed(d);
                             if (!f) throw std::runtime_error("wait-fed: no feed is running");
                             if (f->finished()) return StepResult::done();
                             const long long bound = numberArg(
                                 a, 0, kDefaultTimeoutMs + static_cast<long long>(f->lineCount()) * f->msPerLine());
                             if (d.elapsedMs() > bound)
                                 return StepResult::failed("timed out with " + std::to_string(f->linesWritten()) +
                                                           " of " + std::to_string(f->lineCount()) + " lines fed");
                             return StepResult::pending();
                         });

// While navigating, the window takes one key per fix shown: a key pressed
// before the next fix is ignored, as the user's would be.
VerbRegistration waitKeys("wait-keys",
                          "wait-keys [MS]           waits until the navigator takes keys again (while navigating, "
                          "one key per fix shown)",
                          [](Driver& d, const auto& a) {
                              if (navigatorWindow(d).state().keyPreview) return StepResult::done();
                              if (d.elapsedMs() > numberArg(a, 0, kDefaultTimeoutMs))
                                  return StepResult::failed("timed out waiting for the navigator to take keys");
                              return StepResult::pending();
                          });

}  // namespace

}  // namespace tarvok::drive
