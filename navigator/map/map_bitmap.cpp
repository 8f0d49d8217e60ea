#include "navigator/map/map_bitmap.h"

#include "navigator/map/bmp_reader.h"
#include "platform/regular_file.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarvok::map {

namespace {

// Levels stop halving once both sides fit a screen comfortably.
constexpr int kSmallestLevelSide = 1024;

bool isEightBit(QImage::Format f) {
    return f == QImage::Format_Indexed8 || f == QImage::Format_Grayscale8;
}

// The average of four pixels, channel by channel.
inline QRgb average2(QRgb a, QRgb b) { return (a & b) + (((a ^ b) & 0xfefefefeu) >> 1); }
inline QRgb average4(QRgb a, QRgb b, QRgb c, QRgb d) {
    return average2(average2(a, b), average2(c, d));
}

QImage halved(const QImage& src) {
    const int w = std::max(1, src.width() / 2), h = std::max(1, src.height() / 2);
    QImage dst(w, h, src.format());
    if (dst.isNull()) return dst;
    if (isEightBit(src.format())) {
        // Colour indices cannot be averaged: every second pixel is kept.
        dst.setColorTable(src.colorTable());
        for (int y = 0; y < h; ++y) {
            const uchar* s = src.constScanLine(std::min(2 * y, src.height() - 1));
            uchar* d = dst.scanLine(y);
            for (int x = 0; x < w; ++x) d[x] = s[std::min(2 * x, src.width() - 1)];
        }
        return dst;
    }
    const int sx1 = src.width() > 1 ? 1 : 0;
    for (int y = 0; y < h; ++y) {
        const auto* r0 = reinterpret_cast<const QRgb*>(src.constScanLine(std::min(2 * y, src.height() - 1)));
        const auto* r1 = reinterpret_cast<const QRgb*>(src.constScanLine(std::min(2 * y + 1, src.height() - 1)));
        auto* d = reinterpret_cast<QRgb*>(dst.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = 2 * x, b = std::min(2 * x + sx1, src.width() - 1);
            d[x] = average4(r0[a], r0[b], r1[a], r1[b]) | 0xff000000u;
        }
    }
    return dst;
}

// Brings any image into one of the two forms the renderer reads: 32-bit
// opaque RGB, or 8-bit indices into a colour table. Transparent parts are
// shown on white, as on paper.
QImage normalised(QImage image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return image;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return image.convertToFormat(QImage::Format_Indexed8);
    default:
        break;
    }
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    if (opaque.isNull()) return opaque;
    opaque.fill(Qt::white);
    QPainter p(&opaque);
    p.drawImage(0, 0, image);
    return opaque;
}

}  // namespace

MapBitmap::MapBitmap() {
    // Maps of several hundred megabytes are the point of this program: allow
    // images up to the largest side this program takes, in 32 bits.
    const qint64 mb = qint64(kMaxBitmapSide) * kMaxBitmapSide * 4 / (1024 * 1024) + 1;
    if (QImageReader::allocationLimit() < mb) QImageReader::setAllocationLimit(int(mb));
}

MapBitmap::LoadError MapBitmap::load(const QString& nativePath, int* openError) {
    RegularFile opened = RegularFile::openForReading(nativePath.toStdString());
    if (openError) *openError = opened.error();
    if (!opened) return LoadError::CannotOpen;
    QFile file;
    if (!file.open(opened.fd(), QIODevice::ReadOnly)) return LoadError::Unreadable;
    QImage image;
    switch (readBmp(file, image)) {
    case BmpRead::Done: return assign(std::move(image));
    case BmpRead::Corrupt: return LoadError::Unreadable;
    case BmpRead::TooLarge: return LoadError::TooLarge;
    case BmpRead::NoMemory: return LoadError::NoMemory;
    case BmpRead::NotHandled: break;
    }
    if (!file.seek(0)) return LoadError::Unreadable;
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    if (!reader.canRead()) return LoadError::Unreadable;
    const QSize size = reader.size();
    if (size.width() > kMaxBitmapSide || size.height() > kMaxBitmapSide) return LoadError::TooLarge;
    if (!reader.read(&image) || image.isNull()) return LoadError::Unreadable;
    return assign(std::move(image));
}

