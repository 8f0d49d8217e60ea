#include "navigator/map/map_bitmap.h"

#include <QPainter>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "navigator/map/map_view_widget.h"
#include "tests/support/bmp_writer.h"

namespace tarvok::map {
namespace {

// Left half red, right half blue, a green top row.
QImage halves(int w, int h, QImage::Format format = QImage::Format_RGB32) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    p.fillRect(0, 0, w, 1, Qt::green);
    p.end();
    return img.convertToFormat(format);
}

TEST(MapBitmap, ReadsTheCommonFormats) {
    QTemporaryDir dir;
    for (const char* ext : {"bmp", "png", "jpg", "tif"}) {
        const QString path = dir.filePath(QStringLiteral("map.") + QLatin1String(ext));
        ASSERT_TRUE(halves(300, 200).save(path)) << ext;
        MapBitmap bitmap;
        ASSERT_EQ(bitmap.load(path), MapBitmap::LoadError::None) << ext;
        EXPECT_EQ(bitmap.width(), 300);
        EXPECT_EQ(bitmap.height(), 200);
        QImage c = bitmap.clip(QRectF(150, 1, 150, 199), QSize(50, 50));
        EXPECT_LT(qRed(c.pixel(25, 25)), 40) << ext;
        EXPECT_GT(qBlue(c.pixel(25, 25)), 200) << ext;
    }
}

TEST(MapBitmap, AnUnreadableFileKeepsThePreviousBitmap) {
    QTemporaryDir dir;
    MapBitmap bitmap;
    ASSERT_EQ(bitmap.assign(halves(64, 48)), MapBitmap::LoadError::None);

    const std::string corrupt = dir.filePath("corrupt.bmp").toStdString();
    test::writeBmp(corrupt, 64, 48, 24, [](int, std::uint8_t*) {});
    std::filesystem::resize_file(corrupt, 60);  // header only, pixels cut off
    const std::string text = dir.filePath("notes.bmp").toStdString();
    std::FILE* f = std::fopen(text.c_str(), "wb");
    std::fputs("this is not a picture\r\n", f);
    std::fclose(f);
    // A header claiming more than 32767 pixels a side.
    const std::string wide = dir.filePath("wide.bmp").toStdString();
    ASSERT_TRUE(test::writeBmp(wide, 40000, 1, 8, [](int, std::uint8_t*) {}));

    EXPECT_EQ(bitmap.load(QString::fromStdString(corrupt)), MapBitmap::LoadError::Unreadable);
    EXPECT_EQ(bitmap.load(QString::fromStdString(text)), MapBitmap::LoadError::Unreadable);
    EXPECT_EQ(bitmap.load(dir.filePath("missing.bmp")), MapBitmap::LoadError::CannotOpen);
    EXPECT_EQ(bitmap.load(QString::fromStdString(wide)), MapBitmap::LoadError::TooLarge);
    EXPECT_EQ(bitmap.width(), 64);
    EXPECT_EQ(bitmap.height(), 48);
}

TEST(MapBitmap, PyramidHalvesAndClipsComeFromTheLevelNearestTheScale) {
    MapBitmap bitmap;
    ASSERT_EQ(bitmap.assign(halves(4096, 3072)), MapBitmap::LoadError::None);
    ASSERT_EQ(bitmap.levelCount(), 3);  // 4096, 2048, 1024
    EXPECT_EQ(bitmap.level(1).width(), 2048);
    EXPECT_EQ(bitmap.level(2).height(), 768);
    EXPECT_LE(double(bitmap.bytesHeld()), 1.34 * double(bitmap.level(0).sizeInBytes()));
    EXPECT_EQ(bitmap.levelFor(4096, 3072, 1000, 750), 2);
    EXPECT_EQ(bitmap.levelFor(4096, 3072, 2048, 1536), 1);
    EXPECT_EQ(bitmap.levelFor(1024, 768, 1000, 750), 0);
    // Box filter: a level pixel straddling red and blue is their mix.
    const QRgb mixed = bitmap.level(1).pixel(1023, 100);
    EXPECT_EQ(qRed(mixed), 255);  // 2048 = the first blue column of level 0: level 1 col 1024
    EXPECT_EQ(qRed(bitmap.level(1).pixel(1024, 100)), 0);

    // The same clip gives the same picture whichever level serves it.
    QImage coarse = bitmap.clip(QRectF(0, 0, 4096, 3072), QSize(400, 300));
    EXPECT_EQ(coarse.pixel(100, 150), qRgb(255, 0, 0));
    EXPECT_EQ(coarse.pixel(300, 150), qRgb(0, 0, 255));
    QImage fine = bitmap.clip(QRectF(2040, 1000, 16, 8), QSize(160, 80));  // magnified
    EXPECT_EQ(fine.pixel(70, 40), qRgb(255, 0, 0));
    EXPECT_EQ(fine.pixel(90, 40), qRgb(0, 0, 255));
}

TEST(MapBitmap, LoadsA20000By15000Bitmap) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("big.bmp").toStdString();
    constexpr int W = 20000, H = 15000;
    // Grey level = row / 100 on the left half, 255 on the right.
    ASSERT_TRUE(test::writeBmp(path, W, H, 8, [](int y, std::uint8_t* px) {
        std::memset(px, y / 100, W / 2);
        std::memset(px + W / 2, 255, W / 2);
    }));
    // Read as a map not opened lately is: from the disk, a second thread
    // streaming the file into the cache ahead of the rows being copied.
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    fdatasync(fd);
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
    MapBitmap bitmap;
    ASSERT_EQ(bitmap.load(QString::fromStdString(path)), MapBitmap::LoadError::None);
    std::filesystem::remove(path);
    EXPECT_EQ(bitmap.width(), W);
    EXPECT_EQ(bitmap.height(), H);
    EXPECT_LE(double(bitmap.bytesHeld()), 1.34 * double(bitmap.level(0).sizeInBytes()));
    QImage whole = bitmap.clip(QRectF(0, 0, W, H), QSize(1000, 750));
    EXPECT_EQ(whole.pixel(10, 700), qRgb(140, 140, 140));  // row 14000
    EXPECT_EQ(whole.pixel(900, 10), qRgb(255, 255, 255));
    QImage corner = bitmap.clip(QRectF(0, 14900, 100, 100), QSize(100, 100));
    EXPECT_EQ(corner.pixel(50, 50), qRgb(149, 149, 149));
}

