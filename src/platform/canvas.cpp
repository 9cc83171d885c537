#include "platform/canvas.h"
#include "platform/bitmap.h"

namespace tvx {

TRect TCanvas::ClipRect() const {
    return TRect{0, 0, FOwner.Width(), FOwner.Height()};
}
void TCanvas::MoveTo(int X, int Y) {
    FPenPos = TPoint{X, Y};
}
void TCanvas::LineTo(int X, int Y) {
    FPenPos = TPoint{X, Y};
}
void TCanvas::Rectangle(int, int, int, int) {}
void TCanvas::FillRect(const TRect&) {}
void TCanvas::Ellipse(int, int, int, int) {}
void TCanvas::RoundRect(int, int, int, int, int, int) {}
void TCanvas::Arc(int, int, int, int, int, int, int, int) {}
void TCanvas::Polygon(std::span<const TPoint>) {}
void TCanvas::FloodFill(int, int, TColor, TFillStyle) {}
TColor TCanvas::Pixel(int, int) const {
    return clInvalidPixel;
}
void TCanvas::SetPixel(int, int, TColor) {}
void TCanvas::Draw(int, int, const TBitmap&) {}
void TCanvas::CopyRect(const TRect&, const TBitmap&, const TRect&) {}
void TCanvas::StretchDraw(const TRect&, const TBitmap&) {}
TSize TCanvas::TextExtent(const QString& Text) const {
    return CurrentTextMetrics().TextExtent(Font, Text);
}
void TCanvas::TextOut(int, int, const QString&) {}
void TCanvas::DrawCenteredText(const TRect&, const QString&) {}

} // namespace tvx
