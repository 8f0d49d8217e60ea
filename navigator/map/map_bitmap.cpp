#include "navigator/map/map_bitmap.h"

#include "navigator/map/bmp_reader.h"
#include "platform/regular_file.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <optional>

namespace tarvok::map {

namespace {

// Levels stop halving once both sides fit a screen comfortably.
constexpr int kSmallestLevelSide = 1024;

bool isEightBit(QImage::Format f) { return f == QImage::Format_Indexed8 || f == QImage::Format_Grayscale8; }

// The average of four pixels, channel by channel.
inline QRgb average2(QRgb a, QRgb b) { return (a & b) + (((a ^ b) & 0xfefefefeu) >> 1); }
inline QRgb average4(QRgb a, QRgb b, QRgb c, QRgb d) { return average2(average2(a, b), average2(c, d)); }

QImage halved(const QImage& src) {
    const int w = std::max(1, src.width() / 2), h = std::max(1, src.height() / 2);
    QImage dst = uninitialisedImage(w, h, src.format());
    if (dst.isNull()) return dst;
    const int sx1 = src.width() > 1 ? 1 : 0;
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
    if (src.format() == QImage::Format_BGR888) {
        // Each of the three bytes averaged over the four pixels.
        for (int y = 0; y < h; ++y) {
            const uchar* r0 = src.constScanLine(std::min(2 * y, src.height() - 1));
            const uchar* r1 = src.constScanLine(std::min(2 * y + 1, src.height() - 1));
            uchar* d = dst.scanLine(y);
            for (int x = 0; x < w; ++x) {
                const int a = 6 * x, b = 3 * std::min(2 * x + sx1, src.width() - 1);
                for (int c = 0; c < 3; ++c)
                    d[3 * x + c] = uchar((r0[a + c] + r0[b + c] + r1[a + c] + r1[b + c] + 2) >> 2);
            }
        }
        return dst;
    }
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

// Brings any image into one of the forms the renderer reads: 32-bit opaque
// RGB, 24-bit BGR, or 8-bit indices into a colour table. Transparent parts
// are shown on white, as on paper.
QImage normalised(QImage image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_BGR888:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: return image;
    case QImage::Format_RGB888: return image.convertToFormat(QImage::Format_BGR888);
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return image.convertToFormat(QImage::Format_Indexed8);
    default: break;
    }
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    if (opaque.isNull()) return opaque;
    opaque.fill(Qt::white);
    QPainter p(&opaque);
    p.drawImage(0, 0, image);
    return opaque;
}

void raiseAllocationLimit() {
    // Maps of several hundred megabytes are the point of this program: allow
    // images up to the largest side this program takes, in 32 bits.
    static const bool raised = [] {
        const qint64 mb = qint64(kMaxBitmapSide) * kMaxBitmapSide * 4 / (1024 * 1024) + 1;
        if (QImageReader::allocationLimit() < mb) QImageReader::setAllocationLimit(int(mb));
        return true;
    }();
    (void)raised;
}

// Which pixels of `src` a target of `target` pixels shows for `clip` (in
// `src` pixels): each target pixel shows the source pixel under its centre;
// parts of the clip outside `src` repeat its edge. The pixels of `src` and
// `lut` must outlive the sampler.
class ClipSampler {
public:
    ClipSampler(const QImage& src, const std::vector<QRgb>& lut, const QRectF& clip, QSize target);
    // The source row shown in target row `y`; it never decreases as `y` grows.
    int rowOf(int y) const;
    // Fills one target row (RGB32) from source row `row`.
    void sampleRow(int row, QRgb* d) const;

private:
    const uchar* bits_;
    qsizetype bytesPerLine_;
    QImage::Format format_;
    int height_;
    const std::vector<QRgb>& lut_;
    std::vector<int> columns_;  // source column (byte offset for 24 bits) of each target column
    int wholeWords_;            // 24 bits: columns before this are read four bytes at a time
    double y0_, sy_;
};

// The whole of an image stretched to `size`, exactly as the bitmap's own
// pixels show it, filled while the image's rows come in so that each is
// looked at while still in the processor's cache.
class OverviewSampler {
public:
    OverviewSampler(const QImage& image, QSize size);
    OverviewSampler(const OverviewSampler&) = delete;  // its sampler points at its colours
    OverviewSampler& operator=(const OverviewSampler&) = delete;
    // Rows [begin, end) of `image` hold their pixels now.
    void rowsRead(int begin, int end);
    QImage take() { return std::move(overview_); }

private:
    std::vector<QRgb> lut_;
    ClipSampler sampler_;
    QImage overview_;
    // Taken once: scanLine() would touch the image's shared state from two threads.
    uchar* bits_;
};

// The colour each byte of an 8-bit image stands for (palette transparency
// shown on white); all black for other formats.
std::vector<QRgb> coloursOf(const QImage& image) {
    std::vector<QRgb> lut(256, 0xff000000u);
    if (image.format() == QImage::Format_Indexed8) {
        const auto table = image.colorTable();
        for (int i = 0; i < int(table.size()) && i < 256; ++i) {
            // Palette transparency shown on white.
            const QRgb c = table[i];
            const int a = qAlpha(c);
            auto mix = [a](int v) { return (v * a + 255 * (255 - a)) / 255; };
            lut[std::size_t(i)] = qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
        }
    } else if (image.format() == QImage::Format_Grayscale8) {
        for (int i = 0; i < 256; ++i) lut[std::size_t(i)] = qRgb(i, i, i);
    }
    return lut;
}

ClipSampler::ClipSampler(const QImage& src, const std::vector<QRgb>& lut, const QRectF& clip, QSize target)
    : bits_(src.constBits()),
      bytesPerLine_(src.bytesPerLine()),
      format_(src.format()),
      height_(src.height()),
      lut_(lut),
      columns_(std::size_t(std::max(target.width(), 0))),
      wholeWords_(target.width()),
      y0_(clip.y()),
      sy_(clip.height() / std::max(target.height(), 1)) {
    const double sx = clip.width() / std::max(target.width(), 1);
    for (int x = 0; x < target.width(); ++x)
        columns_[std::size_t(x)] = std::clamp(int(std::floor(clip.x() + (x + 0.5) * sx)), 0, src.width() - 1);
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    // 24-bit pixels are read four bytes at a time (little-endian: blue,
    // green, red and one byte too many, masked off) where those four bytes
    // lie inside the row; the columns from `wholeWords_` on are read by byte.
    if (src.format() == QImage::Format_BGR888) {
        for (int& c : columns_) c *= 3;  // byte offsets
        while (wholeWords_ > 0 && columns_[std::size_t(wholeWords_ - 1)] + 4 > src.bytesPerLine()) --wholeWords_;
    }
}

int ClipSampler::rowOf(int y) const { return std::clamp(int(std::floor(y0_ + (y + 0.5) * sy_)), 0, height_ - 1); }

void ClipSampler::sampleRow(int row, QRgb* d) const {
    const int tw = int(columns_.size());
    const uchar* s = bits_ + bytesPerLine_ * row;
    if (isEightBit(format_)) {
        for (int x = 0; x < tw; ++x) d[x] = lut_[s[columns_[std::size_t(x)]]];
    } else if (format_ == QImage::Format_BGR888) {
        for (int x = 0; x < wholeWords_; ++x) {
            std::uint32_t v;
            std::memcpy(&v, s + columns_[std::size_t(x)], 4);
            d[x] = 0xff000000u | v;
        }
        for (int x = wholeWords_; x < tw; ++x) {
            const uchar* p = s + columns_[std::size_t(x)];
            d[x] = 0xff000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
        }
    } else {
        const auto* px = reinterpret_cast<const QRgb*>(s);
        for (int x = 0; x < tw; ++x) d[x] = px[columns_[std::size_t(x)]];
    }
}

OverviewSampler::OverviewSampler(const QImage& image, QSize size)
    : lut_(coloursOf(image)),
      sampler_(image, lut_, QRectF(0, 0, image.width(), image.height()), size),
      overview_(size, QImage::Format_RGB32),
      bits_(overview_.bits()) {}

void OverviewSampler::rowsRead(int begin, int end) {
    if (overview_.isNull()) return;
    // Source rows grow with the overview's rows: those of [begin, end) are a run.
    int y = 0, n = overview_.height();
    while (n > 0) {  // the first overview row whose source row is at or past `begin`
        const int half = n / 2;
        if (sampler_.rowOf(y + half) < begin) {
            y += half + 1;
            n -= half + 1;
        } else {
            n = half;
        }
    }
    for (; y < overview_.height() && sampler_.rowOf(y) < end; ++y)
        sampler_.sampleRow(sampler_.rowOf(y), reinterpret_cast<QRgb*>(bits_ + overview_.bytesPerLine() * y));
}

}  // namespace

MapBitmap::MapBitmap() { raiseAllocationLimit(); }

MapBitmap::ReadImage MapBitmap::read(const QString& nativePath, const std::atomic<bool>* cancel, QSize overviewSize) {
    raiseAllocationLimit();
    ReadImage r;
    std::optional<OverviewSampler> overview;
    RegularFile opened = RegularFile::openForReading(nativePath.toStdString());
    r.openError = opened.error();
    if (!opened) {
        r.error = LoadError::CannotOpen;
        return r;
    }
    // Our reader's rows are sampled as they come in, while in the cache.
    // Two threads may report rows at once: the sampler is made once, and
    // each fills only the overview rows its own rows show.
    RowsRead sampleRows;
    std::once_flag overviewMade;
    if (overviewSize.isValid())
        sampleRows = [&](const QImage& image, int begin, int end) {
            std::call_once(overviewMade, [&] { overview.emplace(image, overviewSize); });
            overview->rowsRead(begin, end);
        };
    switch (readBmp(opened.fd(), r.image, cancel, sampleRows)) {
    case BmpRead::Done: break;
    case BmpRead::Corrupt: r.error = LoadError::Unreadable; return r;
    case BmpRead::TooLarge: r.error = LoadError::TooLarge; return r;
    case BmpRead::NoMemory: r.error = LoadError::NoMemory; return r;
    case BmpRead::Cancelled: r.error = LoadError::Cancelled; return r;
    case BmpRead::NotHandled: {
        QFile file;
        if (!file.open(opened.fd(), QIODevice::ReadOnly) || !file.seek(0)) {
            r.error = LoadError::Unreadable;
            return r;
        }
        QImageReader reader(&file);
        reader.setAutoTransform(false);
        if (!reader.canRead()) {
            r.error = LoadError::Unreadable;
            return r;
        }
        const QSize size = reader.size();
        if (size.width() > kMaxBitmapSide || size.height() > kMaxBitmapSide) {
            r.error = LoadError::TooLarge;
            return r;
        }
        if (!reader.read(&r.image) || r.image.isNull()) {
            r.error = LoadError::Unreadable;
            return r;
        }
        break;
    }
    }
    if (r.image.width() > kMaxBitmapSide || r.image.height() > kMaxBitmapSide) r.error = LoadError::TooLarge;
    else r.image = normalised(std::move(r.image));
    if (r.error == LoadError::None && r.image.isNull()) r.error = LoadError::NoMemory;
    if (r.error != LoadError::None) {
        r.image = QImage();
        return r;
    }
    if (overviewSize.isValid() && !overview) overview.emplace(r.image, overviewSize).rowsRead(0, r.image.height());
    if (overview) r.overview = overview->take();
    return r;
}

std::vector<QImage> MapBitmap::pyramidOf(const QImage& base, const std::atomic<bool>* cancel) {
    std::vector<QImage> levels;
    const QImage* last = &base;
    while (last->width() > kSmallestLevelSide || last->height() > kSmallestLevelSide) {
        if (cancel && cancel->load(std::memory_order_relaxed)) break;
        QImage next = halved(*last);
        if (next.isNull()) break;  // out of memory: coarser clips come from the finer level
        levels.push_back(std::move(next));
        last = &levels.back();
    }
    return levels;
}

MapBitmap::LoadError MapBitmap::load(const QString& nativePath, int* openError) {
    ReadImage r = read(nativePath);
    if (openError) *openError = r.openError;
    if (r.error != LoadError::None) return r.error;
    return assign(std::move(r.image));
}

std::vector<std::string> MapBitmap::readableFormats() {
    // BMP is read by our own reader whatever Qt offers; the rest by Qt's
    // image plugins as installed.
    std::vector<std::string> formats{"bmp"};
    for (const QByteArray& f : QImageReader::supportedImageFormats()) formats.push_back(f.toLower().toStdString());
    return formats;
}

MapBitmap::LoadError MapBitmap::assign(QImage image) {
    const LoadError e = setBase(std::move(image));
    if (e == LoadError::None) setPyramid(levels_[0], pyramidOf(levels_[0]));
    return e;
}

MapBitmap::LoadError MapBitmap::setBase(QImage image, std::vector<QImage>* previous, QImage overview) {
    if (image.isNull()) return LoadError::Unreadable;
    if (image.width() > kMaxBitmapSide || image.height() > kMaxBitmapSide) return LoadError::TooLarge;
    const qint64 given = image.cacheKey();
    image = normalised(std::move(image));
    if (image.isNull()) return LoadError::Unreadable;
    // The previous map is let go only now that the new one is in memory.
    if (previous) *previous = std::move(levels_);
    levels_.clear();
    levels_.push_back(std::move(image));
    lut_ = coloursOf(levels_[0]);
    // An overview sampled before a conversion would show other pixels.
    overview_ = levels_[0].cacheKey() == given ? std::move(overview) : QImage();
    return LoadError::None;
}

bool MapBitmap::setPyramid(const QImage& base, std::vector<QImage> levels) {
    if (levels_.empty() || levels_[0].cacheKey() != base.cacheKey()) return false;
    levels_.resize(1);
    if (!levels.empty()) overview_ = QImage();  // whole-map clips come from a level now
    for (QImage& l : levels) levels_.push_back(std::move(l));
    return true;
}

qint64 MapBitmap::bytesHeld() const {
    qint64 n = 0;
    for (const QImage& l : levels_) n += l.sizeInBytes();
    return n + overview_.sizeInBytes();
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
    if (k == 0 && target.size() == overview_.size() && clip == QRectF(0, 0, width(), height())) {
        // The whole map, sampled from the bitmap itself as below when it was read.
        for (int y = 0; y < th; ++y)
            std::memcpy(target.scanLine(y), overview_.constScanLine(y), std::size_t(tw) * sizeof(QRgb));
        return;
    }
    const double unit = double(1 << k);
    const ClipSampler sampler(levels_[std::size_t(k)], lut_,
                              QRectF(clip.x() / unit, clip.y() / unit, clip.width() / unit, clip.height() / unit),
                              target.size());
    int previousRow = -1;
    for (int y = 0; y < th; ++y) {
        const int row = sampler.rowOf(y);
        auto* d = reinterpret_cast<QRgb*>(target.scanLine(y));
        if (row == previousRow) {  // magnified: the same source row again
            std::memcpy(d, target.constScanLine(y - 1), std::size_t(tw) * sizeof(QRgb));
            continue;
        }
        previousRow = row;
        sampler.sampleRow(row, d);
    }
}

QImage MapBitmap::clip(const QRectF& rect, QSize size) const {
    QImage target(size, QImage::Format_RGB32);
    if (!target.isNull()) renderClip(rect, target);
    return target;
}

}  // namespace tarvok::map
