#include "navigator/gps/announcement_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "navigator/gps/announcement.h"
#include "platform/regular_file.h"

namespace tarvok::gps {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the close reported an error (a late write error).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string errorText() { return std::strerror(errno); }

}  // namespace

std::string readFragmentFile(const std::filesystem::path& file) {
    RegularFile in = RegularFile::openForReading(file);
    const std::optional<std::string> bytes = in.read(kFragmentFileReadLimit);
    if (!bytes) return {};
    // A read that stops short of the limit has met the end of the file, so
    // its count is the file's length; only a file that fills the limit needs
    // its length asked for.
    std::uintmax_t length = bytes->size();
    if (length == kFragmentFileReadLimit) {
        struct stat st {};
        if (::fstat(in.fd(), &st) != 0) return {};
        length = static_cast<std::uintmax_t>(st.st_size);
    }
    return fragmentFromFile(*bytes, length);
}

std::optional<std::string> writeAnnouncementFile(const std::filesystem::path& file, std::string_view samples) {
    const std::string wav = announcementWav(samples);
    Fd fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (fd.get() < 0) return errorText();
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return errorText();
    std::size_t done = 0;
    while (done < wav.size()) {
        const ssize_t n = ::pwrite(fd.get(), wav.data() + done, wav.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errorText();
        if (n == 0) return std::string("nothing written");
        done += static_cast<std::size_t>(n);
    }
    if (static_cast<std::uintmax_t>(st.st_size) > wav.size() && ::ftruncate(fd.get(), static_cast<off_t>(wav.size())) != 0)
        return errorText();
    if (!fd.close()) return errorText();
    return std::nullopt;
}

}  // namespace tarvok::gps
