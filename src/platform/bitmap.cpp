#include "platform/bitmap.h"
#include "platform/exception.h"
#include <QHash>
#include <QList>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <unordered_map>

namespace tvx {

namespace {

constexpr qint64 MaxPictureBytes = TBitmap::kMaxWholeBytes;

TPixelFormat Normalized(TPixelFormat Format) {
    return Format > pf32bit ? pfDevice : Format;
}

QImage::Format StorageFormat(TPixelFormat Format) {
    switch (Format) {
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf24bit:
        return QImage::Format_RGB888;
    default:
        return QImage::Format_RGB32;
    }
}

QList<QRgb> MakePalette(TPixelFormat Format) {
    // The 16 standard colours come first in every palette.
    static const TColor Standard[] = {clBlack, clMaroon,  clGreen,  clOlive, clNavy, clPurple,
                                      clTeal,  clGray,    clSilver, clRed,   clLime, clYellow,
                                      clBlue,  clFuchsia, clAqua,   clWhite};
    QList<QRgb> Result;
    if (Format == pf1bit) {
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }
    for (TColor C : Standard) {
        Result.append(ToQColor(C).rgb());
    }
    if (Format == pf8bit) {
        for (int R = 0; R < 6; ++R) {
            for (int G = 0; G < 6; ++G) {
                for (int B = 0; B < 6; ++B) {
                    Result.append(qRgb(R * 51, G * 51, B * 51));
                }
            }
        }
        for (int Grey = 1; Result.size() < 256; ++Grey) {
            int V = Grey * 255 / 25;
            Result.append(qRgb(V, V, V));
        }
    }
    return Result;
}

const QList<QRgb>& Palette(TPixelFormat Format) {
    static const QList<QRgb> Mono = MakePalette(pf1bit);
    static const QList<QRgb> Sixteen = MakePalette(pf4bit);
    static const QList<QRgb> TwoFiftySix = MakePalette(pf8bit);
    return Format == pf1bit ? Mono : Format == pf4bit ? Sixteen : TwoFiftySix;
}

QRgb NearestInPalette(TPixelFormat Format, QRgb Colour) {
    static thread_local QHash<quint64, QRgb> Cache;
    quint64 Key = (quint64(Format) << 32) | (Colour & 0xFFFFFF);
    auto Found = Cache.constFind(Key);
    if (Found != Cache.constEnd()) {
        return *Found;
    }
    QRgb Best = 0;
    long BestDistance = -1;
    for (QRgb Entry : Palette(Format)) {
        long DR = qRed(Entry) - qRed(Colour);
        long DG = qGreen(Entry) - qGreen(Colour);
        long DB = qBlue(Entry) - qBlue(Colour);
        long Distance = DR * DR + DG * DG + DB * DB;
        if (BestDistance < 0 || Distance < BestDistance) {
            Best = Entry;
            BestDistance = Distance;
        }
    }
    Cache.insert(Key, Best | 0xFF000000);
    return Best | 0xFF000000;
}

} // namespace

TColor StoredColor(TPixelFormat Format, TColor Color) {
    // Asked for every picture sized; a picture is drawn in a few colours.
    // Pictures are drawn on several threads at once (texts of a chart).
    static thread_local QHash<quint64, TColor> Known;
    Format = Normalized(Format);
    const quint64 Key = (quint64(Format) << 32) | Color;
    auto Found = Known.constFind(Key);
    if (Found != Known.constEnd()) {
        return *Found;
    }
    QRgb Rgb = ToQColor(Color).rgb();
    TColor Stored;
    if (HasPalette(Format)) {
        Stored = FromQColor(QColor(NearestInPalette(Format, Rgb)));
    } else {
        QImage One = CheckedImage(QImage(1, 1, StorageFormat(Format)));
        One.setPixel(0, 0, Rgb);
        Stored = FromQColor(QColor(One.pixel(0, 0)));
    }
    if (Known.size() >= 4096) {
        Known.clear(); // a picture drawn in every colour there is
    }
    Known.insert(Key, Stored);
    return Stored;
}

QImage CheckedImage(QImage Image) {
    if (Image.isNull()) {
        throw std::bad_alloc();
    }
    return Image;
}

bool HasPalette(TPixelFormat Format) {
    return Format == pf1bit || Format == pf4bit || Format == pf8bit;
}

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>(*this)) {
    SetFill(clWhite);
}

void TBitmap::Changed() {
    static std::atomic<std::uint64_t> LastStamp{0};
    FStamp = ++LastStamp;
}

TBitmap::~TBitmap() = default;

void TBitmap::TTileTable::Reset(int Across, int Down) {
    FGroups.clear();
    FGroupCount = 0;
    FAcross = std::max(Across, 0);
    FDown = std::max(Down, 0);
    FGroupsAcross = (FAcross + kGroup - 1) / kGroup;
}

