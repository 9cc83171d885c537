#pragma once
// A picture in memory: width, height, pixel format and the canvas that draws
// on it. Pixels are stored as a QImage whose format follows the pixel format.
//
// A picture that has only been sized holds one colour everywhere (its fill),
// so it takes no memory for pixels until something draws on it or reads it;
// until then it reads as that colour. A chart makes a picture for every block
// it holds, and an import of a large source makes a hundred thousand blocks
// before any of them is drawn.
//
// A large picture that is drawn on keeps its pixels in tiles of
// kTileSize x kTileSize, made only where something is drawn; every other
// pixel is the fill. The picture of a compound block covers its whole
// subtree and is mostly white, with a few lines running down its sides, and
// the root's picture is as large as the chart. The table of tiles is made a
// group of tiles at a time, where something is drawn, and tiles of equal
// pixels may share their memory (ShareEqualTiles): a line down a tall
// picture costs a little per tile it crosses, not the tiles' pixels, so a
// chart nested deep keeps memory with the lines drawn rather than with its
// depth times its height. A large picture is made whole (one QImage) only
// when something reads it whole or draws with a painter; then it marks the
// tiles that are only the fill, so that the chart picture, filled and
// composed again on every repaint, writes little more than what is drawn on
// it.
#include "platform/canvas.h"
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

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

// What a user of a picture keeps with it (the layout keeps the drawing that
// made it): set and read by that user, gone with the picture.
class TBitmapMemo {
public:
    virtual ~TBitmapMemo() = default;
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

    // The memo kept with the picture (none at first); the picture never
    // reads it, nor copies it with Assign.
    std::unique_ptr<TBitmapMemo>& Memo() { return FMemo; }

    // The pixels (a null image while the picture is empty). For the palette
    // formats (1, 4, 8 bits) the image is 32 bits per pixel holding only colours
    // of the format's palette. Raises Exception when there is no memory for
    // pixels that were not yet made.
    const QImage& Image() const;
    // The pixels of R (clipped to the picture) as an image of their own, in
    // the format Image() gives, without making a large picture whole: a view
    // shows the part of a chart it has room for. A null image when R lies
    // outside the picture.
    QImage Region(const TRect& R) const;

    // Copies size, pixel format and pixels of Source; the canvas keeps its pen,
    // brush and font.
    void Assign(const TBitmap& Source);

    // Gives up the pixels: the picture keeps its size and format and is
    // white everywhere, taking no memory for pixels until it is drawn on.
    void ReleasePixels();

    // Lets the tiles of equal pixels share one copy of them (a picture kept
    // in tiles only; drawing on a shared tile gives it its own copy again).
    // Cheap when few tiles were made since the last call. Changes no pixel.
    void ShareEqualTiles();
    // Bytes kept for the pixels of a picture in tiles: the tiles and their
    // table (0 for a picture that is one QImage or only its fill).
    std::size_t TileBytes() const;

    // Writes the picture as a BMP file; raises Exception when it cannot be
    // written.
    void SaveToFile(const QString& FileName) const;

    // A number that changes whenever the picture's pixels, size or format may
    // have changed, and is never given to two different states of any
    // picture: equal stamps mean the picture is exactly as it was.
    std::uint64_t ChangeStamp() const { return FStamp; }

    // Side of a tile, and the area (in pixels) above which a picture keeps
    // tiles instead of being made whole when something draws on it.
    static constexpr int kTileSize = 16;
    static constexpr long long kTiledArea = 256 * 256;
    // The largest area a picture takes (its tiles are made as they are
    // drawn on, so only their table grows with the area); larger sizes raise
    // Exception. A picture made whole is also bounded in bytes (1 GB).
    static constexpr long long kMaxArea = 1LL << 36;
    // The most bytes of pixels a picture made whole (one QImage) may take.
    static constexpr long long kMaxWholeBytes = 1LL << 30;

private:
    friend class TCanvas;

    // One pixel as the picture stores it (1 to 4 bytes).
    struct TRawPixel {
        unsigned char Bytes[4] = {0, 0, 0, 0};
        bool operator==(const TRawPixel&) const = default;
    };

