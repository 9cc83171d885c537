#include "platform/bitmap.h"
#include "platform/exception.h"
#include <QHash>
#include <QList>
#include <algorithm>
#include <cstring>

namespace tvx {

namespace {

constexpr qint64 MaxPictureBytes = qint64(1) << 30;

TPixelFormat Normalized(TPixelFormat Format) {
    return Format > pf32bit ? pfDevice : Format;
}

bool HasPalette(TPixelFormat Format) {
    return Format == pf1bit || Format == pf4bit || Format == pf8bit;
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
    static QHash<quint64, QRgb> Cache;
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
    static QHash<quint64, TColor> Known;
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
        QImage One(1, 1, StorageFormat(Format));
        One.setPixel(0, 0, Rgb);
        Stored = FromQColor(QColor(One.pixel(0, 0)));
    }
    if (Known.size() >= 4096) {
        Known.clear(); // a picture drawn in every colour there is
    }
    Known.insert(Key, Stored);
    return Stored;
}

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>(*this)) {}

void TBitmap::Changed() {
    static std::uint64_t LastStamp = 0;
    FStamp = ++LastStamp;
}

TBitmap::~TBitmap() = default;

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
    const QImage::Format Format = StorageFormat(FPixelFormat);
    // Memory is only committed when the pixels are first written, so an
    // absurd size would not fail there but thrash the machine later.
    if (!NewEmpty &&
        qint64(NewWidth) * NewHeight * (QImage::toPixelFormat(Format).bitsPerPixel() / 8) >
            MaxPictureBytes) {
        throw Exception(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                            .arg(NewWidth)
                            .arg(NewHeight));
    }
    // A picture of one colour stays without pixels as long as it stays of one
    // colour: when it was empty, when the new area takes its colour, or when
    // there is no new area.
    const bool Grows = NewWidth > FWidth || NewHeight > FHeight;
    if (FImage.isNull() && !Empty() && Grows && NewFill != FFill) {
        MakePixels();
    }
    if (NewEmpty || FImage.isNull()) {
        FImage = QImage();
        FDirty = false;
        if (Empty()) {
            FFill = NewFill;
        }
    } else {
        QImage Fresh(NewWidth, NewHeight, Format);
        if (Fresh.isNull()) {
            throw Exception(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                                .arg(NewWidth)
                                .arg(NewHeight));
        }
        Fresh.fill(QColor(ToQColor(NewFill)));
        int BytesPerPixel = Fresh.depth() / 8;
        int Rows = std::min(NewHeight, FImage.height());
        int RowBytes = std::min(NewWidth, FImage.width()) * BytesPerPixel;
        for (int Y = 0; Y < Rows; ++Y) {
            std::memcpy(Fresh.scanLine(Y), FImage.constScanLine(Y), size_t(RowBytes));
        }
        FImage = Fresh;
    }
    FWidth = NewWidth;
    FHeight = NewHeight;
    Changed();
    if (!NewEmpty && ResolveColor(Background) != clWhite) {
        FCanvas->Touch(0, 0, NewWidth, NewHeight);
    }
}

void TBitmap::MakePixels() const {
    if (!FImage.isNull() || Empty()) {
        return;
    }
    QImage Fresh(FWidth, FHeight, StorageFormat(FPixelFormat));
    if (Fresh.isNull()) {
        throw Exception(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                            .arg(FWidth)
                            .arg(FHeight));
    }
    Fresh.fill(QColor(ToQColor(FFill)));
    FImage = Fresh;
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
    MakePixels();
    FPixelFormat = Value;
    Changed();
    if (!FImage.isNull()) {
        FImage = FImage.convertToFormat(StorageFormat(Value));
    }
    FDirty = HasPalette(Value) && !FImage.isNull();
}

const QImage& TBitmap::Image() const {
    MakePixels();
    if (FDirty) {
        RoundToPalette();
    }
    return FImage;
}

void TBitmap::MarkDirty() {
    FDirty = HasPalette(FPixelFormat) && !FImage.isNull();
}

QImage& TBitmap::Pixels() {
    MakePixels();
    if (FDirty) {
        RoundToPalette();
    }
    return FImage;
}

void TBitmap::RoundToPalette() const {
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
        Op.Image = Source.Image();
        Op.P[0] = Source.FPixelFormat;
        Op.P[1] = Source.FWidth;
        Op.P[2] = Source.FHeight;
        FCanvas->Intercepted(Op);
    }
    // A picture of one colour is copied as its colour.
    if (Source.FImage.isNull()) {
        FImage = QImage();
        FFill = Source.FFill;
    } else {
        FImage = Source.Image();
    }
    FWidth = Source.FWidth;
    FHeight = Source.FHeight;
    FPixelFormat = Source.FPixelFormat;
    FDirty = false;
    Changed();
    FCanvas->Touch(0, 0, FWidth, FHeight);
}

void TBitmap::SaveToFile(const QString& FileName) const {
    if (Empty() || !Image().save(FileName, "BMP")) {
        throw Exception(QStringLiteral("Unable to write to %1").arg(FileName));
    }
}

} // namespace tvx