void TBitmap::TTileTable::Resize(int Across, int Down) {
    if (FGroupCount == 0) {
        Reset(Across, Down);
        return;
    }
    TTileTable New;
    New.Reset(Across, Down);
    const int GroupsDown = (New.FDown + kGroup - 1) / kGroup;
    New.FGroups.resize(size_t(New.FGroupsAcross) * size_t(GroupsDown));
    for (int GY = 0; GY < GroupsDown && GY * kGroup < FDown; ++GY) {
        for (int GX = 0; GX < New.FGroupsAcross && GX * kGroup < FAcross; ++GX) {
            auto& From = FGroups[size_t(GY) * size_t(FGroupsAcross) + size_t(GX)];
            if (!From) {
                continue;
            }
            // Tiles past the new sides are dropped.
            for (int J = 0; J < kGroup * kGroup; ++J) {
                if (GX * kGroup + J % kGroup >= New.FAcross ||
                    GY * kGroup + J / kGroup >= New.FDown) {
                    (*From)[size_t(J)] = 0;
                }
            }
            New.FGroups[size_t(GY) * size_t(New.FGroupsAcross) + size_t(GX)] = std::move(From);
            ++New.FGroupCount;
        }
    }
    *this = std::move(New);
}

std::uintptr_t& TBitmap::TTileTable::Slot(int TX, int TY) {
    if (FGroups.empty()) {
        FGroups.resize(size_t(FGroupsAcross) * size_t((FDown + kGroup - 1) / kGroup));
    }
    auto& G = FGroups[GroupIndex(TX, TY)];
    if (!G) {
        G = std::make_unique<Group>();
        G->fill(0);
        ++FGroupCount;
    }
    return (*G)[size_t(TY % kGroup) * kGroup + size_t(TX % kGroup)];
}

int TBitmap::TTileTable::NextInGroup(int TX, int TY, int End) const {
    if (FGroups.empty()) {
        return End;
    }
    const size_t Row = size_t(TY / kGroup) * size_t(FGroupsAcross);
    while (TX < End && !FGroups[Row + size_t(TX / kGroup)]) {
        TX = (TX / kGroup + 1) * kGroup;
    }
    return std::min(TX, End);
}

std::size_t TBitmap::TileBytes() const {
    return Whole() ? 0 : FTiles.Bytes() + FTileMemory.Bytes();
}

void TBitmap::TTileMemory::Swap(TTileMemory& Other) noexcept {
    std::swap(FBlocks, Other.FBlocks);
    std::swap(FBlockBytes, Other.FBlockBytes);
    std::swap(FLeft, Other.FLeft);
    std::swap(FNextTiles, Other.FNextTiles);
    std::swap(FCount, Other.FCount);
    std::swap(FTotal, Other.FTotal);
}

unsigned char* TBitmap::TTileMemory::NewTile(size_t Bytes) {
    ++FCount;
    if (FLeft < Bytes) {
        // Blocks grow with the picture's tiles, so a picture with a few lines
        // keeps little memory and a chart picture asks for it rarely.
        const size_t BlockBytes = Bytes * FNextTiles;
        FBlocks.push_back(std::make_unique_for_overwrite<unsigned char[]>(BlockBytes));
        FTotal += BlockBytes;
        FBlockBytes = FLeft = BlockBytes;
        FNextTiles = std::min<size_t>(FNextTiles * 2, 64);
    }
    unsigned char* Tile = FBlocks.back().get() + (FBlockBytes - FLeft);
    FLeft -= Bytes;
    return Tile;
}

void TBitmap::TTileMemory::Clear() {
    FBlocks.clear();
    FBlockBytes = FLeft = 0;
    FNextTiles = 8;
    FCount = 0;
    FTotal = 0;
}

void TBitmap::DropTiles() const {
    FTiles.Reset(TilesAcross(), TilesDown());
    FTileMemory.Clear();
    FTilesShared = 0;
}

unsigned char* TBitmap::OwnTile(int TX, int TY) {
    std::uintptr_t& Slot = FTiles.Slot(TX, TY);
    const size_t TileBytes = size_t(kTileSize) * kTileSize * size_t(BytesPerPixel());
    if (Slot == 0) {
        unsigned char* Tile = FTileMemory.NewTile(TileBytes);
        StoreRun(Tile, kTileSize * kTileSize, FFillRaw, BytesPerPixel());
        Slot = reinterpret_cast<std::uintptr_t>(Tile);
    } else if (TTileTable::Shared(Slot)) {
        unsigned char* Tile = FTileMemory.NewTile(TileBytes);
        std::memcpy(Tile, TTileTable::Pixels(Slot), TileBytes);
        Slot = reinterpret_cast<std::uintptr_t>(Tile);
    }
    return TTileTable::Pixels(Slot);
}

