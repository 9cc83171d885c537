#include "platform/bitmap.h"
#include "platform/exception.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <new>
#include <sys/resource.h>

using namespace tvx;

namespace {

void Fill(TBitmap& B, TColor C) {
    B.Canvas().Brush.Color = C;
    B.Canvas().FillRect(B.Canvas().ClipRect());
}

} // namespace

TEST(Bitmap, ResizeKeepsTopLeftAndFillsNewAreaWithBrush) {
    TBitmap B;
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.PixelFormat(), pfDevice);
    B.SetSize(4, 3);
    EXPECT_EQ(B.Canvas().Pixel(3, 2), clWhite); // a new picture starts white
    Fill(B, clRed);
    B.Canvas().Brush.Color = clBlue;
    B.SetWidth(6);
    B.SetHeight(5);
    EXPECT_EQ(B.Width(), 6);
    EXPECT_EQ(B.Height(), 5);
    EXPECT_EQ(B.Canvas().Pixel(3, 2), clRed);
    EXPECT_EQ(B.Canvas().Pixel(4, 0), clBlue);
    EXPECT_EQ(B.Canvas().Pixel(0, 3), clBlue);
    EXPECT_EQ(B.Canvas().Pixel(6, 0), clInvalidPixel);

    B.SetSize(2, 2);
    EXPECT_EQ(B.Canvas().Pixel(1, 1), clRed);
}

TEST(Bitmap, ZeroHeightKeepsWidthForLater) {
    // A page of height 0 is legal; the width set before or after must survive.
    TBitmap B;
    B.SetSize(10, 10);
    B.SetHeight(0);
    EXPECT_TRUE(B.Empty());
    EXPECT_EQ(B.Width(), 10);
    B.Canvas().Rectangle(0, 0, 5, 5); // drawing on an empty picture does nothing
    B.SetHeight(3);
    EXPECT_EQ(B.Canvas().Pixel(9, 2), clWhite);
    B.SetWidth(-4);
    EXPECT_EQ(B.Width(), 0);
}

TEST(Bitmap, SixteenBitFormatStoresFiveSixFiveColours) {
    TBitmap B;
    B.SetPixelFormat(pf16bit);
    B.SetSize(2, 1);
    EXPECT_EQ(B.Image().format(), QImage::Format_RGB16);
    B.Canvas().SetPixel(0, 0, 0x808080);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), StoredColor(pf16bit, 0x808080));
    EXPECT_NE(StoredColor(pf16bit, 0x808080), TColor(0x808080));
    EXPECT_EQ(StoredColor(pf16bit, clRed), clRed);

    // Changing the format keeps the picture.
    B.SetPixelFormat(pf32bit);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), StoredColor(pf16bit, 0x808080));
    EXPECT_EQ(B.Canvas().Pixel(1, 0), clWhite);
}

TEST(Bitmap, PaletteFormatsHoldOnlyTheirColours) {
    TBitmap B;
    B.SetSize(3, 1);
    B.Canvas().SetPixel(0, 0, ColorFromRgb(250, 10, 10));
    B.Canvas().SetPixel(1, 0, ColorFromRgb(120, 120, 130));
    B.SetPixelFormat(pf4bit);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(B.Canvas().Pixel(1, 0), clGray);

    TBitmap Source; // a copy from a richer picture is rounded as well
    Source.SetSize(1, 1);
    Source.Canvas().SetPixel(0, 0, ColorFromRgb(0, 0, 200));
    B.Canvas().Draw(2, 0, Source);
    EXPECT_EQ(B.Canvas().Pixel(2, 0), clBlue);

    B.SetPixelFormat(pf1bit);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), clBlack);
    EXPECT_EQ(B.Canvas().Pixel(1, 0), clWhite);

    B.SetPixelFormat(TPixelFormat(200)); // an unknown code is the device format
    EXPECT_EQ(B.PixelFormat(), pfDevice);
}

TEST(Bitmap, AssignCopiesPicture) {
    TBitmap A, B;
    A.SetPixelFormat(pf16bit);
    A.SetSize(3, 2);
    A.Canvas().SetPixel(2, 1, clLime);
    B.Canvas().Pen.Color = clRed;
    B.Assign(A);
    EXPECT_EQ(B.Width(), 3);
    EXPECT_EQ(B.PixelFormat(), pf16bit);
    EXPECT_EQ(B.Canvas().Pixel(2, 1), clLime);
    EXPECT_EQ(B.Canvas().Pen.Color, clRed);
    A.Canvas().SetPixel(2, 1, clBlue); // the copy is independent
    EXPECT_EQ(B.Canvas().Pixel(2, 1), clLime);
}

