// tarvok-make-demo: draws the demonstration maps and records the drive.
//
//   tarvok-make-demo FOLDER
//
// writes into FOLDER the map sheets (BMP) with their corner files (.des) and
// the drive along their roads as an NMEA log (DEMORIT.NMEA). The build runs
// it for share/tarvok/KAARTEN.
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "demo_area.h"
#include "demo_files.h"
#include "map_painter.h"

namespace fs = std::filesystem;
using namespace tarvok::demo;

namespace {

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
    return bool(f.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvok-make-demo FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");  // fonts without a display
    QGuiApplication app(argc, argv);
    const fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    const Area& area = demoArea();
    for (const MapSheet& sheet : area.sheets) {
        const fs::path bmp = folder / sheet.fileName;
        QImageWriter writer(QString::fromStdString(bmp.string()), "bmp");
        if (!writer.write(paintSheet(area, sheet))) {
            std::fprintf(stderr, "tarvok-make-demo: cannot write %s: %s\n", bmp.c_str(),
                         writer.errorString().toLocal8Bit().constData());
            return 1;
        }
        const fs::path des = fs::path(bmp).replace_extension(".des");
        if (!writeText(des, cornerFileText(sheet))) {
            std::fprintf(stderr, "tarvok-make-demo: cannot write %s\n", des.c_str());
            return 1;
        }
    }
    std::string log;
    for (const std::string& line : driveSentences(simulateDrive(demoDrive()), 83000, "140526")) log += line + "\r\n";
    if (!writeText(folder / "DEMORIT.NMEA", log)) {
        std::fprintf(stderr, "tarvok-make-demo: cannot write %s\n", (folder / "DEMORIT.NMEA").c_str());
        return 1;
    }
    std::printf("tarvok-make-demo: %zu maps and the drive in %s\n", area.sheets.size(), folder.c_str());
    return 0;
}