void TBitmap::ShareEqualTiles() {
    // Worth a look only when many tiles were made since the last one.
    const size_t Made = FTileMemory.Count();
    if (Whole() || FTiles.Empty() || Made < 256 || Made < 2 * FTilesShared) {
        return;
    }
    const size_t TileBytes = size_t(kTileSize) * kTileSize * size_t(BytesPerPixel());
    // Every place of a tile, by the tile it holds now.
    struct TPlace {
        std::uintptr_t Tile;
        std::uintptr_t* Slot;
    };
    std::vector<TPlace> Places;
    Places.reserve(Made);
    FTiles.ForEach([&](int, int, std::uintptr_t& Slot) {
        Places.push_back(TPlace{Slot & ~std::uintptr_t(1), &Slot});
    });
    std::sort(Places.begin(), Places.end(),
              [](const TPlace& A, const TPlace& B) { return A.Tile < B.Tile; });
    // The tiles, each once, by their pixels' hash.
    struct TTile {
        std::uint64_t Hash;
        std::uintptr_t Tile;
        std::uintptr_t Kept = 0; // where its pixels go
        size_t Uses = 0;
    };
    std::vector<TTile> Tiles;
    for (size_t I = 0; I < Places.size(); ++I) {
        if (I == 0 || Places[I].Tile != Places[I - 1].Tile) {
            const auto* Pixels = reinterpret_cast<const unsigned char*>(Places[I].Tile);
            std::uint64_t H = 1469598103934665603ull;
            for (size_t At = 0; At < TileBytes; At += sizeof(std::uint64_t)) {
                std::uint64_t W;
                std::memcpy(&W, Pixels + At, sizeof W);
                H = (H ^ W) * 1099511628211ull;
                H ^= H >> 29;
            }
            Tiles.push_back(TTile{H, Places[I].Tile});
        }
    }
    std::vector<TTile*> ByHash(Tiles.size());
    for (size_t I = 0; I < Tiles.size(); ++I) {
        ByHash[I] = &Tiles[I];
    }
    std::sort(ByHash.begin(), ByHash.end(),
              [](const TTile* A, const TTile* B) { return A->Hash < B->Hash; });
    // Equal tiles are moved into new memory once; the old memory, copies and
    // all, is given back.
    TTileMemory Kept;
    for (size_t I = 0; I < ByHash.size(); ++I) {
        TTile& T = *ByHash[I];
        const auto* Pixels = reinterpret_cast<const unsigned char*>(T.Tile);
        for (size_t J = I; J-- > 0 && ByHash[J]->Hash == T.Hash && T.Kept == 0;) {
            if (std::memcmp(reinterpret_cast<const unsigned char*>(ByHash[J]->Kept), Pixels,
                            TileBytes) == 0) {
                T.Kept = ByHash[J]->Kept;
            }
        }
        if (T.Kept == 0) {
            unsigned char* Tile = Kept.NewTile(TileBytes);
            std::memcpy(Tile, Pixels, TileBytes);
            T.Kept = reinterpret_cast<std::uintptr_t>(Tile);
        }
    }
    // Uses of each kept tile: the places of all the tiles moved into it.
    size_t Next = 0;
    for (TTile& T : Tiles) {
        size_t Count = 0;
        for (; Next < Places.size() && Places[Next].Tile == T.Tile; ++Next) {
            ++Count;
        }
        T.Uses = Count;
    }
    std::unordered_map<std::uintptr_t, size_t> Uses;
    if (Kept.Count() < Tiles.size()) {
        for (const TTile& T : Tiles) {
            Uses[T.Kept] += T.Uses;
        }
    }
    Next = 0;
    for (const TTile& T : Tiles) {
        const bool Shared = T.Uses > 1 || (!Uses.empty() && Uses[T.Kept] > 1);
        for (; Next < Places.size() && Places[Next].Tile == T.Tile; ++Next) {
            *Places[Next].Slot = T.Kept | (Shared ? 1 : 0);
        }
    }
    FTileMemory.Swap(Kept);
    FTilesShared = FTileMemory.Count();
}

int TBitmap::BytesPerPixel() const {
    switch (FPixelFormat) {
    case pf15bit:
    case pf16bit:
        return 2;
    case pf24bit:
        return 3;
    default:
        return 4;
    }
}

QImage::Format TBitmap::ImageFormat() const {
    return StorageFormat(FPixelFormat);
}

TBitmap::TRawPixel TBitmap::Encode(TColor Color) const {
    // The encoding goes through a one-pixel image; the last few answers are
    // kept, since a picture is drawn in two or three colours.
    struct TEntry {
        TPixelFormat Format;
        TColor Color;
        TRawPixel Raw;
    };
    static thread_local TEntry Recent[8];
    static thread_local int Used = 0;
    static thread_local int Next = 0;
    for (int I = 0; I < Used; ++I) {
        const TEntry& E = Recent[I];
        if (E.Format == FPixelFormat && E.Color == Color) {
            return E.Raw;
        }
    }
    QImage One = CheckedImage(QImage(1, 1, StorageFormat(FPixelFormat)));
    One.setPixel(0, 0, ToQColor(StoredColor(FPixelFormat, Color)).rgb());
    TEntry& E = Recent[Next];
    E = TEntry{FPixelFormat, Color, TRawPixel{}};
    std::memcpy(E.Raw.Bytes, One.constScanLine(0), size_t(One.depth() / 8));
    Next = (Next + 1) % 8;
    Used = std::max(Used, Next == 0 ? 8 : Next);
    return E.Raw;
}

