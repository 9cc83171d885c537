#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include <QFontDatabase>
#include <gtest/gtest.h>

using namespace tvx;

TEST(TextMetrics, FixedProviderGivesExactSizesWhileInstalled) {
    TBitmap B;
    TFont Font;
    QString Text = QStringLiteral("Нет");
    TSize Real = B.Canvas().TextExtent(Text);
    {
        TTextMetricsGuard Fixed(7, 13);
        EXPECT_EQ(B.Canvas().TextExtent(Text), (TSize{21, 13}));
        EXPECT_EQ(B.Canvas().TextWidth(QString()), 0);
        EXPECT_EQ(B.Canvas().TextHeight(QString()), 13); // an empty line is still one line high
        {
            TTextMetricsGuard Inner(std::make_unique<TFixedTextMetrics>(5, 9));
            EXPECT_EQ(B.Canvas().TextExtent(Text), (TSize{15, 9}));
        }
        EXPECT_EQ(CurrentTextMetrics().TextExtent(Font, Text), (TSize{21, 13}));
    }
    EXPECT_EQ(B.Canvas().TextExtent(Text), Real);
}

TEST(TextMetrics, RealFontsFollowFontSize) {
    if (QFontDatabase::families().isEmpty()) {
        GTEST_SKIP() << "no fonts installed";
    }
    TFont Small, Large;
    Large.Size = 24;
    const TTextMetrics& M = CurrentTextMetrics();
    TSize S = M.TextExtent(Small, QStringLiteral("Да"));
    TSize L = M.TextExtent(Large, QStringLiteral("Да"));
    EXPECT_GT(S.Width, 0);
    EXPECT_GT(L.Width, S.Width);
    EXPECT_GT(L.Height, S.Height);
    EXPECT_EQ(M.TextExtent(Small, QString()).Width, 0);
}

TEST(TextMetrics, TextOutFillsItsBoxAndMovesThePen) {
    TTextMetricsGuard Fixed(6, 10);
    TBitmap B;
    B.SetSize(40, 20);
    B.Canvas().Brush.Color = clYellow;
    B.Canvas().TextOut(5, 4, QStringLiteral("abc"));
    EXPECT_EQ(B.Canvas().PenPos(), (TPoint{23, 4}));
    EXPECT_EQ(B.Canvas().Pixel(5, 4), clYellow);
    EXPECT_EQ(B.Canvas().Pixel(22, 13), clYellow);
    EXPECT_EQ(B.Canvas().Pixel(23, 13), clWhite);
    EXPECT_EQ(B.Canvas().Pixel(22, 14), clWhite);
    EXPECT_EQ(B.Canvas().Pixel(4, 4), clWhite);
}
