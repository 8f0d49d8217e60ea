#include "navigator/gps/announcement_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "navigator/gps/announcement.h"
#include "platform/file_error_text.h"
#include "platform/regular_file.h"

namespace tarvok::gps {

namespace {

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
    // Never through a link planted at its name, never into a pipe.
    RegularFile out = RegularFile::openForWriting(file, RegularFile::Creation::IfMissing);
    if (!out) return fileErrorReason(out.error());
    struct stat st {};
    if (::fstat(out.fd(), &st) != 0) return errorText();
    if (!out.writeAt(wav, 0)) return fileErrorReason(out.error());
    if (static_cast<std::uintmax_t>(st.st_size) > wav.size() &&
        ::ftruncate(out.fd(), static_cast<off_t>(wav.size())) != 0)
        return errorText();
    if (!out.close()) return fileErrorReason(out.error());
    return std::nullopt;
}

}  // namespace tarvok::gps