TEST(Bitmap, AbsurdSizeRaisesAndKeepsOldSize) {
    TBitmap B;
    B.SetSize(5, 5);
    EXPECT_THROW(B.SetSize(1 << 20, 1 << 20), Exception);
    EXPECT_EQ(B.Width(), 5);
    EXPECT_EQ(B.Height(), 5);
}

namespace {

// Lets this process map at most Room more bytes while it lives.
class TAddressSpaceLimit {
public:
    explicit TAddressSpaceLimit(rlim_t Room) {
        getrlimit(RLIMIT_AS, &Previous);
        QFile Status(QStringLiteral("/proc/self/status"));
        rlim_t Used = 0;
        if (Status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& Line : Status.readAll().split('\n')) {
                if (Line.startsWith("VmSize:")) {
                    Used = rlim_t(Line.mid(7).trimmed().split(' ').value(0).toULongLong()) * 1024;
                }
            }
        }
        const rlimit Tight{Used + Room, Previous.rlim_max};
        setrlimit(RLIMIT_AS, &Tight);
    }
    ~TAddressSpaceLimit() { setrlimit(RLIMIT_AS, &Previous); }
    TAddressSpaceLimit(const TAddressSpaceLimit&) = delete;
    TAddressSpaceLimit& operator=(const TAddressSpaceLimit&) = delete;

private:
    rlimit Previous{};
};

} // namespace

// Pixels Qt has no memory for come as a null image; copying from one wrote
// through a null pointer. Now the copy raises std::bad_alloc, which the
// windows report, and the target keeps its pixels.
TEST(Bitmap, NoMemoryForAPictureRaisesBadAlloc) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator cannot run under an address space limit";
#endif
    TBitmap Source;
    Source.SetPixelFormat(pf32bit);
    Source.SetSize(4096, 4096);
    Source.Canvas().SetPixel(5, 5, clRed);
    Source.Image(); // 64 MB in one piece
    TBitmap Target;
    Target.SetPixelFormat(pf16bit);
    Target.SetSize(4096, 4096);
    Target.Canvas().SetPixel(7, 7, clBlue);
    {
        TAddressSpaceLimit Limit(16 << 20);
        EXPECT_THROW(Target.Canvas().Draw(0, 0, Source), std::bad_alloc);
    }
    EXPECT_EQ(Target.Canvas().Pixel(7, 7), clBlue);
    Target.Canvas().Draw(0, 0, Source);
    EXPECT_EQ(Target.Canvas().Pixel(5, 5), clRed);
}

TEST(Bitmap, SaveToFileWritesBmpOrRaises) {
    QTemporaryDir Dir;
    TBitmap B;
    B.SetPixelFormat(pf16bit);
    B.SetSize(4, 3);
    B.Canvas().SetPixel(1, 1, clRed);
    QString Name = Dir.filePath(QStringLiteral("page.bmp"));
    B.SaveToFile(Name);
    QImage Read(Name, "BMP");
    ASSERT_EQ(Read.size(), QSize(4, 3));
    EXPECT_EQ(Read.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_THROW(B.SaveToFile(Dir.filePath(QStringLiteral("missing/page.bmp"))), Exception);
}

TEST(Bitmap, LinesDownATallPictureKeepLittleMemory) {
    // As the picture of a loop holding a deep chart: lines down its sides.
    TBitmap B;
    B.SetPixelFormat(pf16bit);
    B.SetSize(4000, 400000);
    B.Canvas().Pen.Color = clBlack;
    for (int X : {5, 3990}) {
        B.Canvas().MoveTo(X, 0);
        B.Canvas().LineTo(X, 400000);
    }
    B.Canvas().MoveTo(0, 200003);
    B.Canvas().LineTo(4000, 200003);
    B.ShareEqualTiles();
    // A copy of each tile crossed and a table of every tile took 75 MB.
    EXPECT_LT(B.TileBytes(), 8u << 20);
    for (int Y : {0, 15, 16, 200003, 399999}) {
        EXPECT_EQ(B.Canvas().Pixel(5, Y), clBlack) << Y;
        EXPECT_EQ(B.Canvas().Pixel(6, Y), Y == 200003 ? clBlack : clWhite) << Y;
    }
    // Drawing on a shared tile changes that tile only.
    B.Canvas().SetPixel(6, 100, clRed);
    EXPECT_EQ(B.Canvas().Pixel(6, 100), clRed);
    EXPECT_EQ(B.Canvas().Pixel(6, 116), clWhite);
    EXPECT_EQ(B.Canvas().Pixel(6, 84), clWhite);
}
