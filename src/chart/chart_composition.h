#pragma once
// The chart picture as a chart window keeps it: composed a band of rows at a
// time, when the window first shows a part of it, from the block pictures
// the last layout left. A long chart is mostly out of sight; what is never
// shown is composed only when the whole picture is needed (pages, pictures
// on disk).
#include "chart/layout_session.h"
#include "platform/rect.h"
#include <cstdint>
#include <vector>

namespace tvx {

class TBitmap;
class TFCList;

class TChartComposition {
public:
    static constexpr int kBandHeight = 256;

    // Brings the bands of Picture that Area touches up to date with Chart as
    // it stands: Picture takes the size of the root's picture, and each such
    // band is composed again when a part drawn into it changed, moved, came
    // or went since it was composed (or when Picture was drawn on by someone
    // else). The block pictures are read only here, so a chart changed since
    // its last layout is shown as it stands and never read past its blocks.
    void Compose(const TFCList& Chart, TBitmap& Picture, const TRect& Area);

    // Writes each block's number (its list position) left of the top of its
    // figure, over the composed chart, in the picture's canvas font and brush.
    bool BlockNumbers = false;

private:
    std::vector<TComposedPart> FParts; // as of the last call, numbers last
    std::vector<bool> FComposed;       // bands that hold the composition of FParts
    const TBitmap* FPicture = nullptr;
    std::uint64_t FStamp = 0;
};

} // namespace tvx
