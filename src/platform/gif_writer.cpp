#include "platform/gif_writer.h"

#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/exception.h"

#include <QHash>

namespace tvx {
namespace {

constexpr int MaxCodeSize = 12;
constexpr int MaxCodes = 1 << MaxCodeSize;
constexpr int PaletteBits = 4; // 16 colours
constexpr int MaxDimension = kMaxGifSide;

// Packs codes of varying width into bytes, lowest bit first.
class TCodeWriter {
public:
    void Put(int Code, int Width) {
        Bits |= std::uint32_t(Code) << Count;
        Count += Width;
        while (Count >= 8) {
            Out.append(char(Bits & 0xFF));
            Bits >>= 8;
            Count -= 8;
        }
    }
    QByteArray Finish() {
        if (Count > 0) {
            Out.append(char(Bits & 0xFF));
        }
        Bits = 0;
        Count = 0;
        return Out;
    }

private:
    QByteArray Out;
    std::uint32_t Bits = 0;
    int Count = 0;
};

// The string table: the code of "string Prefix followed by index K", kept in
// one slot per (prefix, index) pair; 0 means no entry (every real entry is
// above the clear and end codes).
class TStringTable {
public:
    explicit TStringTable(int MinCodeSize)
        : Shift(MinCodeSize), Slots(std::size_t(MaxCodes) << MinCodeSize, 0) {
        Used.reserve(MaxCodes);
    }
    int Find(int Prefix, int K) const { return Slots[Slot(Prefix, K)]; }
    void Add(int Prefix, int K, int Code) {
        const std::size_t slot = Slot(Prefix, K);
        Slots[slot] = std::uint16_t(Code);
        Used.push_back(std::uint32_t(slot));
    }
    // Forgets every entry; only the slots set since the last reset are
    // touched, so a reset costs no more than the entries it removes.
    void Reset() {
        for (std::uint32_t slot : Used) {
            Slots[slot] = 0;
        }
        Used.clear();
    }

private:
    std::size_t Slot(int Prefix, int K) const { return (std::size_t(Prefix) << Shift) | K; }

