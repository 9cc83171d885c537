// The loop blocks. A while loop and the one-hexagon for loop test at the top:
// the body hangs below the header, a lane on the left leads back from the
// body's end into the header and a lane on the right leaves the loop. A repeat
// loop tests at the bottom and leads back along the left into the top of its
// body. The two-shape for loop has no lanes: a header figure above the body and
// a closing figure below it.
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "chart/loop_closing_text.h"
#include "chart/slant_figures.h"
#include <algorithm>

namespace tvx {
namespace {

class TLoopShape {
public:
    explicit TLoopShape(TLayoutCall& Call) : C(Call), S(Call.Settings()) {}

    void Run() {
        switch (C.Block.Kind) {
        case bkRepeat:
            RunRepeat();
            break;
        case bkFor:
            if (S.pm_ForOld) {
                RunTopTested(true);
            } else {
                RunTwoShapeFor();
            }
            break;
        default:
            RunTopTested(false);
            break;
        }
    }

private:
    void Measure(bool Hexagon);
    void StartBody(int ExitY);
    void RunTopTested(bool Hexagon);
    void RunRepeat();
    void RunTwoShapeFor();
    void DrawDiamond(int Top);
    void LowerForLabels() { T = LabelHeadroom(S, std::max(Yes.Height, No.Height), H); }
    void DrawHexagon();
    void SetBodyRect(int Top, int Bottom);
    TColor Pen() const { return C.PenColor(); }

