#pragma once
// How deep a chart may nest.
//
// A block's nesting level is its Level field: the root is level 0, the blocks
// of the root chain level 1, and the blocks in a branch of a level-k block
// level k + 1. A chart holds blocks up to level kMaxNestingLevel and none
// deeper, so kMaxNestingLevel loops nested in one another, each with its body
// at the next level, fit exactly when the innermost body is empty.
//
// Every road by which a chart enters or grows keeps to it and refuses, with
// NestingLimitMessage(), a chart that would hold a deeper block, leaving the
// document as it was: the chart and legacy file readers, paste, the import
// converters and adding a block (TFCList::AddBlock raises ENestingLimit).
// Changing a block's kind keeps its branch count, so it never changes a level.
//
// The bound is there for the layout, whose time and memory grow with the
// depth; everything else walks a chart without stack per level. Code and
// tests take the number from here only.
#include "platform/exception.h"
#include <QString>

namespace tvx {

inline constexpr int kMaxNestingLevel = 256;

// True when a block at Level may be in a chart.
inline constexpr bool WithinNestingLimit(int Level) {
    return Level <= kMaxNestingLevel;
}

// The interface text that refuses a chart nested too deeply, naming the limit.
QString NestingLimitMessage();

// A chart would nest deeper than kMaxNestingLevel; the message is
// NestingLimitMessage().
class ENestingLimit : public Exception {
public:
    ENestingLimit();
};

} // namespace tvx
