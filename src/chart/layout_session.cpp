#include "chart/layout_session.h"
#include "chart/chart_composition.h"
#include "platform/font.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"
#include <QHash>
#include <array>
#include <cstdint>
#include <memory>
#include <typeinfo>
#include <unordered_map>

namespace tvx {

// What the last layout call on a picture drew, as calls made on a white
// picture of StartWidth x StartHeight (size changes of the white picture at
// their head are taken as its size), while the picture is as that call left
// it: Stamp is its change stamp after the call. It is kept with the picture,
// so it goes when the picture does (a block deleted, a chart closed).
struct TKeptDrawing : TBitmapMemo {
    int StartWidth = 0;
    int StartHeight = 0;
    std::vector<TDrawOp> Calls;
    std::uint64_t Stamp = 0;
};

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

struct TKeptComposition {
    TChartComposition Composition;
    std::uint64_t LastUse = 0;
};

// Kept by the layout between repaints (one thread only).
struct TLayoutMemory {
    TLayoutSession* Current = nullptr;
    int Depth = 0;
    std::uint64_t Session = 0;
    std::unordered_map<const TBitmap*, TKeptComposition> Compositions;
    TTextConditions TextConditions;
    QHash<QString, std::shared_ptr<const TBitmap>> Texts;
    // Texts found lately, by where their characters lie: a pass asks for the
    // same block texts as the pass before, and a text that shares its
    // characters with a key kept here is that key (shared characters are
    // never changed, and the key keeps them from being freed).
    struct TRecentText {
        QString Key;
        std::shared_ptr<const TBitmap> Picture;
    };
    std::array<TRecentText, 4096> Recent;

    void ForgetTexts() {
        Texts.clear();
        Recent.fill(TRecentText{});
    }
    std::unordered_map<const char*, QString> ServTexts;
};

TLayoutMemory& Memory() {
    static TLayoutMemory Kept;
    return Kept;
}

// Compositions of pictures not composed for this many repaints are forgotten
// (their windows are most likely gone).
constexpr std::uint64_t kForgetAfter = 64;

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

// A size change whose new area is white: on a white picture it only sets the
// size.
bool WhiteResize(const TDrawOp& Op) {
    const TColor NewArea = Op.Brush.Style == bsSolid ? Op.Brush.Color : clWhite;
    return Op.Kind == TDrawOp::dkResize && ResolveColor(NewArea) == clWhite;
}

// The drawing kept for Picture while the picture is as it left it, or nullptr.
TKeptDrawing* FindKeptDrawing(TBitmap& Picture) {
    auto* Kept = dynamic_cast<TKeptDrawing*>(Picture.Memo().get());
    return Kept != nullptr && Kept->Stamp == Picture.ChangeStamp() ? Kept : nullptr;
}

void ClearToWhite(TCanvas& Canvas) {
    const TBrush Saved = Canvas.Brush;
    Canvas.Brush = TBrush{clWhite, bsSolid};
    Canvas.FillRect(Canvas.ClipRect());
    Canvas.Brush = Saved;
}

} // namespace

TLayoutSession::TLayoutSession() {
    TLayoutMemory& M = Memory();
    if (M.Depth++ == 0) {
        ++M.Session;
        M.ServTexts.clear();
        TTextConditions Now = CurrentTextConditions();
        // Texts of other charts are dropped here, all at once, when they
        // grow too many; never while a layout runs, which would render the
        // texts of its chart again.
        if (!(Now == M.TextConditions) || size_t(M.Texts.size()) >= kTextsKept) {
            M.ForgetTexts();
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
            M.ForgetTexts();
            M.TextConditions = TTextConditions{};
        }
        Forget(M.Compositions, M.Session);
    }
}

void ForgetLayoutMemory() {
    TLayoutMemory& M = Memory();
    if (M.Depth == 0) {
        M.ForgetTexts();
        M.TextConditions = TTextConditions{};
        M.Compositions.clear();
    }
}

TLayoutSession* TLayoutSession::Current() {
    return Memory().Current;
}

const TBitmap* TLayoutSession::FindText(const QString& Text) const {
    TLayoutMemory& M = Memory();
    const auto Where = std::uint64_t(reinterpret_cast<std::uintptr_t>(Text.constData()));
    TLayoutMemory::TRecentText& Recent =
        M.Recent[size_t((Where * 0x9E3779B97F4A7C15ull) >> 52) % M.Recent.size()];
    if (Recent.Picture != nullptr && Recent.Key.constData() == Text.constData() &&
        Recent.Key.size() == Text.size()) {
        return Recent.Picture.get();
    }
    auto It = M.Texts.constFind(Text);
    if (It == M.Texts.constEnd()) {
        return nullptr;
    }
    Recent = TLayoutMemory::TRecentText{Text, *It};
    return It->get();
}

