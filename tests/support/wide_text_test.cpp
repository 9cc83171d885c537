#include "platform/bitmap.h"
#include "support/wide_text.h"
#include <QFontDatabase>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

// The box of pixels that are not white, or an empty rectangle.
TRect Touched(const TBitmap& B) {
    TRect R{B.Width(), B.Height(), 0, 0};
    for (int Y = 0; Y < B.Height(); ++Y) {
        for (int X = 0; X < B.Width(); ++X) {
            if (B.Canvas().Pixel(X, Y) != clWhite) {
                R = TRect{std::min(R.Left, X), std::min(R.Top, Y), std::max(R.Right, X + 1),
                          std::max(R.Bottom, Y + 1)};
            }
        }
    }
    return R.Left < R.Right ? R : TRect{};
}

class WideTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        Bmp.SetSize(60, 40);
        Bmp.Canvas().Brush.Color = clYellow;
    }
    TTextMetricsGuard Fixed{8, 16};
    TBitmap Bmp;
};

} // namespace

TEST_F(WideTextTest, CentresOneLineInTheRectangle) {
    TRect R{10, 5, 50, 35};
    DrawWideText(Bmp.Canvas(), R, QStringLiteral("abc"));
    // 24 x 16 centred in 40 x 30.
    EXPECT_EQ(Touched(Bmp), (TRect{18, 12, 42, 28}));
    EXPECT_EQ(R, (TRect{10, 5, 50, 35}));
}

TEST_F(WideTextTest, WideTextIsClippedAndLineBreaksStayOnOneLine) {
    DrawWideText(Bmp.Canvas(), TRect{20, 10, 40, 30}, QStringLiteral("ab\r\ncdefgh"));
    // Nine characters (the line break counts as one blank) are 72 wide: only
    // the rectangle shows, and the text stays one line (16 pixels) high.
    EXPECT_EQ(Touched(Bmp), (TRect{20, 12, 40, 28}));
}

TEST_F(WideTextTest, ClearBrushDrawsOnlyTheGlyphsInTheFontColour) {
    if (QFontDatabase::families().isEmpty()) {
        GTEST_SKIP() << "no fonts installed";
    }
    Bmp.Canvas().Brush.Style = bsClear;
    Bmp.Canvas().Font.Color = clRed;
    DrawWideText(Bmp.Canvas(), TRect{0, 0, 60, 40}, QStringLiteral("WWW"));
    TRect T = Touched(Bmp);
    EXPECT_GT(T.Width(), 0); // the text is readable with the fixed metrics too
    EXPECT_GE(T.Left, 18);   // inside the 24 x 16 box at (18, 12)
    EXPECT_LE(T.Right, 42);
    EXPECT_GE(T.Top, 12);
    EXPECT_LE(T.Bottom, 28);
    EXPECT_EQ(Bmp.Canvas().Pixel(30, 0), clWhite);
}

TEST_F(WideTextTest, EmptyOrOffPictureRectangleDrawsNothing) {
    DrawWideText(Bmp.Canvas(), TRect{10, 10, 10, 30}, QStringLiteral("abc"));
    DrawWideText(Bmp.Canvas(), TRect{100, 100, 140, 130}, QStringLiteral("abc"));
    EXPECT_EQ(Touched(Bmp), TRect{});
}
