#pragma once
// The figures of the blocks without branches, the root's start and finish
// terminals, and the stand-in figure of a damaged compound block. Each runs
// inside one call of TFCList::DrawBlock.

namespace tvx {

class TLayoutCall;

void DrawProcessShape(TLayoutCall& Call);   // kind 0: rectangle
void DrawCallShape(TLayoutCall& Call);      // kind 2: rectangle with inner sides
void DrawOutputShape(TLayoutCall& Call);    // kind 8: pointed left end, arc on the right
void DrawInputShape(TLayoutCall& Call);     // kind 9: parallelogram
void DrawPageBreakShape(TLayoutCall& Call); // kind 17: two numbered circles

// The root's terminals on its already sized picture: the start terminal at the
// top, the finish terminal at the bottom, both centred on the flow line Off.
void DrawRootTerminals(TLayoutCall& Call, int Off);

// A block of a kind with branches whose branch records do not match its kind
// (a hand-edited file): its header figure and text alone, closed like a block
// without branches; its branches are neither laid out nor read.
void DrawBranchlessShape(TLayoutCall& Call);

} // namespace tvx
