#include "support/wide_text.h"

namespace tvx {

void DrawWideText(TCanvas& Canvas, const TRect& Rect, const QString& Text) {
    Canvas.DrawCenteredText(Rect, Text);
}

} // namespace tvx
