#pragma once
// Centred one-line text, the way block texts, yes/no labels and page numbers
// are put into their boxes.
#include "platform/canvas.h"
#include "platform/rect.h"
#include <QString>

namespace tvx {

// Draws Text as one line centred horizontally and vertically in a copy of Rect
// and clipped to it, in the canvas's current font and text colour; line breaks
// do not start new lines. A solid brush fills the text's box behind it, as an
// opaque text background; nothing else is drawn.
void DrawWideText(TCanvas& Canvas, const TRect& Rect, const QString& Text);

} // namespace tvx