void TBitmap::StoreRun(unsigned char* P, int Count, const TRawPixel& Raw, int Bytes) {
    if (Count <= 0) {
        return;
    }
    if (std::all_of(Raw.Bytes + 1, Raw.Bytes + Bytes,
                    [&](unsigned char B) { return B == Raw.Bytes[0]; })) {
        std::memset(P, Raw.Bytes[0], size_t(Count) * size_t(Bytes)); // white and black
    } else if (Bytes == 2) {
        std::uint16_t V;
        std::memcpy(&V, Raw.Bytes, sizeof V);
        std::fill_n(reinterpret_cast<std::uint16_t*>(P), Count, V);
    } else if (Bytes == 4) {
        std::uint32_t V;
        std::memcpy(&V, Raw.Bytes, sizeof V);
        std::fill_n(reinterpret_cast<std::uint32_t*>(P), Count, V);
    } else {
        for (int I = 0; I < Count; ++I) {
            std::memcpy(P + I * Bytes, Raw.Bytes, size_t(Bytes));
        }
    }
}

void TBitmap::SetFill(TColor Stored) {
    FFill = Stored;
    FFillRaw = Encode(Stored);
    StoreRun(FFillRun, kTileSize, FFillRaw, BytesPerPixel());
}

bool TBitmap::KeepsTiles() const {
    return static_cast<long long>(FWidth) * FHeight > kTiledArea;
}

void TBitmap::SetWidth(int Value) {
    SetSize(Value, FHeight);
}

void TBitmap::SetHeight(int Value) {
    SetSize(FWidth, Value);
}

void TBitmap::SetSize(int NewWidth, int NewHeight) {
    NewWidth = std::max(0, NewWidth);
    NewHeight = std::max(0, NewHeight);
    if (NewWidth != FWidth || NewHeight != FHeight) {
        Reallocate(NewWidth, NewHeight);
    }
}

void TBitmap::Reallocate(int NewWidth, int NewHeight) {
    if (FCanvas->DrawHook() != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkResize;
        Op.P[0] = NewWidth;
        Op.P[1] = NewHeight;
        Op.Brush = FCanvas->Brush;
        FCanvas->Intercepted(Op);
    }
    const bool NewEmpty = NewWidth <= 0 || NewHeight <= 0;
    const TColor Background = FCanvas->Brush.Style == bsSolid ? FCanvas->Brush.Color : clWhite;
    const TColor NewFill = StoredColor(FPixelFormat, Background);
    // Memory is only committed when the pixels are first written, so an
    // absurd size would not fail there but thrash the machine later.
    if (!NewEmpty && qint64(NewWidth) * NewHeight > kMaxArea) {
        throw Exception(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                            .arg(NewWidth)
                            .arg(NewHeight));
    }
    // A picture without its own QImage stays so as long as what is new takes
    // its fill: when it was empty, when the new area takes its colour, or when
    // there is no new area.
    const bool Grows = NewWidth > FWidth || NewHeight > FHeight;
    if (NewEmpty || Empty()) {
        FImage = QImage();
        DropTiles();
        FMarks.clear();
        FDirty = false;
        if (!NewEmpty) {
            SetFill(NewFill);
        }
    } else if (!Whole() && (!Grows || NewFill == FFill)) {
        ResizeTiles(NewWidth, NewHeight);
    } else {
        if (qint64(NewWidth) * NewHeight * BytesPerPixel() > MaxPictureBytes) {
            throw Exception(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                                .arg(NewWidth)
                                .arg(NewHeight));
        }
        MakeWhole();
        QImage Fresh = CheckedImage(QImage(NewWidth, NewHeight, StorageFormat(FPixelFormat)));
        const int Bytes = BytesPerPixel();
        const TRawPixel Raw = Encode(NewFill);
        const int Rows = std::min(NewHeight, FImage.height());
        const int Kept = std::min(NewWidth, FImage.width());
        unsigned char* Bits = Fresh.bits();
        for (int Y = 0; Y < NewHeight; ++Y) {
            unsigned char* Line = Bits + Y * Fresh.bytesPerLine();
            const int From = Y < Rows ? Kept : 0;
            if (From > 0) {
                std::memcpy(Line, FImage.constScanLine(Y), size_t(From) * size_t(Bytes));
            }
            StoreRun(Line + qsizetype(From) * Bytes, NewWidth - From, Raw, Bytes);
        }
        FImage = Fresh;
        FMarks.clear();
    }
    FWidth = NewWidth;
    FHeight = NewHeight;
    Changed();
    if (!NewEmpty && ResolveColor(Background) != clWhite) {
        FCanvas->Touch(0, 0, NewWidth, NewHeight);
    }
}

