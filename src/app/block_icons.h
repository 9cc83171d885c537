#pragma once
// Pictures of the block-type buttons: small drawings of each block's figure,
// made with the same canvas the chart is drawn with.
#include "chart/block_kind.h"
#include <QIcon>

namespace tvx {

QIcon BlockKindIcon(TBlockKind Kind);

} // namespace tvx
