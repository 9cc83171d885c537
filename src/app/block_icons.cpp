#include "app/block_icons.h"

#include "platform/bitmap.h"

#include <QPixmap>

namespace tvx {
namespace {

constexpr int Size = 24;
constexpr TColor Background = clFuchsia; // becomes transparent
constexpr TColor Outline = 0x603010;     // dark blue
constexpr TColor Fill = 0xFFF0E4;        // pale blue
constexpr TColor Flow = 0x404040;

void Line(TCanvas& c, int x1, int y1, int x2, int y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
    c.SetPixel(x2, y2, c.Pen.Color); // the canvas leaves the end pixel out
}

void ArrowDown(TCanvas& c, int x, int y) {
    c.Brush.Color = c.Pen.Color;
    c.Polygon({{x - 2, y - 2}, {x + 2, y - 2}, {x, y}});
}

void Shape(TCanvas& c, std::initializer_list<TPoint> points) {
    c.Pen.Color = Outline;
    c.Brush.Color = Fill;
    c.Polygon(points);
}

void Box(TCanvas& c, int x1, int y1, int x2, int y2) {
    c.Pen.Color = Outline;
    c.Brush.Color = Fill;
    c.Rectangle(x1, y1, x2, y2);
}

void Diamond(TCanvas& c, int cx, int top, int halfW, int halfH) {
    Shape(c,
          {{cx, top}, {cx + halfW, top + halfH}, {cx, top + 2 * halfH}, {cx - halfW, top + halfH}});
}

void DrawKind(TCanvas& c, TBlockKind Kind) {
    c.Pen.Color = Flow;
    switch (Kind) {
    case bkProcess:
        Line(c, 12, 1, 12, 22);
        Box(c, 3, 6, 22, 18);
        break;
    case bkCall:
        Line(c, 12, 1, 12, 22);
        Box(c, 2, 6, 23, 18);
        Box(c, 5, 6, 20, 18);
        break;
    case bkInput:
        Line(c, 12, 1, 12, 22);
        Shape(c, {{7, 6}, {22, 6}, {17, 17}, {2, 17}});
        break;
    case bkOutput:
        Line(c, 12, 1, 12, 22);
        c.Pen.Color = Outline;
        c.Brush.Color = Fill;
        c.Ellipse(11, 6, 23, 18);
        Shape(c, {{18, 6}, {6, 6}, {1, 12}, {6, 17}, {18, 17}});
        break;
    case bkIfElse:
        Line(c, 12, 1, 12, 4);
        Line(c, 3, 11, 3, 20);
        Line(c, 21, 11, 21, 20);
        Line(c, 3, 20, 21, 20);
        Line(c, 12, 20, 12, 22);
        Diamond(c, 12, 4, 9, 7);
        break;
    case bkCase:
        Line(c, 12, 1, 12, 4);
        Line(c, 3, 14, 3, 21);
        Line(c, 12, 14, 12, 21);
        Line(c, 21, 14, 21, 21);
        Shape(c, {{6, 4}, {18, 4}, {22, 14}, {2, 14}});
        break;
    case bkWhile:
        Line(c, 12, 0, 12, 23);
        Line(c, 2, 2, 12, 2);
        Line(c, 2, 2, 2, 21);
        Line(c, 2, 21, 12, 21);
        Diamond(c, 12, 3, 7, 5);
        Box(c, 7, 15, 18, 20);
        break;
    case bkRepeat:
        Line(c, 12, 0, 12, 23);
        Line(c, 2, 20, 5, 20);
        Line(c, 2, 2, 2, 20);
        Line(c, 2, 2, 12, 2);
        Box(c, 7, 4, 18, 9);
        Diamond(c, 12, 11, 7, 5);
        break;
    case bkFor:
        Line(c, 12, 0, 12, 23);
        Line(c, 1, 7, 3, 7);
        Line(c, 1, 7, 1, 21);
        Line(c, 1, 21, 12, 21);
        Shape(c, {{7, 3}, {17, 3}, {22, 7}, {17, 11}, {7, 11}, {2, 7}});
        Box(c, 7, 14, 18, 19);
        break;
    case bkPageBreak:
        Line(c, 12, 0, 12, 23);
        c.Pen.Color = Outline;
        c.Brush.Color = Fill;
        c.Ellipse(6, 1, 18, 11);
        c.Ellipse(6, 13, 18, 23);
        c.Pen.Color = Flow;
        for (int x = 0; x < Size; x += 3) {
            c.SetPixel(x, 12, Flow);
        }
        break;
    default:
        Box(c, 3, 6, 22, 18);
        break;
    }
    if (Kind == bkProcess || Kind == bkCall || Kind == bkInput || Kind == bkOutput) {
        c.Pen.Color = Flow;
        ArrowDown(c, 12, 5);
    }
}

} // namespace

QIcon BlockKindIcon(TBlockKind Kind) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.Canvas().Brush.Color = Background;
    bitmap.SetSize(Size, Size);
    DrawKind(bitmap.Canvas(), Kind);
    QImage image = bitmap.Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(Background).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) {
                line[x] = 0;
            }
        }
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace tvx
