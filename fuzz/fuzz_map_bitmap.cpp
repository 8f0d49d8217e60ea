// Map bitmaps: our reader of uncompressed BMPs (any header, colour table,
// row order and depth; files cut short) with the overview sampled as the
// rows arrive, and the clips drawn from what was read.
#include <stdlib.h>
#include <unistd.h>

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_input.h"
#include "navigator/map/map_bitmap.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvok::fuzz::Input in(data, size);
    const QSize overview(1 + in.byte() % 64, 1 + in.byte() % 64);
    const std::string_view file = in.rest();

    // One plain file in a private folder, written again for each input: the
    // reader takes regular files only.
    struct Folder {
        std::string path;
        Folder() {
            char name[] = "/tmp/fuzz_map_bitmap.XXXXXX";
            path = mkdtemp(name);
        }
        ~Folder() {
            std::remove((path + "/map.bmp").c_str());
            rmdir(path.c_str());
        }
    };
    static const Folder folder;
    const std::string path = folder.path + "/map.bmp";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    if (std::fclose(f) != 0 || !written) return 0;
    map::MapBitmap::ReadImage read = map::MapBitmap::read(QString::fromStdString(path), nullptr, overview);
    if (read.error != map::MapBitmap::LoadError::None) return 0;
    if (read.image.isNull() || read.image.width() > map::kMaxBitmapSide || read.image.height() > map::kMaxBitmapSide)
        __builtin_trap();
    if (!read.overview.isNull() && read.overview.size() != overview) __builtin_trap();

    map::MapBitmap bitmap;
    if (bitmap.setBase(read.image) != map::MapBitmap::LoadError::None) return 0;
    const QRectF whole(0, 0, bitmap.width(), bitmap.height());
    // The overview is the whole map as the bitmap itself shows it (a bitmap
    // converted on the way in drops it).
    if (!read.overview.isNull() && bitmap.level(0).format() == read.image.format() &&
        read.overview != bitmap.clip(whole, overview))
        __builtin_trap();
    (void)bitmap.clip(QRectF(bitmap.width() / 3.0, bitmap.height() / 2.0, 3, 2), QSize(17, 9));
    return 0;
}
