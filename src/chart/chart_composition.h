#pragma once
// A chart picture composed from the block pictures the last layout left, a
// band of rows at a time, and again only where a part changed. A chart
// window composes the bands it shows: a long chart is mostly out of sight,
// and what is never shown is composed only when the whole picture is needed
// (pages, pictures on disk). The repaint keeps one for each picture it
// composes whole.
#include "platform/rect.h"
#include <cstdint>
#include <limits>
#include <vector>

namespace tvx {

class TBitmap;
class TFCList;

// One picture drawn into the chart picture at its absolute position; a part
// without a picture stands for something drawn over the composition.
struct TComposedPart {
    const TBitmap* Picture = nullptr;
    std::uint64_t Stamp = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TComposedPart&) const = default;
};

class TChartComposition {
public:
    static constexpr int kBandHeight = 256;
    // An area that holds every picture.
    static constexpr TRect kEverything{0, 0, std::numeric_limits<int>::max(),
                                       std::numeric_limits<int>::max()};

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
