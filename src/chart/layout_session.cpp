#include "chart/layout_session.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"

namespace tvx {

namespace {

TLayoutSession* CurrentSession = nullptr;

bool ChangesSize(const TDrawOp& Op) {
    return Op.Kind == TDrawOp::dkResize || Op.Kind == TDrawOp::dkFormat ||
           Op.Kind == TDrawOp::dkAssign;
}

} // namespace

TLayoutSession::TLayoutSession() : FPrevious(CurrentSession) {
    if (MainSettings != nullptr) {
        FFont = MainSettings->FontBlock;
        FPixelFormat = MainSettings->PixelFormat;
    }
    FMetrics = &CurrentTextMetrics();
    CurrentSession = this;
}

TLayoutSession::~TLayoutSession() {
    CurrentSession = FPrevious;
}

TLayoutSession* TLayoutSession::Current() {
    return CurrentSession;
}

bool TLayoutSession::SameConditions() const {
    return MainSettings != nullptr && FMetrics == &CurrentTextMetrics() &&
           FPixelFormat == MainSettings->PixelFormat && FFont == MainSettings->FontBlock;
}

const TBitmap* TLayoutSession::FindText(const QString& Text) const {
    auto It = FTexts.constFind(Text);
    if (It == FTexts.constEnd() || !SameConditions()) {
        return nullptr;
    }
    return It->get();
}

void TLayoutSession::KeepText(const QString& Text, const TBitmap& Picture) {
    if (!SameConditions()) {
        return;
    }
    auto Copy = std::make_shared<TBitmap>();
    Copy->Assign(Picture);
    FTexts.insert(Text, std::move(Copy));
}

const QString& TLayoutSession::ServText(const char* Id) {
    auto It = FServTexts.find(Id);
    if (It == FServTexts.end()) {
        QString Text = MainSettings->ServPool->GetString(QString::fromLatin1(Id));
        It = FServTexts.emplace(Id, std::move(Text)).first;
    }
    return It->second;
}

const TLayoutSession::TDrawnArea* TLayoutSession::FindDrawnArea(const TBitmap* Picture) const {
    auto It = FDrawn.find(Picture);
    return It != FDrawn.end() && It->second.Known ? &It->second : nullptr;
}

TBlockPictureCall::TBlockPictureCall(TBitmap& Picture) : FPicture(Picture) {
    TCanvas& Canvas = Picture.Canvas();
    Canvas.Brush.Color = clWhite;
    Canvas.Brush.Style = bsSolid;
    TLayoutSession* Session = TLayoutSession::Current();
    // A picture that already has a hook belongs to a call further up (links
    // running in a circle): that call takes note of this one's drawing too.
    if (Session == nullptr || Canvas.DrawHook() != nullptr) {
        Canvas.FillRect(Canvas.ClipRect());
        return;
    }
    FArea = &Session->DrawnArea(&Picture);
    FStartWidth = Picture.Width();
    FStartHeight = Picture.Height();
    FDefer = FArea->Known && FArea->Width == FStartWidth && FArea->Height == FStartHeight;
    if (!FDefer) {
        Clear(true);
        Canvas.SetTouchRecorder(&FRects);
    }
    Canvas.SetDrawHook(this);
}

TBlockPictureCall::~TBlockPictureCall() {
    if (FArea != nullptr && !FFinished) {
        // Cut short: what the picture holds is not known any more.
        FPicture.Canvas().SetDrawHook(nullptr);
        FPicture.Canvas().SetTouchRecorder(nullptr);
        FArea->Known = false;
    }
}

bool TBlockPictureCall::Intercept(const TDrawOp& Op) {
    FCalls.push_back(Op);
    FResized = FResized || ChangesSize(Op);
    return FDefer;
}

void TBlockPictureCall::Clear(bool All) {
    TCanvas& Canvas = FPicture.Canvas();
    const TBrush Saved = Canvas.Brush;
    Canvas.Brush = TBrush{clWhite, bsSolid};
    if (All || !FArea->Known) {
        Canvas.FillRect(Canvas.ClipRect());
    } else {
        for (const TRect& R : FArea->Rects) {
            Canvas.FillRect(R);
        }
    }
    Canvas.Brush = Saved;
}

void TBlockPictureCall::Finish() {
    if (FArea == nullptr || FFinished) {
        FFinished = true;
        return;
    }
    TCanvas& Canvas = FPicture.Canvas();
    Canvas.SetDrawHook(nullptr);
    if (FDefer) {
        const bool SameSize = FPicture.Width() == FStartWidth && FPicture.Height() == FStartHeight;
        if (!FResized && SameSize && FCalls == FArea->Calls) {
            FRects = std::move(FArea->Rects); // the picture is already right
        } else {
            // Back to the state the call began with, then its drawing for real.
            if (!SameSize) {
                FPicture.SetSize(FStartWidth, FStartHeight);
            }
            Clear(FResized || !SameSize);
            Canvas.SetTouchRecorder(&FRects);
            for (const TDrawOp& Op : FCalls) {
                Canvas.Perform(Op);
            }
        }
    }
    Canvas.SetTouchRecorder(nullptr);
    FArea->Calls = std::move(FCalls);
    FArea->Rects = std::move(FRects);
    FArea->Known = true;
    FArea->Width = FPicture.Width();
    FArea->Height = FPicture.Height();
    FFinished = true;
}

} // namespace tvx
