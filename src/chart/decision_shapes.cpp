#include "chart/compound_shapes.h"

namespace tvx {

void DrawDecisionShape(TLayoutCall&) {}

} // namespace tvx