// Our BMP reader puts the rows straight into place, bottom-up or top-down
// files alike; 24-bit maps stay 24-bit in memory, and the unused fourth byte
// of 32-bit pixels does not make them transparent.
TEST(MapBitmap, ReadsBmpRowsInPlaceInTheFilesOwnDepth) {
    QTemporaryDir dir;
    constexpr int W = 37, H = 23;  // odd sizes: rows padded in the file
    struct Row {
        int bits;
        bool topDown;
        QImage::Format held;
    };
    for (const Row& r : {Row{8, false, QImage::Format_Indexed8}, Row{24, false, QImage::Format_BGR888},
                         Row{24, true, QImage::Format_BGR888}, Row{32, true, QImage::Format_RGB32}}) {
        const std::string path = dir.filePath("m.bmp").toStdString();
        ASSERT_TRUE(test::writeBmp(path, W, H, r.bits, [&](int y, std::uint8_t* px) {
            for (int x = 0; x < W; ++x)
                for (int c = 0; c < r.bits / 8; ++c)
                    px[x * (r.bits / 8) + c] = std::uint8_t(c == 3 ? 0 : x * 6 + y + c);
        }));
        if (r.topDown) {
            // The same rows stored top row first, as a negative height says.
            std::FILE* f = std::fopen(path.c_str(), "r+b");
            const std::int32_t negative = -H;
            std::fseek(f, 22, SEEK_SET);
            std::fwrite(&negative, 4, 1, f);
            std::fclose(f);
        }
        MapBitmap bitmap;
        ASSERT_EQ(bitmap.load(QString::fromStdString(path)), MapBitmap::LoadError::None) << r.bits;
        EXPECT_EQ(bitmap.level(0).format(), r.held) << r.bits;
        const QImage shown = bitmap.clip(QRectF(0, 0, W, H), QSize(W, H));
        for (const QPoint p : {QPoint(0, 0), QPoint(W - 1, 0), QPoint(5, H - 1), QPoint(W - 1, H - 1)}) {
            const int y = r.topDown ? H - 1 - p.y() : p.y();  // the row the writer filled there
            const int v = p.x() * 6 + y;
            const QRgb want = r.bits == 8 ? qRgb(v, v, v) : qRgb(v + 2, v + 1, v);
            EXPECT_EQ(shown.pixel(p), want) << r.bits << (r.topDown ? " top-down " : " ") << p.x() << "," << p.y();
            if (r.bits == 32) { EXPECT_EQ(qAlpha(bitmap.level(0).pixel(p)), 255); }
        }
    }
}