std::vector<std::string> MapBitmap::readableFormats() {
    // BMP is read by our own reader whatever Qt offers; the rest by Qt's
    // image plugins as installed.
    std::vector<std::string> formats{"bmp"};
    for (const QByteArray& f : QImageReader::supportedImageFormats()) formats.push_back(f.toLower().toStdString());
    return formats;
}

MapBitmap::LoadError MapBitmap::assign(QImage image) {
    if (image.isNull()) return LoadError::Unreadable;
    if (image.width() > kMaxBitmapSide || image.height() > kMaxBitmapSide) return LoadError::TooLarge;
    image = normalised(std::move(image));
    if (image.isNull()) return LoadError::Unreadable;
    // The previous map is let go only now that the new one is in memory.
    levels_.clear();
    levels_.push_back(std::move(image));
    buildPyramid();
    return LoadError::None;
}

void MapBitmap::buildPyramid() {
    const QImage& base = levels_[0];
    lut_.assign(256, 0xff000000u);
    if (base.format() == QImage::Format_Indexed8) {
        const auto table = base.colorTable();
        for (int i = 0; i < int(table.size()) && i < 256; ++i) {
            // Palette transparency shown on white.
            const QRgb c = table[i];
            const int a = qAlpha(c);
            auto mix = [a](int v) { return (v * a + 255 * (255 - a)) / 255; };
            lut_[std::size_t(i)] = qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
        }
    } else if (base.format() == QImage::Format_Grayscale8) {
        for (int i = 0; i < 256; ++i) lut_[std::size_t(i)] = qRgb(i, i, i);
    }
    while (levels_.back().width() > kSmallestLevelSide || levels_.back().height() > kSmallestLevelSide) {
        QImage next = halved(levels_.back());
        if (next.isNull()) break;  // out of memory: coarser clips come from the finer level
        levels_.push_back(std::move(next));
    }
}

qint64 MapBitmap::bytesHeld() const {
    qint64 n = 0;
    for (const QImage& l : levels_) n += l.sizeInBytes();
    return n;
}

int MapBitmap::levelFor(double clipWidth, double clipHeight, int targetWidth, int targetHeight) const {
    if (levels_.empty() || targetWidth <= 0 || targetHeight <= 0) return 0;
    const double scale = std::min(clipWidth / targetWidth, clipHeight / targetHeight);
    int k = 0;
    while (k + 1 < int(levels_.size()) && scale >= double(1 << (k + 1))) ++k;
    return k;
}

void MapBitmap::renderClip(const QRectF& clip, QImage& target) const {
    const int tw = target.width(), th = target.height();
    if (tw <= 0 || th <= 0) return;
    if (levels_.empty() || clip.width() <= 0 || clip.height() <= 0) {
        target.fill(Qt::white);
        return;
    }
    const int k = levelFor(clip.width(), clip.height(), tw, th);
    const QImage& src = levels_[std::size_t(k)];
    const double unit = double(1 << k);
    const double sx = clip.width() / tw / unit, sy = clip.height() / th / unit;
    const double x0 = clip.x() / unit, y0 = clip.y() / unit;

    // Source column of each target column, at the target pixel's centre.
    thread_local std::vector<int> columns;
    columns.resize(std::size_t(tw));
    for (int x = 0; x < tw; ++x)
        columns[std::size_t(x)] =
            std::clamp(int(std::floor(x0 + (x + 0.5) * sx)), 0, src.width() - 1);

    const bool eightBit = isEightBit(src.format());
    int previousRow = -1;
    for (int y = 0; y < th; ++y) {
        const int row = std::clamp(int(std::floor(y0 + (y + 0.5) * sy)), 0, src.height() - 1);
        auto* d = reinterpret_cast<QRgb*>(target.scanLine(y));
        if (row == previousRow) {  // magnified: the same source row again
            std::memcpy(d, target.constScanLine(y - 1), std::size_t(tw) * sizeof(QRgb));
            continue;
        }
        previousRow = row;
        if (eightBit) {
            const uchar* s = src.constScanLine(row);
            for (int x = 0; x < tw; ++x) d[x] = lut_[s[columns[std::size_t(x)]]];
        } else {
            const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(row));
            for (int x = 0; x < tw; ++x) d[x] = s[columns[std::size_t(x)]];
        }
    }
}

QImage MapBitmap::clip(const QRectF& rect, QSize size) const {
    QImage target(size, QImage::Format_RGB32);
    if (!target.isNull()) renderClip(rect, target);
    return target;
}

}  // namespace tarvok::map
