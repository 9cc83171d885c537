#include "platform/canvas.h"
#include "platform/bitmap.h"
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

namespace tvx {

namespace {

// Writes pixels of one colour straight into the image, in the image's own
// encoding, so that what lands is exactly what a later read compares with.
class TPixelWriter {
public:
    TPixelWriter(QImage& Image, TPixelFormat Format, TColor Color)
        : FBits(Image.bits()), FStride(Image.bytesPerLine()), FWidth(Image.width()),
          FHeight(Image.height()), FBytes(Image.depth() / 8) {
        EncodeColor(Image, Format, Color, FRaw);
        std::memcpy(&FValue16, FRaw, sizeof FValue16);
        std::memcpy(&FValue32, FRaw, sizeof FValue32);
    }

    static void EncodeColor(const QImage& Image, TPixelFormat Format, TColor Color,
                            unsigned char* Raw) {
        // The encoding goes through a one-pixel image; the last few answers
        // are kept, since a picture is drawn in two or three colours.
        struct TEntry {
            QImage::Format ImageFormat;
            TPixelFormat Format;
            TColor Color;
            unsigned char Raw[4];
        };
        static thread_local TEntry Recent[8];
        static thread_local int Used = 0;
        static thread_local int Next = 0;
        for (int I = 0; I < Used; ++I) {
            const TEntry& E = Recent[I];
            if (E.ImageFormat == Image.format() && E.Format == Format && E.Color == Color) {
                std::memcpy(Raw, E.Raw, 4);
                return;
            }
        }
        QImage One(1, 1, Image.format());
        One.setPixel(0, 0, ToQColor(StoredColor(Format, Color)).rgb());
        TEntry& E = Recent[Next];
        E = TEntry{Image.format(), Format, Color, {0, 0, 0, 0}};
        std::memcpy(E.Raw, One.constScanLine(0), size_t(One.depth() / 8));
        std::memcpy(Raw, E.Raw, 4);
        Next = (Next + 1) % 8;
        Used = std::max(Used, Next == 0 ? 8 : Next);
    }

    void Plot(int X, int Y) {
        if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) {
            Store(FBits + qsizetype(Y) * FStride, X, 1);
        }
    }

    // Pixels From..To-1 of row Y.
    void Span(int Y, int From, int To) {
        if (Y < 0 || Y >= FHeight) {
            return;
        }
        From = std::max(From, 0);
        To = std::min(To, FWidth);
        if (From < To) {
            Store(FBits + qsizetype(Y) * FStride, From, To - From);
        }
    }

private:
    void Store(unsigned char* Line, int X, int Count) {
        if (FBytes == 2) {
            std::fill_n(reinterpret_cast<std::uint16_t*>(Line) + X, Count, FValue16);
        } else if (FBytes == 4) {
            std::fill_n(reinterpret_cast<std::uint32_t*>(Line) + X, Count, FValue32);
        } else {
            for (int I = X; I < X + Count; ++I) {
                std::memcpy(Line + I * FBytes, FRaw, size_t(FBytes));
            }
        }
    }

