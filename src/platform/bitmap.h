#pragma once
// A picture in memory: width, height, pixel format and the canvas that draws
// on it. Pixels live in a QImage whose format follows the pixel format.
//
// A picture that has only been sized holds one colour everywhere, so its
// QImage is made only when something draws on it or reads its pixels; until
// then it reads as that colour. A chart makes a picture for every block it
// holds, and an import of a large source makes a hundred thousand blocks
// before any of them is drawn.
#include "platform/canvas.h"
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

namespace tvx {

// Pixel-format codes as the settings store them (5 = 16 bits per pixel).
enum TPixelFormat : std::uint8_t {
    pfDevice = 0, // the screen's format: 32 bits per pixel here
    pf1bit = 1,   // black and white
    pf4bit = 2,   // the 16 standard colours
    pf8bit = 3,   // a fixed 256-colour palette
    pf15bit = 4,  // 5-5-5
    pf16bit = 5,  // 5-6-5
    pf24bit = 6,
    pf32bit = 7,
    pfCustom = 8, // treated as pfDevice
};

class TBitmap {
public:
    // An empty picture (0 x 0) in the device format, with a white brush and a
    // black pen.
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A size change keeps the pixels that stay inside the picture, at the top
    // left, and fills the new area with the canvas's brush colour (white when the
    // brush is clear). Negative sizes count as 0; a picture too large for memory
    // raises Exception and keeps its old size.
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetSize(int NewWidth, int NewHeight);
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels to the new format; colours the format cannot hold
    // become the nearest it can.
    void SetPixelFormat(TPixelFormat Value);

    TCanvas& Canvas() { return *FCanvas; }
    const TCanvas& Canvas() const { return *FCanvas; }

    // The pixels (a null image while the picture is empty). For the palette
    // formats (1, 4, 8 bits) the image is 32 bits per pixel holding only colours
    // of the format's palette. Raises Exception when there is no memory for
    // pixels that were not yet made.
    const QImage& Image() const;

    // Copies size, pixel format and pixels of Source; the canvas keeps its pen,
    // brush and font.
    void Assign(const TBitmap& Source);

    // Writes the picture as a BMP file; raises Exception when it cannot be
    // written.
    void SaveToFile(const QString& FileName) const;

    // A number that changes whenever the picture's pixels, size or format may
    // have changed, and is never given to two different states of any
    // picture: equal stamps mean the picture is exactly as it was.
    std::uint64_t ChangeStamp() const { return FStamp; }

private:
    friend class TCanvas;
    QImage& Pixels(); // for drawing; callers mark palette formats for rounding
    void MarkDirty(); // after drawing that may leave colours outside the palette
    void RoundToPalette() const;
    void Reallocate(int NewWidth, int NewHeight);
    // Makes the pixels of a picture that so far only has its fill colour.
    void MakePixels() const;
    void Changed();

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    // Null while the picture is empty, and while it is all FFill (as stored
    // in its format): then the pixels are made on first use.
    mutable QImage FImage;
    TColor FFill = clWhite;
    mutable bool FDirty = false; // palette formats: pixels not yet rounded
    std::uint64_t FStamp = 0;
    std::unique_ptr<TCanvas> FCanvas;
};

// What a colour becomes when stored in a picture of the given format (16 bits
// per pixel keeps 5-6-5 bits, the palette formats their nearest entry).
TColor StoredColor(TPixelFormat Format, TColor Color);

} // namespace tvx
