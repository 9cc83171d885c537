// GIF pictures: what the writer produces is read back by a decoder of the
// test's own (strict about code widths, the clear and end codes and the
// framing) and, where Qt has its GIF reader, by that one too.
#include "platform/bitmap.h"
#include "platform/exception.h"
#include "platform/gif_writer.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace tvx;

namespace {

// Reads LZW codes of varying width, lowest bit first.
class TCodeReader {
public:
    explicit TCodeReader(const QByteArray& Data) : Data(Data) {}
    std::optional<int> Get(int Width) {
        while (Count < Width) {
            if (At >= Data.size()) {
                return std::nullopt;
            }
            Bits |= std::uint32_t(std::uint8_t(Data[At++])) << Count;
            Count += 8;
        }
        const int code = int(Bits & ((1u << Width) - 1));
        Bits >>= Width;
        Count -= Width;
        return code;
    }
    qsizetype Unread() const { return Data.size() - At; }

private:
    const QByteArray& Data;
    qsizetype At = 0;
    std::uint32_t Bits = 0;
    int Count = 0;
};

// A GIF LZW decoder as a reader implements it; fails the test on any code
// the reader could not accept.
std::vector<std::uint8_t> LzwDecode(const QByteArray& Data, int MinCodeSize) {
    const int clear = 1 << MinCodeSize;
    const int end = clear + 1;
    std::vector<int> prefix(4096, -1);
    std::vector<std::uint8_t> suffix(4096, 0);
    for (int i = 0; i < clear; ++i) {
        suffix[std::size_t(i)] = std::uint8_t(i);
    }
    auto string = [&](int code) {
        std::vector<std::uint8_t> s;
        for (int c = code; c >= 0; c = prefix[std::size_t(c)]) {
            s.push_back(suffix[std::size_t(c)]);
        }
        return std::vector<std::uint8_t>(s.rbegin(), s.rend());
    };
    std::vector<std::uint8_t> out;
    TCodeReader reader(Data);
    int width = MinCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    bool sawClear = false;
    for (;;) {
        const std::optional<int> code = reader.Get(width);
        if (!code) {
            ADD_FAILURE() << "data ends without the end code";
            return out;
        }
        if (*code == clear) {
            sawClear = true;
            width = MinCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (*code == end) {
            break;
        }
        EXPECT_TRUE(sawClear) << "the stream must start with a clear code";
        if (previous < 0) {
            if (*code >= clear) {
                ADD_FAILURE() << "first code after a clear is " << *code;
                return out;
            }
            out.push_back(std::uint8_t(*code));
            previous = *code;
            continue;
        }
        std::vector<std::uint8_t> entry;
        if (*code < next) {
            entry = string(*code);
        } else if (*code == next) {
            entry = string(previous);
            entry.push_back(entry.front());
        } else {
            ADD_FAILURE() << "code " << *code << " beyond the table (" << next << ")";
            return out;
        }
        if (next < 4096) {
            prefix[std::size_t(next)] = previous;
            suffix[std::size_t(next)] = entry.front();
            ++next;
        }
        out.insert(out.end(), entry.begin(), entry.end());
        previous = *code;
        if (next == (1 << width) && width < 12) {
            ++width;
        }
    }
    // Only the padding of the last byte may follow the end code.
    EXPECT_EQ(reader.Unread(), 0);
    return out;
}

struct TDecodedGif {
    int Width = 0, Height = 0;
    QList<QRgb> Palette;
    std::vector<std::uint8_t> Indices;
};

int Little16(const QByteArray& b, qsizetype at) {
    return std::uint8_t(b[at]) | (std::uint8_t(b[at + 1]) << 8);
}

// Walks the file: header, screen, global table, the image with its
// sub-blocks, trailer.
TDecodedGif DecodeGif(const QByteArray& File) {
    TDecodedGif gif;
    EXPECT_TRUE(File.startsWith("GIF87a") || File.startsWith("GIF89a"));
    gif.Width = Little16(File, 6);
    gif.Height = Little16(File, 8);
    const int flags = std::uint8_t(File[10]);
    EXPECT_TRUE(flags & 0x80) << "global colour table";
    const int entries = 2 << (flags & 7);
    qsizetype at = 13;
    for (int i = 0; i < entries; ++i, at += 3) {
        gif.Palette.append(
            qRgb(std::uint8_t(File[at]), std::uint8_t(File[at + 1]), std::uint8_t(File[at + 2])));
    }
    EXPECT_EQ(std::uint8_t(File[at]), 0x2C) << "image descriptor";
    EXPECT_EQ(Little16(File, at + 1), 0);
    EXPECT_EQ(Little16(File, at + 3), 0);
    EXPECT_EQ(Little16(File, at + 5), gif.Width);
    EXPECT_EQ(Little16(File, at + 7), gif.Height);
    EXPECT_EQ(std::uint8_t(File[at + 9]), 0) << "no local table, not interlaced";
    at += 10;
    const int minCodeSize = std::uint8_t(File[at++]);
    QByteArray data;
    for (int size = std::uint8_t(File[at++]); size != 0; size = std::uint8_t(File[at++])) {
        data.append(File.mid(at, size));
        at += size;
    }
    EXPECT_EQ(std::uint8_t(File[at]), 0x3B) << "trailer";
    EXPECT_EQ(at + 1, File.size());
    gif.Indices = LzwDecode(data, minCodeSize);
    return gif;
}

std::vector<std::uint8_t> RandomIndices(std::size_t Count, int Colours, quint32 Seed) {
    QRandomGenerator random(Seed);
    std::vector<std::uint8_t> v(Count);
    for (auto& i : v) {
        i = std::uint8_t(random.bounded(Colours));
    }
    return v;
}

// A 16-bit picture with bands of colours, some of them not among the 16.
void PaintBands(TBitmap& Picture, int Width, int Height) {
    Picture.SetPixelFormat(pf16bit);
    Picture.SetSize(Width, Height);
    const TColor colours[] = {clWhite, clRed,    clNavy, ColorFromRgb(250, 240, 10),
                              clBlack, clSilver, clTeal, ColorFromRgb(100, 100, 100)};
    TCanvas& canvas = Picture.Canvas();
    for (int i = 0; i < 8; ++i) {
        canvas.Brush.Color = colours[i];
        canvas.FillRect(Rect(i * Width / 8, 0, (i + 1) * Width / 8, Height));
    }
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(0, Height - 1);
    canvas.LineTo(Width, 0);
}

} // namespace

TEST(GifWriterTest, LzwStreamsDecodeToWhatWasEncoded) {
    struct Case {
        const char* What;
        std::vector<std::uint8_t> Indices;
        int MinCodeSize;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, 4},
        {"one pixel", {7}, 4},
        {"two pixels, smallest code size", {3, 1}, 2},
        {"a repeating run grows codes one at a time", std::vector<std::uint8_t>(5000, 2), 4},
        // Noise fills the 4096-entry table many times over: clear codes in
        // the middle of the stream.
        {"noise of 16 colours", RandomIndices(257 * 131, 16, 1), 4},
        {"noise of 4 colours", RandomIndices(40000, 4, 2), 2},
        {"noise of 256 colours", RandomIndices(30000, 256, 3), 8},
        {"pattern",
         [] {
             std::vector<std::uint8_t> v;
             for (int i = 0; i < 20000; ++i) {
                 v.push_back(std::uint8_t((i * i / 7) % 16));
             }
             return v;
         }(),
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const QByteArray stream = GifLzwEncode(c.Indices, c.MinCodeSize);
        EXPECT_EQ(LzwDecode(stream, c.MinCodeSize), c.Indices);
    }
    // Every length around the points where the code width grows, so the
    // width of the end code is right wherever the data stops.
    for (std::size_t n = 1; n < 600; ++n) {
        const std::vector<std::uint8_t> v = RandomIndices(n, 4, quint32(n));
        ASSERT_EQ(LzwDecode(GifLzwEncode(v, 2), 2), v) << n << " pixels";
    }
    EXPECT_THROW(GifLzwEncode({1, 16}, 4), Exception);
    EXPECT_THROW(GifLzwEncode({0}, 9), Exception);
}

TEST(GifWriterTest, PictureIsWrittenInSixteenColoursAndLeftAsItWas) {
    TBitmap picture;
    PaintBands(picture, 203, 61);
    const QImage before = picture.Image().copy();
    TGIFImage gif;
    gif.Assign(picture);
    EXPECT_EQ(picture.PixelFormat(), pf16bit);
    EXPECT_EQ(picture.Image(), before);

    const TDecodedGif decoded = DecodeGif(gif.Encode());
    EXPECT_EQ(decoded.Width, 203);
    EXPECT_EQ(decoded.Height, 61);
    EXPECT_EQ(decoded.Palette, TGIFImage::Palette());
    ASSERT_EQ(decoded.Indices.size(), std::size_t(203 * 61));
    for (int y = 0; y < 61; ++y) {
        for (int x = 0; x < 203; ++x) {
            const QRgb expected =
                ToQColor(StoredColor(pf4bit, FromQColor(before.pixel(x, y)))).rgb();
            const QRgb written = decoded.Palette[decoded.Indices[std::size_t(y * 203 + x)]];
            ASSERT_EQ(written, expected) << x << "," << y;
        }
    }
}

TEST(GifWriterTest, QtReadsTheFileBack) {
    if (!QImageReader::supportedImageFormats().contains("gif")) {
        GTEST_SKIP() << "no GIF reader in this Qt";
    }
    TBitmap picture;
    PaintBands(picture, 640, 480);
    TGIFImage gif;
    gif.Assign(picture);
    QTemporaryDir dir;
    const QString name = dir.filePath("page.gif");
    gif.SaveToFile(name);

    QImageReader reader(name);
    EXPECT_EQ(reader.format(), "gif");
    const QImage read = reader.read().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();
    ASSERT_EQ(read.size(), QSize(640, 480));
    QSet<QRgb> colours;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            colours.insert(read.pixel(x, y));
            ASSERT_EQ(read.pixel(x, y), TGIFImage::Palette()[gif.PixelIndex(x, y)] | 0xFF000000u);
        }
    }
    EXPECT_LE(colours.size(), 16);
}

TEST(GifWriterTest, PicturesTheFormatCannotHoldAndFilesThatCannotBeWrittenRaise) {
    TGIFImage gif;
    EXPECT_TRUE(gif.Empty());
    EXPECT_THROW(gif.Encode(), Exception);
    TBitmap wide;
    wide.SetSize(70000, 1);
    gif.Assign(wide);
    EXPECT_THROW(gif.Encode(), Exception);

    TBitmap small;
    PaintBands(small, 16, 16);
    gif.Assign(small);
    QTemporaryDir dir;
    EXPECT_THROW(gif.SaveToFile(dir.filePath("missing/page.gif")), Exception);
    // A file that is replaced holds the whole new picture and nothing of the old.
    const QString name = dir.filePath("page.gif");
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    gif.SaveToFile(name);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, gif.Encode());
    EXPECT_EQ(DecodeGif(bytes).Width, 16);
}
