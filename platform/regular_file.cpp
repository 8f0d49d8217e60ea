#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace tarvok {

namespace {

// Something other than a regular file stands at `path`; a link counts as
// such when `linkCounts` (a file to be written), else its target is looked at.
bool holdsOtherThanFile(const std::filesystem::path& path, bool linkCounts) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    if (S_ISLNK(st.st_mode)) {
        if (linkCounts) return true;
        if (::stat(path.c_str(), &st) != 0) return false;
    }
    return !S_ISREG(st.st_mode);
}

// The type checked on the open descriptor, blocking switched back on.
int checkOpened(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    if (!S_ISREG(st.st_mode)) return kNotAFile;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return errno;
    return 0;
}

}  // namespace

RegularFile RegularFile::open(const std::filesystem::path& path, int flags, mode_t mode, bool writing) {
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        int e = errno;
        // A pipe without a reader (ENXIO), a link refused (ELOOP), a folder
        // (EISDIR): to the user all of them are not a file.
        if (e != ENOENT && holdsOtherThanFile(path, writing)) e = kNotAFile;
        return RegularFile(-1, e);
    }
    if (const int e = checkOpened(fd); e != 0) {
        ::close(fd);
        return RegularFile(-1, e);
    }
    return RegularFile(fd, 0);
}

RegularFile RegularFile::openForReading(const std::filesystem::path& path) { return open(path, O_RDONLY, 0, false); }

RegularFile RegularFile::openForWriting(const std::filesystem::path& path, Creation creation, mode_t mode) {
    int flags = O_WRONLY | O_NOFOLLOW;
    if (creation == Creation::IfMissing) flags |= O_CREAT;
    if (creation == Creation::Fresh) flags |= O_CREAT | O_EXCL;
    return open(path, flags, mode, true);
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

RegularFile::RegularFile(RegularFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, 0)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::exchange(other.error_, 0);
    }
    return *this;
}

std::optional<std::string> RegularFile::read(std::size_t limit) {
    if (fd_ < 0) return std::nullopt;
    std::string bytes;
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_size > 0)
        bytes.reserve(std::min<std::size_t>(limit, static_cast<std::size_t>(st.st_size)));
    char chunk[65536];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd_, chunk, std::min(sizeof chunk, limit - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error_ = errno;
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
}

bool RegularFile::writeAt(std::string_view bytes, off_t at) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        at += n;
    }
    return true;
}

bool RegularFile::close() {
    if (fd_ < 0) return true;
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) == 0) return true;
    error_ = errno;
    return false;
}

std::optional<std::string> readRegularFile(const std::filesystem::path& path, int* error, std::size_t limit) {
    RegularFile file = RegularFile::openForReading(path);
    std::optional<std::string> bytes = file.read(limit);
    if (error) *error = bytes ? 0 : file.error();
    return bytes;
}

int replaceFile(const std::filesystem::path& path, std::string_view bytes, mode_t mode) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return kNotAFile;
    std::string name = path.string() + ".new-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return errno;
    RegularFile file(fd, 0);
    auto fail = [&](int e) {
        file = RegularFile();
        ::unlink(name.c_str());
        return e;
    };
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (!file.writeAt(bytes, 0)) return fail(file.error());
    if (::fsync(fd) != 0) return fail(errno);
    if (!file.close()) return fail(file.error());
    if (::rename(name.c_str(), path.c_str()) != 0) return fail(errno);
    return 0;
}

FileInputStream::Buffer::int_type FileInputStream::Buffer::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!file_.isOpen()) return traits_type::eof();
    for (;;) {
        const ssize_t n = ::read(file_.fd(), data_, sizeof data_);
        if (n < 0 && errno == EINTR) continue;
        // The stream turns this into its badbit.
        if (n < 0) throw std::system_error(errno, std::generic_category());
        if (n == 0) return traits_type::eof();
        setg(data_, data_, data_ + n);
        return traits_type::to_int_type(*gptr());
    }
}

}  // namespace tarvok
