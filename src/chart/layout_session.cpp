#include "chart/layout_session.h"
#include "platform/font.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"
#include <QHash>
#include <memory>
#include <typeinfo>
#include <unordered_map>

namespace tvx {

namespace {

// What a text picture depends on besides the text.
struct TTextConditions {
    TFont Font;
    int PixelFormat = 0;
    QString Yes;
    QString No;
    const TTextMetrics* Metrics = nullptr;
    bool operator==(const TTextConditions&) const = default;
};

struct TKeptArea {
    TDrawnArea Area;
    std::uint64_t Stamp = 0; // the picture's stamp after the call
    std::uint64_t LastUse = 0;
};

struct TKeptComposition {
    std::vector<TComposedPart> Parts;
    std::uint64_t Stamp = 0;
    std::uint64_t LastUse = 0;
};

// Kept by the layout between repaints (one thread only).
struct TLayoutMemory {
    TLayoutSession* Current = nullptr;
    int Depth = 0;
    std::uint64_t Session = 0;
    std::unordered_map<const TBitmap*, TKeptArea> Areas;
    std::unordered_map<const TBitmap*, TKeptComposition> Compositions;
    TTextConditions TextConditions;
    QHash<QString, std::shared_ptr<TBitmap>> Texts;
    std::unordered_map<const char*, QString> ServTexts;
};

TLayoutMemory& Memory() {
    static TLayoutMemory Kept;
    return Kept;
}

// Pictures not drawn for this many repaints are forgotten (their blocks are
// most likely gone); texts beyond this many are dropped all at once.
constexpr std::uint64_t kForgetAfter = 64;
constexpr int kMaxTexts = 16384;

TTextConditions CurrentTextConditions() {
    TTextConditions C;
    if (MainSettings != nullptr) {
        C.Font = MainSettings->FontBlock;
        C.PixelFormat = MainSettings->PixelFormat;
        C.Yes = MainSettings->ServPool->GetString(QStringLiteral("sm_yes"));
        C.No = MainSettings->ServPool->GetString(QStringLiteral("sm_no"));
    }
    C.Metrics = &CurrentTextMetrics();
    return C;
}

// The real-font metrics carry no state of their own, so any instance
// measures alike; other providers may be replaced by one at the same address,
// so their texts are kept for one session only.
bool MetricsLastBeyondASession(const TTextMetrics* Metrics) {
    return Metrics != nullptr && typeid(*Metrics) == typeid(TFontTextMetrics);
}

template <typename Map> void Forget(Map& Kept, std::uint64_t Session) {
    for (auto It = Kept.begin(); It != Kept.end();) {
        It = It->second.LastUse + kForgetAfter < Session ? Kept.erase(It) : std::next(It);
    }
}

bool ChangesSize(const TDrawOp& Op) {
    return Op.Kind == TDrawOp::dkResize || Op.Kind == TDrawOp::dkFormat ||
           Op.Kind == TDrawOp::dkAssign;
}

void FillWhite(TCanvas& Canvas, const std::vector<TRect>* Only) {
    const TBrush Saved = Canvas.Brush;
    Canvas.Brush = TBrush{clWhite, bsSolid};
    if (Only == nullptr) {
        Canvas.FillRect(Canvas.ClipRect());
    } else {
        for (const TRect& R : *Only) {
            Canvas.FillRect(R);
        }
    }
    Canvas.Brush = Saved;
}

} // namespace

TLayoutSession::TLayoutSession() {
    TLayoutMemory& M = Memory();
    if (M.Depth++ == 0) {
        ++M.Session;
        M.ServTexts.clear();
        TTextConditions Now = CurrentTextConditions();
        if (!(Now == M.TextConditions)) {
            M.Texts.clear();
            M.TextConditions = Now;
        }
        M.Current = this;
    }
}

TLayoutSession::~TLayoutSession() {
    TLayoutMemory& M = Memory();
    if (--M.Depth == 0) {
        M.Current = nullptr;
        if (!MetricsLastBeyondASession(M.TextConditions.Metrics)) {
            M.Texts.clear();
            M.TextConditions = TTextConditions{};
        }
        Forget(M.Areas, M.Session);
        Forget(M.Compositions, M.Session);
    }
}

TLayoutSession* TLayoutSession::Current() {
    return Memory().Current;
}

const TBitmap* TLayoutSession::FindText(const QString& Text) const {
    const TLayoutMemory& M = Memory();
    auto It = M.Texts.constFind(Text);
    return It != M.Texts.constEnd() ? It->get() : nullptr;
}

void TLayoutSession::KeepText(const QString& Text, const TBitmap& Picture) {
    TLayoutMemory& M = Memory();
    if (M.Texts.size() >= kMaxTexts) {
        M.Texts.clear();
    }
    auto Copy = std::make_shared<TBitmap>();
    Copy->Assign(Picture);
    M.Texts.insert(Text, std::move(Copy));
}

const QString& TLayoutSession::ServText(const char* Id) {
    auto& Texts = Memory().ServTexts;
    auto It = Texts.find(Id);
    if (It == Texts.end()) {
        It = Texts.emplace(Id, MainSettings->ServPool->GetString(QString::fromLatin1(Id))).first;
    }
    return It->second;
}

const TDrawnArea* FindDrawnArea(const TBitmap& Picture) {
    const TLayoutMemory& M = Memory();
    auto It = M.Areas.find(&Picture);
    if (It == M.Areas.end() || It->second.Stamp != Picture.ChangeStamp() ||
        It->second.Area.Width != Picture.Width() || It->second.Area.Height != Picture.Height()) {
        return nullptr;
    }
    return &It->second.Area;
}

TBlockPictureCall::TBlockPictureCall(TBitmap& Picture) : FPicture(Picture) {
    TCanvas& Canvas = Picture.Canvas();
    Canvas.Brush.Color = clWhite;
    Canvas.Brush.Style = bsSolid;
    // A picture that already has a hook belongs to a call further up (links
    // running in a circle): that call takes note of this one's drawing too.
    if (TLayoutSession::Current() == nullptr || Canvas.DrawHook() != nullptr) {
        Canvas.FillRect(Canvas.ClipRect());
        return;
    }
    FRecording = true;
    FStartWidth = Picture.Width();
    FStartHeight = Picture.Height();
    FDefer = FindDrawnArea(Picture) != nullptr;
    if (!FDefer) {
        Canvas.FillRect(Canvas.ClipRect());
        Canvas.SetTouchRecorder(&FDrawn.Rects);
    }
    Canvas.SetDrawHook(this);
}

TBlockPictureCall::~TBlockPictureCall() {
    if (FRecording && !FFinished) {
        // Cut short: what the picture holds is not known any more.
        FPicture.Canvas().SetDrawHook(nullptr);
        FPicture.Canvas().SetTouchRecorder(nullptr);
        Memory().Areas.erase(&FPicture);
    }
}

bool TBlockPictureCall::Intercept(const TDrawOp& Op) {
    FDrawn.Calls.push_back(Op);
    FResized = FResized || ChangesSize(Op);
    return FDefer;
}

void TBlockPictureCall::Finish() {
    if (!FRecording || FFinished) {
        FFinished = true;
        return;
    }
    TCanvas& Canvas = FPicture.Canvas();
    Canvas.SetDrawHook(nullptr);
    TKeptArea& Kept = Memory().Areas[&FPicture];
    if (FDefer) {
        const bool SameSize = FPicture.Width() == FStartWidth && FPicture.Height() == FStartHeight;
        if (!FResized && SameSize && FDrawn.Calls == Kept.Area.Calls) {
            FDrawn.Rects = std::move(Kept.Area.Rects); // the picture is already right
        } else {
            // Back to the state the call began with, then its drawing for real.
            if (!SameSize) {
                FPicture.SetSize(FStartWidth, FStartHeight);
            }
            FillWhite(Canvas, FResized || !SameSize ? nullptr : &Kept.Area.Rects);
            Canvas.SetTouchRecorder(&FDrawn.Rects);
            for (const TDrawOp& Op : FDrawn.Calls) {
                Canvas.Perform(Op);
            }
        }
    }
    Canvas.SetTouchRecorder(nullptr);
    FDrawn.Width = FPicture.Width();
    FDrawn.Height = FPicture.Height();
    Kept.Area = std::move(FDrawn);
    Kept.Stamp = FPicture.ChangeStamp();
    Kept.LastUse = Memory().Session;
    FFinished = true;
}

bool AlreadyComposed(const TBitmap& Target, const std::vector<TComposedPart>& Parts) {
    const TLayoutMemory& M = Memory();
    auto It = M.Compositions.find(&Target);
    return It != M.Compositions.end() && It->second.Stamp == Target.ChangeStamp() &&
           It->second.Parts == Parts;
}

void NoteComposed(const TBitmap& Target, std::vector<TComposedPart> Parts) {
    TLayoutMemory& M = Memory();
    TKeptComposition& Kept = M.Compositions[&Target];
    Kept.Parts = std::move(Parts);
    Kept.Stamp = Target.ChangeStamp();
    Kept.LastUse = M.Session;
}

} // namespace tvx