    // --- storage, as the canvas reaches it ---
    int BytesPerPixel() const;
    QImage::Format ImageFormat() const;
    TRawPixel Encode(TColor Color) const;
    // True when the pixels are one QImage.
    bool Whole() const { return !FImage.isNull(); }
    // The whole picture as one QImage, for drawing with a painter; callers mark
    // palette formats for rounding.
    QImage& Pixels();
    void MarkDirty(); // after drawing that may leave colours outside the palette
    // The pixels of the QImage for writing (which must exist), made the
    // picture's own first when they are shared with a copy.
    unsigned char* OwnBits() const;
    // Pixel (X, Y) for writing, with the block from there on that lies in
    // memory with one stride: Width x Height pixels, rows Stride bytes apart
    // (to the end of the tile, or of the picture; in a whole picture, on
    // through the next tiles of the row, up to Wanted pixels). A missing or
    // blank tile is made, holding the fill, unless OnlyStored: then the answer
    // is nullptr, Width and Height still giving the block's size.
    unsigned char* WritableBlock(int X, int Y, int& Width, int& Height, qsizetype& Stride,
                                 bool OnlyStored = false, int Wanted = 0);
    // Pixel X of row Y for reading, and in Count how many pixels from there
    // lie next to each other in memory; Fill tells that the run is the fill
    // (a missing or blank tile), and the pointer is then to fill pixels.
    const unsigned char* ReadableRun(int X, int Y, int& Count, bool& Fill) const;
    // The picture becomes all Color (in the format): it gives up its tiles; a
    // large whole picture keeps its QImage, every tile of it blank.
    void FillWhole(TColor Color);
    // Sets every pixel of R (inside the picture) to Raw. Tiles are made only
    // where Raw is not the fill.
    void FillRaw(const TRect& R, const TRawPixel& Raw);
    // Writes the fill over R where the picture holds pixels of its own (a
    // large picture only).
    void FillStoredTiles(const TRect& R);
    // The tile holding pixel (X, Y), or nullptr when it is missing.
    const unsigned char* TileAt(int X, int Y) const;

    // Count pixels of Raw from P on.
    static void StoreRun(unsigned char* P, int Count, const TRawPixel& Raw, int Bytes);

    void RoundToPalette() const;
    void Reallocate(int NewWidth, int NewHeight);
    void ResizeTiles(int NewWidth, int NewHeight);
    // Puts every pixel in the QImage: makes it for a picture that has only
    // its fill and tiles, writes the fill into the blank tiles of one that
    // has it.
    void MakeWhole() const;
    void FillBlankTiles() const;
    void UnblankTile(size_t Index);
    size_t TileIndex(int X, int Y) const;
    void SetFill(TColor Stored);
    int TilesAcross() const { return (FWidth + kTileSize - 1) / kTileSize; }
    int TilesDown() const { return (FHeight + kTileSize - 1) / kTileSize; }
    bool KeepsTiles() const;
    void Changed();

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    // Null while the picture is empty, and while it is its fill and tiles.
    mutable QImage FImage;
    // While there is no QImage: the tiles, by column and row of tiles; a
    // missing tile (or no tiles at all) holds the fill everywhere. Pixels of
    // a tile outside the picture are the fill too, so a picture that grows in
    // its fill colour only gets a new table. Tiles are kept in groups of
    // kGroup x kGroup, a group being made when one of its tiles is; a tile
    // shared by several places (ShareEqualTiles) is marked in the lowest bit
    // of its address and copied before it is written.
    class TTileTable {
    public:
        static constexpr int kGroup = 8;
        // Drops every tile; the table is Across x Down tiles.
        void Reset(int Across, int Down);
        // The table becomes Across x Down, keeping the tiles inside.
        void Resize(int Across, int Down);
        bool Empty() const { return FGroupCount == 0; }
        std::size_t Bytes() const {
            return FGroups.size() * sizeof(FGroups[0]) + FGroupCount * sizeof(Group);
        }
        int Across() const { return FAcross; }
        int Down() const { return FDown; }
        // The tile at (TX, TY) with its mark, 0 when missing.
        std::uintptr_t Raw(int TX, int TY) const {
            const Group* G = FGroups.empty() ? nullptr : FGroups[GroupIndex(TX, TY)].get();
            return G == nullptr ? 0 : (*G)[size_t(TY % kGroup) * kGroup + size_t(TX % kGroup)];
        }
        // The tile's pixels, nullptr when missing.
        const unsigned char* At(int TX, int TY) const { return Pixels(Raw(TX, TY)); }
        // The place of the tile at (TX, TY), its group made if missing.
        std::uintptr_t& Slot(int TX, int TY);
        // The first column from TX on, below End, whose group in row TY is
        // made (End when none is).
        int NextInGroup(int TX, int TY, int End) const;
        // Calls Visit(TX, TY, Slot) for every tile there is.
        template <typename F> void ForEach(F&& Visit) {
            for (size_t I = 0; I < FGroups.size(); ++I) {
                if (Group* G = FGroups[I].get()) {
                    const int GX = int(I % size_t(FGroupsAcross)) * kGroup;
                    const int GY = int(I / size_t(FGroupsAcross)) * kGroup;
                    for (size_t J = 0; J < G->size(); ++J) {
                        if ((*G)[J] != 0) {
                            Visit(GX + int(J % kGroup), GY + int(J / kGroup), (*G)[J]);
                        }
                    }
                }
            }
        }
        static unsigned char* Pixels(std::uintptr_t Raw) {
            return reinterpret_cast<unsigned char*>(Raw & ~std::uintptr_t(1));
        }
        static bool Shared(std::uintptr_t Raw) { return (Raw & 1) != 0; }

