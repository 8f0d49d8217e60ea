// GoogleTest main for every test program: a QApplication on the offscreen
// platform, so window tests run without a display.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/program_end.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Ends as the programs do, so a passed run is never reported as a crash
    // of the sound library's teardown.
    tarvok::endProgram(RUN_ALL_TESTS());
}
