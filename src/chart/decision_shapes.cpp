// The condition blocks: the diamond with the condition text, the yes branch
// hanging left of it and the no branch right of it, both ending on one join
// line. The one-branch variants keep the same header and replace the missing
// branch by a straight path.
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "chart/slant_figures.h"
#include <algorithm>

namespace tvx {
namespace {

class TDecisionShape {
public:
    explicit TDecisionShape(TLayoutCall& Call)
        : C(Call), S(Call.Settings()), YesOnly(Call.Block.Kind == bkIfYesLeft),
          NoOnly(Call.Block.Kind == bkIfNoRight) {}

    void Run() {
        LayOut();
        DrawHeader();
        if (YesOnly) {
            DrawYesOnlyPaths();
        } else {
            DrawBothPaths();
        }
    }

private:
    void LayOut();
    void DrawHeader();
    void DrawBothPaths();
    void DrawYesOnlyPaths();
    void DrawBranchEntry(int Branch, int Offset, const TChainExtent& Extent);
    int JoinY() const { return C.BmpH() - S.pm_bcebce; }

    TLayoutCall& C;
    const TMainSettings& S;
    const bool YesOnly;                   // kind 11: the no path runs straight down
    const bool NoOnly;                    // kind 15: the yes path runs down the left edge
    TSize Text;                           // picture of the condition text
    TSize Yes;                            // picture of the yes label
    int W = 0, H = 0;                     // the diamond
    int T = 0;                            // room above the diamond for the labels on its corners
    int Mid() const { return T + H / 2; } // level of the side corners
    int Bottom() const { return T + H; }  // the bottom corner
    int BelowLowerRightEdge(int X) const;
    int L = 0;          // the block's flow line
    int O0 = 0, O1 = 0; // flow lines of the yes and the no branch
    TChainExtent E0, E1;
};

void TDecisionShape::LayOut() {
    const int G = S.pm_bcebce;
    const int Margin = NoOnly ? 0 : SideMargin(S);
    Yes = C.MeasureText(C.ServText("sm_yes"));
    const int NoHeight = C.MeasureText(C.ServText("sm_no")).Height;
    Text = C.MeasureText(C.Block.Text);
    const TFigureSize Diamond = DiamondSize(S, Text.Width, Text.Height);
    W = Diamond.Width;
    H = Diamond.Height;
    T = LabelHeadroom(S, std::max(Yes.Height, NoHeight), H);
    C.Block.ExitY = Bottom();
    C.ShapeWidth = W;
    C.ShapeHeight = Bottom();

    TFlowBlock* YesHead = C.Block.GetItemChain(0);
    E0 = C.LayoutChain(YesHead);
    if (NoOnly) {
        // The yes path runs on the picture's left edge. Blocks put into that
        // branch still need their room left of the path, or they would hang
        // outside the picture.
        E0.Left = YesHead == nullptr ? 0 : E0.Left;
    } else {
        E0.Left = std::max(E0.Left, Margin) + Margin;
    }
    O0 = E0.Left;
    E0.Right = std::max(E0.Right + G / 2, W / 2 + Yes.Width);
    L = E0.Left + E0.Right;

    TFlowBlock* NoHead = YesOnly ? nullptr : C.Block.GetItemChain(1);
    if (!YesOnly) {
        E1 = C.LayoutChain(NoHead);
        E1.Right = std::max(E1.Right, Margin) + Margin;
    }
    O1 = L + std::max(E1.Left + G / 2, W / 2 + Yes.Width);

    const int Width = O1 + E1.Right;
    int Height = std::max(E0.Height, E1.Height) + G + Bottom();
    C.Block.LeftExtent = L;
    C.Block.RightExtent = Width - L;
    C.Block.SetItemOffset(0, O0);
    if (!YesOnly) {
        C.Block.SetItemOffset(1, O1);
    }

    // Both chains end on the join line; the shorter one starts lower.
    C.PlaceChain(O0, Height - G - E0.Height, YesHead);
    if (!YesOnly) {
        C.PlaceChain(O1, Height - G - E1.Height, NoHead);
    }
    if (E0.Height == 0 && E1.Height == 0) {
        Height += G / 2; // room for the entry arrows of two empty branches
    }
    C.SetBitmapSize(Width, Height);
}

void TDecisionShape::DrawHeader() {
    if (T > 0) {
        C.Line(L, 0, L, T); // the way in, down to a diamond lowered for its labels
    }
    DrawDiamond(C.Canvas(), L, T, W, H);
    // The condition text is still the picture rendered last.
    C.DrawTextBitmap(L - Text.Width / 2, Mid() - Text.Height / 2);

    const TSize YesLabel = C.MeasureText(C.ServText("sm_yes"));
    if (NoOnly) {
        // Beside the yes path, its lower edge level with the bottom corner;
        // a flat diamond leaves too little height for that, and the label
        // goes below the line out of the left corner instead.
        C.DrawTextBitmap(O0 + S.pm_sertext,
                         std::max(Bottom() - YesLabel.Height, Mid() + S.pm_sertext));
    } else {
        C.DrawTextBitmap(L - W / 2 - YesLabel.Width, Mid() - YesLabel.Height - S.pm_sertext);
    }
    const TSize NoLabel = C.MeasureText(C.ServText("sm_no"));
    if (YesOnly) {
        const int X = L + S.pm_bcebce;
        C.DrawTextBitmap(X,
                         std::max(Bottom() - NoLabel.Height + S.pm_bcebce, BelowLowerRightEdge(X)));
    } else {
        // Right of the right corner, above the no line. (Left of the corner
        // and below its level the label would cover the condition text.)
        C.DrawTextBitmap(L + W / 2, Mid() - NoLabel.Height - S.pm_sertext);
    }
}

// The first row below the diamond's lower right edge at X (right of the
// flow line): a label whose top is there leaves the outline whole.
int TDecisionShape::BelowLowerRightEdge(int X) const {
    const int Half = W / 2;
    if (Half <= 0) {
        return Bottom();
    }
    const int Across = std::clamp(X - L, 0, Half);
    return Bottom() - Across * (H / 2) / Half + 1;
}

void TDecisionShape::DrawBothPaths() {
    C.Line(O0, Mid(), L - W / 2, Mid());
    C.Line(O1, Mid(), L + W / 2, Mid());
    C.Line(O0, JoinY(), O1, JoinY());
    C.ConnectCompoundBlock(L);
    DrawBranchEntry(0, O0, E0);
    DrawBranchEntry(1, O1, E1);
}

void TDecisionShape::DrawYesOnlyPaths() {
    C.Line(O0, Mid(), L - W / 2, Mid());
    C.DrawArrowLine(C.PenColor(), O0, JoinY(), L, JoinY());
    C.Line(L, JoinY(), L, C.BmpH());
    C.ConnectCompoundBlock(L);
    C.DrawArrowLine(C.PenColor(), L, Bottom(), L, C.BmpH());
    DrawBranchEntry(0, O0, E0);
    // The no branch is not drawn, so nothing may be inserted there.
    C.Block.SetItemRect(1, TRect{});
}

// Hit strip of a branch around its flow line, from a quarter of the diamond
// down to the top of its chain, and the arrow down that line.
void TDecisionShape::DrawBranchEntry(int Branch, int Offset, const TChainExtent& Extent) {
    const int HalfGap = S.pm_bcebce / 2;
    const int ChainTop = JoinY() - Extent.Height;
    const int X = C.Block.AbsX;
    const int Y = C.Block.AbsY;
    C.Block.SetItemRect(
        Branch, Rect(X + Offset - HalfGap, Y + T + H / 4, X + Offset + HalfGap, Y + ChainTop));
    C.DrawArrowLine(C.PenColor(), Offset, Mid(), Offset, ChainTop);
}

} // namespace

void DrawDecisionShape(TLayoutCall& Call) {
    TDecisionShape(Call).Run();
}

} // namespace tvx