    unsigned char* FBits;
    qsizetype FStride;
    int FWidth;
    int FHeight;
    int FBytes;
    unsigned char FRaw[4] = {0, 0, 0, 0};
    std::uint16_t FValue16 = 0;
    std::uint32_t FValue32 = 0;
};

// Rounds a/b to the nearest integer, halves away from zero; b > 0, a >= 0.
int RoundedQuotient(long long A, long long B) {
    return int((2 * A + B) / (2 * B));
}

// Calls Plot for every pixel of the line from (X1, Y1) towards (X2, Y2),
// the start pixel included and the end pixel left out.
template <typename F> void WalkLine(int X1, int Y1, int X2, int Y2, F Plot) {
    long long DX = std::llabs(static_cast<long long>(X2) - X1);
    long long DY = std::llabs(static_cast<long long>(Y2) - Y1);
    int SX = X2 > X1 ? 1 : -1;
    int SY = Y2 > Y1 ? 1 : -1;
    if (DX >= DY) {
        for (long long I = 0; I < DX; ++I) {
            int Y = DY == 0 ? Y1 : Y1 + SY * RoundedQuotient(I * DY, DX);
            Plot(int(X1 + SX * I), Y);
        }
    } else {
        for (long long I = 0; I < DY; ++I) {
            int X = X1 + SX * RoundedQuotient(I * DX, DY);
            Plot(X, int(Y1 + SY * I));
        }
    }
}

// One row of a convex figure: pixels From..To-1 (empty when From >= To).
struct TRowSpan {
    int From = 0;
    int To = 0;
};

// A rectangle with elliptic corners covering Left..Right-1, Top..Bottom-1: a
// pixel belongs to it when its centre lies inside. Corners as large as the box
// give an ellipse, corners of 0 a plain rectangle.
class TRoundedFigure {
public:
    TRoundedFigure(int Left, int Top, int Right, int Bottom, int CornerW, int CornerH)
        : FLeft(Left), FTop(Top), FRight(Right), FBottom(Bottom),
          FRW(std::min(std::abs(CornerW), Right - Left) / 2.0),
          FRH(std::min(std::abs(CornerH), Bottom - Top) / 2.0) {}

    TRowSpan Row(int Y) const {
        if (Y < FTop || Y >= FBottom) {
            return TRowSpan{};
        }
        double Inset = 0;
        if (FRW > 0 && FRH > 0) {
            double CY = Y + 0.5;
            double T = 0;
            if (CY < FTop + FRH) {
                T = (FTop + FRH - CY) / FRH;
            } else if (CY > FBottom - FRH) {
                T = (CY - (FBottom - FRH)) / FRH;
            }
            Inset = FRW * (1 - std::sqrt(std::max(0.0, 1 - T * T)));
        }
        constexpr double Slack = 1e-9;
        int From = int(std::ceil(FLeft + Inset - 0.5 - Slack));
        int To = int(std::floor(FRight - Inset - 0.5 + Slack)) + 1;
        return TRowSpan{From, std::max(From, To)};
    }

    // Hands out each row within Top..Height-1 split into its outline (pixels
    // with a side neighbour outside the figure) and its inside.
    template <typename F> void ForEachRow(int Height, F Visit) const {
        for (int Y = std::max(FTop, 0); Y < std::min(FBottom, Height); ++Y) {
            TRowSpan Here = Row(Y);
            TRowSpan Above = Row(Y - 1);
            TRowSpan Below = Row(Y + 1);
            int InFrom = std::max({Here.From + 1, Above.From, Below.From});
            int InTo = std::min({Here.To - 1, Above.To, Below.To});
            if (InFrom >= InTo) {
                InFrom = InTo = Here.To;
            }
            Visit(Y, Here, TRowSpan{InFrom, InTo});
        }
    }

private:
    int FLeft, FTop, FRight, FBottom;
    double FRW, FRH;
};

void Normalize(int& A, int& B) {
    if (A > B) {
        std::swap(A, B);
    }
}

double RayAngle(double X, double Y, double CX, double CY) {
    double A = std::atan2(CY - Y, X - CX); // y grows downwards on the picture
    return A < 0 ? A + 2 * std::numbers::pi : A;
}

QString SingleLine(QString Text) {
    Text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    Text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    Text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return Text;
}

int FloorHalf(int V) {
    return V >= 0 ? V / 2 : -((-V + 1) / 2);
}

} // namespace

bool TDrawOp::operator==(const TDrawOp& Other) const {
    if (Kind != Other.Kind || !std::equal(std::begin(P), std::end(P), std::begin(Other.P)) ||
        PenColor != Other.PenColor || !(Brush == Other.Brush) || !(Font == Other.Font) ||
        Color != Other.Color || FillStyle != Other.FillStyle || SelfCopy != Other.SelfCopy ||
        Text != Other.Text || Points != Other.Points) {
        return false;
    }
    return Image.cacheKey() == Other.Image.cacheKey() || Image == Other.Image;
}