// The overview read with a map is the whole map exactly as the bitmap
// itself shows it at that size, shrunk or magnified, whatever reads the file
// and however many blocks of rows it comes in. Files of 64 MB and more are
// read by two threads at once (they are in the page cache, just written):
// their rows land where one thread would put them.
// The image's rows at its ends and around its middle hold what `fill` wrote
// (the writer's row 0 is the bottom one, or the top one once the header's
// height is made negative); the unused fourth byte of 32-bit pixels aside.
template <class Fill>
void expectRowsAsWritten(const QImage& image, int bits, bool topDown, const Fill& fill) {
    ASSERT_FALSE(image.isNull());
    const int h = image.height(), bytes = image.width() * bits / 8;
    std::vector<std::uint8_t> want(std::size_t(bytes) + 4);
    for (const int y : {0, h / 2 - 1, h / 2, h / 2 + 1, h - 1}) {
        fill(topDown ? h - 1 - y : y, want.data());
        const uchar* got = image.constScanLine(y);
        int differ = -1;
        for (int i = 0; i < bytes && differ < 0; ++i)
            if ((bits != 32 || i % 4 != 3) && got[i] != want[std::size_t(i)]) differ = i;
        EXPECT_EQ(differ, -1) << bits << " bits, image row " << y << " of " << h;
    }
}

TEST(MapBitmap, OverviewReadWithTheMapIsTheWholeMapAsTheBitmapShowsIt) {
    QTemporaryDir dir;
    struct Row {
        int bits, width, height;  // bits 0: a PNG read by Qt
        bool topDown;
    };
    for (const Row& r :
         {Row{24, 4000, 3000, false}, Row{8, 4000, 3000, true}, Row{32, 700, 500, false}, Row{24, 301, 203, true},
          Row{0, 301, 203, false}, Row{24, 6001, 3811, false}, Row{32, 4100, 4097, true}, Row{8, 9000, 7500, false}}) {
        const std::string path = dir.filePath(r.bits ? "m.bmp" : "m.png").toStdString();
        const auto fill = [&](int y, std::uint8_t* px) {
            for (int x = 0; x < r.width * (r.bits ? r.bits : 24) / 8; ++x) px[x] = std::uint8_t(x * 7 + y * 13);
        };
        if (r.bits) {
            ASSERT_TRUE(test::writeBmp(path, r.width, r.height, r.bits, fill));
            if (r.topDown) {
                std::FILE* f = std::fopen(path.c_str(), "r+b");
                const std::int32_t negative = -r.height;
                std::fseek(f, 22, SEEK_SET);
                std::fwrite(&negative, 4, 1, f);
                std::fclose(f);
            }
        } else {
            QImage png(r.width, r.height, QImage::Format_RGB888);
            for (int y = 0; y < r.height; ++y) fill(y, png.scanLine(y));
            ASSERT_TRUE(png.save(QString::fromStdString(path)));
        }
        for (const QSize size : {QSize(97, 61), QSize(450, 301)}) {
            const auto read = MapBitmap::read(QString::fromStdString(path), nullptr, size);
            ASSERT_EQ(read.error, MapBitmap::LoadError::None) << r.bits;
            MapBitmap plain;
            ASSERT_EQ(plain.setBase(read.image), MapBitmap::LoadError::None);
            EXPECT_EQ(read.overview, plain.clip(QRectF(0, 0, r.width, r.height), size)) << r.bits << " " << r.width;
        }
        if (r.bits) expectRowsAsWritten(MapBitmap::read(QString::fromStdString(path)).image, r.bits, r.topDown, fill);
    }
}

