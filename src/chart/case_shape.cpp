#include "chart/compound_shapes.h"

namespace tvx {

void DrawCaseShape(TLayoutCall&) {}

} // namespace tvx
