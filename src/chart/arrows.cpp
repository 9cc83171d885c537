#include "chart/fc_list.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"

namespace tvx {

namespace {

long long Cross(TPoint O, TPoint A, TPoint B) {
    return static_cast<long long>(A.X - O.X) * (B.Y - O.Y) -
           static_cast<long long>(A.Y - O.Y) * (B.X - O.X);
}

// True when P lies inside the triangle or on its edges.
bool InTriangle(TPoint P, TPoint A, TPoint B, TPoint C) {
    long long D1 = Cross(A, B, P);
    long long D2 = Cross(B, C, P);
    long long D3 = Cross(C, A, P);
    bool HasNeg = D1 < 0 || D2 < 0 || D3 < 0;
    bool HasPos = D1 > 0 || D2 > 0 || D3 > 0;
    return !(HasNeg && HasPos);
}

} // namespace

void TFCList::DrawArrowLine(TFlowBlock& Block, TColor Color, int X1, int Y1, int X2, int Y2) const {
    if (MainSettings == nullptr) {
        return;
    }
    const int X = MainSettings->pm_shakeX; // half width of the head
    const int Y = MainSettings->pm_shakeY; // length of the head
    TCanvas& Canvas = Block.Bitmap->Canvas();
    Canvas.Pen.Color = Color;
    Canvas.Brush.Color = clBlack;
    Canvas.Brush.Style = bsSolid;

    Canvas.MoveTo(X1, Y1);
    Canvas.LineTo(X2, Y2);

    // The head's direction follows the x values alone: a vertical line always
    // points down.
    const TPoint Tip{X2, Y2};
    TPoint A, B, StrokeEnd, Seed;
    if (X2 == X1) {
        A = {X2 - X, Y2 - Y};
        B = {X2 + X, Y2 - Y};
        StrokeEnd = {X2 + X, Y2 - Y - 1};
        Seed = {X2, Y2 - Y / 2};
    } else if (X2 < X1) {
        A = {X2 + Y, Y2 - X};
        B = {X2 + Y, Y2 + X};
        StrokeEnd = {X2 + Y, Y2 + X - 1};
        Seed = {X2 + X / 2, Y2};
    } else {
        A = {X2 - Y, Y2 - X};
        B = {X2 - Y, Y2 + X};
        StrokeEnd = {X2 - Y, Y2 + X + 1};
        Seed = {X2 - X / 2, Y2};
    }
    Canvas.MoveTo(A.X, A.Y);
    Canvas.LineTo(Tip.X, Tip.Y);
    Canvas.LineTo(StrokeEnd.X, StrokeEnd.Y);
    Canvas.Polygon({A, Tip, B});

    // The border fill makes the head solid where the polygon fill left gaps.
    // It starts only from inside the head: with head settings out of
    // proportion the seed could lie beyond it and black out the picture.
    if (InTriangle(Seed, A, Tip, B)) {
        Canvas.FloodFill(Seed.X, Seed.Y, Color, fsBorder);
    }
}

} // namespace tvx
