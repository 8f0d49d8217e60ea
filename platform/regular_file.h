// Files that must be files.
//
// Every file the programs read or write is opened here. Only a regular file
// is taken: a named pipe, a device, a socket or a folder standing where a
// file belongs is refused at once ("... is not a file"), never waited on:
// the open itself cannot block (O_NONBLOCK until the type has been checked
// on the open descriptor, so nothing can be swapped in between). A file
// that is written is never reached through a symbolic link at its own name
// (O_NOFOLLOW), and a file replaced whole is written under a fresh, unique
// name beside it and renamed into place, so a crash or a full disk leaves
// the old file as it was. Descriptors are not inherited by started programs.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

namespace tarvok {

// The error of a path that holds something other than a regular file (or a
// symbolic link where a file is to be written), beside the errno values.
inline constexpr int kNotAFile = -1;

int replaceFile(const std::filesystem::path& path, std::string_view bytes, mode_t mode);

class RegularFile {
public:
    enum class Creation {
        Existing,   // the file must exist
        IfMissing,  // created when missing (O_CREAT)
        Fresh,      // created now; fails when anything is there (O_CREAT | O_EXCL)
    };

    RegularFile() = default;
    ~RegularFile();
    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Opens for reading; a link is followed to the file it names.
    static RegularFile openForReading(const std::filesystem::path& path);
    // Opens for writing, never through a link at the file's own name; a
    // file created gets `mode`.
    static RegularFile openForWriting(const std::filesystem::path& path, Creation creation, mode_t mode = 0644);

    bool isOpen() const { return fd_ >= 0; }
    explicit operator bool() const { return isOpen(); }
    int fd() const { return fd_; }
    // Why the open, or the last read or write, failed: an errno value or
    // kNotAFile; 0 when nothing failed.
    int error() const { return error_; }
    bool notAFile() const { return error_ == kNotAFile; }

    // From the current position to the end of the file, at most `limit`
    // bytes; nothing on a read error.
    std::optional<std::string> read(std::size_t limit = std::string::npos);
    // Writes all of `bytes` at offset `at`; false on failure.
    bool writeAt(std::string_view bytes, off_t at);
    // Closes now; false when the close reported an error (a late write error).
    bool close();
    // Hands the descriptor over to the caller, who closes it.
    int release() { return std::exchange(fd_, -1); }

private:
    friend int replaceFile(const std::filesystem::path& path, std::string_view bytes, mode_t mode);
    RegularFile(int fd, int error) : fd_(fd), error_(error) {}
    static RegularFile open(const std::filesystem::path& path, int flags, mode_t mode, bool writing);
    int fd_ = -1;
    int error_ = 0;
};

// A whole file (at most `limit` bytes), or nothing with the reason in
// `error` (when given).
std::optional<std::string> readRegularFile(const std::filesystem::path& path, int* error = nullptr,
                                           std::size_t limit = std::string::npos);

// Replaces the file at `path` whole: `bytes` go to a new file with a unique
// name beside it (created exclusively, then given `mode`), are flushed to
// the disk and the new file is renamed over `path`. A link at `path` is
// replaced, never followed; a pipe, device or folder there is left alone
// and refused. 0 on success, else the reason (an errno value or kNotAFile);
// on failure the old file is untouched and no new file is left behind.
int replaceFile(const std::filesystem::path& path, std::string_view bytes, mode_t mode = 0644);

// An open regular file read as a stream, in pieces. A read error (as
// opposed to the end of the file) sets the stream's badbit.
class FileInputStream : public std::istream {
public:
    explicit FileInputStream(RegularFile file) : std::istream(nullptr), buffer_(std::move(file)) { rdbuf(&buffer_); }

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(RegularFile file) : file_(std::move(file)) {}

    protected:
        int_type underflow() override;

    private:
        RegularFile file_;
        char data_[65536];
    };
    Buffer buffer_;
};

}  // namespace tarvok
