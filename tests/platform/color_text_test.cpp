#include "platform/color_text.h"
#include <gtest/gtest.h>

using namespace tvx;

TEST(ColorText, NamesForStandardColoursAndHexForOthers) {
    EXPECT_EQ(ColorToString(clBlack), "clBlack");
    EXPECT_EQ(ColorToString(clBlue), "clBlue");
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
    EXPECT_EQ(ColorToString(0x00123ABC), "$00123ABC");
    EXPECT_EQ(ColorToString(0x02000001), "$02000001");
}

TEST(ColorText, ReadsNamesWithoutRegardToCaseAndNumbers) {
    EXPECT_EQ(StringToColor("clred"), clRed);
    EXPECT_EQ(StringToColor(" clWindowText "), clWindowText);
    EXPECT_EQ(StringToColor("$00123ABC"), 0x00123ABCu);
    EXPECT_EQ(StringToColor("0xff"), 0xFFu);
    EXPECT_EQ(StringToColor("255"), 0xFFu);
    EXPECT_FALSE(StringToColor("clNoSuchColour").has_value());
    EXPECT_FALSE(StringToColor("").has_value());
    for (TColor c : {clBlack, clWindowText, TColor(0x00ABCDEF), TColor(0xFFFFFFFF)}) {
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
    }
}
