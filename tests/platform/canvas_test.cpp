#include "platform/bitmap.h"
#include <QString>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

// Rows of the picture as text: '.' white, 'P' pen colour, 'B' brush colour,
// '?' anything else.
QString Picture(const TBitmap& B, TColor PenColor = clRed, TColor BrushColor = clBlue) {
    QString S;
    for (int Y = 0; Y < B.Height(); ++Y) {
        for (int X = 0; X < B.Width(); ++X) {
            TColor C = B.Canvas().Pixel(X, Y);
            S += C == clWhite ? '.' : C == PenColor ? 'P' : C == BrushColor ? 'B' : '?';
        }
        S += '\n';
    }
    return S;
}

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        Resize(8, 6);
        C().Pen.Color = clRed;
        C().Brush.Color = clBlue;
    }
    TCanvas& C() { return Bmp.Canvas(); }
    // New area takes the brush colour, so resize with a white brush.
    void Resize(int W, int H) {
        C().Brush.Color = clWhite;
        Bmp.SetSize(W, H);
        C().Brush.Color = clBlue;
    }
    TBitmap Bmp;
};

} // namespace

TEST_F(CanvasTest, LinesLeaveOutTheirEndPixel) {
    C().MoveTo(1, 1);
    C().LineTo(6, 1); // right
    C().LineTo(6, 4); // down
    C().LineTo(1, 4); // left
    C().LineTo(1, 1); // up, back to the start
    EXPECT_EQ(C().PenPos(), (TPoint{1, 1}));
    EXPECT_EQ(Picture(Bmp).toStdString(), "........\n"
                                          ".PPPPPP.\n"
                                          ".P....P.\n"
                                          ".P....P.\n"
                                          ".PPPPPP.\n"
                                          "........\n");
}

TEST_F(CanvasTest, SlantedLinesStepOnePixelPerRow) {
    C().MoveTo(0, 0);
    C().LineTo(3, 5); // steep: one pixel per row, rows 0..4
    C().MoveTo(7, 5);
    C().LineTo(7, 5); // a zero-length line draws nothing
    EXPECT_EQ(Picture(Bmp).toStdString(), "P.......\n"
                                          ".P......\n"
                                          ".P......\n"
                                          "..P.....\n"
                                          "..P.....\n"
                                          "........\n");
}

TEST_F(CanvasTest, RectangleOutlinesWithPenFillsWithBrushRightBottomExclusive) {
    C().Rectangle(6, 4, 1, 0); // corners in any order
    EXPECT_EQ(Picture(Bmp).toStdString(), ".PPPPP..\n"
                                          ".PBBBP..\n"
                                          ".PBBBP..\n"
                                          ".PPPPP..\n"
                                          "........\n"
                                          "........\n");
    C().Brush.Style = bsClear;
    C().Pen.Color = clLime;
    C().Rectangle(0, 3, 8, 6);
    EXPECT_EQ(C().Pixel(2, 4), clWhite);
    EXPECT_EQ(C().Pixel(7, 5), clLime);
    C().Brush.Style = bsSolid;
    C().FillRect(TRect{0, 0, 2, 2}); // brush only
    EXPECT_EQ(C().Pixel(1, 1), clBlue);
    EXPECT_EQ(C().Pixel(2, 2), clBlue); // the old fill, untouched
    EXPECT_EQ(C().Pixel(2, 0), clRed);
}

TEST_F(CanvasTest, EllipseStaysInsideItsBoxAndIsSymmetric) {
    Resize(20, 14);
    C().Ellipse(2, 1, 17, 12);
    QString P = Picture(Bmp);
    QStringList Rows = P.split('\n', Qt::SkipEmptyParts);
    for (int Y = 0; Y < 14; ++Y) {
        for (int X = 0; X < 20; ++X) {
            if (X >= 2 && X < 17 && Y >= 1 && Y < 12) {
                EXPECT_EQ(Rows[Y][X], Rows[12 - Y][X]) << "mirror top-bottom " << X << "," << Y;
                EXPECT_EQ(Rows[Y][X], Rows[Y][18 - X]) << "mirror left-right " << X << "," << Y;
            } else {
                EXPECT_EQ(Rows[Y][X], '.') << X << "," << Y;
            }
        }
    }
    // It touches all four sides of its box, the middle is brush.
    EXPECT_EQ(C().Pixel(9, 1), clRed);
    EXPECT_EQ(C().Pixel(9, 11), clRed);
    EXPECT_EQ(C().Pixel(2, 6), clRed);
    EXPECT_EQ(C().Pixel(16, 6), clRed);
    EXPECT_EQ(C().Pixel(9, 6), clBlue);
    // The outline is closed: a border fill from outside never reaches the inside.
    C().Brush.Color = clLime;
    C().FloodFill(0, 0, clRed, fsBorder);
    EXPECT_EQ(C().Pixel(9, 6), clBlue);
    EXPECT_EQ(C().Pixel(2, 1), clLime);
}

TEST_F(CanvasTest, RoundRectHasRoundedCornersAndStraightSides) {
    Resize(30, 10);
    C().RoundRect(0, 0, 30, 10, 10, 10); // half circles at both ends
    EXPECT_EQ(C().Pixel(0, 0), clWhite);
    EXPECT_EQ(C().Pixel(29, 9), clWhite);
    EXPECT_EQ(C().Pixel(15, 0), clRed);
    EXPECT_EQ(C().Pixel(15, 9), clRed);
    EXPECT_EQ(C().Pixel(0, 5), clRed);
    EXPECT_EQ(C().Pixel(29, 4), clRed);
    EXPECT_EQ(C().Pixel(15, 5), clBlue);
}