    int Shift;
    std::vector<std::uint16_t> Slots;
    std::vector<std::uint32_t> Used;
};

void PutLittle16(QByteArray& Out, int Value) {
    Out.append(char(Value & 0xFF));
    Out.append(char((Value >> 8) & 0xFF));
}

// Image data is stored in sub-blocks of at most 255 bytes, each led by its
// length, closed by an empty one.
void PutSubBlocks(QByteArray& Out, const QByteArray& Data) {
    for (qsizetype at = 0; at < Data.size(); at += 255) {
        const qsizetype size = std::min<qsizetype>(255, Data.size() - at);
        Out.append(char(size));
        Out.append(Data.constData() + at, size);
    }
    Out.append('\0');
}

} // namespace

QByteArray GifLzwEncode(const std::vector<std::uint8_t>& Indices, int MinCodeSize) {
    if (MinCodeSize < 2 || MinCodeSize > 8) {
        throw Exception(QStringLiteral("GIF code size %1 is outside 2 to 8").arg(MinCodeSize));
    }
    const int clearCode = 1 << MinCodeSize;
    const int endCode = clearCode + 1;
    TStringTable table(MinCodeSize);
    TCodeWriter out;
    int width = MinCodeSize + 1;
    int next = clearCode + 2;
    out.Put(clearCode, width);
    if (Indices.empty()) {
        out.Put(endCode, width);
        return out.Finish();
    }
    for (std::uint8_t k : Indices) {
        if (k >= clearCode) {
            throw Exception(QStringLiteral("GIF colour index %1 beyond the table").arg(k));
        }
    }
    int prefix = Indices.front();
    for (std::size_t i = 1; i < Indices.size(); ++i) {
        const int k = Indices[i];
        if (const int code = table.Find(prefix, k); code != 0) {
            prefix = code;
            continue;
        }
        out.Put(prefix, width);
        if (next < MaxCodes) {
            table.Add(prefix, k, next++);
            // The reader adds each entry one code later than the writer, so
            // the width grows once the next free code no longer fits.
            if (next > (1 << width) && width < MaxCodeSize) {
                ++width;
            }
        } else {
            // The table is full: start afresh, as the reader will on the clear code.
            out.Put(clearCode, width);
            table.Reset();
            width = MinCodeSize + 1;
            next = clearCode + 2;
        }
        prefix = k;
    }
    out.Put(prefix, width);
    // Reading the last code, the reader adds its pending entry and may widen
    // its codes before it reads the end code.
    if (next == (1 << width) && width < MaxCodeSize) {
        ++width;
    }
    out.Put(endCode, width);
    return out.Finish();
}

const QList<QRgb>& TGIFImage::Palette() {
    static const QList<QRgb> colours = [] {
        const TColor standard[] = {clBlack, clMaroon,  clGreen,  clOlive, clNavy, clPurple,
                                   clTeal,  clGray,    clSilver, clRed,   clLime, clYellow,
                                   clBlue,  clFuchsia, clAqua,   clWhite};
        QList<QRgb> list;
        for (TColor c : standard) {
            list.append(ToQColor(c).rgb());
        }
        return list;
    }();
    return colours;
}

void TGIFImage::Assign(const TBitmap& Picture) {
    FWidth = 0;
    FHeight = 0;
    FIndices.clear();
    if (Picture.Empty()) {
        return;
    }
    TBitmap reduced;
    reduced.Assign(Picture);
    reduced.SetPixelFormat(pf4bit);
    const QImage image = CheckedImage(reduced.Image().convertToFormat(QImage::Format_RGB32));

    QHash<QRgb, std::uint8_t> index;
    const QList<QRgb>& palette = Palette();
    for (int i = 0; i < palette.size(); ++i) {
        index.insert(palette[i] | 0xFF000000u, std::uint8_t(i));
    }
    FIndices.resize(std::size_t(image.width()) * std::size_t(image.height()));
    std::size_t at = 0;
    QRgb last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = row[x] | 0xFF000000u;
            if (!haveLast || pixel != last) {
                // The reduction leaves only palette colours; anything else
                // would be a fault of the reduction and is drawn black.
                lastIndex = index.value(pixel, 0);
                last = pixel;
                haveLast = true;
            }
            FIndices[at++] = lastIndex;
        }
    }
    FWidth = image.width();
    FHeight = image.height();
}

std::uint8_t TGIFImage::PixelIndex(int X, int Y) const {
    return FIndices.at(std::size_t(Y) * std::size_t(FWidth) + std::size_t(X));
}

QByteArray TGIFImage::Encode() const {
    if (Empty()) {
        throw Exception(QStringLiteral("An empty picture cannot be written as GIF"));
    }
    if (FWidth > MaxDimension || FHeight > MaxDimension) {
        throw Exception(QStringLiteral("A picture of %1 x %2 pixels is too large for GIF")
                            .arg(FWidth)
                            .arg(FHeight));
    }
    QByteArray out("GIF87a");
    // Logical screen: global colour table of 2^(3+1) entries, 8 bits per primary.
    PutLittle16(out, FWidth);
    PutLittle16(out, FHeight);
    out.append(char(0x80 | (7 << 4) | (PaletteBits - 1)));
    out.append('\0'); // background colour index
    out.append('\0'); // no aspect ratio
    for (QRgb colour : Palette()) {
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    // The one image, covering the whole screen, no local table, not interlaced.
    out.append(char(0x2C));
    PutLittle16(out, 0);
    PutLittle16(out, 0);
    PutLittle16(out, FWidth);
    PutLittle16(out, FHeight);
    out.append('\0');
    out.append(char(PaletteBits));
    PutSubBlocks(out, GifLzwEncode(FIndices, PaletteBits));
    out.append(char(0x3B)); // trailer
    return out;
}

void TGIFImage::SaveToFile(const QString& FileName) const {
    const QString error = WriteFileAtomically(FileName, Encode());
    if (!error.isEmpty()) {
        throw Exception(QStringLiteral("Unable to write to %1: %2").arg(FileName, error));
    }
}

} // namespace tvx