void TBitmap::ResizeTiles(int NewWidth, int NewHeight) {
    const int Across = (NewWidth + kTileSize - 1) / kTileSize;
    const int Down = (NewHeight + kTileSize - 1) / kTileSize;
    if (FTiles.Empty()) {
        FTiles.Reset(Across, Down);
        return;
    }
    FTiles.Resize(Across, Down);
    // What falls outside the picture becomes the fill, so that it reads as
    // the fill should the picture grow again.
    const int Bytes = BytesPerPixel();
    const int RowBytes = kTileSize * Bytes;
    if (NewWidth < FWidth && NewWidth % kTileSize != 0) {
        const int From = NewWidth % kTileSize;
        for (int TY = 0; TY < Down; ++TY) {
            if (FTiles.Raw(Across - 1, TY) != 0) {
                unsigned char* Tile = OwnTile(Across - 1, TY);
                for (int Row = 0; Row < kTileSize; ++Row) {
                    StoreRun(Tile + Row * RowBytes + From * Bytes, kTileSize - From, FFillRaw,
                             Bytes);
                }
            }
        }
    }
    if (NewHeight < FHeight && NewHeight % kTileSize != 0) {
        for (int TX = FTiles.NextInGroup(0, Down - 1, Across); TX < Across;
             TX = FTiles.NextInGroup(TX + 1, Down - 1, Across)) {
            if (FTiles.Raw(TX, Down - 1) != 0) {
                unsigned char* Tile = OwnTile(TX, Down - 1);
                for (int Row = NewHeight % kTileSize; Row < kTileSize; ++Row) {
                    StoreRun(Tile + Row * RowBytes, kTileSize, FFillRaw, Bytes);
                }
            }
        }
    }
}

size_t TBitmap::TileIndex(int X, int Y) const {
    return size_t(Y / kTileSize) * size_t(TilesAcross()) + size_t(X / kTileSize);
}

void TBitmap::MakeWhole() const {
    if (Whole()) {
        FillBlankTiles();
        return;
    }
    if (Empty()) {
        return;
    }
    if (qint64(FWidth) * FHeight * BytesPerPixel() > MaxPictureBytes) {
        throw Exception(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                            .arg(FWidth)
                            .arg(FHeight));
    }
    QImage Fresh = CheckedImage(QImage(FWidth, FHeight, StorageFormat(FPixelFormat)));
    // The fill throughout, the ends of the rows with it; then the tiles.
    const int Bytes = BytesPerPixel();
    unsigned char* Bits = Fresh.bits();
    const qsizetype Stride = Fresh.bytesPerLine();
    StoreRun(Bits, int(Stride / Bytes) * FHeight, FFillRaw, Bytes);
    if (Stride % Bytes != 0) {
        for (int Y = 0; Y < FHeight; ++Y) {
            StoreRun(Bits + Y * Stride, FWidth, FFillRaw, Bytes);
        }
    }
    FTiles.ForEach([&](int TX, int TY, std::uintptr_t& Slot) {
        const unsigned char* Tile = TTileTable::Pixels(Slot);
        const int X = TX * kTileSize;
        const int Count = std::min(kTileSize, FWidth - X);
        for (int Row = 0; Row < kTileSize && TY * kTileSize + Row < FHeight; ++Row) {
            std::memcpy(Bits + (TY * kTileSize + Row) * Stride + qsizetype(X) * Bytes,
                        Tile + Row * kTileSize * Bytes, size_t(Count) * size_t(Bytes));
        }
    });
    // A large picture remembers which tiles hold only the fill.
    if (KeepsTiles()) {
        const size_t Across = size_t(TilesAcross());
        FMarks.assign(Across * size_t(TilesDown()), kPlainTile);
        FTiles.ForEach([&](int TX, int TY, std::uintptr_t&) {
            FMarks[size_t(TY) * Across + size_t(TX)] = kStoredTile;
        });
    }
    DropTiles();
    FImage = Fresh;
}

void TBitmap::FillBlankTiles() const {
    if (FMarks.empty()) {
        return;
    }
    const int Bytes = BytesPerPixel();
    const size_t Across = size_t(TilesAcross());
    unsigned char* Bits = nullptr;
    const qsizetype Stride = FImage.bytesPerLine();
    for (int TY = 0; TY < TilesDown(); ++TY) {
        std::uint8_t* Marks = &FMarks[size_t(TY) * Across];
        for (size_t TX = 0; TX < Across; ++TX) {
            if (Marks[TX] != kBlankTile) {
                continue;
            }
            // A run of blank tiles is one run of fill in each of its rows.
            size_t End = TX + 1;
            while (End < Across && Marks[End] == kBlankTile) {
                ++End;
            }
            if (Bits == nullptr) {
                Bits = OwnBits();
            }
            const int X = int(TX) * kTileSize;
            const int Count = std::min(int(End) * kTileSize, FWidth) - X;
            for (int Y = TY * kTileSize; Y < std::min((TY + 1) * kTileSize, FHeight); ++Y) {
                StoreRun(Bits + Y * Stride + qsizetype(X) * Bytes, Count, FFillRaw, Bytes);
            }
            // The memory holds the fill now; the next fill of the whole
            // picture knows it needs no writing again.
            std::fill(Marks + TX, Marks + End, kPlainTile);
            TX = End;
        }
    }
}

