// A reader for uncompressed Windows bitmaps of any size up to 32767 pixels a
// side (Qt's own BMP reader refuses more than 16384 x 16384 pixels in all),
// reading the rows straight into their place in the image.
#pragma once

#include <QImage>
#include <QString>
#include <atomic>
#include <functional>

namespace tarvok::map {

enum class BmpRead {
    Done,        // the image is read
    NotHandled,  // not an uncompressed 1/4/8/24/32-bit BMP: let Qt try
    Corrupt,     // a BMP whose header is wrong or whose pixels are cut off
    TooLarge,    // wider or higher than 32767 pixels
    NoMemory,    // the image did not fit in memory
    Cancelled,   // `cancel` was set while reading
};

// Reads the BMP open at the descriptor `fd` (a regular file; read with
// pread, so its offset does not matter) into `image`: 8-bit indexed for 1,
// 4 and 8 bits per pixel (with the file's colour table), 24-bit BGR for 24
// bits and RGB32 for 32 bits. These layouts are the file's own rows, so 8,
// 24 and 32-bit pixels are read once, straight into the image. `cancel`, when
// given, is looked at between blocks of rows. `rowsRead`, when given, is
// called after each block with the image being filled and the rows
// [begin, end) the block completed, while they are still in the
// processor's cache; for a large file in the page cache two threads read
// half the rows each, so it may be called from both at once, for rows that
// never overlap. Safe on any thread.
using RowsRead = std::function<void(const QImage& image, int begin, int end)>;
BmpRead readBmp(int fd, QImage& image, const std::atomic<bool>* cancel = nullptr, const RowsRead& rowsRead = {});
// The same for the file at a native path (NotHandled when it cannot be
// opened as a regular file).
BmpRead readBmp(const QString& path, QImage& image);

// A width x height image of `format` whose pixels are not yet set. Large
// images get memory mapped for the purpose, with transparent huge pages
// asked for, so that filling them costs a few hundred page faults instead
// of a few hundred thousand. Null when it does not fit in memory.
QImage uninitialisedImage(int width, int height, QImage::Format format);

}  // namespace tarvok::map
