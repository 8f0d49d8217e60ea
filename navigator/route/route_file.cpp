#include "navigator/route/route_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/program_folder.h"
#include "platform/dos_path.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"

namespace tarvok::route {

std::string routeFilePath(std::string_view programFolder) {
    std::string p(programFolder);
    if (p.empty() || p.back() != '\\') p += '\\';
    return p + "ROUTE1.TVK";
}

std::string routeFilePath(char programDrive) { return routeFilePath(programFolderOn(programDrive)); }

// ------------------------------------------------------------------ reader

RouteFileReader::RouteFileReader(const std::filesystem::path& nativePath) {
    RegularFile file = RegularFile::openForReading(nativePath);
    struct stat st {};
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

std::string failure(std::string_view dosPath, int error) {
    return "cannot write " + std::string(dosPath) + ": " + fileErrorReason(error);
}

}  // namespace

std::optional<std::string> appendRouteBlock(const DosPaths& paths, std::string_view dosPath,
                                            const std::vector<RouteRecord>& points) {
    const std::filesystem::path native = paths.toNative(dosPath);
    // Where the user drove is theirs alone: a new file is readable by its
    // owner only. Never written through a link, never into a pipe.
    bool created = false;
    RegularFile file = RegularFile::openForWriting(native, RegularFile::Creation::Existing);
    if (file.error() == ENOENT) {
        file = RegularFile::openForWriting(native, RegularFile::Creation::Fresh, 0600);
        created = file.isOpen();
    }
    if (!file) return failure(dosPath, file.error());

    struct stat st {};
    if (::fstat(file.fd(), &st) != 0) return failure(dosPath, errno);
    const off_t previous = st.st_size;
    const off_t start = previous - previous % static_cast<off_t>(kRouteRecordSize);

    // The torn tail, kept to put back should the block not get written.
    const std::size_t tornSize = static_cast<std::size_t>(previous - start);
    std::string torn;
    bool tornKept = tornSize == 0;
    if (!tornKept) {
        // Read through the descriptor already open, so it is the same file.
        RegularFile reader = RegularFile::openForReading("/proc/self/fd/" + std::to_string(file.fd()));
        torn.resize(tornSize);
        tornKept = reader && ::pread(reader.fd(), torn.data(), tornSize, start) == static_cast<ssize_t>(tornSize);
    }

    std::string block((points.size() + 1) * kRouteRecordSize, '\0');
    for (std::size_t i = 0; i < points.size(); ++i) {
        RouteRecordBytes b = encodeRouteRecord(points[i]);
        std::copy(b.begin(), b.end(), block.begin() + static_cast<std::ptrdiff_t>((i + 1) * kRouteRecordSize));
    }

    int error = 0;
    if (!file.writeAt(block, start)) {
        error = file.error();
    } else if (::fdatasync(file.fd()) != 0) {
        error = errno;
    } else if (file.close()) {
        return std::nullopt;
    } else {
        // A failed close can mean the data never reached the disk.
        error = file.error();
        file = RegularFile::openForWriting(native, RegularFile::Creation::Existing);
        if (!file) return failure(dosPath, error);
    }
    // Back to the file as it was.
    if (created) {
        file.close();
        ::unlink(native.c_str());
        return failure(dosPath, error);
    }
    if (::ftruncate(file.fd(), start) == 0 && tornKept && tornSize > 0) file.writeAt(torn, start);
    if (!tornKept) (void)!::ftruncate(file.fd(), previous);
    ::fdatasync(file.fd());
    return failure(dosPath, error);
}

std::vector<std::string> unsavedRouteLines(Language language, std::size_t positions, std::string_view error) {
    const std::string n = std::to_string(positions);
    if (language == Language::Dutch)
        return {"WAARSCHUWING",
                "",
                n + " posities van de gereden route",
                "konden niet worden bewaard:",
                std::string(error),
                "",
                "Maak ruimte vrij en probeer opnieuw,",
                "of verwerp deze posities.",
                ""};
    return {"WARNING!",
            "",
            n + " positions of the route driven",
            "could not be saved:",
            std::string(error),
            "",
            "Free some space and try again,",
            "or discard these positions.",
            ""};
}

std::vector<std::string> unsavedRouteChoices(Language language) {
    if (language == Language::Dutch) return {"Opnieuw proberen", "Verwerpen"};
    return {"Try again", "Discard"};
}

}  // namespace tarvok::route
