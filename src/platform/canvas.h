#pragma once
// Drawing on a TBitmap with the rules the chart layout is built on:
// - colours are TColor values ($00BBGGRR);
// - lines are one pixel wide, never antialiased, and LineTo does not set the end
//   pixel (the next line starting there does);
// - rectangles, rounded rectangles and ellipses cover Left..Right-1 and
//   Top..Bottom-1: the outline is drawn with the pen on the outermost pixels and
//   the inside is filled with the brush (nothing when the brush is clear);
// - polygons are filled with the brush and outlined with the pen, closed;
// - flood fill spreads over 4-connected pixels;
// - text is measured and drawn through the installed TTextMetrics.
#include "platform/color.h"
#include "platform/font.h"
#include "platform/rect.h"
#include "platform/text_metrics.h"
#include <QImage>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tvx {

class TBitmap;

enum TBrushStyle : std::uint8_t { bsSolid, bsClear };
enum TFillStyle : std::uint8_t {
    fsSurface, // fill the area of the given colour
    fsBorder,  // fill the area bounded by the given colour
};

struct TPen {
    TColor Color = clBlack;
    bool operator==(const TPen&) const = default;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    bool operator==(const TBrush&) const = default;
};

// One call that changes a picture, as its canvas received it, with the pen,
// brush and font it drew with: enough to compare it with another call or to
// carry it out later (TCanvas::Perform).
struct TDrawOp {
    enum TKind : std::uint8_t {
        dkLine,      // P: from x, y, to x, y
        dkFillRect,  // P: rectangle
        dkRoundRect, // P: rectangle, corner width, height
        dkArc,       // P: the eight arc arguments
        dkPolygon,   // Points
        dkFloodFill, // P: seed x, y; Color, FillStyle
        dkPixel,     // P: x, y; Color
        dkCopy,      // P: destination, source rectangle; Image (none when SelfCopy)
        dkText,      // P: cell, clip; Text, Font
        dkResize,    // P: width, height (new area gets the brush)
        dkFormat,    // P: pixel format
        dkAssign,    // Image, P: pixel format
    };
    TKind Kind = dkLine;
    int P[8] = {};
    TColor PenColor = 0;
    TBrush Brush;
    TColor Color = 0;
    TFillStyle FillStyle = fsBorder;
    bool SelfCopy = false;
    // Only the calls that draw text, copy pictures or draw polygons carry
    // these, apart from the rest: a pass over a chart makes, keeps and
    // compares tens of thousands of calls, most of them lines, and goes
    // through them faster when they take little memory.
    struct TPayload {
        TFont Font;
        QString Text;
        std::optional<QImage> Image; // none when SelfCopy
        std::vector<TPoint> Points;
    };
    std::shared_ptr<const TPayload> Payload; // set by those calls

    // Same call with the same effect (pictures compared by their pixels).
    bool operator==(const TDrawOp& Other) const;
};

// Sees every call that changes a canvas's picture, size changes included,
// before it is carried out.
class TDrawHook {
public:
    virtual ~TDrawHook() = default;
    // True leaves the picture as it is (the call is only taken note of);
    // size changes, pixel-format changes and Assign are carried out whatever
    // the answer.
    virtual bool Intercept(const TDrawOp& Op) = 0;
};

// Read from a pixel outside the picture.
constexpr TColor clInvalidPixel = 0xFFFFFFFF;

class TCanvas {
public:
    explicit TCanvas(TBitmap& Owner) : FOwner(Owner) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font; // text colour is Font.Color