void TCanvas::Perform(const TDrawOp& Op) {
    const TPen SavedPen = Pen;
    const TBrush SavedBrush = Brush;
    const TFont SavedFont = Font;
    const TPoint SavedPos = FPenPos;
    TDrawHook* const SavedHook = FHook;
    FHook = nullptr;
    Pen.Color = Op.PenColor;
    Brush = Op.Brush;
    const int* P = Op.P;
    switch (Op.Kind) {
    case TDrawOp::dkLine:
        FPenPos = TPoint{P[0], P[1]};
        LineTo(P[2], P[3]);
        break;
    case TDrawOp::dkFillRect:
        FillRect(TRect{P[0], P[1], P[2], P[3]});
        break;
    case TDrawOp::dkRoundRect:
        RoundRect(P[0], P[1], P[2], P[3], P[4], P[5]);
        break;
    case TDrawOp::dkArc:
        Arc(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7]);
        break;
    case TDrawOp::dkPolygon:
        Polygon(std::span<const TPoint>(Op.Points));
        break;
    case TDrawOp::dkFloodFill:
        FloodFill(P[0], P[1], Op.Color, Op.FillStyle);
        break;
    case TDrawOp::dkPixel:
        SetPixel(P[0], P[1], Op.Color);
        break;
    case TDrawOp::dkCopy:
        CopyImage(TRect{P[0], P[1], P[2], P[3]}, Op.SelfCopy ? FOwner.Image() : Op.Image,
                  TRect{P[4], P[5], P[6], P[7]});
        break;
    case TDrawOp::dkText:
        Font = Op.Font;
        DrawTextCell(TRect{P[0], P[1], P[2], P[3]}, TRect{P[4], P[5], P[6], P[7]}, Op.Text);
        break;
    case TDrawOp::dkResize:
        FOwner.SetSize(P[0], P[1]);
        break;
    case TDrawOp::dkFormat:
        FOwner.SetPixelFormat(TPixelFormat(P[0]));
        break;
    case TDrawOp::dkAssign:
        FOwner.FImage = Op.Image;
        FOwner.FPixelFormat = TPixelFormat(P[0]);
        FOwner.FWidth = P[1];
        FOwner.FHeight = P[2];
        FOwner.FDirty = false;
        FOwner.Changed();
        Touch(0, 0, P[1], P[2]);
        break;
    }
    Pen = SavedPen;
    Brush = SavedBrush;
    Font = SavedFont;
    FPenPos = SavedPos;
    FHook = SavedHook;
}

TRect TCanvas::ClipRect() const {
    return TRect{0, 0, FOwner.Width(), FOwner.Height()};
}

void TCanvas::Touch(int Left, int Top, int Right, int Bottom) {
    TRect R{std::max(Left, 0), std::max(Top, 0), std::min(Right, FOwner.Width()),
            std::min(Bottom, FOwner.Height())};
    if (R.Left >= R.Right || R.Top >= R.Bottom) {
        return;
    }
    FOwner.Changed();
    if (FRecorder != nullptr) {
        FRecorder->push_back(R);
    }
}

void TCanvas::MoveTo(int X, int Y) {
    FPenPos = TPoint{X, Y};
}

void TCanvas::LineTo(int X, int Y) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkLine;
        Op.P[0] = FPenPos.X;
        Op.P[1] = FPenPos.Y;
        Op.P[2] = X;
        Op.P[3] = Y;
        Op.PenColor = Pen.Color;
        if (Intercepted(Op)) {
            FPenPos = TPoint{X, Y};
            return;
        }
    }
    if (!FOwner.Empty()) {
        TPixelWriter Writer(FOwner.Pixels(), FOwner.PixelFormat(), Pen.Color);
        WalkLine(FPenPos.X, FPenPos.Y, X, Y, [&](int PX, int PY) { Writer.Plot(PX, PY); });
        Touch(std::min(FPenPos.X, X), std::min(FPenPos.Y, Y), std::max(FPenPos.X, X) + 1,
              std::max(FPenPos.Y, Y) + 1);
    }
    FPenPos = TPoint{X, Y};
}

