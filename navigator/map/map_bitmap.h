// The bitmap of the current map, held once in the form it was read (24-bit
// maps stay 24-bit), with a pyramid of halved copies so that any rectangle
// of it can be shown stretched to the map picture at the cost of about one
// frame of pixels, whatever the map's size.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <atomic>
#include <string>
#include <vector>

namespace tarvok::map {

inline constexpr int kMaxBitmapSide = 32767;

class MapBitmap {
public:
    enum class LoadError {
        None,
        CannotOpen,  // missing, not permitted, or not a file (a pipe, a device): see openError
        Unreadable,
        TooLarge,
        NoMemory,
        Cancelled,  // a newer load took its place
    };

    // An image file read into memory, in one of the forms the renderer
    // reads, ready to become the bitmap.
    struct ReadImage {
        QImage image;
        // When asked for: the whole image stretched to the asked size as
        // renderClip shows it from the image itself, so that the first
        // frame of a big map need not wait for the pyramid.
        QImage overview;
        LoadError error = LoadError::None;
        int openError = 0;  // with CannotOpen: an errno value or kNotAFile
    };

    MapBitmap();

    // Reads any image format Qt reads (BMP, PNG, JPEG, TIFF, ...); our own
    // reader takes uncompressed BMPs. Touches no bitmap, so it may run on a
    // worker thread; `cancel` stops a BMP read between blocks of rows. With
    // a valid `overviewSize` the overview of that size comes with the image.
    static ReadImage read(const QString& nativePath, const std::atomic<bool>* cancel = nullptr,
                          QSize overviewSize = {});
    // The halved copies of `base`, level 1 upwards, until both sides fit a
    // screen. Safe on a worker thread; `cancel` stops it between levels.
    static std::vector<QImage> pyramidOf(const QImage& base, const std::atomic<bool>* cancel = nullptr);

    // Reads and takes the image at once, pyramid included. On failure the
    // bitmap held before stays as it was; a file that cannot be opened
    // leaves the reason (an errno value or kNotAFile) in `openError`.
    LoadError load(const QString& nativePath, int* openError = nullptr);
    // Takes an image already in memory (the start picture, tests), pyramid included.
    LoadError assign(QImage image);
    // Takes `image` as the bitmap without a pyramid yet: clips come from
    // the bitmap itself until setPyramid. The levels held before move to
    // `previous` when given (to be let go elsewhere), else are freed here.
    // `overview`, read with the image, serves the whole-map clip of its size
    // until the pyramid comes.
    LoadError setBase(QImage image, std::vector<QImage>* previous = nullptr, QImage overview = {});
    // Takes the pyramid built from `base`; false (and nothing changes) when
    // `base` is no longer the bitmap.
    bool setPyramid(const QImage& base, std::vector<QImage> levels);

    // The file suffixes of the image formats load() reads ("bmp", "png", ...).
    static std::vector<std::string> readableFormats();

    bool isNull() const { return levels_.empty(); }
    int width() const { return levels_.empty() ? 0 : levels_[0].width(); }
    int height() const { return levels_.empty() ? 0 : levels_[0].height(); }
    int levelCount() const { return int(levels_.size()); }
    const QImage& level(int k) const { return levels_[std::size_t(k)]; }
    // Bytes of pixel data held, all levels (and the overview) together.
    qint64 bytesHeld() const;

    // Fills `target` (any size, Format_RGB32) with the rectangle `clip` of
    // the bitmap (in bitmap pixels) stretched to the target's size. The
    // pixels come from the pyramid level with at least one source pixel per
    // target pixel that is closest to the scale, sampled at the target
    // pixels' centres. Parts of the clip outside the bitmap repeat its edge.
    void renderClip(const QRectF& clip, QImage& target) const;
    QImage clip(const QRectF& clip, QSize size) const;

    // The pyramid level renderClip uses for a clip `clipWidth` x `clipHeight`
    // shown in `targetWidth` x `targetHeight`.
    int levelFor(double clipWidth, double clipHeight, int targetWidth, int targetHeight) const;

private:
    std::vector<QImage> levels_;  // 0: the bitmap itself; k: halved k times
    std::vector<QRgb> lut_;       // colours of 8-bit levels
    QImage overview_;             // see setBase
};

}  // namespace tarvok::map
