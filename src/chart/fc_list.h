#pragma once
// A chart document: the owning, ordered list of its blocks (item 0 is the
// root), the page-break counter, the chart and page pictures, the caption and
// the selection set, with the operations that change its structure.
//
// Invariants every operation keeps:
//  - each block's Index equals its position in the list, positions dense;
//  - item 0 is the one bkRoot block: Level 0, no Parent, no Next, one branch;
//  - blocks of the chain of a branch of B have Level B.Level + 1 and Parent B;
//  - every block but the root is in exactly one chain;
//  - PageBreakCount equals the number of bkPageBreak blocks;
//  - a block's Items has the branch count of its kind.
#include "chart/block_kind.h"
#include "chart/flow_block.h"
#include "chart/flow_block_collection.h"
#include "chart/mouse_info.h"
#include "platform/color.h"
#include "platform/exception.h"
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

class TBitmap;

// What the last layout of a chart read and what it left (chart_repaint.cpp):
// a chart that nothing touched since is not laid out again.
struct TLayoutMemo {
    std::vector<std::int64_t> Inputs; // blocks, links, kinds, settings
    std::vector<QString> Texts;       // block, branch and label texts, font names
    std::vector<std::int64_t> State;  // every value the layout writes
};

// Fault inside a chart document ("invalid index!").
class EChartError : public Exception {
public:
    using Exception::Exception;
};

class TFCList {
public:
    TFCList();
    ~TFCList();
    TFCList(const TFCList&) = delete;
    TFCList& operator=(const TFCList&) = delete;

    int Count() const { return int(List.size()); }
    const std::vector<TFlowBlock*>& GetList() const { return List; }
    // Block at Position; outside the list raises EArrayError.
    TFlowBlock* GetBlock(int Position) const;
    // The root; an empty document raises EArrayError.
    TFlowBlock* First() const;
    // Largest Level of all blocks, 0 for an empty document.
    int MaxLevel() const;

    // Creates a block of Kind and links it in:
    //  - bkRoot: into an empty document only, as item 0 (Target and MouseInfo unused);
    //  - Target the root: head of the root chain (MouseInfo unused);
    //  - MouseInfo->Branch -1: after Target in Target's chain;
    //  - MouseInfo->Branch j: head of Target's branch j, before the old head.
    // A page break aimed at a block deeper than level 1 is refused: nullptr and
    // nothing changed. Level is not read. A page break's text is its number.
    // A Target outside this document, a missing MouseInfo or a branch the
    // target does not have raise EChartError, a block deeper than the nesting
    // limit (nesting_limit.h) raises ENestingLimit; both change nothing.
    TFlowBlock* AddBlock(TFlowBlock* Target, TBlockKind Kind, int Level, const QString& Text,
                         const TMouseInfo* MouseInfo);

    // Removes Block and every block nested in its branches; the block that
    // followed it takes its place in its chain. The removed blocks are taken
    // out of Selection and released. The root, or a block that is not in this
    // document, raises EChartError and changes nothing.
    void DeleteBlock(TFlowBlock* Block);

    // Releases every block and empties the list. PageBreakCount, the pictures
    // and Caption stay; the released blocks leave Selection.
    void Clear();
    // Mark := 0 in every block.
    void ClearMarks();
    // Appends Block (owned from now on) and returns its position; Index is
    // not set.
    int Add(std::unique_ptr<TFlowBlock> Block);
    [[noreturn]] void Error(const QString& Message) const;

    // Layout and drawing (layout_call.h, draw_block.cpp). One call lays out and
    // draws Block into its own picture, its branch chains first; a call on the
    // root is one layout pass over the whole chart. nullptr does nothing.
    void DrawBlock(TFlowBlock* Block);
    // Renders Text (one line per CR LF, CR or LF) centred line by line into
    // Bitmap in the block font and sizes Bitmap to it; never narrower or lower
    // than the yes and no labels.
    void RenderText(TBitmap& Bitmap, const QString& Text) const;
    // Line on Block's picture from (X1, Y1) to (X2, Y2) with a filled arrowhead
    // whose tip is (X2, Y2).
    void DrawArrowLine(TFlowBlock& Block, TColor Color, int X1, int Y1, int X2, int Y2) const;

    int PageBreakCount = 0;
    TLayoutMemo LastLayout;
    std::unique_ptr<TBitmap> PageBitmap;  // the page cut most recently
    std::unique_ptr<TBitmap> ChartBitmap; // the whole chart
    QString Caption;
    TFlowBlockCollection Selection;

private:
    bool Holds(const TFlowBlock* Block) const;
    void Renumber();

    std::vector<TFlowBlock*> List; // owned
};

} // namespace tvx
