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

// Writes pixels of one colour straight into the picture, in its own encoding,
// so that what lands is exactly what a later read compares with. Where the
// colour is the picture's fill and the picture holds no pixels of its own
// there, nothing needs writing.
class TCanvas::TPixelWriter {
public:
    TPixelWriter(TBitmap& Picture, TColor Color)
        : FPicture(Picture), FRaw(Picture.Encode(Color)), FBytes(Picture.BytesPerPixel()),
          FWidth(Picture.Width()), FHeight(Picture.Height()) {
        FSkipFill = FRaw == Picture.FFillRaw;
        if (Picture.Whole() && Picture.FMarks.empty()) {
            QImage& Image = Picture.Pixels();
            FBlock = TBlock{0, 0, FWidth, FHeight, Image.bits(), Image.bytesPerLine()};
        }
    }

    void Plot(int X, int Y) {
        if (X >= 0 && Y >= 0 && X < FWidth && Y < FHeight) {
            Store(X, Y, 1);
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
            Store(From, Y, To - From);
        }
    }

    // Pixels of column X in rows From..To-1.
    void Column(int X, int From, int To) {
        if (X < 0 || X >= FWidth) {
            return;
        }
        From = std::max(From, 0);
        To = std::min(To, FHeight);
        for (int Y = From; Y < To;) {
            if (!FBlock.Holds(X, Y) && !Fetch(X, Y)) {
                Y += TBitmap::kTileSize - Y % TBitmap::kTileSize; // the fill already
                continue;
            }
            const int End = std::min(To, FBlock.Y1);
            unsigned char* P =
                FBlock.Base + (Y - FBlock.Y0) * FBlock.Stride + qsizetype(X - FBlock.X0) * FBytes;
            if (FBytes == 2) {
                for (; Y < End; ++Y, P += FBlock.Stride) {
                    std::memcpy(P, FRaw.Bytes, 2);
                }
            }
            for (; Y < End; ++Y, P += FBlock.Stride) {
                std::memcpy(P, FRaw.Bytes, size_t(FBytes));
            }
        }
    }

private:
    // Pixels X0..X1-1 of rows Y0..Y1-1 that lie in memory with one stride,
    // Base being pixel (X0, Y0): the whole picture, or the tile drawn in last
    // (a line goes on in the same tile for a while).
    struct TBlock {
        int X0 = 0;
        int Y0 = 0;
        int X1 = 0;
        int Y1 = 0;
        unsigned char* Base = nullptr;
        qsizetype Stride = 0;
        bool Holds(int X, int Y) const { return X >= X0 && X < X1 && Y >= Y0 && Y < Y1; }
    };

    void Store(int X, int Y, int Count) {
        while (Count > 0) {
            if (!FBlock.Holds(X, Y) && !Fetch(X, Y)) {
                // Nothing to write in this tile: it holds the fill already.
                const int Skip = std::min(Count, TBitmap::kTileSize - X % TBitmap::kTileSize);
                X += Skip;
                Count -= Skip;
                continue;
            }
            const int Run = std::min(Count, FBlock.X1 - X);
            unsigned char* P =
                FBlock.Base + (Y - FBlock.Y0) * FBlock.Stride + qsizetype(X - FBlock.X0) * FBytes;
            if (Run == 1 && FBytes == 2) {
                std::memcpy(P, FRaw.Bytes, 2);
            } else {
                TBitmap::StoreRun(P, Run, FRaw, FBytes);
            }
            X += Run;
            Count -= Run;
        }
    }

    // Makes the tile of (X, Y) the block written in, from its top left so
    // that it holds its pixels in every direction; false when there is
    // nothing to write in it.
    bool Fetch(int X, int Y) {
        constexpr int K = TBitmap::kTileSize;
        TBlock Block;
        Block.X0 = X - X % K;
        Block.Y0 = Y - Y % K;
        int Width = 0;
        int Height = 0;
        Block.Base =
            FPicture.WritableBlock(Block.X0, Block.Y0, Width, Height, Block.Stride, FSkipFill);
        if (Block.Base == nullptr) {
            return false;
        }
        Block.X1 = Block.X0 + Width;
        Block.Y1 = Block.Y0 + Height;
        FBlock = Block;
        return true;
    }

