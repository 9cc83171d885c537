// The multi-way selection: a diamond around the selector text on top and,
// below it, a ladder of case diamonds, one per branch, down the left column.
// Each case diamond leads right into its branch chain; its bottom corner leads
// down to the next case. The header's right corner, every chain's end and the
// last case's bottom corner meet on a join line above the exit arrow.
//
//       <  selector  >----------------+
//       |                             |
//    <case 0>---+                     |
//       |       [chain 0]-------------+
//    <case 1>---+                     |
//       |       [chain 1]-------------+
//       ...                           |
//       +-------------+---------------+
//                     v
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "chart/slant_figures.h"
#include <algorithm>
#include <vector>

namespace tvx {
namespace {

struct TCaseBand {
    TChainExtent Extent;
    int LabelWidth = 0; // width of the case diamond
    int Top = 0;        // top corner of the case diamond
    int ChainX = 0;     // flow line of the chain
    int ChainY = 0;     // top of the chain
};

class TCaseShape {
public:
    explicit TCaseShape(TLayoutCall& Call)
        : C(Call), S(Call.Settings()), G(S.pm_bcebce), Edge(S.pm_linedge) {}

    void Run() {
        LayOut();
        DrawHeader();
        DrawBands();
        DrawJoin();
        C.ConnectCompoundBlock(C.Block.LeftExtent);
        SetBranchAreas();
    }

private:
    void LayOut();
    void PlaceBands();
    void DrawHeader();
    void DrawBands();
    void DrawJoin();
    void SetBranchAreas();
    int LabelColumnX() const { return Edge + LabelMaxX / 2; }
    int RightLaneX() const { return C.BmpW() - Edge; }

