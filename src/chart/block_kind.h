#pragma once
// Block kinds of a chart and what the pointer can be over.
#include <cstdint>

namespace tvx {

// The kind of a block, one byte. A block read from a file may carry any byte
// value; only the codes below are ever created.
enum TBlockKind : std::uint8_t {
    bkProcess = 0,
    bkCase = 1, // multi-way selection
    bkCall = 2,
    bkIfElse = 3, // branch 0 yes (left), branch 1 no (right)
    bkWhile = 4,  // branch 0 is the body
    bkRepeat = 5,
    bkFor = 6,
    bkRoot = 7, // always item 0 of a chart
    bkOutput = 8,
    bkInput = 9,
    bkLegacyOutput = 10, // older output kind, never created by the windows
    bkIfYesLeft = 11,    // if with the yes branch only
    bkIfVariant12 = 12,
    bkIfVariant13 = 13,
    bkIfVariant14 = 14,
    bkIfNoRight = 15, // if with the no branch only
    bkIfVariant16 = 16,
    bkPageBreak = 17,
};

constexpr int BlockKindCount = 18;

// Number of branches a new block of the kind gets.
constexpr int BranchCount(TBlockKind Kind) {
    switch (Kind) {
    case bkCase:
        return 3;
    case bkIfElse:
    case bkIfYesLeft:
    case bkIfVariant12:
    case bkIfVariant13:
    case bkIfVariant14:
    case bkIfNoRight:
    case bkIfVariant16:
        return 2;
    case bkWhile:
    case bkRepeat:
    case bkFor:
    case bkRoot:
        return 1;
    default:
        return 0;
    }
}

enum THitKind : std::uint8_t {
    hkBranch = 0,  // inside a branch's Rect, or nothing hit
    hkElement = 1, // inside a block's InRect
    hkNode = 2,    // inside a block's OutRect
};

} // namespace tvx