    TBitmap& FPicture;
    TBitmap::TRawPixel FRaw;
    int FBytes;
    int FWidth;
    int FHeight;
    bool FSkipFill = false;
    TBlock FBlock;
};

namespace {

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
            int X = DX == 0 ? X1 : X1 + SX * RoundedQuotient(I * DX, DY);
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

// The pixels a fill has taken, kept for the part of the picture the fill has
// reached so far, which grows as the fill spreads: fills are mostly small
// next to the pictures they are made in (an arrowhead in the picture of a
// loop).
class TTakenPixels {
public:
    bool Has(int X, int Y) const {
        return X >= FArea.Left && X < FArea.Right && Y >= FArea.Top && Y < FArea.Bottom &&
               FBits[Index(X, Y)];
    }

    // Pixels From..To-1 of row Y.
    void Mark(int Y, int From, int To) {
        Reach(TRect{From, Y, To, Y + 1});
        for (int X = From; X < To; ++X) {
            FBits[Index(X, Y)] = true;
        }
    }

private:
    size_t Index(int X, int Y) const {
        return size_t(Y - FArea.Top) * size_t(FArea.Width()) + size_t(X - FArea.Left);
    }

    void Reach(const TRect& R) {
        if (R.Left >= FArea.Left && R.Top >= FArea.Top && R.Right <= FArea.Right &&
            R.Bottom <= FArea.Bottom) {
            return;
        }
        const TRect Old = FArea;
        std::vector<bool> OldBits;
        OldBits.swap(FBits);
        // Room for as much again beyond what is reached now.
        const TRect Both =
            Old.Width() == 0 ? R
                             : TRect{std::min(Old.Left, R.Left), std::min(Old.Top, R.Top),
                                     std::max(Old.Right, R.Right), std::max(Old.Bottom, R.Bottom)};
        const int Wide = std::max(16, Both.Width()) / 2;
        const int High = std::max(16, Both.Height()) / 2;
        FArea = TRect{Both.Left - Wide, Both.Top - High, Both.Right + Wide, Both.Bottom + High};
        FBits.assign(size_t(FArea.Width()) * size_t(FArea.Height()), false);
        for (int Y = Old.Top; Y < Old.Bottom; ++Y) {
            for (int X = Old.Left; X < Old.Right; ++X) {
                FBits[Index(X, Y)] =
                    OldBits[size_t(Y - Old.Top) * size_t(Old.Width()) + size_t(X - Old.Left)];
            }
        }
    }

