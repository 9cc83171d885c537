#include "chart/chart_repaint.h"
#include "chart/chart_texts.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include "settings/main_settings.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <typeinfo>
#include <vector>

namespace tvx {

int EffectiveMaxLevel(const TFCList& Chart) {
    // Levels are nesting depths, so no consistent chart nests deeper than it
    // has blocks.
    return std::clamp(Chart.MaxLevel(), 0, Chart.Count());
}

int RepaintPassCount(int MaxLevel, bool AllEq) {
    const int Half = std::max(MaxLevel, 0) / 2 + 1;
    return Half + 2 + (AllEq ? Half : 0);
}

namespace {

// Everything a pass writes, into State (its memory kept from call to call):
// when a pass leaves all of it as it was, every further pass would too.
void LayoutState(const TFCList& Chart, std::vector<std::int64_t>& State) {
    State.clear();
    State.reserve(size_t(Chart.Count()) * 32);
    auto Add = [&](const TRect& R) {
        State.insert(State.end(), {R.Left, R.Top, R.Right, R.Bottom});
    };
    for (const TFlowBlock* B : Chart.GetList()) {
        State.insert(State.end(), {std::int64_t(B->Bitmap->ChangeStamp()), B->Bitmap->Width(),
                                   B->Bitmap->Height(), B->AbsX, B->AbsY, B->RelX, B->RelY,
                                   B->LeftExtent, B->RightExtent, B->ExitY, B->PageY});
        for (const TRect& R : {B->InRect, B->OutRect, B->ShapeRect, B->TextRect}) {
            Add(R);
        }
        for (const TPropertyItems& Item : B->Items) {
            State.insert(State.end(), {Item.Offset, Item.ChainX, Item.ChainY});
            for (const TRect& R : {Item.Rect, Item.EntryRect, Item.LabelRect}) {
                Add(R);
            }
        }
    }
}

std::vector<std::int64_t> LayoutState(const TFCList& Chart) {
    std::vector<std::int64_t> State;
    LayoutState(Chart, State);
    return State;
}

// Everything the layout reads besides its own results: the blocks, their
// links, kinds, texts and selection, the settings and texts it draws with,
// and the text measures. Any change, in any of them, lays the chart out
// again; so does anything not kept here being in doubt (texts measured by
// a stand-in for the real fonts, which may change at the same address).
std::optional<TLayoutMemo> LayoutInputs(const TFCList& Chart) {
    const TTextMetrics& Metrics = CurrentTextMetrics();
    if (typeid(Metrics) != typeid(TFontTextMetrics)) {
        return std::nullopt;
    }
    const TMainSettings& S = *MainSettings;
    TLayoutMemo Memo;
    auto& In = Memo.Inputs;
    auto Number = [&](double V) {
        std::int64_t Bits;
        std::memcpy(&Bits, &V, sizeof Bits);
        return Bits;
    };
    auto Pointer = [](const void* P) { return std::int64_t(reinterpret_cast<std::intptr_t>(P)); };
    In.reserve(size_t(Chart.Count()) * 10 + 64);
    In.insert(In.end(),
              {Pointer(&Metrics),   S.pm_shakeY,   S.pm_ifangle, S.pm_callproc,  S.pm_textbce,
               S.pm_sertext,        S.pm_bcetext,  S.pm_shakeX,  S.pm_linedge,   S.pm_forangle,
               S.pm_addLine,        S.pm_outangle, S.pm_linewid, S.pm_bcebce,    Number(S.pm_wdivh),
               Number(S.pm_absdel), S.cl_def,      S.cl_sel1,    S.cl_sel,       S.PixelFormat,
               S.MenuLanguage,      S.pm_alleq,    S.pm_ForOld,  S.pm_ShakeGOST, S.pm_BlockNum,
               S.pm_w2heq,          S.pm_OuAsIn,   S.LangProg,   S.SourceType});
    auto& Texts = Memo.Texts;
    Texts.reserve(size_t(Chart.Count()) * 2 + 16);
    for (const TFont* F : {&S.FontBlock, &S.FontExport}) {
        Texts.push_back(F->Name);
        In.insert(In.end(), {F->CharSet, F->Color, F->Size, F->Style});
    }
    Texts.push_back(S.EndFor);
    for (const char* Id : {"sm_yes", "sm_no", "sm_start", "sm_finish"}) {
        Texts.push_back(S.ServPool->GetString(QString::fromLatin1(Id)));
    }
    for (const TFlowBlock* B : Chart.GetList()) {
        In.insert(In.end(), {Pointer(B), Pointer(B->Parent), Pointer(B->Next), B->Kind, B->Level,
                             B->Index, B->ItemCount(), Chart.Selection.Contains(B)});
        Texts.push_back(B->Text);
        Texts.push_back(B->Comment);
        for (const TPropertyItems& Item : B->Items) {
            In.push_back(Pointer(Item.Chain));
            Texts.push_back(Item.Text);
            Texts.push_back(Item.CondName);
        }
    }
    return Memo;
}

// True when the chart, and everything its layout reads, is as its last
// layout left it.
bool LayoutIsCurrent(const TFCList& Chart, const std::optional<TLayoutMemo>& Inputs) {
    const TLayoutMemo& Last = Chart.LastLayout;
    return Inputs.has_value() && !Last.State.empty() && Inputs->Inputs == Last.Inputs &&
           Inputs->Texts == Last.Texts && LayoutState(Chart) == Last.State;
}

// Lays the chart out and returns what the last pass left.
std::vector<std::int64_t> RunPasses(TFCList& Chart) {
    Chart.LastLayout = TLayoutMemo{};
    TTextsAhead Texts(Chart);
    const int MaxLevel = EffectiveMaxLevel(Chart);
    // Each pass settles one more level, so a chart takes this many. One
    // nested deeper than they reach would be shown with blocks where they
    // stood before (over their neighbours) until its next repaint: more
    // passes follow while the last one still moved something, at most one
    // more per level. A pass that moves nothing ends the layout early: the
    // passes after it would only repeat it (after an edit most do).
    const int Passes = RepaintPassCount(MaxLevel, MainSettings->pm_alleq) + MaxLevel + 1;
    std::vector<std::int64_t> Before = LayoutState(Chart);
    std::vector<std::int64_t> After;
    for (int I = 0; I < Passes; ++I) {
        Chart.DrawBlock(Chart.First());
        LayoutState(Chart, After);
        if (After == Before) {
            break;
        }
        std::swap(Before, After);
    }
    return Before;
}

// Runs the passes unless nothing was touched since the last ones; true when
// they ran.
bool LayOut(TFCList& Chart) {
    std::optional<TLayoutMemo> Inputs = LayoutInputs(Chart);
    if (LayoutIsCurrent(Chart, Inputs)) {
        return false;
    }
    TLayoutSession Session;
    std::vector<std::int64_t> State = RunPasses(Chart);
    if (Inputs.has_value()) {
        Inputs->State = std::move(State);
        Chart.LastLayout = std::move(*Inputs);
    }
    return true;
}

} // namespace

void LayoutChart(TFCList& Chart) {
    if (Chart.Count() == 0 || MainSettings == nullptr) {
        return;
    }
    LayOut(Chart);
}

void RepaintChart(TFCList& Chart, TBitmap& Picture) {
    if (Chart.Count() == 0 || MainSettings == nullptr) {
        return;
    }
    LayOut(Chart);
    ComposeChart(Chart, Picture);
}

void ReleaseChartPictures(TFCList& Chart) {
    for (TFlowBlock* Block : Chart.GetList()) {
        Block->Bitmap->Memo().reset();
        Block->Bitmap->ReleasePixels();
    }
    Chart.ChartBitmap->ReleasePixels();
    Chart.PageBitmap->ReleasePixels();
    Chart.LastLayout = TLayoutMemo{};
    ForgetLayoutMemory();
}

void RepaintChart(TFCList& Chart) {
    Chart.ChartBitmap->SetPixelFormat(pf16bit);
    RepaintChart(Chart, *Chart.ChartBitmap);
}

} // namespace tvx
