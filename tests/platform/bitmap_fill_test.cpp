// A picture that has only been sized holds its fill colour and gets its
// pixels when first used; whatever happens to it before, it must read exactly
// as a picture whose pixels were there all along.
#include "platform/bitmap.h"
#include <gtest/gtest.h>

using namespace tvx;

namespace {

void Resize(TBitmap& B, int W, int H, TColor Brush) {
    B.Canvas().Brush.Color = Brush;
    B.SetSize(W, H);
}

} // namespace

TEST(BitmapFill, GrowingWithAnotherBrushKeepsTheOldArea) {
    TBitmap B;
    Resize(B, 3, 2, clWhite);
    Resize(B, 5, 4, clBlue);
    EXPECT_EQ(B.Canvas().Pixel(2, 1), clWhite);
    EXPECT_EQ(B.Canvas().Pixel(3, 0), clBlue);
    EXPECT_EQ(B.Canvas().Pixel(0, 2), clBlue);

    TBitmap Shrunk;
    Resize(Shrunk, 4, 4, clRed);
    Resize(Shrunk, 2, 2, clBlue); // no new area: still all red
    Resize(Shrunk, 2, 3, clRed);
    for (int Y = 0; Y < 3; ++Y) {
        EXPECT_EQ(Shrunk.Canvas().Pixel(1, Y), clRed) << Y;
    }

    TBitmap Emptied; // an empty picture forgets its colour
    Resize(Emptied, 2, 2, clRed);
    Resize(Emptied, 2, 0, clRed);
    Resize(Emptied, 2, 2, clLime);
    EXPECT_EQ(Emptied.Canvas().Pixel(0, 0), clLime);
}

TEST(BitmapFill, FillIsStoredInThePictureFormat) {
    TBitmap B;
    B.SetPixelFormat(pf16bit);
    Resize(B, 2, 2, 0x808080);
    EXPECT_EQ(B.Canvas().Pixel(1, 1), StoredColor(pf16bit, 0x808080));
    EXPECT_EQ(B.Image().format(), QImage::Format_RGB16);

    TBitmap Converted; // a format change converts the fill as it would pixels
    Resize(Converted, 2, 2, ColorFromRgb(120, 120, 130));
    Converted.SetPixelFormat(pf4bit);
    EXPECT_EQ(Converted.Canvas().Pixel(0, 1), clGray);
}

TEST(BitmapFill, CopiesAndReadsLeaveThePictureAsItWas) {
    TBitmap A;
    Resize(A, 3, 3, clYellow);
    const auto Stamp = A.ChangeStamp();
    TBitmap B;
    B.Assign(A);
    EXPECT_EQ(B.Canvas().Pixel(2, 2), clYellow);
    B.Canvas().SetPixel(0, 0, clBlack);
    EXPECT_EQ(A.Canvas().Pixel(0, 0), clYellow);
    EXPECT_EQ(A.ChangeStamp(), Stamp); // making the pixels changes nothing
    EXPECT_EQ(A.Image().pixelColor(1, 1), QColor(255, 255, 0));
}