    TLayoutCall& C;
    const TMainSettings& S;
    TSize Text;       // picture of the block's text
    TSize Yes, No;    // pictures of the labels
    int W = 0, H = 0; // header figure
    int T = 0;        // room above the diamond for the labels on its corners
    int L = 0;        // the block's flow line, also the body's
    int Xy = 0;       // where the body starts
    TFlowBlock* Body = nullptr;
    TChainExtent E;
};

// Renders the labels and the text (in this order, so the text stays in the
// scratch picture) and sizes the header figure.
void TLoopShape::Measure(bool Hexagon) {
    Yes = C.MeasureText(C.ServText("sm_yes"));
    No = C.MeasureText(C.ServText("sm_no"));
    Text = C.MeasureText(C.Block.Text);
    const TFigureSize Figure =
        Hexagon ? HexagonSize(S, Text.Width, Text.Height) : DiamondSize(S, Text.Width, Text.Height);
    W = Figure.Width;
    H = Figure.Height;
}

void TLoopShape::StartBody(int ExitY) {
    Xy = ExitY;
    C.Block.ExitY = Xy;
    C.ShapeWidth = W;
    C.ShapeHeight = T + H;
    Body = C.Block.GetItemChain(0);
    E = C.LayoutChain(Body);
}

void TLoopShape::SetBodyRect(int Top, int Bottom) {
    const int HalfGap = S.pm_bcebce / 2;
    const int X = C.Block.AbsX;
    const int Y = C.Block.AbsY;
    C.Block.SetItemRect(0, Rect(X + L - HalfGap, Y + Top, X + L + HalfGap, Y + Bottom));
}

void TLoopShape::DrawDiamond(int Top) {
    tvx::DrawDiamond(C.Canvas(), L, Top, W, H);
}

void TLoopShape::DrawHexagon() {
    TCanvas& Canvas = C.Canvas();
    const int Flat = Text.Width / 2;
    Canvas.MoveTo(L - Flat, 0);
    Canvas.LineTo(L + Flat, 0);
    Canvas.LineTo(L + W / 2, H / 2);
    Canvas.LineTo(L + Flat, H);
    Canvas.LineTo(L - Flat, H);
    Canvas.LineTo(L - W / 2, H / 2);
    Canvas.LineTo(L - Flat, 0);
}

// While loop, or the one-hexagon for loop: the header on top, the body below,
// the lane back on the left and the exit lane on the right.
void TLoopShape::RunTopTested(bool Hexagon) {
    const int G = S.pm_bcebce;
    const int Margin = SideMargin(S);
    Measure(Hexagon);
    if (!Hexagon) {
        LowerForLabels();
    }
    const int Mid = T + H / 2; // level of the side corners
    const int Bottom = T + H;
    StartBody(Hexagon ? G + H : std::max(G, 2 * S.pm_linedge + Yes.Height) + Bottom);

    L = std::max(E.Left, W / 2 + S.pm_addLine) + Margin + S.pm_linewid;
    const int R = std::max(E.Right, W / 2 + No.Width) + Margin + S.pm_linewid;
    C.Block.SetItemOffset(0, L);
    C.Block.LeftExtent = L;
    C.Block.RightExtent = R;
    int Height = Xy + E.Height + S.pm_linedge + G;
    C.PlaceChain(L, Xy, Body);
    if (E.Height == 0) {
        Height += G / 2; // room for the arrow into the empty body
    }
    C.SetBitmapSize(L + R, Height);

    if (Hexagon) {
        DrawHexagon();
        C.DrawTextBitmap(L - Text.Width / 2, H / 2 - Text.Height / 2);
    } else {
        if (T > 0) {
            C.Line(L, 0, L, T); // the way in, down to a diamond lowered for its labels
        }
        DrawDiamond(T);
        C.DrawTextBitmap(L - Text.Width / 2, Mid - Text.Height / 2);
        C.MeasureText(C.ServText("sm_yes"));
        C.DrawTextBitmap(L + std::max(S.pm_sertext, S.pm_shakeX + S.pm_sertext), Bottom);
        const TSize NoLabel = C.MeasureText(C.ServText("sm_no"));
        C.DrawTextBitmap(L + W / 2, Mid - NoLabel.Height - S.pm_sertext);
    }

    TCanvas& Canvas = C.Canvas();
    const int BodyEnd = C.BmpH() - G - S.pm_linedge;
    Canvas.MoveTo(L, BodyEnd);
    Canvas.LineTo(Margin, BodyEnd);
    Canvas.LineTo(Margin, Mid);
    C.DrawArrowLine(Pen(), Margin, Mid, L - W / 2, Mid);

    const int ExitLane = C.BmpW() - Margin;
    const int ExitY = C.BmpH() - G;
    Canvas.MoveTo(L + W / 2, Mid);
    Canvas.LineTo(ExitLane, Mid);
    Canvas.LineTo(ExitLane, ExitY);
    Canvas.LineTo(L, ExitY);
    C.DrawArrowLine(Pen(), L, ExitY, L, C.BmpH());

    C.ConnectCompoundBlock(L);
    SetBodyRect(T + H / 4, C.BmpH() - G - E.Height);
    C.DrawArrowLine(Pen(), L, Bottom, L, BodyEnd - E.Height);
}

// Repeat loop: the body first, the condition diamond below it, the lane back
// from the diamond's left corner up into the top of the body.
void TLoopShape::RunRepeat() {
    const int G = S.pm_bcebce;
    const int Margin = SideMargin(S);
    Measure(false);
    LowerForLabels(); // room between the body and the diamond
    StartBody(G + 2 * S.pm_shakeX + S.pm_linewid);

    L = std::max(E.Left, W / 2 + std::max(S.pm_addLine, 2 * S.pm_sertext + No.Width)) + Margin +
        S.pm_linewid;
    const int R = std::max(E.Right, W / 2) + Margin + S.pm_linewid;
    C.Block.SetItemOffset(0, L);
    C.Block.LeftExtent = L;
    C.Block.RightExtent = R;
    // Below the diamond the gap to the next block, or the height of the yes
    // label beside the exit arrow when that is more.
    const int Band = std::max(G, Yes.Height);
    C.PlaceChain(L, Xy, Body);
    C.SetBitmapSize(L + R, Xy + E.Height + T + H + Band);

    const int D = C.BmpH() - Band; // the diamond's bottom corner
    if (T > 0) {
        C.Line(L, D - H - T, L, D - H); // from the body down to the diamond
    }
    DrawDiamondAbove(C.Canvas(), L, D, W, H);
    C.DrawTextBitmap(L - Text.Width / 2, D - H / 2 - Text.Height / 2);
    C.MeasureText(C.ServText("sm_yes"));
    C.DrawTextBitmap(L + std::max(S.pm_sertext, S.pm_shakeX + S.pm_sertext), D);
    const TSize NoLabel = C.MeasureText(C.ServText("sm_no"));
    C.DrawTextBitmap(L - W / 2 - NoLabel.Width, D - H / 2 - NoLabel.Height - S.pm_sertext);

    TCanvas& Canvas = C.Canvas();
    Canvas.MoveTo(L - W / 2, D - H / 2);
    Canvas.LineTo(Margin, D - H / 2);
    Canvas.LineTo(Margin, S.pm_shakeX);
    C.DrawArrowLine(Pen(), Margin, S.pm_shakeX, L, S.pm_shakeX);
    C.DrawArrowLine(Pen(), L, 0, L, Xy);

    if (D < C.BmpH() - G) {
        C.Line(L, D, L, C.BmpH() - G); // the exit arrow's shaft past the label
    }
    C.ConnectCompoundBlock(L);
    // The block is hit on its diamond, and the place after it only below the
    // diamond, not beside the lane.
    const int X = C.Block.AbsX;
    const int Y = C.Block.AbsY;
    C.Block.InRect.Top = Y + D - H;
    C.Block.InRect.Bottom = Y + D;
    C.Block.OutRect.Top = Y + D;
    C.Block.OutRect.Left = X + L - W / 2;
    C.Block.OutRect.Right = X + L + W / 2;
    SetBodyRect(0, Xy);
}

// For loop drawn as a header figure above the body and a closing figure below
// it, without lanes.
void TLoopShape::RunTwoShapeFor() {
    const int G = S.pm_bcebce;
    Measure(true);
    StartBody(G + H);

    const int Room = W / 2 + S.pm_linedge + S.pm_linewid;
    L = std::max(E.Left, Room);
    const int R = std::max(E.Right, Room);
    C.Block.SetItemOffset(0, L);
    C.Block.LeftExtent = L;
    C.Block.RightExtent = R;
    C.PlaceChain(L, Xy, Body);
    C.SetBitmapSize(L + R, E.Height + 2 * Xy);

    TCanvas& Canvas = C.Canvas();
    const int Flat = Text.Width / 2;
    Canvas.MoveTo(L - Flat, 0);
    Canvas.LineTo(L + Flat, 0);
    Canvas.LineTo(L + W / 2, H / 2);
    Canvas.LineTo(L + W / 2, H);
    Canvas.LineTo(L - W / 2, H);
    Canvas.LineTo(L - W / 2, H / 2);
    Canvas.LineTo(L - Flat, 0);
    C.DrawTextBitmap(L - Text.Width / 2, H / 2 - Text.Height / 2);

    const int Gy = C.BmpH() - G; // bottom of the closing figure
    Canvas.MoveTo(L - W / 2, Gy - H);
    Canvas.LineTo(L + W / 2, Gy - H);
    Canvas.LineTo(L + W / 2, Gy - H / 2);
    Canvas.LineTo(L + Flat, Gy);
    Canvas.LineTo(L - Flat, Gy);
    Canvas.LineTo(L - W / 2, Gy - H / 2);
    Canvas.LineTo(L - W / 2, Gy - H);
    const TSize Closing = C.MeasureText(LoopClosingText(C.Block.Text, S.EndFor));
    C.DrawTextBitmap(L - Closing.Width / 2, C.BmpH() - Xy + H / 2 - Closing.Height / 2);

    C.ConnectCompoundBlock(L);
    SetBodyRect(H / 4, C.BmpH() - G - E.Height);
    C.DrawArrowLine(Pen(), L, H, L, Xy);
}

} // namespace

void DrawLoopShape(TLayoutCall& Call) {
    TLoopShape(Call).Run();
}

} // namespace tvx
