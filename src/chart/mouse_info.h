#pragma once
// An insertion or hit target: a block of a chart and one of its places.
#include "chart/block_kind.h"
#include <cstdint>

namespace tvx {

struct TMouseInfo {
    explicit TMouseInfo(int Branch = -1) : Branch(Branch) {}

    int BlockIndex = 0; // list position of the target block, -1 = none
    int Branch = -1;    // -1 = after the block in its own chain; j = head of branch j
    THitKind HitKind = hkBranch;
};

} // namespace tvx