void TBitmap::UnblankTile(size_t Index) {
    if (FMarks[Index] == kPlainTile) {
        FMarks[Index] = kStoredTile; // its memory holds the fill already
        return;
    }
    const int Across = TilesAcross();
    const int X = int(Index % size_t(Across)) * kTileSize;
    const int Y = int(Index / size_t(Across)) * kTileSize;
    const int Count = std::min(kTileSize, FWidth - X);
    const int Bytes = BytesPerPixel();
    unsigned char* Bits = OwnBits();
    const qsizetype Stride = FImage.bytesPerLine();
    for (int Row = Y; Row < std::min(Y + kTileSize, FHeight); ++Row) {
        StoreRun(Bits + Row * Stride + qsizetype(X) * Bytes, Count, FFillRaw, Bytes);
    }
    FMarks[Index] = kStoredTile;
}

unsigned char* TBitmap::WritableBlock(int X, int Y, int& Width, int& Height, qsizetype& Stride,
                                      bool OnlyStored, int Wanted) {
    const int Bytes = BytesPerPixel();
    // The tile's part from (X, Y) on.
    Width = std::min(kTileSize - X % kTileSize, FWidth - X);
    Height = std::min(kTileSize - Y % kTileSize, FHeight - Y);
    if (!Whole()) {
        if (FTiles.Empty() && OnlyStored) {
            if (!KeepsTiles()) {
                Width = FWidth - X;
                Height = FHeight - Y;
            }
            return nullptr;
        }
        if (!KeepsTiles()) {
            MakeWhole(); // small pictures are kept whole
        }
    }
    if (Whole()) {
        if (FDirty) {
            RoundToPalette();
        }
        Stride = FImage.bytesPerLine();
        if (FMarks.empty()) {
            Width = FWidth - X;
            Height = FHeight - Y;
            return OwnBits() + Y * Stride + qsizetype(X) * Bytes;
        }
        const size_t Index = TileIndex(X, Y);
        if (FMarks[Index] != kStoredTile) {
            if (OnlyStored) {
                return nullptr;
            }
            UnblankTile(Index);
        }
        // On along the row of tiles, as far as the caller writes, through
        // tiles whose memory is right already.
        const int Last = std::min(X + Wanted, FWidth) - 1;
        for (size_t Next = Index + 1; X + Width <= Last; ++Next) {
            if (FMarks[Next] == kPlainTile) {
                FMarks[Next] = kStoredTile;
            } else if (FMarks[Next] != kStoredTile) {
                break;
            }
            Width = std::min(Width + kTileSize, FWidth - X);
        }
        return OwnBits() + Y * Stride + qsizetype(X) * Bytes;
    }
    Stride = qsizetype(kTileSize) * Bytes;
    if (FTiles.Empty() && (FTiles.Across() != TilesAcross() || FTiles.Down() != TilesDown())) {
        FTiles.Reset(TilesAcross(), TilesDown());
    }
    if (OnlyStored && FTiles.Raw(X / kTileSize, Y / kTileSize) == 0) {
        return nullptr;
    }
    unsigned char* Tile = OwnTile(X / kTileSize, Y / kTileSize);
    return Tile + (qsizetype(Y % kTileSize) * kTileSize + X % kTileSize) * Bytes;
}

const unsigned char* TBitmap::ReadableRun(int X, int Y, int& Count, bool& Fill) const {
    const int Column = X % kTileSize;
    if (Whole()) {
        if (FDirty) {
            RoundToPalette();
        }
        Fill = !FMarks.empty() && FMarks[TileIndex(X, Y)] != kStoredTile;
        if (Fill) {
            Count = std::min(kTileSize - Column, FWidth - X);
            return FFillRun;
        }
        Count = FMarks.empty() ? FWidth - X : std::min(kTileSize - Column, FWidth - X);
        return FImage.constScanLine(Y) + qsizetype(X) * BytesPerPixel();
    }
    Count = std::min(kTileSize - Column, FWidth - X);
    const unsigned char* Tile = TileAt(X, Y);
    Fill = Tile == nullptr;
    if (Fill) {
        return FFillRun;
    }
    return Tile + (qsizetype(Y % kTileSize) * kTileSize + Column) * BytesPerPixel();
}

const unsigned char* TBitmap::TileAt(int X, int Y) const {
    return FTiles.At(X / kTileSize, Y / kTileSize);
}

void TBitmap::FillRaw(const TRect& R, const TRawPixel& Raw) {
    const int Left = std::max(R.Left, 0);
    const int Top = std::max(R.Top, 0);
    const int Right = std::min(R.Right, FWidth);
    const int Bottom = std::min(R.Bottom, FHeight);
    // Where the picture is the fill and holds no pixels, the fill needs no
    // writing.
    const bool IsFill = Raw == FFillRaw;
    const int Bytes = BytesPerPixel();
    if (IsFill && (Whole() ? !FMarks.empty() : KeepsTiles())) {
        FillStoredTiles(TRect{Left, Top, Right, Bottom});
        return;
    }
    for (int Y = Top; Y < Bottom;) {
        int Rows = Bottom - Y;
        for (int X = Left; X < Right;) {
            int Width = 0;
            int Height = 0;
            qsizetype Stride = 0;
            unsigned char* P = WritableBlock(X, Y, Width, Height, Stride, IsFill, Right - X);
            Width = std::min(Width, Right - X);
            Rows = std::min(Height, Bottom - Y);
            for (int Row = 0; P != nullptr && Row < Rows; ++Row) {
                StoreRun(P + Row * Stride, Width, Raw, Bytes);
            }
            X += Width;
        }
        Y += Rows;
    }
}