TEST_F(CanvasTest, ArcDrawsOnlyItsSweepCounterClockwise) {
    Resize(21, 21);
    // From the lower right to the upper right, counter-clockwise: the right side.
    C().Arc(0, 0, 21, 21, 20, 20, 20, 0);
    int Left = 0, Right = 0;
    for (int Y = 0; Y < 21; ++Y) {
        for (int X = 0; X < 21; ++X) {
            if (C().Pixel(X, Y) == clRed) {
                (X < 10 ? Left : Right)++;
            }
            EXPECT_NE(C().Pixel(X, Y), clBlue); // never filled
        }
    }
    EXPECT_EQ(Left, 0);
    EXPECT_GT(Right, 10);
    EXPECT_EQ(C().Pixel(20, 10), clRed);
    EXPECT_EQ(C().Pixel(10, 0), clWhite); // the top is outside the sweep
}

TEST_F(CanvasTest, PolygonIsClosedOutlinedAndFilled) {
    Resize(9, 7);
    C().Polygon({TPoint{1, 1}, TPoint{7, 1}, TPoint{4, 5}});
    EXPECT_EQ(Picture(Bmp).toStdString(), ".........\n"
                                          ".PPPPPPP.\n"
                                          "..PBBBP..\n"
                                          "..PBBP...\n"
                                          "...PBP...\n"
                                          "....P....\n"
                                          ".........\n");
}

TEST_F(CanvasTest, ArrowHeadIsSolidAfterBorderFill) {
    // The arrow drawing of the chart: shaft, triangle, then a border fill.
    Resize(20, 16);
    C().Brush.Color = clBlack;
    C().MoveTo(10, 0);
    C().LineTo(10, 13);
    C().Polygon({TPoint{7, 4}, TPoint{10, 13}, TPoint{13, 4}});
    C().FloodFill(10, 13 - 9 / 2, clRed, fsBorder); // seed on the shaft: nothing
    C().FloodFill(11, 6, clRed, fsBorder);
    EXPECT_EQ(C().Pixel(10, 13), clRed); // the tip is set by the polygon
    EXPECT_EQ(C().Pixel(10, 14), clWhite);
    EXPECT_EQ(C().Pixel(7, 4), clRed);
    EXPECT_EQ(C().Pixel(13, 4), clRed);
    EXPECT_EQ(C().Pixel(11, 6), clBlack);
    EXPECT_EQ(C().Pixel(6, 6), clWhite);
    EXPECT_EQ(C().Pixel(14, 4), clWhite);
}

TEST_F(CanvasTest, FloodFillRespectsBordersAndSurfaces) {
    C().Brush.Style = bsClear;
    C().Rectangle(0, 0, 5, 5);
    C().Brush.Style = bsSolid;
    C().SetPixel(2, 2, clBlue); // already brush coloured: filled over, not a wall
    C().FloodFill(1, 1, clRed, fsBorder);
    EXPECT_EQ(Picture(Bmp).toStdString(), "PPPPP...\n"
                                          "PBBBP...\n"
                                          "PBBBP...\n"
                                          "PBBBP...\n"
                                          "PPPPP...\n"
                                          "........\n");
    C().Brush.Color = clLime;
    C().FloodFill(0, 0, clRed, fsBorder);  // seed on the border: nothing
    C().FloodFill(-1, 3, clRed, fsBorder); // seed outside: nothing
    C().FloodFill(7, 0, clWhite, fsSurface);
    EXPECT_EQ(C().Pixel(0, 0), clRed);
    EXPECT_EQ(C().Pixel(2, 2), clBlue);
    EXPECT_EQ(C().Pixel(7, 5), clLime);
    EXPECT_EQ(C().Pixel(0, 5), clLime);
}

TEST_F(CanvasTest, DiagonalBorderHoldsFillOnSixteenBitPicture) {
    // A diamond of slanted lines in a colour 16 bits cannot hold exactly.
    Bmp.SetPixelFormat(pf16bit);
    Resize(21, 21);
    C().Pen.Color = 0x808080;
    C().MoveTo(10, 0);
    C().LineTo(0, 10);
    C().LineTo(10, 20);
    C().LineTo(20, 10);
    C().LineTo(10, 0);
    C().FloodFill(10, 10, 0x808080, fsBorder);
    EXPECT_EQ(C().Pixel(10, 10), clBlue);
    EXPECT_EQ(C().Pixel(10, 1), clBlue);
    EXPECT_EQ(C().Pixel(0, 0), clWhite);
    EXPECT_EQ(C().Pixel(20, 20), clWhite);
    EXPECT_EQ(C().Pixel(5, 5), StoredColor(pf16bit, 0x808080));
}

TEST_F(CanvasTest, CopiesPixelForPixelAndStretches) {
    TBitmap Src;
    Src.SetSize(2, 2);
    Src.Canvas().SetPixel(0, 0, clRed);
    Src.Canvas().SetPixel(1, 1, clBlue);
    C().Draw(6, 5, Src); // clipped at the picture's edge
    C().CopyRect(TRect{0, 0, 1, 1}, Src, TRect{1, 1, 2, 2});
    C().StretchDraw(TRect{2, 0, 6, 4}, Src);
    EXPECT_EQ(Picture(Bmp).toStdString(), "B.PP....\n"
                                          "..PP....\n"
                                          "....BB..\n"
                                          "....BB..\n"
                                          "........\n"
                                          "......P.\n");
    C().CopyRect(TRect{1, 0, 8, 6}, Bmp, TRect{0, 0, 7, 6}); // onto itself
    EXPECT_EQ(C().Pixel(1, 0), clBlue);
    EXPECT_EQ(C().Pixel(7, 5), clRed);
}
