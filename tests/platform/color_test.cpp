#include "platform/color.h"
#include <gtest/gtest.h>

using namespace tvx;

TEST(Color, StoredValueIsBlueGreenRed) {
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(ColorFromRgb(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(ToQColor(clWindowText), QColor(0, 0, 0));
}