void TLayoutSession::KeepText(const QString& Text, const TBitmap& Picture) {
    auto Copy = std::make_shared<TBitmap>();
    Copy->Assign(Picture);
    KeepText(Text, std::move(Copy));
}

void TLayoutSession::KeepText(const QString& Text, std::shared_ptr<const TBitmap> Picture) {
    TLayoutMemory& M = Memory();
    if (M.Texts.contains(Text)) {
        M.Recent.fill(TLayoutMemory::TRecentText{}); // it must find the new picture
    }
    M.Texts.insert(Text, std::move(Picture));
}

const QString& TLayoutSession::ServText(const char* Id) {
    auto& Texts = Memory().ServTexts;
    auto It = Texts.find(Id);
    if (It == Texts.end()) {
        It = Texts.emplace(Id, MainSettings->ServPool->GetString(QString::fromLatin1(Id))).first;
    }
    return It->second;
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
    FLast = FindKeptDrawing(Picture);
    FDefer = FLast != nullptr;
    if (!FDefer) {
        Canvas.FillRect(Canvas.ClipRect());
        FCalls.reserve(32); // a block's figure takes a few dozen calls
    }
    Canvas.SetDrawHook(this);
}

TBlockPictureCall::~TBlockPictureCall() {
    if (FRecording && !FFinished) {
        // Cut short: what the picture holds is not known any more.
        FPicture.Canvas().SetDrawHook(nullptr);
        FPicture.Memo().reset();
    }
}

bool TBlockPictureCall::Intercept(const TDrawOp& Op) {
    FResized = FResized || ChangesSize(Op);
    if (FDefer && !FDiverged) {
        if (!FResized && FRepeated < FLast->Calls.size() && FLast->Calls[FRepeated] == Op) {
            ++FRepeated;
            return true;
        }
        // The calls so far were the last call's first ones.
        FDiverged = true;
        FCalls.assign(FLast->Calls.begin(), FLast->Calls.begin() + std::ptrdiff_t(FRepeated));
    }
    FCalls.push_back(Op);
    return FDefer;
}

void TBlockPictureCall::Finish() {
    if (!FRecording || FFinished) {
        FFinished = true;
        return;
    }
    TCanvas& Canvas = FPicture.Canvas();
    Canvas.SetDrawHook(nullptr);
    if (FDefer && !FDiverged) {
        if (FRepeated == FLast->Calls.size() && FStartWidth == FLast->StartWidth &&
            FStartHeight == FLast->StartHeight && FLast->Stamp == FPicture.ChangeStamp()) {
            // The very drawing of the last call: the picture already shows it.
            FFinished = true;
            return;
        }
        FCalls.assign(FLast->Calls.begin(), FLast->Calls.begin() + std::ptrdiff_t(FRepeated));
    }
    // The white picture the drawing starts from takes the size its first size
    // changes give it.
    int StartWidth = FStartWidth;
    int StartHeight = FStartHeight;
    size_t Head = 0;
    while (Head < FCalls.size() && WhiteResize(FCalls[Head])) {
        StartWidth = std::max(0, FCalls[Head].P[0]);
        StartHeight = std::max(0, FCalls[Head].P[1]);
        ++Head;
    }
    FCalls.erase(FCalls.begin(), FCalls.begin() + std::ptrdiff_t(Head));
    if (FDefer) {
        // The drawing for real, on the white picture it starts from.
        FPicture.SetSize(StartWidth, StartHeight);
        ClearToWhite(Canvas);
        for (const TDrawOp& Op : FCalls) {
            Canvas.Perform(Op);
        }
    }
    auto* Found = dynamic_cast<TKeptDrawing*>(FPicture.Memo().get());
    if (Found == nullptr) {
        FPicture.Memo() = std::make_unique<TKeptDrawing>();
        Found = static_cast<TKeptDrawing*>(FPicture.Memo().get());
    }
    TKeptDrawing& Kept = *Found;
    Kept.StartWidth = StartWidth;
    Kept.StartHeight = StartHeight;
    Kept.Calls = std::move(FCalls);
    Kept.Stamp = FPicture.ChangeStamp();
    FFinished = true;
}

TChartComposition& KeptComposition(const TBitmap& Target) {
    TLayoutMemory& M = Memory();
    TKeptComposition& Kept = M.Compositions[&Target];
    Kept.LastUse = M.Session;
    return Kept.Composition;
}

} // namespace tvx
