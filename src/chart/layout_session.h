#pragma once
// What repaints reuse. Every pass of a repaint, and every repaint of an
// unchanged chart, draws what the pass before drew, so the layout keeps, for
// each block picture, the drawing calls its last layout call made and the
// picture's change stamp after them (TBlockPictureCall); for each chart
// picture, the pictures it was composed from and where; and the pictures of
// rendered texts. What is kept is used only while it provably gives the same
// result: a picture whose change stamp moved, a call that draws otherwise, a
// text rendered under other conditions is done again, and a chart picture is
// composed again wherever one of its parts changed or moved. The result is
// always exactly what drawing everything again gives.
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/rect.h"
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

class TChartComposition;
class TFlowBlock;
struct TKeptDrawing;

// One repaint (the layout passes and the composition): while a session is
// open, block calls only take note of their drawing and carry it out when it
// differs from the last, and texts are rendered once. Sessions nest.
class TLayoutSession {
public:
    TLayoutSession();
    ~TLayoutSession();
    TLayoutSession(const TLayoutSession&) = delete;
    TLayoutSession& operator=(const TLayoutSession&) = delete;

    // The session open now, or nullptr.
    static TLayoutSession* Current();

    // The picture Text was rendered to before under the same conditions (font,
    // pixel format, labels, text metrics), or nullptr.
    const TBitmap* FindText(const QString& Text) const;
    // Keeps a copy of Picture, the rendering of Text.
    void KeepText(const QString& Text, const TBitmap& Picture);
    // Keeps Picture itself.
    void KeepText(const QString& Text, std::shared_ptr<const TBitmap> Picture);
    // Texts kept at most between layouts; beyond, all are dropped at once
    // when the next layout starts (a layout keeps every text of its chart).
    static constexpr size_t kTextsKept = 16384;
    // The Serv text of Id, read once per session.
    const QString& ServText(const char* Id);
};

// The drawing of one block picture by one layout call, from the clearing of
// the picture to white until Finish.
//
// Outside a session the whole picture is cleared and drawn. Inside one, a
// picture whose last call is known is left alone while the call's drawing
// calls are held against the last call's, one by one: when it makes the very
// calls the last one made on a white picture of the same size, the picture
// already shows what they draw; from the first call that differs on, the
// calls are taken note of, and at the end the picture is cleared and they are
// carried out in order. A picture without a known last call is cleared and
// drawn, its calls being kept.
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

    TBitmap& FPicture;
    bool FRecording = false; // the call's drawing is kept
    bool FDefer = false;     // and, so far, only taken note of
    bool FResized = false;
    bool FFinished = false;
    int FStartWidth = 0;
    int FStartHeight = 0;
    // While deferring: the last call's drawing, how many of its calls this
    // one repeated so far, and whether it has made one of its own (then
    // FCalls holds all of its calls).
    TKeptDrawing* FLast = nullptr;
    size_t FRepeated = 0;
    bool FDiverged = false;
    std::vector<TDrawOp> FCalls;
};

// Drops every text picture and composition kept between repaints (none may
// be running): their memory is given back, and the next repaint makes them
// again.
void ForgetLayoutMemory();

// Drops every text picture and composition kept between repaints (none may
// be running): their memory is given back, and the next repaint makes them
// again.
void ForgetLayoutMemory();

// The composition kept for Target between repaints (created on first use,
// forgotten when Target has not been composed for a while).
TChartComposition& KeptComposition(const TBitmap& Target);

} // namespace tvx
