// A large picture keeps its pixels in tiles made only where it is drawn on,
// and, once whole, marks of the tiles that are only its fill; whatever is
// done to it, it must read exactly as a picture whose pixels were all there
// all along.
#include "platform/bitmap.h"
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace tvx;

namespace {

using TStep = std::function<void(TBitmap&)>;

// Draws each step on a large picture left to itself, and on one that is made
// whole and plain after every step (a copy onto itself takes a painter, which
// may draw anywhere); after every step both must hold the same pixels (a copy
// of the first is read, which leaves its tiles as they are).
void ExpectSameAsWhole(TPixelFormat Format, int Width, int Height,
                       const std::vector<TStep>& Steps) {
    TBitmap Tiled;
    TBitmap Whole;
    for (TBitmap* B : {&Tiled, &Whole}) {
        B->SetPixelFormat(Format);
        B->SetSize(Width, Height);
    }
    for (size_t I = 0; I < Steps.size(); ++I) {
        Steps[I](Tiled);
        Steps[I](Whole);
        Whole.Canvas().Draw(0, 0, Whole);
        TBitmap Copy;
        Copy.Assign(Tiled);
        ASSERT_TRUE(Copy.Image() == Whole.Image()) << "step " << I;
        for (TPoint P : {TPoint{0, 0}, TPoint{17, 33}, TPoint{Tiled.Width() - 1, 40}}) {
            ASSERT_EQ(Tiled.Canvas().Pixel(P.X, P.Y), Whole.Canvas().Pixel(P.X, P.Y)) << I;
        }
    }
    EXPECT_TRUE(Tiled.Image() == Whole.Image());
}

void Line(TBitmap& B, TColor Color, int X1, int Y1, int X2, int Y2) {
    B.Canvas().Pen.Color = Color;
    B.Canvas().MoveTo(X1, Y1);
    B.Canvas().LineTo(X2, Y2);
}

void Fill(TBitmap& B, TColor Color, const TRect& R) {
    B.Canvas().Brush = TBrush{Color, bsSolid};
    B.Canvas().FillRect(R);
}

void Resize(TBitmap& B, TColor Brush, int W, int H) {
    B.Canvas().Brush = TBrush{Brush, bsSolid};
    B.SetSize(W, H);
}

// A picture with lines across its tiles, as a block picture has.
void DrawSource(TBitmap& Source, TPixelFormat Format) {
    Source.SetPixelFormat(Format);
    Source.SetSize(400, 300);
    Line(Source, clRed, 5, 0, 5, 300);
    Line(Source, clNavy, 0, 150, 399, 150);
    Source.Canvas().Brush = TBrush{clYellow, bsSolid};
    Source.Canvas().Ellipse(200, 20, 260, 70);
}

} // namespace

TEST(BitmapTiles, DrawingFillingAndResizingReadAsAWholePicture) {
    for (TPixelFormat Format : {pf16bit, pf24bit, pf4bit}) {
        ExpectSameAsWhole(
            Format, 700, 500,
            {
                [](TBitmap& B) { Line(B, clRed, 3, 0, 3, 500); },
                [](TBitmap& B) { Line(B, clBlue, 0, 7, 699, 493); },
                [](TBitmap& B) {
                    B.Canvas().Pen.Color = clRed;
                    B.Canvas().Brush = TBrush{clLime, bsSolid};
                    B.Canvas().Rectangle(100, 100, 331, 217);
                    B.Canvas().Polygon({TPoint{400, 300}, TPoint{470, 340}, TPoint{410, 390}});
                },
                // Right up to the edges that a size change cuts through.
                [](TBitmap& B) {
                    Fill(B, clOlive, TRect{630, 440, 700, 500});
                },
                [](TBitmap& B) {
                    B.Canvas().Brush = TBrush{clAqua, bsSolid};
                    B.Canvas().FloodFill(150, 150, clRed, fsBorder);
                },
                // White over part of the drawing, and over nothing at all.
                [](TBitmap& B) {
                    Fill(B, clWhite, TRect{90, 90, 250, 150});
                },
                [](TBitmap& B) {
                    Fill(B, clWhite, TRect{600, 0, 700, 20});
                },
                // Shrinking cuts tiles in two; growing again shows the fill
                // there, then the brush of the size change.
                [](TBitmap& B) { Resize(B, clWhite, 650, 470); },
                [](TBitmap& B) { Resize(B, clWhite, 690, 480); },
                [](TBitmap& B) { Resize(B, clFuchsia, 700, 500); },
                [](TBitmap& B) { Line(B, clGreen, 640, 460, 699, 499); },
                // Filled whole, then drawn on again.
                [](TBitmap& B) {
                    Fill(B, clWhite, TRect{0, 0, 700, 500});
                },
                [](TBitmap& B) { Line(B, clMaroon, 0, 250, 700, 250); },
                [](TBitmap& B) {
                    Fill(B, clSilver, TRect{-5, -5, 800, 600});
                },
                [](TBitmap& B) { Line(B, clBlack, 350, 0, 350, 500); },
            });
    }
}