void TCanvas::FillRect(const TRect& R) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkFillRect;
        Op.P[0] = R.Left;
        Op.P[1] = R.Top;
        Op.P[2] = R.Right;
        Op.P[3] = R.Bottom;
        Op.Brush = Brush;
        if (Intercepted(Op)) {
            return;
        }
    }
    if (FOwner.Empty() || Brush.Style == bsClear) {
        return;
    }
    int Left = R.Left, Right = R.Right, Top = R.Top, Bottom = R.Bottom;
    Normalize(Left, Right);
    Normalize(Top, Bottom);
    TPixelWriter Writer(FOwner.Pixels(), FOwner.PixelFormat(), Brush.Color);
    for (int Y = std::max(Top, 0); Y < std::min(Bottom, FOwner.Height()); ++Y) {
        Writer.Span(Y, Left, Right);
    }
    Touch(Left, Top, Right, Bottom);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    RoundRect(X1, Y1, X2, Y2, 0, 0);
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    RoundRect(X1, Y1, X2, Y2, std::abs(X2 - X1), std::abs(Y2 - Y1));
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int W, int H) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkRoundRect;
        int Args[] = {X1, Y1, X2, Y2, W, H};
        std::copy(std::begin(Args), std::end(Args), Op.P);
        Op.PenColor = Pen.Color;
        Op.Brush = Brush;
        if (Intercepted(Op)) {
            return;
        }
    }
    Normalize(X1, X2);
    Normalize(Y1, Y2);
    if (FOwner.Empty() || X1 == X2 || Y1 == Y2) {
        return;
    }
    QImage& Image = FOwner.Pixels();
    TPixelWriter PenWriter(Image, FOwner.PixelFormat(), Pen.Color);
    TPixelWriter BrushWriter(Image, FOwner.PixelFormat(), Brush.Color);
    bool Fill = Brush.Style == bsSolid;
    TRoundedFigure(X1, Y1, X2, Y2, W, H)
        .ForEachRow(Image.height(), [&](int Y, const TRowSpan& Row, const TRowSpan& Inside) {
            if (Fill) {
                BrushWriter.Span(Y, Inside.From, Inside.To);
            }
            PenWriter.Span(Y, Row.From, Inside.From);
            PenWriter.Span(Y, Inside.To, Row.To);
        });
    Touch(X1, Y1, X2, Y2);
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkArc;
        int Args[] = {X1, Y1, X2, Y2, X3, Y3, X4, Y4};
        std::copy(std::begin(Args), std::end(Args), Op.P);
        Op.PenColor = Pen.Color;
        if (Intercepted(Op)) {
            return;
        }
    }
    Normalize(X1, X2);
    Normalize(Y1, Y2);
    if (FOwner.Empty() || X1 == X2 || Y1 == Y2) {
        return;
    }
    double CX = (X1 + X2) / 2.0;
    double CY = (Y1 + Y2) / 2.0;
    double Start = RayAngle(X3, Y3, CX, CY);
    double Sweep = RayAngle(X4, Y4, CX, CY) - Start;
    constexpr double Turn = 2 * std::numbers::pi;
    if (Sweep <= 0) {
        Sweep += Turn;
    }
    TPixelWriter Writer(FOwner.Pixels(), FOwner.PixelFormat(), Pen.Color);
    auto PlotOnArc = [&](int X, int Y) {
        double Offset = RayAngle(X + 0.5, Y + 0.5, CX, CY) - Start;
        if (Offset < 0) {
            Offset += Turn;
        }
        if (Offset <= Sweep) {
            Writer.Plot(X, Y);
        }
    };
    int Width = FOwner.Width();
    TRoundedFigure Ellipse(X1, Y1, X2, Y2, X2 - X1, Y2 - Y1);
    Ellipse.ForEachRow(FOwner.Height(), [&](int Y, const TRowSpan& Row, const TRowSpan& Inside) {
        for (int X = std::max(Row.From, 0); X < std::min(Inside.From, Width); ++X) {
            PlotOnArc(X, Y);
        }
        for (int X = std::max(Inside.To, 0); X < std::min(Row.To, Width); ++X) {
            PlotOnArc(X, Y);
        }
    });
    Touch(X1, Y1, X2, Y2);
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkPolygon;
        Op.Points.assign(Points.begin(), Points.end());
        Op.PenColor = Pen.Color;
        Op.Brush = Brush;
        if (Intercepted(Op)) {
            return;
        }
    }
    if (FOwner.Empty() || Points.size() < 2) {
        return;
    }
    QImage& Image = FOwner.Pixels();
    size_t N = Points.size();
    if (Brush.Style == bsSolid) {
        // Even-odd fill of the pixels whose centres (the integer points lines
        // pass through) lie inside; right and lower edges are left to the outline.
        TPixelWriter Writer(Image, FOwner.PixelFormat(), Brush.Color);
        auto [MinIt, MaxIt] = std::minmax_element(Points.begin(), Points.end(),
                                                  [](TPoint A, TPoint B) { return A.Y < B.Y; });
        int Top = std::max(MinIt->Y, 0);
        int Bottom = std::min(MaxIt->Y, Image.height() - 1);
        std::vector<double> Crossings;
        for (int Y = Top; Y <= Bottom; ++Y) {
            Crossings.clear();
            for (size_t I = 0; I < N; ++I) {
                TPoint A = Points[I];
                TPoint B = Points[(I + 1) % N];
                if (A.Y == B.Y || Y < std::min(A.Y, B.Y) || Y >= std::max(A.Y, B.Y)) {
                    continue;
                }
                Crossings.push_back(A.X + double(Y - A.Y) * (B.X - A.X) / (B.Y - A.Y));
            }
            std::sort(Crossings.begin(), Crossings.end());
            for (size_t I = 0; I + 1 < Crossings.size(); I += 2) {
                Writer.Span(Y, int(std::ceil(Crossings[I])), int(std::ceil(Crossings[I + 1])));
            }
        }
    }
    TPixelWriter Writer(Image, FOwner.PixelFormat(), Pen.Color);
    for (size_t I = 0; I < N; ++I) {
        TPoint A = Points[I];
        TPoint B = Points[(I + 1) % N];
        WalkLine(A.X, A.Y, B.X, B.Y, [&](int X, int Y) { Writer.Plot(X, Y); });
    }
    auto [Left, Right] = std::minmax_element(Points.begin(), Points.end(),
                                             [](TPoint A, TPoint B) { return A.X < B.X; });
    auto [Top, Bottom] = std::minmax_element(Points.begin(), Points.end(),
                                             [](TPoint A, TPoint B) { return A.Y < B.Y; });
    Touch(Left->X, Top->Y, Right->X + 1, Bottom->Y + 1);
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkFloodFill;
        Op.P[0] = X;
        Op.P[1] = Y;
        Op.Color = Color;
        Op.FillStyle = FillStyle;
        Op.Brush = Brush;
        if (Intercepted(Op)) {
            return;
        }
    }
    if (FOwner.Empty() || Brush.Style == bsClear || !PtInRect(ClipRect(), TPoint{X, Y})) {
        return;
    }
    QImage& Image = FOwner.Pixels();
    int W = Image.width();
    int H = Image.height();
    int Bytes = Image.depth() / 8;
    unsigned char Raw[4] = {0, 0, 0, 0};
    TPixelWriter::EncodeColor(Image, FOwner.PixelFormat(), Color, Raw);
    auto SameAsColor = [&](int PX, int PY) {
        return std::memcmp(Image.constScanLine(PY) + PX * Bytes, Raw, size_t(Bytes)) == 0;
    };
    if (SameAsColor(X, Y) != (FillStyle == fsSurface)) {
        return; // the seed itself may not be taken
    }
    // A pixel is taken at most once, and whether it may be taken is decided
    // on its colour before the fill, so the brush colour itself never stops or
    // feeds the spread.
    std::vector<bool> Taken(size_t(W) * size_t(H));
    auto IsOpen = [&](int PX, int PY) {
        return !Taken[size_t(PY) * size_t(W) + size_t(PX)] &&
               SameAsColor(PX, PY) == (FillStyle == fsSurface);
    };
    if (!IsOpen(X, Y)) {
        return;
    }
    TPixelWriter Writer(Image, FOwner.PixelFormat(), Brush.Color);
    std::vector<TPoint> Seeds{TPoint{X, Y}};
    TRect Filled{X, Y, X + 1, Y + 1};
    while (!Seeds.empty()) {
        TPoint Seed = Seeds.back();
        Seeds.pop_back();
        if (!IsOpen(Seed.X, Seed.Y)) {
            continue;
        }
        int From = Seed.X;
        int To = Seed.X + 1;
        while (From > 0 && IsOpen(From - 1, Seed.Y)) {
            --From;
        }
        while (To < W && IsOpen(To, Seed.Y)) {
            ++To;
        }
        Writer.Span(Seed.Y, From, To);
        Filled = TRect{std::min(Filled.Left, From), std::min(Filled.Top, Seed.Y),
                       std::max(Filled.Right, To), std::max(Filled.Bottom, Seed.Y + 1)};
        for (int PX = From; PX < To; ++PX) {
            Taken[size_t(Seed.Y) * size_t(W) + size_t(PX)] = true;
        }
        for (int NY : {Seed.Y - 1, Seed.Y + 1}) {
            if (NY < 0 || NY >= H) {
                continue;
            }
            for (int PX = From; PX < To; ++PX) {
                if (IsOpen(PX, NY) && (PX == From || !IsOpen(PX - 1, NY))) {
                    Seeds.push_back(TPoint{PX, NY});
                }
            }
        }
    }
    Touch(Filled.Left, Filled.Top, Filled.Right, Filled.Bottom);
}

