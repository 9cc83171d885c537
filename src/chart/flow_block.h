#pragma once
// One block of a chart: its kind and texts, its place in the flow tree (level,
// parent, next block of its chain, one record per branch) and the layout values
// the drawing passes write into it.
#include "chart/block_kind.h"
#include "chart/block_text.h"
#include "platform/rect.h"
#include "support/persistent.h"
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

class TBitmap;
class TFlowBlock;

// One branch of a block.
struct TPropertyItems {
    int ChainX = 0; // where a multi-way selection places this branch's chain
    int ChainY = 0;
    QString CondName;            // "cond" + branch number for multi-way selections
    QString Text;                // branch label
    TRect EntryRect;             // multi-way selection only
    TRect LabelRect;             // multi-way selection only
    TFlowBlock* Chain = nullptr; // head of the branch's chain; nullptr = empty branch
    int Offset = 0;              // x of the branch's flow line inside the owner's Bitmap
    TRect Rect;                  // hit area of the branch, chart coordinates
};

class TFlowBlock : public TObject {
public:
    // A block with a picture of no size; every other field zero, empty or nullptr.
    TFlowBlock();
    ~TFlowBlock() override;
    TFlowBlock(const TFlowBlock&) = delete;
    TFlowBlock& operator=(const TFlowBlock&) = delete;

    QString ClassName() const override { return QStringLiteral("TFlowBlock"); }

    // Picture size.
    int GetWidth() const;
    void SetWidth(int Value);
    int GetHeight() const;
    void SetHeight(int Value);

    int ItemCount() const { return int(Items.size()); }
    int GetItemCount() const { return ItemCount(); }

    // Branch accessors. A branch number outside Items reads as an empty
    // branch and writes nothing, so a block whose branches do not match its
    // kind (a damaged file) never reads past its records.
    TFlowBlock* GetItemChain(int Branch) const;
    void SetItemChain(int Branch, TFlowBlock* Chain);
    int GetItemOffset(int Branch) const;
    void SetItemOffset(int Branch, int Offset);
    TRect GetItemRect(int Branch) const;
    void SetItemRect(int Branch, const TRect& Rect);
    QString GetItemText(int Branch) const;

    TRect GetInRect() const { return InRect; }
    TRect GetOutRect() const { return OutRect; }

    // Draws R on Bitmap with the canvas's current pen and brush.
    void DrawRectangle(const TRect& R);

    std::unique_ptr<TBitmap> Bitmap; // the block's own picture, owned
    int LeftExtent = 0;              // x of the flow line inside Bitmap
    int RightExtent = 0;             // width right of the flow line
    int RelX = 0;                    // Bitmap position in the parent's picture
    int RelY = 0;
    int AbsX = 0; // Bitmap position in the chart picture
    int AbsY = 0;
    TBlockKind Kind = bkProcess;
    TBlockText Text;
    QString Comment;
    int Level = 0;
    int ExitY = 0;
    TRect InRect;                 // hit area of the block itself
    TRect OutRect;                // hit area of the node after the block
    TFlowBlock* Parent = nullptr; // block whose branch holds this block's chain
    TFlowBlock* Next = nullptr;   // next block of the same chain
    int Index = 0;                // position in the chart's list
    std::uint8_t NoEndOp = 0;     // owned by the code generator
    TRect TextRect;
    int PageY = 0;         // page breaks: y at which the chart is cut
    TRect ShapeRect;       // figure rectangle inside Bitmap
    std::uint8_t Mark = 0; // 1 = marked by a click in the chart view
    std::vector<TPropertyItems> Items;

private:
    const TPropertyItems* Item(int Branch) const;
    TPropertyItems* Item(int Branch);
};

} // namespace tvx
