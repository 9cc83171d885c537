#pragma once
// Small text and rectangle helpers of the chart engine and the code generator.
#include "platform/rect.h"
#include <QString>

namespace tvx {

// The rectangle moved inwards by M on every side. Nothing is normalised: a
// margin larger than half the rectangle gives Left > Right or Top > Bottom.
TRect ShrinkRect(const TRect& R, int M);

// S with every occurrence of Old replaced by New, scanning left to right;
// inserted text is not examined again. Exact comparison. An empty Old
// changes nothing.
QString ReplaceAll(const QString& S, const QString& Old, const QString& New);

// S with every run of two or more directly consecutive occurrences of Sub
// reduced to one. Exact comparison. An empty Sub changes nothing.
QString CollapseRepeats(const QString& S, const QString& Sub);

} // namespace tvx