    private:
        using Group = std::array<std::uintptr_t, size_t(kGroup) * kGroup>;
        size_t GroupIndex(int TX, int TY) const {
            return size_t(TY / kGroup) * size_t(FGroupsAcross) + size_t(TX / kGroup);
        }
        int FAcross = 0;
        int FDown = 0;
        int FGroupsAcross = 0;
        size_t FGroupCount = 0; // groups made
        std::vector<std::unique_ptr<Group>> FGroups;
    };
    mutable TTileTable FTiles;
    // The memory of the tiles: blocks handed out a tile at a time and given
    // back all at once, when the picture drops its tiles (a picture is
    // filled whole far more often than it loses a tile of its own).
    class TTileMemory {
    public:
        unsigned char* NewTile(size_t Bytes);
        void Clear();
        // Tiles handed out since the last Clear, and the bytes of memory
        // they were handed out of.
        size_t Count() const { return FCount; }
        size_t Bytes() const { return FTotal; }
        void Swap(TTileMemory& Other) noexcept;

    private:
        size_t FCount = 0;
        size_t FTotal = 0;
        std::vector<std::unique_ptr<unsigned char[]>> FBlocks;
        size_t FBlockBytes = 0; // size of the last block
        size_t FLeft = 0;       // bytes left in it
        size_t FNextTiles = 8;  // tiles in the next block
    };
    mutable TTileMemory FTileMemory;
    // Tiles of the memory when equal tiles were last shared.
    mutable size_t FTilesShared = 0;
    // Writable pixels of the tile at (TX, TY), made (holding the fill) when
    // missing, copied when shared.
    unsigned char* OwnTile(int TX, int TY);
    void DropTiles() const;
    // While there is a QImage (large pictures only), what each tile holds:
    // its pixels are in the QImage (kStoredTile); it is the fill, whatever the
    // QImage holds there (kBlankTile); it is the fill, and so is the QImage
    // there (kPlainTile). Filling the whole picture then writes nothing, and
    // drawing it again writes each pixel at most once, and not at all where
    // it stays the fill. Empty when every tile is stored.
    enum : std::uint8_t { kStoredTile, kBlankTile, kPlainTile };
    mutable std::vector<std::uint8_t> FMarks;
    TColor FFill = clWhite; // as stored in the format
    TRawPixel FFillRaw;
    unsigned char FFillRun[kTileSize * 4] = {}; // kTileSize fill pixels
    mutable bool FDirty = false;                // palette formats: pixels not yet rounded
    std::uint64_t FStamp = 0;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TBitmapMemo> FMemo;
};

// True for the formats of 1, 4 and 8 bits, whose colours come from a palette.
bool HasPalette(TPixelFormat Format);

// Image as it is, for pixels that were asked for. Qt answers a request for
// pixels it has no memory for with a null image; that raises std::bad_alloc
// here, before anything reads or writes through it.
QImage CheckedImage(QImage Image);

// What a colour becomes when stored in a picture of the given format (16 bits
// per pixel keeps 5-6-5 bits, the palette formats their nearest entry).
TColor StoredColor(TPixelFormat Format, TColor Color);

} // namespace tvx
