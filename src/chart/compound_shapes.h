#pragma once
// The shapes of the blocks that own branches: the multi-way selection, the
// three drawn condition blocks and the three loops. Each one lays out its
// branch chains, sizes and draws the block's picture around them, places the
// chains and records the hit areas, inside one call of TFCList::DrawBlock.

namespace tvx {

class TLayoutCall;

void DrawCaseShape(TLayoutCall& Call);     // kind 1
void DrawDecisionShape(TLayoutCall& Call); // kinds 3, 11, 15
void DrawLoopShape(TLayoutCall& Call);     // kinds 4, 5, 6

} // namespace tvx
