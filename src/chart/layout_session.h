#pragma once
// What one repaint may reuse between its layout passes. While a repaint runs
// nothing else changes the chart, the settings, the text metrics or the block
// pictures, so:
// - a text rendered once gives the same picture every time after; the
//   session keeps those pictures (and is bypassed when the font, the pixel
//   format, the label texts or the metrics are not those it started with);
// - a block picture holds nothing but white outside what the block's own
//   previous call drew; the session keeps the rectangles that call touched, so
//   the next call clears those instead of the whole, mostly white, picture.
// Nothing is kept beyond one repaint.
#include "platform/bitmap.h"
#include "platform/font.h"
#include "platform/rect.h"
#include <QHash>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

namespace tvx {

class TTextMetrics;

class TLayoutSession {
public:
    // Becomes the current session until destroyed (sessions nest).
    TLayoutSession();
    ~TLayoutSession();
    TLayoutSession(const TLayoutSession&) = delete;
    TLayoutSession& operator=(const TLayoutSession&) = delete;

    // The session of the repaint running now, or nullptr.
    static TLayoutSession* Current();

    // The picture Text was rendered to earlier in this session, or nullptr
    // (also when the rendering conditions changed since the session began).
    const TBitmap* FindText(const QString& Text) const;
    // Keeps a copy of Picture, the rendering of Text.
    void KeepText(const QString& Text, const TBitmap& Picture);

    // Where a block's last call in this session drew: the picture's size at
    // the end of that call and every rectangle the call touched. Known is
    // false until a call has completed with its drawing recorded.
    struct TDrawnArea {
        bool Known = false;
        int Width = 0;
        int Height = 0;
        std::vector<TRect> Rects;
    };
    TDrawnArea& DrawnArea(const void* Block) { return FDrawn[Block]; }

private:
    bool SameConditions() const;

    TLayoutSession* FPrevious;
    TFont FFont;
    int FPixelFormat = 0;
    QString FYes;
    QString FNo;
    const TTextMetrics* FMetrics = nullptr;
    QHash<QString, std::shared_ptr<TBitmap>> FTexts;
    std::unordered_map<const void*, TDrawnArea> FDrawn;
};

} // namespace tvx
