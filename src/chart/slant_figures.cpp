#include "chart/slant_figures.h"
#include "chart/layout_math.h"
#include "platform/canvas.h"
#include <cmath>

namespace tvx {
namespace {

// A figure side beyond this is nonsense (a hand-edited angle of 0 or 90
// degrees); keeping sides below it keeps every later sum inside int.
constexpr long double kMaxSide = 1 << 20;

int ClampedFloor(long double V) {
    if (!(V == V) || V < 0) {
        return 0;
    }
    return Floor(std::min(V, kMaxSide));
}

} // namespace

TFigureSize DiamondSize(const TMainSettings& Settings, int TextWidth, int TextHeight) {
    const long double A = AngleRadians(Settings.pm_ifangle);
    const long double D = Div(Settings.pm_bcetext, 2) + Settings.pm_linewid;
    const long double V = std::max(D / std::sin(A), D);
    const long double Half = TextHeight / (2.0L * std::tan(A)) + V / std::cos(A) + TextWidth / 2.0L;
    TFigureSize Size;
    Size.Width = 2 * ClampedFloor(Half);
    Size.Height = ClampedFloor(std::tan(A) * Size.Width);
    return Size;
}

TFigureSize HexagonSize(const TMainSettings& Settings, int TextWidth, int TextHeight) {
    const long double A = AngleRadians(Settings.pm_forangle);
    TFigureSize Size;
    Size.Height = TextHeight + 2 * Settings.pm_bcetext + Settings.pm_linewid;
    Size.Width = ClampedFloor(TextWidth + 2.0L * Size.Height / (std::tan(A) * 2.0L));
    return Size;
}

namespace {

void DrawDiamondThrough(TCanvas& Canvas, int X, int Top, int Middle, int Bottom, int Width) {
    Canvas.MoveTo(X, Top);
    Canvas.LineTo(X - Width / 2, Middle);
    Canvas.LineTo(X, Bottom);
    Canvas.LineTo(X + Width / 2, Middle);
    Canvas.LineTo(X, Top);
}

} // namespace

void DrawDiamond(TCanvas& Canvas, int X, int Top, int Width, int Height) {
    DrawDiamondThrough(Canvas, X, Top, Top + Height / 2, Top + Height, Width);
}

void DrawDiamondAbove(TCanvas& Canvas, int X, int Bottom, int Width, int Height) {
    DrawDiamondThrough(Canvas, X, Bottom - Height, Bottom - Height / 2, Bottom, Width);
}

} // namespace tvx