    TLayoutCall& C;
    const TMainSettings& S;
    const int G;
    const int Edge;
    int SW = 0, SH = 0;           // diamond around the selector text
    int T = 0;                    // room above it for the labels on its corners
    int W = 0;                    // header diamond: the widest of it and every chain
    int LabelMaxX = 10;           // width of the case column
    int LabelMaxY = 10;           // height of every case diamond
    int JoinY = 0;                // where every path meets
    std::vector<TCaseBand> Bands; // one per branch record the block has
};

void TCaseShape::LayOut() {
    const int LabelHeight = std::max(C.MeasureText(C.ServText("sm_yes")).Height,
                                     C.MeasureText(C.ServText("sm_no")).Height);
    const TSize Text = C.MeasureText(C.Block.Text);
    const TFigureSize Header = DiamondSize(S, Text.Width, Text.Height);
    SW = Header.Width;
    SH = Header.Height;
    T = LabelHeadroom(S, LabelHeight, SH);
    C.Block.ExitY = T + SH + G + Edge;
    W = SW;

    Bands.resize(C.Block.Items.size());
    for (std::size_t J = 0; J < Bands.size(); ++J) {
        TCaseBand& Band = Bands[J];
        Band.Extent = C.LayoutChain(C.Block.Items[J].Chain);
        // The entry arrowhead of an empty band keeps clear of the case
        // diamond's right corner.
        Band.Extent.Left = std::max(Band.Extent.Left, S.pm_shakeX + Edge);
        Band.Extent.Width = Band.Extent.Left + Band.Extent.Right;
        const TSize Label = C.MeasureText(C.Block.Items[J].Text);
        // A case diamond is as high as the header diamond, whatever its width.
        Band.LabelWidth = DiamondSize(S, Label.Width, Label.Height).Width;
        W = std::max(W, Band.Extent.Width);
        LabelMaxX = std::max(LabelMaxX, Band.LabelWidth);
        LabelMaxY = std::max(LabelMaxY, SH);
    }
    C.ShapeWidth = W;
    C.ShapeHeight = T + SH + Edge + G;

    const int Width = Edge + LabelMaxX + W + 2 * Edge;
    C.Block.LeftExtent = Width / 2;
    C.Block.RightExtent = C.Block.LeftExtent;
    PlaceBands();
    C.SetBitmapSize(Width, JoinY + G);
}

// Stacks the bands below the header: each chain starts a gap below its case
// diamond's right corner, and the next case starts below both the chain and the
// case diamond above it.
void TCaseShape::PlaceBands() {
    int Top = C.ShapeHeight;
    for (std::size_t J = 0; J < Bands.size(); ++J) {
        TCaseBand& Band = Bands[J];
        Band.Top = Top;
        Band.ChainX = Edge + LabelMaxX + Band.Extent.Left;
        Band.ChainY = Top + LabelMaxY / 2 + G;
        C.PlaceChain(Band.ChainX, Band.ChainY, C.Block.Items[J].Chain);
        const int ChainEnd = Band.ChainY + Band.Extent.Height;
        Top = std::max(ChainEnd + Edge, Top + LabelMaxY + G);
    }
    JoinY = Top;
}

void TCaseShape::DrawHeader() {
    const int L = C.Block.LeftExtent;
    const int Mid = T + SH / 2; // level of the side corners
    if (T > 0) {
        C.Line(L, 0, L, T); // the way in, down to a diamond lowered for its labels
    }
    DrawDiamond(C.Canvas(), L, T, W, SH);
    const TSize Text = C.MeasureText(C.Block.Text);
    C.DrawTextBitmap(L - Text.Width / 2, Mid - Text.Height / 2);
    const TSize Yes = C.MeasureText(C.ServText("sm_yes"));
    C.DrawTextBitmap(L - W / 2 - Yes.Width, Mid - Yes.Height - S.pm_sertext);
    const TSize No = C.MeasureText(C.ServText("sm_no"));
    C.DrawTextBitmap(L + W / 2, Mid - No.Height - S.pm_sertext);

    // Yes leads into the first case, no straight to the join.
    C.Line(L - W / 2, Mid, LabelColumnX(), Mid);
    const int FirstStop = Bands.empty() ? JoinY : Bands.front().Top;
    C.DrawArrowLine(C.PenColor(), LabelColumnX(), Mid, LabelColumnX(), FirstStop);
    C.Line(L + W / 2, Mid, RightLaneX(), Mid);
    C.Line(RightLaneX(), Mid, RightLaneX(), JoinY);
}

void TCaseShape::DrawBands() {
    const int X = LabelColumnX();
    TCanvas& Canvas = C.Canvas();
    for (std::size_t J = 0; J < Bands.size(); ++J) {
        const TCaseBand& Band = Bands[J];
        const int Half = Band.LabelWidth / 2;
        const int Mid = Band.Top + LabelMaxY / 2;
        const int Bottom = Band.Top + LabelMaxY;
        DrawDiamond(Canvas, X, Band.Top, Band.LabelWidth, LabelMaxY);
        const TSize Label = C.MeasureText(C.Block.Items[J].Text);
        C.DrawTextBitmap(X - Label.Width / 2, Mid - Label.Height / 2);

        const int ChainEnd = Band.ChainY + Band.Extent.Height;
        C.Line(X + Half, Mid, Band.ChainX, Mid);
        C.DrawArrowLine(C.PenColor(), Band.ChainX, Mid, Band.ChainX, Band.ChainY);
        const bool Last = J + 1 == Bands.size();
        if (Last && Band.Extent.Height > 0) {
            // Straight down onto the join line, which runs just below: a line
            // out to the lane would double it.
            C.Line(Band.ChainX, ChainEnd, Band.ChainX, JoinY);
        } else {
            C.Line(Band.ChainX, ChainEnd, RightLaneX(), ChainEnd);
        }
        const int NextStop = Last ? JoinY : Bands[J + 1].Top;
        C.DrawArrowLine(C.PenColor(), X, Bottom, X, NextStop);
    }
}

void TCaseShape::DrawJoin() {
    // One pixel past the lane, so the corner with the lane is closed.
    C.Line(LabelColumnX(), JoinY, RightLaneX() + 1, JoinY);
}

// Branch records: where each chain hangs, its entry strip (the hit area for
// putting blocks at the head of the branch) and its case diamond.
void TCaseShape::SetBranchAreas() {
    const int HalfGap = G / 2;
    const int X = C.Block.AbsX;
    const int Y = C.Block.AbsY;
    for (std::size_t J = 0; J < Bands.size(); ++J) {
        const TCaseBand& Band = Bands[J];
        TPropertyItems& Item = C.Block.Items[J];
        const int Mid = Band.Top + LabelMaxY / 2;
        Item.ChainX = Band.ChainX;
        Item.ChainY = Band.ChainY;
        Item.Offset = Band.ChainX;
        Item.EntryRect = Rect(Band.ChainX - Band.Extent.Left, Band.ChainY - G,
                              Band.ChainX - Band.Extent.Left + Band.Extent.Width, Band.ChainY);
        Item.LabelRect =
            Rect(LabelColumnX() - Band.LabelWidth / 2, Band.Top,
                 LabelColumnX() - Band.LabelWidth / 2 + Band.LabelWidth, Band.Top + LabelMaxY);
        Item.Rect =
            Rect(X + Band.ChainX - HalfGap, Y + Mid, X + Band.ChainX + HalfGap, Y + Band.ChainY);
    }
}

} // namespace

void DrawCaseShape(TLayoutCall& Call) {
    TCaseShape(Call).Run();
}

} // namespace tvx
