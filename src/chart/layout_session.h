#pragma once
// What one repaint reuses between its layout passes. While a repaint runs,
// nothing but the passes touches the chart, the settings, the text metrics or
// the block pictures, and every pass after the first mostly draws what the
// pass before drew. So, for the duration of one repaint only:
// - a text rendered once is kept and handed out again;
// - for every block picture the session keeps the drawing calls its last call
//   made and the rectangles they touched (TBlockPictureCall).
// The result is exactly what drawing everything again gives.
#include "platform/bitmap.h"
#include "platform/canvas.h"
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
    // (also when the font, pixel format or metrics differ from those the
    // session began with).
    const TBitmap* FindText(const QString& Text) const;
    // Keeps a copy of Picture, the rendering of Text.
    void KeepText(const QString& Text, const TBitmap& Picture);
    // The Serv text of Id, read once per session.
    const QString& ServText(const char* Id);

    // What a block picture's last call in this session drew: the picture's
    // size at its end, its drawing calls and the rectangles they touched.
    // Known is false until a call has completed.
    struct TDrawnArea {
        bool Known = false;
        int Width = 0;
        int Height = 0;
        std::vector<TDrawOp> Calls;
        std::vector<TRect> Rects;
    };
    TDrawnArea& DrawnArea(const TBitmap* Picture) { return FDrawn[Picture]; }
    // Null for a picture no call of this session has drawn.
    const TDrawnArea* FindDrawnArea(const TBitmap* Picture) const;

private:
    bool SameConditions() const;

    TLayoutSession* FPrevious;
    TFont FFont;
    int FPixelFormat = 0;
    const TTextMetrics* FMetrics = nullptr;
    QHash<QString, std::shared_ptr<TBitmap>> FTexts;
    std::unordered_map<const char*, QString> FServTexts;
    std::unordered_map<const TBitmap*, TDrawnArea> FDrawn;
};

// The drawing of one block picture by one layout call, from the clearing of
// the picture to white until Finish.
//
// Outside a repaint the whole picture is cleared and drawn. Inside one, the
// first call on a picture clears it (everything, as nothing is known yet) and
// draws while its calls and the rectangles they touch are kept. Every later
// call only takes note of its drawing calls and leaves the pixels alone: when
// they are the very calls the previous one made, on a picture of unchanged
// size, the picture already shows what they would draw; otherwise the
// picture is cleared where the previous drawing touched it (everywhere when
// the size changed) and the noted calls are carried out in order.
class TBlockPictureCall : private TDrawHook {
public:
    explicit TBlockPictureCall(TBitmap& Picture);
    ~TBlockPictureCall() override;
    TBlockPictureCall(const TBlockPictureCall&) = delete;
    TBlockPictureCall& operator=(const TBlockPictureCall&) = delete;

    // The call has drawn everything: bring the picture up to date.
    void Finish();

private:
    bool Intercept(const TDrawOp& Op) override;
    // Fills the picture white where it may not be white (everything when All).
    void Clear(bool All);

    TBitmap& FPicture;
    TLayoutSession::TDrawnArea* FArea = nullptr;
    bool FDefer = false;
    bool FResized = false;
    bool FFinished = false;
    int FStartWidth = 0;
    int FStartHeight = 0;
    std::vector<TDrawOp> FCalls;
    std::vector<TRect> FRects;
};

} // namespace tvx