// A whole-map clip of the overview's size comes from the overview until the
// pyramid is in place; anything else is drawn from the levels.
TEST(MapBitmap, OverviewServesOnlyTheWholeMapAtItsSize) {
    const QImage map = halves(4096, 3072);
    QImage overview(400, 300, QImage::Format_RGB32);
    overview.fill(Qt::black);  // unlike anything the map shows
    const QRectF whole(0, 0, 4096, 3072);
    MapBitmap bitmap;
    ASSERT_EQ(bitmap.setBase(map, nullptr, overview), MapBitmap::LoadError::None);
    EXPECT_EQ(bitmap.clip(whole, QSize(400, 300)), overview);
    EXPECT_EQ(bitmap.clip(whole, QSize(401, 300)).pixel(100, 150), qRgb(255, 0, 0));
    EXPECT_EQ(bitmap.clip(QRectF(0, 0, 4096, 3000), QSize(400, 300)).pixel(100, 150), qRgb(255, 0, 0));
    const qint64 withOverview = bitmap.bytesHeld();
    ASSERT_TRUE(bitmap.setPyramid(bitmap.level(0), MapBitmap::pyramidOf(bitmap.level(0))));
    EXPECT_EQ(bitmap.clip(whole, QSize(400, 300)).pixel(100, 150), qRgb(255, 0, 0));
    EXPECT_EQ(bitmap.bytesHeld(), map.sizeInBytes() + (map.sizeInBytes() / 4) + (map.sizeInBytes() / 16));
    EXPECT_GT(withOverview, map.sizeInBytes());
    // A map converted when taken no longer has the pixels its overview showed.
    ASSERT_EQ(bitmap.setBase(map.convertToFormat(QImage::Format_ARGB32), nullptr, overview),
              MapBitmap::LoadError::None);
    EXPECT_EQ(bitmap.clip(whole, QSize(400, 300)).pixel(100, 150), qRgb(255, 0, 0));
}

TEST(MapViewWidget, PaintsTheClipAndTheCrossRelativeToThePictureOrigin) {
    MapBitmap bitmap;
    ASSERT_EQ(bitmap.assign(halves(200, 100)), MapBitmap::LoadError::None);
    MapViewWidget widget(bitmap);
    MapViewState view(&widget);
    view.setBitmapSize(200, 100);
    view.setViewSize(400, 200);
    view.zoom = 1;
    view.position = {150, 50};
    view.ApplyZoom();  // clip of 100 x 50 at the right end
    view.DrawPositionMark();
    QImage frame = widget.grabFrame();
    ASSERT_EQ(frame.size(), QSize(400, 200));
    EXPECT_EQ(widget.shownClip(), (ClipRect{100, 25, 100, 50}));
    // The cross sits on the screen pixel showing the middle of bitmap pixel
    // (150, 50): (150.5 - 100) x 4 and (50.5 - 25) x 4.
    const int cx = view.position.x - kScreenOriginX, cy = view.position.y - kScreenOriginY;
    EXPECT_EQ(cx, 202);
    EXPECT_EQ(cy, 102);
    EXPECT_EQ(frame.pixel(cx + 3, cy), qRgb(100, 0, 100));
    EXPECT_EQ(frame.pixel(cx + 2, cy - 1), qRgb(220, 0, 220));
    EXPECT_EQ(frame.pixel(cx, cy), qRgb(0, 0, 255));   // the centre is left out
    EXPECT_EQ(frame.pixel(50, 100), qRgb(0, 0, 255));  // x 100..200: blue
    // Scrolling redraws and the old cross is gone.
    view.HScroll3_Change(0);
    frame = widget.grabFrame();
    EXPECT_EQ(frame.pixel(50, 100), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace tarvok::map
