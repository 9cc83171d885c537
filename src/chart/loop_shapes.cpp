#include "chart/compound_shapes.h"

namespace tvx {

void DrawLoopShape(TLayoutCall&) {}

} // namespace tvx
