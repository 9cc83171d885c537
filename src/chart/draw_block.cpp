// One layout-and-draw call: the frame shared by every block kind, the root's
// path and the choice of figure by kind.
#include "chart/compound_shapes.h"
#include "chart/fc_list.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "chart/simple_shapes.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include <algorithm>

namespace tvx {

namespace {

// Nesting depth of the calls running now. Branch links that lead back to an
// ancestor (a damaged document) would recurse without end; no real chart
// nests deeper than it has blocks.
int CallDepth = 0;

class TDepthGuard {
public:
    TDepthGuard() { ++CallDepth; }
    ~TDepthGuard() { --CallDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;
};

bool IsCompound(TBlockKind Kind) {
    switch (Kind) {
    case bkCase:
    case bkIfElse:
    case bkIfYesLeft:
    case bkIfNoRight:
    case bkWhile:
    case bkRepeat:
    case bkFor:
        return true;
    default:
        return false;
    }
}

// The root: start terminal, the root chain below it, finish terminal.
void DrawRootBlock(TLayoutCall& Call) {
    const TMainSettings& S = Call.Settings();
    TFlowBlock& Root = Call.Block;
    const int B = S.pm_bcetext;
    const int G = S.pm_bcebce;
    Root.RelX = Root.RelY = Root.AbsX = Root.AbsY = 0;

    TSize Start = Call.MeasureText(Call.ServText("sm_start"));
    const int StartH = Start.Height + 2 * B;
    Root.ExitY = StartH + G;
    TSize Finish = Call.MeasureText(Call.ServText("sm_finish"));
    const int TerminalWidth =
        std::max(Start.Width + Start.Height + 2 * B, Finish.Width + Finish.Height + 2 * B);

    TFlowBlock* Head = Root.GetItemChain(0);
    TChainExtent E = Call.LayoutChain(Head);
    E.Left = std::max(E.Left, TerminalWidth / 2);
    E.Right = std::max(E.Right, TerminalWidth / 2);
    Root.SetItemOffset(0, E.Left); // the chart's main flow line
    Call.PlaceChain(E.Left, Root.ExitY, Head);
    // The finish text's height counts for both terminals.
    Call.SetBitmapSize(E.Left + E.Right, 2 * Finish.Height + E.Height + 4 * B + G);

    Call.Canvas().Pen.Color = S.cl_def; // never the selection colour
    DrawRootTerminals(Call, E.Left);
    Call.DrawArrowLine(Call.PenColor(), E.Left, StartH, E.Left, StartH + G);

    Root.InRect = Rect(0, 0, Call.BmpW(), StartH);
    Root.OutRect = Rect(0, StartH, Call.BmpW(), StartH + G);
}

void DrawShape(TLayoutCall& Call) {
    const TBlockKind Kind = Call.Block.Kind;
    if (IsCompound(Kind) && Call.Block.ItemCount() != BranchCount(Kind)) {
        DrawBranchlessShape(Call);
        return;
    }
    switch (Kind) {
    case bkProcess:
        DrawProcessShape(Call);
        break;
    case bkCase:
        DrawCaseShape(Call);
        break;
    case bkCall:
        DrawCallShape(Call);
        break;
    case bkIfElse:
    case bkIfYesLeft:
    case bkIfNoRight:
        DrawDecisionShape(Call);
        break;
    case bkWhile:
    case bkRepeat:
    case bkFor:
        DrawLoopShape(Call);
        break;
    case bkOutput:
        DrawOutputShape(Call);
        break;
    case bkInput:
        DrawInputShape(Call);
        break;
    case bkPageBreak:
        DrawPageBreakShape(Call);
        break;
    default:
        // Kinds without a figure keep their size, extents and positions;
        // their picture is only cleared.
        break;
    }
}

} // namespace

void TFCList::DrawBlock(TFlowBlock* Block) {
    if (Block == nullptr || MainSettings == nullptr || CallDepth > Count()) {
        return;
    }
    TDepthGuard Depth;
    TLayoutCall Call(*this, *Block);
    // Whatever size the figure then gives the picture, it starts white.
    TBlockPictureCall Picture(*Block->Bitmap);
    TCanvas& Canvas = Block->Bitmap->Canvas();
    Canvas.Pen.Color = Selection.Contains(Block) ? MainSettings->cl_sel : MainSettings->cl_def;
    // A picture there is no memory for ends the pass: the caller reports it
    // (a block left with its old picture would show a chart that is not so).
    if (Block->Parent == nullptr) {
        DrawRootBlock(Call);
    } else {
        DrawShape(Call);
    }
    Picture.Finish();
    // The picture of a compound block runs down the height of what it holds:
    // its lines, tile after equal tile, are kept once.
    Block->Bitmap->ShareEqualTiles();
}

} // namespace tvx