void TBitmap::FillStoredTiles(const TRect& R) {
    if (R.Left >= R.Right || R.Top >= R.Bottom || (!Whole() && FTiles.Empty())) {
        return;
    }
    // Only the tiles that hold pixels are visited; the state of the others is
    // looked up in one pass over the table.
    const int Bytes = BytesPerPixel();
    const size_t Across = size_t(TilesAcross());
    const int FirstColumn = R.Left / kTileSize;
    const int LastColumn = (R.Right - 1) / kTileSize;
    for (int TY = R.Top / kTileSize; TY * kTileSize < R.Bottom; ++TY) {
        const int Y0 = std::max(R.Top, TY * kTileSize);
        const int Y1 = std::min(R.Bottom, (TY + 1) * kTileSize);
        const size_t RowStart = size_t(TY) * Across;
        for (int TX = FirstColumn; TX <= LastColumn; ++TX) {
            if (!Whole()) {
                // Groups of missing tiles are passed over at once.
                TX = FTiles.NextInGroup(TX, TY, LastColumn + 1);
                if (TX > LastColumn) {
                    break;
                }
            }
            const size_t Index = RowStart + size_t(TX);
            unsigned char* Base = nullptr;
            qsizetype Stride = 0;
            const int X0 = std::max(R.Left, TX * kTileSize);
            if (Whole()) {
                if (FMarks[Index] != kStoredTile) {
                    continue;
                }
                Stride = FImage.bytesPerLine();
                Base = OwnBits() + Y0 * Stride + qsizetype(X0) * Bytes;
            } else {
                const std::uintptr_t Raw = FTiles.Raw(TX, TY);
                if (Raw == 0) {
                    continue;
                }
                const int X1 = std::min(R.Right, (TX + 1) * kTileSize);
                if (TTileTable::Shared(Raw) && X0 == TX * kTileSize && Y0 == TY * kTileSize &&
                    X1 - X0 == std::min(kTileSize, FWidth - X0) &&
                    Y1 - Y0 == std::min(kTileSize, FHeight - Y0)) {
                    FTiles.Slot(TX, TY) = 0; // all of it the fill: no copy of its own
                    continue;
                }
                Stride = qsizetype(kTileSize) * Bytes;
                Base = OwnTile(TX, TY) +
                       (qsizetype(Y0 % kTileSize) * kTileSize + X0 % kTileSize) * Bytes;
            }
            const int X1 = std::min(R.Right, (TX + 1) * kTileSize);
            for (int Y = Y0; Y < Y1; ++Y) {
                StoreRun(Base + (Y - Y0) * Stride, X1 - X0, FFillRaw, Bytes);
            }
        }
    }
}

