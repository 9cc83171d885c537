#pragma once
// Pictures written in the published GIF format (GIF87a): one image, no
// interlacing, a global colour table of the 16 standard colours (black,
// maroon, green, olive, navy, purple, teal, grey, silver, red, lime, yellow,
// blue, fuchsia, aqua, white, in that order) and variable-length LZW data.
//
//     TGIFImage gif;
//     gif.Assign(page);          // reduced to the 16 colours
//     gif.SaveToFile(name);
#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <vector>

namespace tvx {

class TBitmap;

// The widest and highest picture the format holds.
inline constexpr int kMaxGifSide = 0xFFFF;

class TGIFImage {
public:
    // The 16 colours of the colour table, in table order.
    static const QList<QRgb>& Palette();

    // Takes a copy of Picture, each pixel reduced to the nearest of the 16
    // colours (as a 4-bit picture stores it); Picture itself is not changed.
    void Assign(const TBitmap& Picture);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    // Colour-table index of the pixel at (X, Y).
    std::uint8_t PixelIndex(int X, int Y) const;

    // The bytes of the GIF file. Raises Exception for an empty picture and
    // for one wider or higher than 65535 pixels, which the format cannot hold.
    QByteArray Encode() const;
    // Writes the file. An existing file is replaced only once the new one is
    // complete; raises Exception with the reason when it cannot be written.
    void SaveToFile(const QString& FileName) const;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint8_t> FIndices; // one table index per pixel, rows top down
};

// The LZW code stream of a GIF image (without the code-size byte and the
// sub-block framing): Indices are colour-table indices below 1 << MinCodeSize;
// MinCodeSize is 2 to 8.
QByteArray GifLzwEncode(const std::vector<std::uint8_t>& Indices, int MinCodeSize);

} // namespace tvx
