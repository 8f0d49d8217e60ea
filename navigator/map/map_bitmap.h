// The bitmap of the current map, held once, with a pyramid of halved copies
// so that any rectangle of it can be shown stretched to the map picture at
// the cost of about one frame of pixels, whatever the map's size.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
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
    };

    MapBitmap();

    // Loads any image format Qt reads (BMP, PNG, JPEG, TIFF, ...). On
    // failure the bitmap held before stays as it was; a file that cannot be
    // opened leaves the reason (an errno value or kNotAFile) in `openError`.
    LoadError load(const QString& nativePath, int* openError = nullptr);
    // Takes an image already in memory (the start picture, tests).
    LoadError assign(QImage image);

    // The file suffixes of the image formats load() reads ("bmp", "png", ...).
    static std::vector<std::string> readableFormats();

    bool isNull() const { return levels_.empty(); }
    int width() const { return levels_.empty() ? 0 : levels_[0].width(); }
    int height() const { return levels_.empty() ? 0 : levels_[0].height(); }
    int levelCount() const { return int(levels_.size()); }
    const QImage& level(int k) const { return levels_[std::size_t(k)]; }
    // Bytes of pixel data held, all levels together.
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
    void buildPyramid();

    std::vector<QImage> levels_;     // 0: the bitmap itself; k: halved k times
    std::vector<QRgb> lut_;          // colours of 8-bit levels
};

}  // namespace tarvok::map
