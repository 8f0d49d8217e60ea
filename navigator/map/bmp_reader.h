// A reader for uncompressed Windows bitmaps of any size up to 32767 pixels a
// side (Qt's own BMP reader refuses more than 16384 x 16384 pixels in all),
// reading straight into the image rows.
#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

namespace tarvok::map {

enum class BmpRead {
    Done,        // the image is read
    NotHandled,  // not an uncompressed 1/4/8/24/32-bit BMP: let Qt try
    Corrupt,     // a BMP whose header is wrong or whose pixels are cut off
    TooLarge,    // wider or higher than 32767 pixels
    NoMemory,    // the image did not fit in memory
};

// Reads the BMP in `file` (open, read from its start) into `image`: 8-bit
// indexed for 1, 4 and 8 bits per pixel (with the file's colour table),
// RGB32 for 24 and 32 bits.
BmpRead readBmp(QIODevice& file, QImage& image);
// The same for the file at a native path (NotHandled when it cannot be
// opened as a regular file).
BmpRead readBmp(const QString& path, QImage& image);

}  // namespace tarvok::map
