#include "chart/simple_shapes.h"
#include "chart/layout_call.h"
#include "settings/main_settings.h"
#include "support/wide_text.h"
#include <algorithm>
#include <cmath>

namespace tvx {

namespace {

TRect Bounds(int Left, int Top, int Width, int Height) {
    return Rect(Left, Top, Left + Width, Top + Height);
}

} // namespace

void DrawProcessShape(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    const int B = S.pm_bcetext;
    TSize T = Call.MeasureText(Call.Block.Text);
    Call.ShapeWidth = T.Width + 2 * B + S.pm_linewid;
    Call.ShapeHeight = T.Height + 2 * B + S.pm_linewid;
    Call.Block.ShapeRect = Rect(0, 0, Call.ShapeWidth, Call.ShapeHeight);
    Call.SetBitmapSize(Call.ShapeWidth, Call.ShapeHeight + S.pm_bcebce);
    Call.Canvas().Rectangle(Call.Block.ShapeRect);
    const TRect& Shape = Call.Block.ShapeRect;
    Call.Block.TextRect = Rect(Shape.Left + B, Shape.Top + B, Shape.Right - B, Shape.Bottom - B);
    Call.DrawTextBitmap(B, B);
    Call.ConnectSimpleBlock(Call.BmpW() / 2);
}

void DrawCallShape(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    const int B = S.pm_bcetext;
    TSize T = Call.MeasureText(Call.Block.Text);
    Call.ShapeWidth = T.Width + 2 * B + 2 * S.pm_callproc + 2 * S.pm_linedge;
    Call.ShapeHeight = T.Height + 2 * B;
    Call.SetBitmapSize(Call.ShapeWidth, Call.ShapeHeight + S.pm_bcebce);
    Call.Canvas().Rectangle(0, 0, Call.ShapeWidth, Call.ShapeHeight);
    Call.Canvas().Rectangle(S.pm_callproc, 0, Call.ShapeWidth - S.pm_callproc, Call.ShapeHeight);
    Call.DrawTextBitmap(Call.BmpW() / 2 - T.Width / 2, B);
    Call.ConnectSimpleBlock(Call.BmpW() / 2);
}

void DrawInputShape(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    const int B = S.pm_bcetext;
    TSize T = Call.MeasureText(Call.Block.Text);
    Call.ShapeHeight = T.Height + 2 * B;
    // Horizontal run of a slanted side.
    const int Run = SideFloor(Call.ShapeHeight / std::tan(AngleRadians(S.pm_outangle)));
    Call.ShapeWidth = T.Width + 2 * Run;
    Call.SetBitmapSize(Call.ShapeWidth, Call.ShapeHeight + S.pm_bcebce);
    const int W = std::max(Call.ShapeWidth, T.Width);
    TCanvas& C = Call.Canvas();
    C.MoveTo(Run, 0);
    C.LineTo(W, 0);
    C.LineTo(W - Run, Call.ShapeHeight);
    C.LineTo(0, Call.ShapeHeight);
    C.LineTo(Run, 0);
    Call.DrawTextBitmap(Run, B);
    Call.ConnectSimpleBlock(Call.BmpW() / 2);
}

void DrawOutputShape(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    const int B = S.pm_bcetext;
    const int Lw = S.pm_linewid;
    TSize T = Call.MeasureText(Call.Block.Text);
    const int H = T.Height + 2 * B + 2 * Lw;
    const int H2 = H / 2;
    const long double Tan = std::tan(AngleRadians(S.pm_forangle));
    const int Run = SideFloor(H / Tan) / 2; // the two slanted left edges
    const long double Chord = H2 / Tan;
    const int Radius = SideFloor(std::sqrt(Chord * Chord + static_cast<long double>(H2) * H2));
    const int Bulge = SideFloor(Radius - Chord); // how far the arc reaches past its chord
    Call.ShapeHeight = H;
    Call.ShapeWidth = T.Width + Run + Bulge;
    const int W = Call.ShapeWidth;
    Call.SetBitmapSize(W, H + S.pm_bcebce);
    TCanvas& C = Call.Canvas();
    C.MoveTo(W - Bulge - Lw, 0);
    C.LineTo(Run, 0);
    C.LineTo(0, H2);
    C.LineTo(Run, H);
    C.LineTo(W - Bulge - Lw, H);
    C.Arc(W - 2 * Radius, H2 - Radius, W, H2 + Radius, W - Bulge, H + 2 * Lw, W - Bulge, 0);
    Call.DrawTextBitmap(Run, B);
    // The flow line runs over the text's centre, not the figure's.
    Call.Block.LeftExtent = T.Width / 2 + Run;
    Call.Block.RightExtent = T.Width / 2 + Bulge;
    Call.ConnectCompoundBlock(T.Width / 2 + Run);
}

void DrawPageBreakShape(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    const int B = S.pm_bcetext;
    TSize T = Call.MeasureText(Call.Block.Text);
    const int D = Nearest(std::max(T.Width, T.Height) * std::sqrt(2.0L) + B);
    Call.ShapeHeight = 2 * D + B;
    Call.SetBitmapSize(D, Call.ShapeHeight + S.pm_bcebce);
    // The numbers use the picture's own font, not the block font.
    TCanvas& C = Call.Canvas();
    C.Ellipse(Bounds(0, 0, D, D));
    DrawWideText(C, Bounds(0, 0, D, D), Call.Block.Text);
    Call.Block.TextRect =
        Bounds(Call.BmpW() / 2 - T.Width / 2, B + S.pm_linewid, T.Width, T.Height);
    C.Ellipse(Bounds(0, D + B, D, D));
    DrawWideText(C, Bounds(0, D + B, D, D), Call.Block.Text);
    Call.ConnectSimpleBlock(Call.BmpW() / 2);
    // The page is cut in the middle of the gap between the circles.
    Call.Block.PageY = Call.Block.AbsY + D + B / 2;
}

void DrawRootTerminals(TLayoutCall& Call, int Off) {
    const TMainSettings& S = Call.Settings();
    const int B = S.pm_bcetext;
    TCanvas& C = Call.Canvas();

    TSize Start = Call.MeasureText(Call.ServText("sm_start"));
    const int StartH = Start.Height + 2 * B;
    const int StartW = Start.Width + 2 * B + Start.Height;
    C.RoundRect(Off - StartW / 2, 0, Off + StartW / 2, StartH, StartH, StartH);
    Call.DrawTextBitmap(Off - Start.Width / 2, B);

    // The finish terminal takes the start terminal's height, so both ends are
    // the same half circles.
    TSize Finish = Call.MeasureText(Call.ServText("sm_finish"));
    const int FinishW = Finish.Width + 2 * B + Finish.Height;
    const int Bottom = Call.BmpH();
    C.RoundRect(Off - FinishW / 2, Bottom - StartH, Off + FinishW / 2, Bottom, StartH, StartH);
    Call.DrawTextBitmap(Off - Finish.Width / 2, Bottom - Finish.Height - B);
}

void DrawBranchlessShape(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    TCanvas& C = Call.Canvas();
    int W = 0;
    int H = 0;
    TSize T;
    if (Call.Block.Kind == bkFor) {
        T = Call.MeasureText(Call.Block.Text);
        H = T.Height + 2 * S.pm_bcetext + S.pm_linewid;
        W = SideFloor(T.Width + 2 * H / (std::tan(AngleRadians(S.pm_forangle)) * 2.0L));
    } else {
        W = Call.SlantGeometry(Call.Block.Text, 0).SlantWidth;
        H = Call.SlantGeometry(Call.Block.Text, W).SlantHeight;
        T = TSize{Call.TextBitmap.Width(), Call.TextBitmap.Height()};
    }
    W = std::max(W, 0);
    H = std::max(H, 0);
    const int L = W / 2;
    Call.ShapeWidth = W;
    Call.ShapeHeight = H;
    Call.SetBitmapSize(2 * L + 1, H + S.pm_bcebce);
    if (Call.Block.Kind == bkFor) {
        const int Half = T.Width / 2;
        C.MoveTo(L - Half, 0);
        C.LineTo(L + Half, 0);
        C.LineTo(L + L, H / 2);
        C.LineTo(L + Half, H);
        C.LineTo(L - Half, H);
        C.LineTo(0, H / 2);
        C.LineTo(L - Half, 0);
    } else {
        C.MoveTo(L, 0);
        C.LineTo(0, H / 2);
        C.LineTo(L, H);
        C.LineTo(2 * L, H / 2);
        C.LineTo(L, 0);
    }
    Call.DrawTextBitmap(L - T.Width / 2, H / 2 - T.Height / 2);
    Call.ConnectSimpleBlock(L);
}

} // namespace tvx