    TRect FArea;
    std::vector<bool> FBits;
};

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
    // Compared tens of thousands of times a repaint: no library call for the
    // arguments.
    bool SameArguments = true;
    for (size_t I = 0; I < std::size(P); ++I) {
        SameArguments &= P[I] == Other.P[I];
    }
    if (Kind != Other.Kind || !SameArguments || PenColor != Other.PenColor ||
        !(Brush == Other.Brush) || Color != Other.Color || FillStyle != Other.FillStyle ||
        SelfCopy != Other.SelfCopy) {
        return false;
    }
    // The payload is set by the calls of its kinds only.
    if (Payload == Other.Payload) {
        return true;
    }
    if (Payload == nullptr || Other.Payload == nullptr) {
        return false;
    }
    const TPayload& A = *Payload;
    const TPayload& B = *Other.Payload;
    switch (Kind) {
    case dkText:
        return A.Font == B.Font && A.Text == B.Text;
    case dkPolygon:
        return A.Points == B.Points;
    case dkCopy:
    case dkAssign:
        if (A.Image.has_value() != B.Image.has_value()) {
            return false;
        }
        return !A.Image.has_value() || A.Image->cacheKey() == B.Image->cacheKey() ||
               *A.Image == *B.Image;
    default:
        return true;
    }
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
        Polygon(std::span<const TPoint>(Op.Payload->Points));
        break;
    case TDrawOp::dkFloodFill:
        FloodFill(P[0], P[1], Op.Color, Op.FillStyle);
        break;
    case TDrawOp::dkPixel:
        SetPixel(P[0], P[1], Op.Color);
        break;
    case TDrawOp::dkCopy:
        CopyImage(TRect{P[0], P[1], P[2], P[3]}, Op.SelfCopy ? FOwner.Image() : *Op.Payload->Image,
                  TRect{P[4], P[5], P[6], P[7]});
        break;
    case TDrawOp::dkText:
        Font = Op.Payload->Font;
        DrawTextCell(TRect{P[0], P[1], P[2], P[3]}, TRect{P[4], P[5], P[6], P[7]},
                     Op.Payload->Text);
        break;
    case TDrawOp::dkResize:
        FOwner.SetSize(P[0], P[1]);
        break;
    case TDrawOp::dkFormat:
        FOwner.SetPixelFormat(TPixelFormat(P[0]));
        break;
    case TDrawOp::dkAssign:
        FOwner.FImage = *Op.Payload->Image;
        FOwner.DropTiles();
        FOwner.FMarks.clear();
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
        TPixelWriter Writer(FOwner, Pen.Color);
        const TPoint From = FPenPos;
        // Lines along a row or a column (most lines of a chart, some as long
        // as the chart) set the same pixels as the walk, a run at a time.
        if (From.Y == Y) {
            Writer.Span(Y, From.X < X ? From.X : X + 1, From.X < X ? X : From.X + 1);
        } else if (From.X == X) {
            Writer.Column(X, From.Y < Y ? From.Y : Y + 1, From.Y < Y ? Y : From.Y + 1);
        } else {
            WalkLine(From.X, From.Y, X, Y, [&](int PX, int PY) { Writer.Plot(PX, PY); });
        }
        Touch(std::min(From.X, X), std::min(From.Y, Y), std::max(From.X, X) + 1,
              std::max(From.Y, Y) + 1);
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
    if (Left <= 0 && Top <= 0 && Right >= FOwner.Width() && Bottom >= FOwner.Height()) {
        FOwner.FillWhole(Brush.Color); // mostly without writing a pixel
    } else {
        FOwner.FillRaw(TRect{Left, Top, Right, Bottom}, FOwner.Encode(Brush.Color));
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
    TPixelWriter PenWriter(FOwner, Pen.Color);
    TPixelWriter BrushWriter(FOwner, Brush.Color);
    bool Fill = Brush.Style == bsSolid;
    TRoundedFigure(X1, Y1, X2, Y2, W, H)
        .ForEachRow(FOwner.Height(), [&](int Y, const TRowSpan& Row, const TRowSpan& Inside) {
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
    TPixelWriter Writer(FOwner, Pen.Color);
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
        auto Payload = std::make_shared<TDrawOp::TPayload>();
        Payload->Points.assign(Points.begin(), Points.end());
        Op.Payload = std::move(Payload);
        Op.PenColor = Pen.Color;
        Op.Brush = Brush;
        if (Intercepted(Op)) {
            return;
        }
    }
    if (FOwner.Empty() || Points.size() < 2) {
        return;
    }
    size_t N = Points.size();
    if (Brush.Style == bsSolid) {
        // Even-odd fill of the pixels whose centres (the integer points lines
        // pass through) lie inside; right and lower edges are left to the outline.
        TPixelWriter Writer(FOwner, Brush.Color);
        auto [MinIt, MaxIt] = std::minmax_element(Points.begin(), Points.end(),
                                                  [](TPoint A, TPoint B) { return A.Y < B.Y; });
        int Top = std::max(MinIt->Y, 0);
        int Bottom = std::min(MaxIt->Y, FOwner.Height() - 1);
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
    TPixelWriter Writer(FOwner, Pen.Color);
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
    const int W = FOwner.Width();
    const int H = FOwner.Height();
    const int Bytes = FOwner.BytesPerPixel();
    const TBitmap::TRawPixel Raw = FOwner.Encode(Color);
    auto SameAsColor = [&](int PX, int PY) {
        int Count = 0;
        bool Fill = false;
        return std::memcmp(FOwner.ReadableRun(PX, PY, Count, Fill), Raw.Bytes, size_t(Bytes)) == 0;
    };
    if (SameAsColor(X, Y) != (FillStyle == fsSurface)) {
        return; // the seed itself may not be taken
    }
    // A pixel is taken at most once, and whether it may be taken is decided
    // on its colour before the fill, so the brush colour itself never stops or
    // feeds the spread.
    TTakenPixels Taken;
    auto IsOpen = [&](int PX, int PY) {
        return !Taken.Has(PX, PY) && SameAsColor(PX, PY) == (FillStyle == fsSurface);
    };
    if (!IsOpen(X, Y)) {
        return;
    }
    TPixelWriter Writer(FOwner, Brush.Color);
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
        Taken.Mark(Seed.Y, From, To);
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
    int Count = 0;
    bool Fill = false;
    const unsigned char* P = FOwner.ReadableRun(X, Y, Count, Fill);
    if (Fill) {
        return FOwner.FFill;
    }
    // The pixel read as a picture of its format reads it.
    std::uint32_t Raw = 0;
    std::memcpy(&Raw, P, size_t(FOwner.BytesPerPixel()));
    const QImage One(reinterpret_cast<const uchar*>(&Raw), 1, 1, sizeof Raw, FOwner.ImageFormat());
    return FromQColor(QColor(One.pixel(0, 0)));
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
        TPixelWriter(FOwner, Color).Plot(X, Y);
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
        auto Payload = std::make_shared<TDrawOp::TPayload>();
        if (!Op.SelfCopy) {
            Payload->Image = Source.Image();
        }
        Op.Payload = std::move(Payload);
        if (Intercepted(Op)) {
            return;
        }
    }
    if (Source.Empty()) {
        return;
    }
    // A picture in tiles is copied tile by tile, converted to this one's
    // format where the two differ: made whole, a tall chart's picture would
    // take more memory than its tiles.
    if (!Source.Whole() && &Source != &FOwner &&
        CanCopyRows(Dest, Source.Width(), Source.Height(), Src, FOwner.ImageFormat(), false)) {
        CopyTiles(Dest, Source, Src);
        return;
    }
    // A copy of the pixels, so that a picture can be copied onto itself.
    CopyImage(Dest, Source.Image(), Src);
}

bool TCanvas::CanCopyRows(const TRect& Dest, int SourceWidth, int SourceHeight, const TRect& Src,
                          QImage::Format SourceFormat, bool SameFormat) const {
    return Dest.Width() == Src.Width() && Dest.Height() == Src.Height() && Src.Left >= 0 &&
           Src.Top >= 0 && Src.Right <= SourceWidth && Src.Bottom <= SourceHeight &&
           (!SameFormat || SourceFormat == FOwner.ImageFormat());
}

namespace {

// The formats pictures keep their pixels in, between which QImage's
// conversion gives what a painter's source copy gives.
bool IsStorageFormat(QImage::Format Format) {
    return Format == QImage::Format_RGB16 || Format == QImage::Format_RGB555 ||
           Format == QImage::Format_RGB888 || Format == QImage::Format_RGB32;
}

// True when every pixel of the block is the fill (FillRun holding at least
// Width fill pixels).
bool AllFill(const unsigned char* From, qsizetype Stride, int Width, int Height,
             const unsigned char* FillRun, int Bytes) {
    for (int R = 0; R < Height; ++R) {
        if (std::memcmp(From + R * Stride, FillRun, size_t(Width) * size_t(Bytes)) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

void TCanvas::WriteBlock(int X, int Y, int Width, int Height, const unsigned char* From,
                         qsizetype FromStride) {
    const int Bytes = FOwner.BytesPerPixel();
    // A large picture makes no tile for a block of its fill landing where it
    // holds only the fill.
    const bool SkipFill = FOwner.KeepsTiles();
    for (int Row = 0; Row < Height;) {
        int Rows = Height - Row;
        for (int Column = 0; Column < Width;) {
            int BlockWidth = 0;
            int BlockHeight = 0;
            qsizetype Stride = 0;
            const unsigned char* Source = From + Row * FromStride + qsizetype(Column) * Bytes;
            unsigned char* To = nullptr;
            if (SkipFill) {
                To = FOwner.WritableBlock(X + Column, Y + Row, BlockWidth, BlockHeight, Stride,
                                          true, Width - Column);
                if (To == nullptr) {
                    BlockWidth = std::min(BlockWidth, Width - Column);
                    Rows = std::min(BlockHeight, Height - Row);
                    if (AllFill(Source, FromStride, BlockWidth, Rows, FOwner.FFillRun, Bytes)) {
                        Column += BlockWidth;
                        continue;
                    }
                }
            }
            if (To == nullptr) {
                To = FOwner.WritableBlock(X + Column, Y + Row, BlockWidth, BlockHeight, Stride,
                                          false, Width - Column);
            }
            BlockWidth = std::min(BlockWidth, Width - Column);
            Rows = std::min(BlockHeight, Height - Row);
            for (int R = 0; R < Rows; ++R) {
                std::memcpy(To + R * Stride, Source + R * FromStride,
                            size_t(BlockWidth) * size_t(Bytes));
            }
            Column += BlockWidth;
        }
        Row += Rows;
    }
}

// The part of Src that lands inside this picture, in the source's
// coordinates (empty when nothing does).
TRect TCanvas::VisibleSource(const TRect& Dest, const TRect& Src) const {
    const int DX = Dest.Left - Src.Left;
    const int DY = Dest.Top - Src.Top;
    return TRect{std::max(Src.Left, -DX), std::max(Src.Top, -DY),
                 std::min(Src.Right, FOwner.Width() - DX),
                 std::min(Src.Bottom, FOwner.Height() - DY)};
}

void TCanvas::CopyTiles(const TRect& Dest, const TBitmap& Source, const TRect& Src) {
    const TRect From = VisibleSource(Dest, Src);
    if (From.Left >= From.Right || From.Top >= From.Bottom) {
        return;
    }
    // Tile by tile of the source: its own pixels are copied; a run of its
    // missing tiles is its fill, written as a fill, which costs nothing
    // where this picture has the same fill and no pixels of its own.
    constexpr int K = TBitmap::kTileSize;
    const int DX = Dest.Left - Src.Left;
    const int DY = Dest.Top - Src.Top;
    const int Bytes = FOwner.BytesPerPixel();
    // Pixels of another format are converted as a painter copying them
    // would (QImage's conversion, the very one it uses).
    const QImage::Format Format = FOwner.ImageFormat();
    const bool Convert = Source.ImageFormat() != Format;
    TBitmap::TRawPixel Fill = Source.FFillRaw;
    if (Convert) {
        QImage One = CheckedImage(QImage(1, 1, Source.ImageFormat()));
        std::memcpy(One.bits(), Source.FFillRaw.Bytes, size_t(Source.BytesPerPixel()));
        One = CheckedImage(One.convertToFormat(Format));
        std::memcpy(Fill.Bytes, One.constBits(), size_t(Bytes));
    }
    const int SourceBytes = Source.BytesPerPixel();
    const auto& Tiles = Source.FTiles;
    for (int TY = From.Top / K; TY * K < From.Bottom; ++TY) {
        const int Y0 = std::max(From.Top, TY * K);
        const int Y1 = std::min(From.Bottom, (TY + 1) * K);
        const int Last = (From.Right - 1) / K + 1; // past the last column
        for (int TX = From.Left / K; TX * K < From.Right;) {
            const int X0 = std::max(From.Left, TX * K);
            if (const unsigned char* Tile = Tiles.At(TX, TY)) {
                const int X1 = std::min(From.Right, (TX + 1) * K);
                const unsigned char* Piece = Tile + (qsizetype(Y0 % K) * K + X0 % K) * SourceBytes;
                if (Convert) {
                    const QImage Converted =
                        CheckedImage(QImage(Piece, X1 - X0, Y1 - Y0, qsizetype(K) * SourceBytes,
                                            Source.ImageFormat())
                                         .convertToFormat(Format));
                    WriteBlock(X0 + DX, Y0 + DY, X1 - X0, Y1 - Y0, Converted.constBits(),
                               Converted.bytesPerLine());
                } else {
                    WriteBlock(X0 + DX, Y0 + DY, X1 - X0, Y1 - Y0, Piece, qsizetype(K) * Bytes);
                }
                ++TX;
                continue;
            }
            int End = TX + 1;
            while (End < Last) {
                End = Tiles.NextInGroup(End, TY, Last);
                if (End >= Last || Tiles.At(End, TY) != nullptr) {
                    break;
                }
                ++End;
            }
            const int X1 = std::min(From.Right, End * K);
            FOwner.FillRaw(TRect{X0 + DX, Y0 + DY, X1 + DX, Y1 + DY}, Fill);
            TX = End;
        }
    }
    FOwner.MarkDirty();
    Touch(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
}

void TCanvas::CopyImage(const TRect& Dest, const QImage& Source, const TRect& Src) {
    if (FOwner.Empty() || Source.isNull() || Dest.Width() <= 0 || Dest.Height() <= 0 ||
        Src.Width() <= 0 || Src.Height() <= 0) {
        return;
    }
    // A copy of the pixels, so that a picture can be copied onto itself.
    QImage Pixels = Source;
    const bool Itself = FOwner.Whole() && Pixels.constBits() == FOwner.FImage.constBits();
    if (!Itself && Pixels.format() != FOwner.ImageFormat() && IsStorageFormat(Pixels.format()) &&
        CanCopyRows(Dest, Pixels.width(), Pixels.height(), Src, Pixels.format(), false)) {
        // Converted first, exactly as the painter would convert it, so that a
        // large picture in tiles is not made whole for it.
        const TRect From = VisibleSource(Dest, Src);
        if (From.Left < From.Right && From.Top < From.Bottom) {
            Pixels = CheckedImage(
                CheckedImage(Pixels.copy(ToQRect(From))).convertToFormat(FOwner.ImageFormat()));
            WriteBlock(From.Left + Dest.Left - Src.Left, From.Top + Dest.Top - Src.Top,
                       From.Right - From.Left, From.Bottom - From.Top, Pixels.constBits(),
                       Pixels.bytesPerLine());
        }
        FOwner.MarkDirty();
        Touch(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
        return;
    }
    if (!Itself && CanCopyRows(Dest, Pixels.width(), Pixels.height(), Src, Pixels.format())) {
        // Pixel for pixel between pictures of one format: plain row copies,
        // byte for byte what the painter's source copy gives, without its set-up.
        const TRect From = VisibleSource(Dest, Src);
        if (From.Left < From.Right && From.Top < From.Bottom) {
            WriteBlock(From.Left + Dest.Left - Src.Left, From.Top + Dest.Top - Src.Top,
                       From.Right - From.Left, From.Bottom - From.Top,
                       Pixels.constScanLine(From.Top) + qsizetype(From.Left) * (Pixels.depth() / 8),
                       Pixels.bytesPerLine());
        }
        FOwner.MarkDirty();
        Touch(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
        return;
    }
    {
        QPainter Painter(&FOwner.Pixels());
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
    TextRect(ClipRect(), X, Y, Text);
    FPenPos = TPoint{X + TextExtent(Text).Width, Y};
}

void TCanvas::TextRect(const TRect& Clip, int X, int Y, const QString& Text) {
    QString Line = SingleLine(Text);
    TSize Size = CurrentTextMetrics().TextExtent(Font, Line);
    DrawTextCell(TRect{X, Y, X + Size.Width, Y + Size.Height}, Clip, Line);
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
        Op.Payload =
            std::make_shared<const TDrawOp::TPayload>(TDrawOp::TPayload{Font, Line, {}, {}});
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
    if (!FOwner.Whole() && FOwner.KeepsTiles() && !HasPalette(FOwner.PixelFormat())) {
        // A large picture in tiles stays so: the text is drawn on a copy of
        // its box, which is then written back.
        QImage Box = FOwner.Region(Visible);
        {
            QPainter Painter(&Box);
            Painter.translate(-Visible.Left, -Visible.Top);
            Painter.setClipRect(ToQRect(Visible));
            CurrentTextMetrics().DrawText(Painter, ToQRect(Cell), Font, Line);
        }
        WriteBlock(Visible.Left, Visible.Top, Box.width(), Box.height(), Box.constBits(),
                   Box.bytesPerLine());
    } else {
        QPainter Painter(&FOwner.Pixels());
        Painter.setClipRect(ToQRect(Visible));
        CurrentTextMetrics().DrawText(Painter, ToQRect(Cell), Font, Line);
    }
    FOwner.MarkDirty();
    Touch(Visible.Left, Visible.Top, Visible.Right, Visible.Bottom);
}

} // namespace tvx
