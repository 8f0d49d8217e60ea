#include "navigator/map/bmp_reader.h"

#include <QFile>

#include <cstdint>
#include <cstring>
#include <vector>

#include "navigator/map/map_bitmap.h"
#include "platform/regular_file.h"

namespace tarvok::map {

namespace {

std::uint32_t u16(const uchar* p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t u32(const uchar* p) { return u16(p) | u16(p + 2) << 16; }

}  // namespace

BmpRead readBmp(QIODevice& file, QImage& image) {
    uchar h[54];
    if (file.read(reinterpret_cast<char*>(h), sizeof h) != qint64(sizeof h) || h[0] != 'B' ||
        h[1] != 'M')
        return BmpRead::NotHandled;
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

    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    if (qint64(offset) + stride * height > file.size()) return BmpRead::Corrupt;  // cut off

    const bool indexed = bits <= 8;
    QImage img(width, height, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (img.isNull()) return BmpRead::NoMemory;
    if (indexed) {
        const std::uint32_t max = 1u << bits;
        if (colours == 0 || colours > max) colours = max;
        std::vector<uchar> quads(colours * 4);
        if (!file.seek(14 + infoSize) ||
            file.read(reinterpret_cast<char*>(quads.data()), qint64(quads.size())) != qint64(quads.size()))
            return BmpRead::Corrupt;
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (std::uint32_t i = 0; i < colours; ++i)
            table[i] = qRgb(quads[4 * i + 2], quads[4 * i + 1], quads[4 * i]);
        img.setColorTable(table);
    }
    if (!file.seek(offset)) return BmpRead::Corrupt;

    // Rows in blocks of about 8 MB.
    const std::int32_t rowsPerBlock = std::max<std::int32_t>(1, std::int32_t((8 << 20) / stride));
    std::vector<uchar> block(std::size_t(stride) * std::size_t(std::min(rowsPerBlock, height)));
    for (std::int32_t first = 0; first < height; first += rowsPerBlock) {
        const std::int32_t rows = std::min(rowsPerBlock, height - first);
        const qint64 want = stride * rows;
        if (file.read(reinterpret_cast<char*>(block.data()), want) != want) return BmpRead::Corrupt;
        for (std::int32_t r = 0; r < rows; ++r) {
            const std::int32_t fileRow = first + r;
            const std::int32_t y = topDown ? fileRow : height - 1 - fileRow;
            const uchar* s = block.data() + std::size_t(stride) * std::size_t(r);
            uchar* d = img.scanLine(y);
            switch (bits) {
            case 8:
                std::memcpy(d, s, std::size_t(width));
                break;
            case 4:
                for (std::int32_t x = 0; x < width; ++x) d[x] = (x & 1) ? s[x / 2] & 15 : s[x / 2] >> 4;
                break;
            case 1:
                for (std::int32_t x = 0; x < width; ++x) d[x] = (s[x / 8] >> (7 - (x & 7))) & 1;
                break;
            default: {
                auto* out = reinterpret_cast<QRgb*>(d);
                const std::size_t step = bits / 8;
                for (std::int32_t x = 0; x < width; ++x, s += step)
                    out[x] = 0xff000000u | std::uint32_t(s[2]) << 16 | std::uint32_t(s[1]) << 8 | s[0];
            }
            }
        }
    }
    image = std::move(img);
    return BmpRead::Done;
}

BmpRead readBmp(const QString& path, QImage& image) {
    RegularFile opened = RegularFile::openForReading(path.toStdString());
    QFile file;
    if (!opened || !file.open(opened.fd(), QIODevice::ReadOnly)) return BmpRead::NotHandled;
    return readBmp(file, image);
}

}  // namespace tarvok::map