void TBitmap::FillWhole(TColor Color) {
    const TColor Stored = StoredColor(FPixelFormat, Color);
    if (Whole() && !FImage.isDetached()) {
        // Shared with a copy: no pixels of its own rather than a copy of the
        // old ones.
        FImage = QImage();
        FMarks.clear();
    }
    if (Whole() && !KeepsTiles()) {
        // A small picture keeps its memory.
        const TRawPixel Raw = Encode(Stored);
        const int Bytes = BytesPerPixel();
        unsigned char* Bits = OwnBits();
        for (int Y = 0; Y < FHeight; ++Y) {
            StoreRun(Bits + Y * FImage.bytesPerLine(), FWidth, Raw, Bytes);
        }
        FDirty = false;
        return;
    }
    // No pixel needs writing: a large whole picture keeps its QImage, every
    // tile of it being blank; those whose memory holds the fill already are
    // marked so.
    const bool SameFill = Stored == FFill;
    DropTiles();
    SetFill(Stored);
    if (Whole()) {
        if (FMarks.empty() || !SameFill) {
            FMarks.assign(size_t(TilesAcross()) * size_t(TilesDown()), kBlankTile);
        } else {
            for (std::uint8_t& Mark : FMarks) {
                Mark = Mark == kPlainTile ? kPlainTile : kBlankTile;
            }
        }
        FDirty = false;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    Value = Normalized(Value);
    if (Value == FPixelFormat) {
        return;
    }
    if (FCanvas->DrawHook() != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkFormat;
        Op.P[0] = Value;
        FCanvas->Intercepted(Op);
    }
    // The conversion works on real pixels, so that a picture of one colour
    // converts exactly as a drawn one does.
    MakeWhole();
    if (!FImage.isNull()) {
        FImage = CheckedImage(FImage.convertToFormat(StorageFormat(Value)));
    }
    FPixelFormat = Value;
    Changed();
    FMarks.clear();
    FDirty = HasPalette(Value) && !FImage.isNull();
    SetFill(StoredColor(Value, FFill));
}

const QImage& TBitmap::Image() const {
    MakeWhole();
    if (FDirty) {
        RoundToPalette();
    }
    return FImage;
}

QImage TBitmap::Region(const TRect& R) const {
    const int Left = std::max(R.Left, 0);
    const int Top = std::max(R.Top, 0);
    const int Right = std::min(R.Right, FWidth);
    const int Bottom = std::min(R.Bottom, FHeight);
    if (Left >= Right || Top >= Bottom) {
        return QImage();
    }
    if (Whole() && FMarks.empty()) {
        return CheckedImage(Image().copy(Left, Top, Right - Left, Bottom - Top));
    }
    QImage Out = CheckedImage(QImage(Right - Left, Bottom - Top, StorageFormat(FPixelFormat)));
    const int Bytes = BytesPerPixel();
    for (int Y = Top; Y < Bottom; ++Y) {
        unsigned char* To = Out.scanLine(Y - Top);
        for (int X = Left; X < Right;) {
            int Count = 0;
            bool Fill = false;
            const unsigned char* From = ReadableRun(X, Y, Count, Fill);
            Count = std::min(Count, Right - X);
            std::memcpy(To + qsizetype(X - Left) * Bytes, From, size_t(Count) * size_t(Bytes));
            X += Count;
        }
    }
    return Out;
}

void TBitmap::MarkDirty() {
    FDirty = HasPalette(FPixelFormat) && !FImage.isNull();
}

QImage& TBitmap::Pixels() {
    MakeWhole();
    if (!FImage.isNull()) {
        OwnBits();
    }
    FMarks.clear(); // a painter may draw anywhere
    if (FDirty) {
        RoundToPalette();
    }
    return FImage;
}

unsigned char* TBitmap::OwnBits() const {
    // Pixels shared with a copy become this picture's own before they are
    // written: Qt's own copy, on no memory, would leave a null image here.
    if (!FImage.isDetached()) {
        FImage = CheckedImage(FImage.copy());
    }
    return FImage.bits();
}

void TBitmap::RoundToPalette() const {
    if (!FImage.isNull()) {
        OwnBits();
    }
    FDirty = false;
    for (int Y = 0; Y < FImage.height(); ++Y) {
        auto* Line = reinterpret_cast<QRgb*>(FImage.scanLine(Y));
        for (int X = 0; X < FImage.width(); ++X) {
            Line[X] = NearestInPalette(FPixelFormat, Line[X]);
        }
    }
}

void TBitmap::Assign(const TBitmap& Source) {
    if (&Source == this) {
        return;
    }
    if (FCanvas->DrawHook() != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkAssign;
        Op.Payload = std::make_shared<const TDrawOp::TPayload>(
            TDrawOp::TPayload{TFont{}, QString(), Source.Image(), {}});
        Op.P[0] = Source.FPixelFormat;
        Op.P[1] = Source.FWidth;
        Op.P[2] = Source.FHeight;
        FCanvas->Intercepted(Op);
    }
    FMarks.clear();
    if (Source.Whole()) {
        FImage = Source.Image();
        DropTiles();
    } else {
        // The fill and the tiles are copied as they are, shared ones once.
        FImage = QImage();
        const size_t TileBytes = size_t(kTileSize) * kTileSize * size_t(Source.BytesPerPixel());
        FTileMemory.Clear();
        FTilesShared = 0;
        FTiles.Reset(Source.FTiles.Across(), Source.FTiles.Down());
        std::unordered_map<std::uintptr_t, std::uintptr_t> Copies;
        Source.FTiles.ForEach([&](int TX, int TY, std::uintptr_t& From) {
            std::uintptr_t& Copy = Copies[From];
            if (Copy == 0) {
                unsigned char* Tile = FTileMemory.NewTile(TileBytes);
                std::memcpy(Tile, TTileTable::Pixels(From), TileBytes);
                Copy = reinterpret_cast<std::uintptr_t>(Tile) | (From & 1);
            }
            FTiles.Slot(TX, TY) = Copy;
        });
    }
    FWidth = Source.FWidth;
    FHeight = Source.FHeight;
    FPixelFormat = Source.FPixelFormat;
    FFill = Source.FFill;
    FFillRaw = Source.FFillRaw;
    std::memcpy(FFillRun, Source.FFillRun, sizeof FFillRun);
    FDirty = false;
    Changed();
    FCanvas->Touch(0, 0, FWidth, FHeight);
}

void TBitmap::ReleasePixels() {
    FImage = QImage();
    FMarks.clear();
    DropTiles();
    FDirty = false;
    SetFill(StoredColor(FPixelFormat, clWhite));
    Changed();
}

void TBitmap::SaveToFile(const QString& FileName) const {
    if (Empty() || !Image().save(FileName, "BMP")) {
        throw Exception(QStringLiteral("Unable to write to %1").arg(FileName));
    }
}

} // namespace tvx