    // The whole picture: (0, 0, Width, Height).
    TRect ClipRect() const;

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int X, int Y);
    // Line from the pen position to (X, Y) without its end pixel; the pen
    // position becomes (X, Y).
    void LineTo(int X, int Y);

    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    // Brush only, no outline.
    void FillRect(const TRect& R);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // Rectangle whose corners are quarters of an ellipse W wide and H high.
    void RoundRect(int X1, int Y1, int X2, int Y2, int W, int H);
    // Outline of the ellipse bounded by (X1, Y1)-(X2, Y2), counter-clockwise
    // from the ray from its centre through (X3, Y3) to the ray through (X4, Y4);
    // equal rays give the whole ellipse. Pen only.
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Polygon(std::span<const TPoint> Points);
    void Polygon(std::initializer_list<TPoint> Points) {
        Polygon(std::span<const TPoint>(Points.begin(), Points.size()));
    }
    // Fills with the brush from (X, Y): fsBorder over every pixel up to those of
    // Color, fsSurface over the pixels of Color. A seed outside the picture, on
    // the border colour (fsBorder) or off the surface colour (fsSurface) fills
    // nothing.
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

    TColor Pixel(int X, int Y) const; // clInvalidPixel outside the picture
    void SetPixel(int X, int Y, TColor Color);

    // Copies Source with its top left at (X, Y), pixel for pixel.
    void Draw(int X, int Y, const TBitmap& Source);
    // Copies the part Src of Source into Dest, stretched to Dest's size when
    // the sizes differ (nearest pixel, no smoothing).
    void CopyRect(const TRect& Dest, const TBitmap& Source, const TRect& Src);
    // Copies the whole of Source into Dest, stretched to Dest's size.
    void StretchDraw(const TRect& Dest, const TBitmap& Source);

    // Size of one line of text in the canvas font.
    TSize TextExtent(const QString& Text) const;
    int TextWidth(const QString& Text) const { return TextExtent(Text).Width; }
    int TextHeight(const QString& Text) const { return TextExtent(Text).Height; }
    // One line of text with its top left at (X, Y); the pen position moves to
    // its right end. A solid brush fills the text's box first.
    void TextOut(int X, int Y, const QString& Text);
    // Text drawn as TextOut draws it at (X, Y), but only inside Clip.
    void TextRect(const TRect& Clip, int X, int Y, const QString& Text);
    // One line of text centred horizontally and vertically in R and clipped to
    // R; line breaks do not start new lines. A solid brush fills the text's box
    // (inside R) first; nothing else is drawn.
    void DrawCenteredText(const TRect& R, const QString& Text);

    // While a recorder is set, every drawing call also appends to it a
    // rectangle, clipped to the picture, that holds every pixel the call
    // changed (a size change of the picture that fills new area with a colour
    // other than white, or an Assign, records the whole picture). The layout
    // uses it to clear only what it drew in its previous pass.
    void SetTouchRecorder(std::vector<TRect>* Recorder) { FRecorder = Recorder; }
    std::vector<TRect>* TouchRecorder() const { return FRecorder; }
    // Records the part of R inside the picture (when a recorder is set).
    void Touch(int Left, int Top, int Right, int Bottom);

    // Hands every change of the picture to Hook first (nullptr: none).
    void SetDrawHook(TDrawHook* Hook) { FHook = Hook; }
    TDrawHook* DrawHook() const { return FHook; }
    // True when the hook says to leave the picture alone.
    bool Intercepted(const TDrawOp& Op) { return FHook != nullptr && FHook->Intercept(Op); }
    // Carries out Op on the picture exactly as the call it records did; the
    // canvas's pen, brush, font and pen position stay as they are.
    void Perform(const TDrawOp& Op);

private:
    // Fills Cell inside Clip with a solid brush, then draws Line into Cell.
    void DrawTextCell(const TRect& Cell, const TRect& Clip, const QString& Line);

    void CopyImage(const TRect& Dest, const QImage& Pixels, const TRect& Src);
    // True when Src of a source of that size and format goes to Dest pixel for
    // pixel, all of it inside the source, in this picture's format (in any
    // format when not SameFormat).
    bool CanCopyRows(const TRect& Dest, int SourceWidth, int SourceHeight, const TRect& Src,
                     QImage::Format SourceFormat, bool SameFormat = true) const;
    TRect VisibleSource(const TRect& Dest, const TRect& Src) const;
    // Width x Height pixels from From, rows FromStride bytes apart, to (X, Y)
    // on; the block lies inside the picture.
    void WriteBlock(int X, int Y, int Width, int Height, const unsigned char* From,
                    qsizetype FromStride);
    // A copy from a picture that is not whole, tile by tile.
    void CopyTiles(const TRect& Dest, const TBitmap& Source, const TRect& Src);

    class TPixelWriter;

    TBitmap& FOwner;
    TPoint FPenPos;
    std::vector<TRect>* FRecorder = nullptr;
    TDrawHook* FHook = nullptr;
};

} // namespace tvx
