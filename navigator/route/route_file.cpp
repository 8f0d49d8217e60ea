#include "navigator/route/route_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/dos_path.h"
#include "platform/regular_file.h"

namespace tarvok::route {

std::string routeFilePath(std::string_view programFolder) {
    std::string p(programFolder);
    if (p.empty() || p.back() != '\\') p += '\\';
    return p + "ROUTE1.TVK";
}

std::string routeFilePath(char programDrive) { return routeFilePath(std::string(1, programDrive) + ":\\TARVOK"); }

// ------------------------------------------------------------------ reader

RouteFileReader::RouteFileReader(const std::filesystem::path& nativePath) {
    RegularFile file = RegularFile::openForReading(nativePath);
    struct stat st{};
    if (!file || ::fstat(file.fd(), &st) != 0) return;
    fd_ = file.release();
    count_ = static_cast<std::int64_t>(st.st_size) / static_cast<std::int64_t>(kRouteRecordSize);
}

RouteFileReader::RouteFileReader(const DosPaths& paths, std::string_view dosPath)
    : RouteFileReader(paths.toNative(dosPath)) {}

RouteFileReader::~RouteFileReader() {
    if (fd_ >= 0) ::close(fd_);
}

RouteFileReader::RouteFileReader(RouteFileReader&& other) noexcept : fd_(other.fd_), count_(other.count_) {
    other.fd_ = -1;
    other.count_ = 0;
}

RouteFileReader& RouteFileReader::operator=(RouteFileReader&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        count_ = other.count_;
        other.fd_ = -1;
        other.count_ = 0;
    }
    return *this;
}

std::optional<RouteRecord> RouteFileReader::read(std::int64_t k) const {
    if (fd_ < 0 || k < 0 || k >= count_) return std::nullopt;
    RouteRecordBytes b{};
    std::size_t got = 0;
    const off_t at = static_cast<off_t>(k) * static_cast<off_t>(kRouteRecordSize);
    while (got < b.size()) {
        ssize_t n = ::pread(fd_, b.data() + got, b.size() - got, at + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        got += static_cast<std::size_t>(n);
    }
    return decodeRouteRecord(b.data());
}

// ------------------------------------------------------------------ writer

namespace {

bool writeAll(int fd, const unsigned char* p, std::size_t size, off_t at) {
    while (size > 0) {
        ssize_t n = ::pwrite(fd, p, size, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
        at += n;
    }
    return true;
}

std::string failure(std::string_view dosPath, int error) {
    return "cannot write " + std::string(dosPath) + ": " + std::generic_category().message(error);
}

}  // namespace

std::optional<std::string> appendRouteBlock(const DosPaths& paths, std::string_view dosPath,
                                            const std::vector<RouteRecord>& points) {
    const std::filesystem::path native = paths.toNative(dosPath);
    bool created = false;
    int fd = ::open(native.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        created = fd >= 0;
    }
    if (fd < 0) return failure(dosPath, errno);

    struct stat st{};
    if (::fstat(fd, &st) != 0) {
        int e = errno;
        ::close(fd);
        return failure(dosPath, e);
    }
    const off_t previous = st.st_size;
    const off_t start = previous - previous % static_cast<off_t>(kRouteRecordSize);

    // The torn tail, kept to put back should the block not get written.
    unsigned char torn[kRouteRecordSize];
    const std::size_t tornSize = static_cast<std::size_t>(previous - start);
    bool tornKept = tornSize == 0;
    if (!tornKept) {
        int rfd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
        if (rfd >= 0) {
            tornKept = ::pread(rfd, torn, tornSize, start) == static_cast<ssize_t>(tornSize);
            ::close(rfd);
        }
    }

    std::vector<unsigned char> block((points.size() + 1) * kRouteRecordSize, 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        RouteRecordBytes b = encodeRouteRecord(points[i]);
        std::copy(b.begin(), b.end(), block.begin() + static_cast<std::ptrdiff_t>((i + 1) * kRouteRecordSize));
    }

    if (writeAll(fd, block.data(), block.size(), start) && ::fdatasync(fd) == 0) {
        if (::close(fd) == 0) return std::nullopt;
        // A failed close can mean the data never reached the disk.
        int e = errno;
        fd = ::open(native.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return failure(dosPath, e);
        errno = e;
    }
    const int error = errno;
    // Back to the file as it was.
    if (created) {
        ::close(fd);
        ::unlink(native.c_str());
        return failure(dosPath, error);
    }
    if (::ftruncate(fd, start) == 0 && tornKept && tornSize > 0) writeAll(fd, torn, tornSize, start);
    if (!tornKept) (void)!::ftruncate(fd, previous);
    ::fdatasync(fd);
    ::close(fd);
    return failure(dosPath, error);
}

}  // namespace tarvok::route
