#include "platform/dialogs.h"

#include <gtest/gtest.h>

namespace tarvok {
namespace {

TEST(Dialogs, MessageLinesAreJoinedByCrLfWithoutATrailingOne) {
    EXPECT_EQ(joinMessageLines({"TARVOK", "", "Needed files NOT found!"}), "TARVOK\r\n\r\nNeeded files NOT found!");
    EXPECT_EQ(joinMessageLines({}), "");
}

TEST(Dialogs, WindowsFilterBecomesQtNameFilter) {
    EXPECT_EQ(qtNameFilter("Bitmaps (*.bmp)|*.bmp"), "Bitmaps (*.bmp) (*.bmp)");
    EXPECT_EQ(qtNameFilter("Tracks|*.trk;*.txt|All|*.*"), "Tracks (*.trk *.txt);;All (*.*)");
    EXPECT_EQ(qtNameFilter("Tracks|*.trk|Dangling"), "Tracks (*.trk)");
    EXPECT_EQ(qtNameFilter(""), "");
}

}  // namespace
}  // namespace tarvok
