// tarvok-drive loads a map through the file dialog and reads the view state.
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sstream>

#include "common/settings.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_prefix.h"

namespace tarvok {
namespace {

TEST(MapDrive, LoadsAMapAndReportsTheViewState) {
    test::TempPrefix tp;
    SettingsString settings = SettingsString::settingsProgramTemplate();
    settings.writeChar(field::SoundOn, '0');
    tp.writeDos("C:\\WINDOWS\\VELKAR.DLL", settings.bytes());
    const auto bmp = tp.writeDos("C:\\MAPS\\DELFT.BMP", "");
    QImage img(1000, 800, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    ASSERT_TRUE(img.save(QString::fromStdString(bmp.string()), "BMP"));
    tp.writeDos("C:\\MAPS\\DELFT.des", "Delft\r\nx\r\nx\r\n521000N0040000E,0,800\r\n522000N0043000E,1000,0\r\n");
    const test::ProgramRun run = test::runDriveScript(QStringLiteral(TARVOK_DRIVE), tp,
                                                      "wait-status \"  PLEASE LOAD A MAP\"\n"
                                                      "load-map " +
                                                          bmp.string() +
                                                          "\n"
                                                          "expect Text8 \" MAP:  Delft ;  1000 x 800 pixels\"\n"
                                                          "map-state\n"
                                                          "click ZoomI\n"
                                                          "expect Ztext Zoom=1\n"
                                                          "map-state\n"
                                                          "click cmdQuit\n"
                                                          "wait-ended\n");
    const std::string& out = run.out;
    EXPECT_EQ(run.exitCode, 0) << out << run.err;

    std::vector<QJsonObject> states;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("{\"", 0) == 0)
            states.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(line)).object());
    ASSERT_EQ(states.size(), 2u) << out;
    EXPECT_EQ(states[0]["mapPath"].toString(), QStringLiteral("C:\\MAPS\\DELFT.BMP"));
    EXPECT_EQ(states[0]["mapLoaded"].toInt(), 1);
    EXPECT_EQ(states[0]["bitmapWidth"].toInt(), 1000);
    EXPECT_DOUBLE_EQ(states[0]["right"].toDouble(), 4.5);
    EXPECT_EQ(states[0]["zoom"].toInt(), 0);
    EXPECT_EQ(states[1]["zoom"].toInt(), 1);
    EXPECT_EQ(states[1]["hScroll"].toObject()["maximum"].toInt(), 500);
    EXPECT_EQ(states[1]["clip"].toObject()["width"].toInt(), 500);
    EXPECT_TRUE(states[1]["hScroll"].toObject()["visible"].toBool());
}

}  // namespace
}  // namespace tarvok
