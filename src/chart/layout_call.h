#pragma once
// One call of TFCList::DrawBlock: the block being laid out, the chart it
// belongs to and the quantities that live for this call only (the size of the
// block's own figure and a scratch picture that holds the text rendered
// last), with the steps every shape is built from: laying out and placing a
// branch chain, closing a simple or a compound block, the diamond size around
// a text, text rendering and arrows.
//
// Coordinates are pixels of the block's own picture unless a comment says
// chart coordinates. Settings are read from MainSettings at the moment of use.
#include "chart/fc_list.h"
#include "chart/flow_block.h"
#include "chart/layout_math.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/text_metrics.h"
#include <QString>

namespace tvx {

class TMainSettings;

// Room one laid-out chain needs left and right of its flow line, their sum,
// and the sum of the heights of its blocks' pictures.
struct TChainExtent {
    int Left = 0;
    int Right = 0;
    int Width = 0;
    int Height = 0;
};

// Size of a diamond around a text (see TLayoutCall::SlantGeometry).
struct TSlantSize {
    int SlantWidth = 0;
    int SlantHeight = 0;
};

// Largest block or chart picture the layout sizes, in pixels. Pictures this
// large keep pixels only in the tiles drawn on (platform/bitmap.h), so the
// area costs no memory of itself; the bound only keeps the tables of those
// tiles small. No chart within the nesting limit comes near it (the tallest
// benchmark chart is 839 x 144,600); a figure that asks for more, only
// possible with absurd settings, is cut to this area by lowering its height.
inline constexpr long long kMaxPicturePixels = TBitmap::kMaxArea;

class TLayoutCall {
public:
    // The settings object must exist (DrawBlock checks before it makes a call).
    TLayoutCall(TFCList& Chart, TFlowBlock& Block);
    TLayoutCall(const TLayoutCall&) = delete;
    TLayoutCall& operator=(const TLayoutCall&) = delete;

    TFCList& Chart;
    TFlowBlock& Block;
    int ShapeWidth = 0; // the block's own figure (header figure of a compound)
    int ShapeHeight = 0;
    TBitmap TextBitmap; // holds the text rendered last

    // --- frame steps ---

    // Lays out every block of the chain from Head (nullptr = empty branch) and
    // returns its extent; an empty chain gives (pm_shakeX, pm_shakeY, their
    // sum, 0).
    TChainExtent LayoutChain(TFlowBlock* Head);
    // Hangs the chain from Head on flow line X, its first block's top at Y,
    // the blocks following each other without gaps; sets RelX/RelY and
    // AbsX/AbsY.
    void PlaceChain(int X, int Y, TFlowBlock* Head);
    // Closing step of kinds 0, 2, 9, 17: arrow below the figure, extents X,
    // exit y, absolute position, InRect and OutRect.
    void ConnectSimpleBlock(int X);
    // Closing step of the compound kinds and of the output block: arrow in the
    // bottom pm_bcebce band, absolute position, InRect over the header figure
    // (ShapeWidth x ShapeHeight around LeftExtent), OutRect over the bottom
    // band. LeftExtent must be set before.
    void ConnectCompoundBlock(int X);
    // Diamond around Text whose sides rise at pm_ifangle:
    // SlantWidth = 2 Floor(h / (2 tan a) + v / cos a + w / 2),
    // SlantHeight = Floor(tan a * ReferenceWidth). Renders Text into TextBitmap.
    TSlantSize SlantGeometry(const QString& Text, int ReferenceWidth);

    // --- text ---

    // Renders Text into TextBitmap and returns its size.
    TSize MeasureText(const QString& Text);
    // Renders Text into Bitmap and sizes Bitmap to it (see TFCList::RenderText).
    void RenderText(TBitmap& Bitmap, const QString& Text);
    // Copies TextBitmap onto the block's picture with its top left at (X, Y).
    void DrawTextBitmap(int X, int Y);
    // A text of the Serv pool ("sm_yes", "sm_no", "sm_start", ...).
    QString ServText(const char* Id) const;

    // --- drawing on the block's picture ---

    TCanvas& Canvas() { return Block.Bitmap->Canvas(); }
    // The colour chosen for this block's lines (cl_sel or cl_def).
    TColor PenColor() const { return Block.Bitmap->Canvas().Pen.Color; }
    // Plain line from (X1, Y1) to (X2, Y2) in the pen colour, end pixel not set.
    void Line(int X1, int Y1, int X2, int Y2);
    // Line with a filled arrowhead whose tip is (X2, Y2), on the block's picture.
    void DrawArrowLine(TColor Color, int X1, int Y1, int X2, int Y2);

    // --- the block's picture ---

    int BmpW() const { return Block.Bitmap->Width(); }
    int BmpH() const { return Block.Bitmap->Height(); }
    // Sizes the block's picture: each side kept inside the layout limit, the
    // area cut to kMaxPicturePixels. New area is white.
    void SetBitmapSize(int Width, int Height);

    const TMainSettings& Settings() const;

private:
    TMainSettings& FSettings;
};

// Sizes Bitmap as TLayoutCall::SetBitmapSize does (sides inside the layout
// limit, capped area).
void SetPictureSize(TBitmap& Bitmap, int Width, int Height);

} // namespace tvx