TColor TCanvas::Pixel(int X, int Y) const {
    if (!PtInRect(ClipRect(), TPoint{X, Y})) {
        return clInvalidPixel;
    }
    return FromQColor(QColor(FOwner.Image().pixel(X, Y)));
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkPixel;
        Op.P[0] = X;
        Op.P[1] = Y;
        Op.Color = Color;
        if (Intercepted(Op)) {
            return;
        }
    }
    if (!FOwner.Empty()) {
        TPixelWriter(FOwner.Pixels(), FOwner.PixelFormat(), Color).Plot(X, Y);
        Touch(X, Y, X + 1, Y + 1);
    }
}

void TCanvas::Draw(int X, int Y, const TBitmap& Source) {
    CopyRect(TRect{X, Y, X + Source.Width(), Y + Source.Height()}, Source,
             TRect{0, 0, Source.Width(), Source.Height()});
}

void TCanvas::CopyRect(const TRect& Dest, const TBitmap& Source, const TRect& Src) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkCopy;
        int Args[] = {Dest.Left, Dest.Top, Dest.Right, Dest.Bottom,
                      Src.Left,  Src.Top,  Src.Right,  Src.Bottom};
        std::copy(std::begin(Args), std::end(Args), Op.P);
        // A copy from the picture itself reads the picture as it is when the
        // call is carried out.
        Op.SelfCopy = &Source == &FOwner;
        if (!Op.SelfCopy) {
            Op.Image = Source.Image();
        }
        if (Intercepted(Op)) {
            return;
        }
    }
    if (Source.Empty()) {
        return;
    }
    // A copy of the pixels, so that a picture can be copied onto itself.
    CopyImage(Dest, Source.Image(), Src);
}