TEST(BitmapTiles, CopiesOfLargePicturesReadAsWholeCopies) {
    for (TPixelFormat Format : {pf16bit, pf32bit}) {
        TBitmap Source;
        DrawSource(Source, Format);
        TBitmap Small; // a picture small enough to be whole
        Small.SetPixelFormat(Format);
        Small.SetSize(30, 20);
        Line(Small, clPurple, 0, 0, 30, 20);
        ExpectSameAsWhole(
            Format, 700, 500,
            {
                [&](TBitmap& B) { B.Canvas().Draw(13, 7, Source); },
                // Overlapping: the source's white covers what lies below.
                [&](TBitmap& B) { B.Canvas().Draw(211, 101, Source); },
                // Clipped at every edge of the picture.
                [&](TBitmap& B) { B.Canvas().Draw(-37, -21, Source); },
                [&](TBitmap& B) { B.Canvas().Draw(517, 389, Source); },
                [&](TBitmap& B) { B.Canvas().Draw(690, 3, Small); },
                [&](TBitmap& B) {
                    B.Canvas().CopyRect(TRect{50, 300, 150, 350}, Source, TRect{0, 125, 100, 175});
                },
            });
    }
}

// The chart picture's round: read whole, filled white, every block picture
// drawn on it, read whole; and again, with pictures that changed between.
TEST(BitmapTiles, PictureFilledAndComposedAgainReadsAsComposedAnew) {
    TBitmap Source;
    DrawSource(Source, pf16bit);
    TBitmap Chart;
    Chart.SetPixelFormat(pf16bit);
    Chart.SetSize(900, 700);
    for (int Round = 0; Round < 4; ++Round) {
        Chart.Image();
        Fill(Chart, clWhite, TRect{0, 0, 900, 700});
        Chart.Canvas().Draw(Round * 37, Round * 11, Source);
        Chart.Canvas().Draw(450, 300 - Round * 50, Source);
        Chart.Image();

        TBitmap Anew;
        Anew.SetPixelFormat(pf16bit);
        Anew.SetSize(900, 700);
        Anew.Canvas().Draw(Round * 37, Round * 11, Source);
        Anew.Canvas().Draw(450, 300 - Round * 50, Source);
        EXPECT_TRUE(Chart.Image() == Anew.Image()) << Round;
        Line(Source, clTeal, 0, Round * 20, 399, Round * 20 + 5);
    }
}

// What a chart window reads of a long chart: any part of the picture, as it
// stands in the whole picture, without the rest being made.
TEST(BitmapTiles, RegionsReadAsTheSamePartOfTheWholePicture) {
    for (TPixelFormat Format : {pf16bit, pf24bit, pf4bit}) {
        TBitmap Source;
        DrawSource(Source, Format);
        TBitmap Large;
        Large.SetPixelFormat(Format);
        Large.SetSize(700, 500);
        Large.Canvas().Draw(13, 7, Source);
        Line(Large, clGreen, 0, 499, 699, 0);
        TBitmap Copy;
        Copy.Assign(Large);
        const QImage Whole = Copy.Image();
        for (const TRect& R : {TRect{0, 0, 700, 500}, TRect{5, 3, 37, 290}, TRect{-20, -9, 40, 30},
                               TRect{690, 490, 800, 600}, TRect{100, 100, 117, 101}}) {
            const QImage Part = Large.Region(R);
            const QRect Inside =
                QRect(R.Left, R.Top, R.Width(), R.Height()).intersected(Whole.rect());
            EXPECT_TRUE(Part == Whole.copy(Inside)) << R.Left << "," << R.Top;
        }
        EXPECT_TRUE(Large.Region(TRect{700, 0, 710, 10}).isNull());
        EXPECT_TRUE(Large.Region(TRect{50, 50, 50, 60}).isNull());
        // Once whole, the same.
        EXPECT_TRUE(Large.Region(TRect{5, 3, 37, 290}) == Large.Image().copy(5, 3, 32, 287));
    }
}

// Text on a large picture kept in tiles, and copies of small pictures whose
// white lands where the picture holds nothing of its own, as on a whole one.
TEST(BitmapTiles, TextAndSmallCopiesReadAsOnAWholePicture) {
    TBitmap Small; // mostly white, as a block picture is
    Small.SetPixelFormat(pf16bit);
    Small.SetSize(120, 90);
    Line(Small, clBlack, 60, 0, 60, 90);
    Small.Canvas().Rectangle(20, 40, 100, 70);
    ExpectSameAsWhole(pf16bit, 700, 500,
                      {
                          [&](TBitmap& B) { B.Canvas().Draw(3, 5, Small); },
                          [&](TBitmap& B) { B.Canvas().Draw(300, 400, Small); },
                          [](TBitmap& B) { Line(B, clRed, 0, 30, 699, 30); },
                          // White parts of the copy over drawn pixels make them white.
                          [&](TBitmap& B) { B.Canvas().Draw(0, 0, Small); },
                          [](TBitmap& B) {
                              B.Canvas().Brush = TBrush{clYellow, bsSolid};
                              B.Canvas().TextOut(40, 25, "12");
                              B.Canvas().Brush.Style = bsClear;
                              B.Canvas().TextOut(690, 490, "clipped at the edges");
                          },
                      });
}
