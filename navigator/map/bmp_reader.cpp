#include "navigator/map/bmp_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "navigator/map/map_bitmap.h"
#include "platform/regular_file.h"

namespace tarvok::map {

namespace {

std::uint32_t u16(const uchar* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t u32(const uchar* p) { return u16(p) | u16(p + 2) << 16; }

// Below this, plain heap memory is as quick.
constexpr qint64 kMappedImageBytes = 16 << 20;
// Rows are read in blocks of about this many bytes: few system calls, and
// cancelling takes effect within a few milliseconds.
constexpr qint64 kBlockBytes = 8 << 20;
// How far ahead of the rows being read the disk is asked to read.
constexpr qint64 kReadAheadBytes = 32 << 20;
// A map file with at least this many bytes of pixels gets a second
// thread: streaming it into the page cache ahead of the copy when it is not
// there, copying half its rows when it is.
constexpr qint64 kLargeBytes = 64 << 20;
// 32-bit rows get their alpha set after each block, while it is in cache.
constexpr qint64 kRgb32BlockBytes = 1 << 20;

struct Mapping {
    void* address;
    std::size_t length;
};

void unmapImage(void* info) {
    auto* m = static_cast<Mapping*>(info);
    munmap(m->address, m->length);
    delete m;
}

// Reads `length` bytes at `offset` into the scattered `rows`; false when
// the file ends early or cannot be read.
bool readRows(int fd, std::vector<iovec>& rows, qint64 offset) {
    std::size_t first = 0;
    while (first < rows.size()) {
        const int count = int(std::min<std::size_t>(rows.size() - first, IOV_MAX));
        const ssize_t got = preadv(fd, rows.data() + first, count, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        offset += got;
        // A short read: go on after the part that arrived.
        std::size_t left = std::size_t(got);
        while (first < rows.size() && left >= rows[first].iov_len) left -= rows[first++].iov_len;
        if (left > 0) {
            rows[first].iov_base = static_cast<char*>(rows[first].iov_base) + left;
            rows[first].iov_len -= left;
        }
    }
    return true;
}

bool readAt(int fd, void* into, std::size_t length, qint64 offset) {
    std::vector<iovec> one{{into, length}};
    return readRows(fd, one, offset);
}

// True when any of a few pages spread over [from, to) is not in the page
// cache: the file was not read lately, so the disk will set the pace.
bool partlyOnDisk(int fd, qint64 from, qint64 to) {
    constexpr int kSamples = 8;
    std::array<char, 1> probe{};
    for (int i = 0; i < kSamples; ++i) {
        iovec one{probe.data(), probe.size()};
        const qint64 at = from + (to - from) * i / kSamples;
        if (preadv2(fd, &one, 1, at, RWF_NOWAIT) < 0 && errno == EAGAIN) return true;
    }
    return false;
}

// Streams a file into the page cache ahead of the rows being copied, as a
// plain sequential read does: the disk is kept busy while the copying and
// the page faults of the fresh image take their time, instead of each
// block of rows first waiting for the disk and then for the copy.
class CacheFiller {
public:
    CacheFiller(int fd, qint64 from, qint64 to, const std::atomic<bool>* cancel)
        : thread_([this, fd, from, to, cancel] {
              std::vector<char> buffer(std::size_t(1) << 20);
              for (qint64 at = from; at < to;) {
                  if (stop_.load(std::memory_order_relaxed)) return;
                  if (cancel && cancel->load(std::memory_order_relaxed)) return;
                  const ssize_t got =
                      pread(fd, buffer.data(), std::size_t(std::min<qint64>(qint64(buffer.size()), to - at)), at);
                  if (got < 0 && errno == EINTR) continue;
                  if (got <= 0) return;
                  at += got;
              }
          }) {}
    ~CacheFiller() {
        stop_ = true;
        thread_.join();
    }
    CacheFiller(const CacheFiller&) = delete;
    CacheFiller& operator=(const CacheFiller&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

QImage uninitialisedImage(int width, int height, QImage::Format format) {
    const qint64 bytesPerLine = ((qint64(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32) * 4;
    const qint64 bytes = bytesPerLine * height;
    if (bytes < kMappedImageBytes) return QImage(width, height, format);
    void* p = mmap(nullptr, std::size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return {};
    madvise(p, std::size_t(bytes), MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(p), width, height, bytesPerLine, format, unmapImage,
                  new Mapping{p, std::size_t(bytes)});
}

BmpRead readBmp(int fd, QImage& image, const std::atomic<bool>* cancel, const RowsRead& rowsRead) {
    uchar h[54];
    if (!readAt(fd, h, sizeof h, 0) || h[0] != 'B' || h[1] != 'M') return BmpRead::NotHandled;
    const std::uint32_t offset = u32(h + 10), infoSize = u32(h + 14);
    if (infoSize < 40) return BmpRead::NotHandled;  // old OS/2 headers: Qt reads those
    const auto width = std::int32_t(u32(h + 18)), rawHeight = std::int32_t(u32(h + 22));
    const std::uint32_t bits = u16(h + 28), compression = u32(h + 30);
    std::uint32_t colours = u32(h + 46);
    if (compression != 0 || !(bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32))
        return BmpRead::NotHandled;
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return BmpRead::Corrupt;
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width > kMaxBitmapSide || height > kMaxBitmapSide) return BmpRead::TooLarge;

    struct stat st {};
    if (fstat(fd, &st) != 0) return BmpRead::Corrupt;
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    if (qint64(offset) + stride * height > qint64(st.st_size)) return BmpRead::Corrupt;  // cut off

    const bool indexed = bits <= 8;
    const QImage::Format format = indexed      ? QImage::Format_Indexed8
                                  : bits == 24 ? QImage::Format_BGR888
                                               : QImage::Format_RGB32;
    QImage img = uninitialisedImage(width, height, format);
    if (img.isNull()) return BmpRead::NoMemory;
    if (indexed) {
        const std::uint32_t max = 1u << bits;
        if (colours == 0 || colours > max) colours = max;
        std::vector<uchar> quads(colours * 4);
        if (!readAt(fd, quads.data(), quads.size(), 14 + qint64(infoSize))) return BmpRead::Corrupt;
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (std::uint32_t i = 0; i < colours; ++i) table[i] = qRgb(quads[4 * i + 2], quads[4 * i + 1], quads[4 * i]);
        img.setColorTable(table);
    }

    // 8, 24 and 32-bit rows have the image's own layout: read into place.
    // 1 and 4-bit rows are unpacked from a block buffer.
    const bool inPlace = bits >= 8 && img.bytesPerLine() == stride;
    const qint64 blockBytes = bits == 32 ? kRgb32BlockBytes : kBlockBytes;
    const std::int32_t rowsPerBlock = std::int32_t(std::clamp<qint64>(blockBytes / stride, 1, height));
    uchar* const pixels = img.bits();
    const qint64 bytesPerLine = img.bytesPerLine();
    auto imageRow = [&](std::int32_t fileRow) {
        return pixels + bytesPerLine * (topDown ? fileRow : height - 1 - fileRow);
    };
    // Set when either half of a split read fails, so the other stops too.
    std::atomic<bool> failed{false};
    auto stopped = [&] {
        return failed.load(std::memory_order_relaxed) || (cancel && cancel->load(std::memory_order_relaxed));
    };
    // Reads the file's rows [begin, end) into the image.
    auto readSpan = [&](std::int32_t begin, std::int32_t end) {
        std::vector<uchar> block(inPlace ? 0 : std::size_t(stride) * std::size_t(rowsPerBlock));
        std::vector<iovec> rows;
        for (std::int32_t first = begin; first < end; first += rowsPerBlock) {
            if (stopped()) return BmpRead::Cancelled;
            const std::int32_t count = std::min(rowsPerBlock, end - first);
            const qint64 at = qint64(offset) + stride * first;
            posix_fadvise(fd, at + stride * count, kReadAheadBytes, POSIX_FADV_WILLNEED);
            rows.clear();
            for (std::int32_t r = 0; r < count; ++r)
                rows.push_back({inPlace ? imageRow(first + r) : block.data() + std::size_t(stride) * std::size_t(r),
                                std::size_t(stride)});
            if (!readRows(fd, rows, at)) {
                failed = true;
                return BmpRead::Corrupt;
            }
            for (std::int32_t r = 0; r < count; ++r) {
                uchar* d = imageRow(first + r);
                // Rows read in place have no block buffer behind them.
                const uchar* s = inPlace ? d : block.data() + std::size_t(stride) * std::size_t(r);
                if (bits == 32) {
                    if (!inPlace) std::memcpy(d, s, std::size_t(width) * 4);
                    // The fourth byte of a 32-bit BMP pixel is unused: opaque.
                    auto* px = reinterpret_cast<QRgb*>(d);
                    for (std::int32_t x = 0; x < width; ++x) px[x] |= 0xff000000u;
                } else if (bits == 8 && !inPlace) {
                    std::memcpy(d, s, std::size_t(width));
                } else if (bits == 4) {
                    for (std::int32_t x = 0; x < width; ++x) d[x] = (x & 1) ? s[x / 2] & 15 : s[x / 2] >> 4;
                } else if (bits == 1) {
                    for (std::int32_t x = 0; x < width; ++x) d[x] = (s[x / 8] >> (7 - (x & 7))) & 1;
                } else if (bits == 24 && !inPlace) {
                    std::memcpy(d, s, std::size_t(width) * 3);
                }
            }
            if (rowsRead) {
                if (topDown) rowsRead(img, first, first + count);
                else rowsRead(img, height - first - count, height - first);
            }
        }
        return BmpRead::Done;
    };
    // The disk reads ahead of the copying: a map not in the page cache
    // comes in while the rows before it are put in place.
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const qint64 pixelEnd = qint64(offset) + stride * height;
    const bool large = pixelEnd - offset >= kLargeBytes;
    BmpRead outcome = BmpRead::Done;
    if (large && partlyOnDisk(fd, offset, pixelEnd)) {
        CacheFiller filler(fd, offset, pixelEnd, cancel);
        outcome = readSpan(0, height);
    } else if (large && std::thread::hardware_concurrency() >= 2) {
        // A file in the page cache is copied at the pace of the processor
        // and of the fresh image's page faults: two threads copy half each.
        const std::int32_t half = height / 2;
        BmpRead second = BmpRead::Done;
        std::thread helper;
        try {
            helper = std::thread([&] { second = readSpan(half, height); });
        } catch (const std::system_error&) {
            second = readSpan(half, height);  // no thread to be had: one after the other
        }
        outcome = readSpan(0, half);
        if (helper.joinable()) helper.join();
        if (outcome == BmpRead::Done) outcome = second;
        else if (second == BmpRead::Corrupt) outcome = second;  // the first half stopped for the second
    } else {
        outcome = readSpan(0, height);
    }
    if (outcome != BmpRead::Done) return outcome;
    image = std::move(img);
    return BmpRead::Done;
}

BmpRead readBmp(const QString& path, QImage& image) {
    RegularFile opened = RegularFile::openForReading(path.toStdString());
    if (!opened) return BmpRead::NotHandled;
    return readBmp(opened.fd(), image);
}

}  // namespace tarvok::map