void TCanvas::CopyImage(const TRect& Dest, const QImage& Source, const TRect& Src) {
    if (FOwner.Empty() || Source.isNull() || Dest.Width() <= 0 || Dest.Height() <= 0 ||
        Src.Width() <= 0 || Src.Height() <= 0) {
        return;
    }
    // A copy of the pixels, so that a picture can be copied onto itself.
    QImage Pixels = Source;
    QImage& Target = FOwner.Pixels();
    bool SameSize = Dest.Width() == Src.Width() && Dest.Height() == Src.Height();
    bool InsideSource = Src.Left >= 0 && Src.Top >= 0 && Src.Right <= Pixels.width() &&
                        Src.Bottom <= Pixels.height();
    if (Pixels.constBits() != Target.constBits() && SameSize && InsideSource &&
        Pixels.format() == Target.format()) {
        // Pixel for pixel between pictures of one format: plain row copies,
        // byte for byte what the painter's source copy gives, without its set-up.
        int Left = std::max(Dest.Left, 0);
        int Top = std::max(Dest.Top, 0);
        int Right = std::min(Dest.Right, Target.width());
        int Bottom = std::min(Dest.Bottom, Target.height());
        int Bytes = Target.depth() / 8;
        for (int Y = Top; Y < Bottom; ++Y) {
            const uchar* From = Pixels.constScanLine(Src.Top + Y - Dest.Top) +
                                qsizetype(Src.Left + Left - Dest.Left) * Bytes;
            std::memcpy(Target.scanLine(Y) + qsizetype(Left) * Bytes, From,
                        size_t(std::max(Right - Left, 0)) * size_t(Bytes));
        }
        FOwner.MarkDirty();
        Touch(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
        return;
    }
    {
        QPainter Painter(&Target);
        Painter.setCompositionMode(QPainter::CompositionMode_Source);
        Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        Painter.drawImage(ToQRect(Dest), Pixels, ToQRect(Src));
    }
    FOwner.MarkDirty();
    Touch(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
}

void TCanvas::StretchDraw(const TRect& Dest, const TBitmap& Source) {
    CopyRect(Dest, Source, TRect{0, 0, Source.Width(), Source.Height()});
}

TSize TCanvas::TextExtent(const QString& Text) const {
    return CurrentTextMetrics().TextExtent(Font, SingleLine(Text));
}

void TCanvas::TextOut(int X, int Y, const QString& Text) {
    QString Line = SingleLine(Text);
    TSize Size = CurrentTextMetrics().TextExtent(Font, Line);
    DrawTextCell(TRect{X, Y, X + Size.Width, Y + Size.Height}, ClipRect(), Line);
    FPenPos = TPoint{X + Size.Width, Y};
}

void TCanvas::DrawCenteredText(const TRect& R, const QString& Text) {
    QString Line = SingleLine(Text);
    TSize Size = CurrentTextMetrics().TextExtent(Font, Line);
    int Left = R.Left + FloorHalf(R.Width() - Size.Width);
    int Top = R.Top + FloorHalf(R.Height() - Size.Height);
    DrawTextCell(TRect{Left, Top, Left + Size.Width, Top + Size.Height}, R, Line);
}

void TCanvas::DrawTextCell(const TRect& Cell, const TRect& Clip, const QString& Line) {
    if (FHook != nullptr) {
        TDrawOp Op;
        Op.Kind = TDrawOp::dkText;
        int Args[] = {Cell.Left, Cell.Top, Cell.Right, Cell.Bottom,
                      Clip.Left, Clip.Top, Clip.Right, Clip.Bottom};
        std::copy(std::begin(Args), std::end(Args), Op.P);
        Op.Text = Line;
        Op.Font = Font;
        Op.Brush = Brush;
        if (Intercepted(Op)) {
            return;
        }
    }
    TRect Visible{std::max({Clip.Left, Cell.Left, 0}), std::max({Clip.Top, Cell.Top, 0}),
                  std::min({Clip.Right, Cell.Right, FOwner.Width()}),
                  std::min({Clip.Bottom, Cell.Bottom, FOwner.Height()})};
    if (Visible.Width() <= 0 || Visible.Height() <= 0) {
        return;
    }
    FillRect(Visible); // the text's box, as an opaque background (brush permitting)
    {
        QPainter Painter(&FOwner.Pixels());
        Painter.setClipRect(ToQRect(Visible));
        CurrentTextMetrics().DrawText(Painter, ToQRect(Cell), Font, Line);
    }
    FOwner.MarkDirty();
    Touch(Visible.Left, Visible.Top, Visible.Right, Visible.Bottom);
}

} // namespace tvx
