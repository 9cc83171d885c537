#include "chart/chart_repaint.h"
#include "chart/chart_texts.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include <algorithm>
#include <cstdint>
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

// Everything a pass writes: when a pass leaves all of it as it was, every
// further pass would too.
std::vector<std::int64_t> LayoutState(const TFCList& Chart) {
    std::vector<std::int64_t> State;
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
    return State;
}

void RunPasses(TFCList& Chart) {
    TTextsAhead Texts(Chart);
    const int MaxLevel = EffectiveMaxLevel(Chart);
    const int Passes = RepaintPassCount(MaxLevel, MainSettings->pm_alleq);
    std::vector<std::int64_t> Before;
    for (int I = 0; I < Passes; ++I) {
        if (I + 1 == Passes) {
            Before = LayoutState(Chart);
        }
        Chart.DrawBlock(Chart.First());
    }
    // Each pass settles one more level. A chart nested deeper than the
    // passes reach would be shown with blocks where they stood before (over
    // their neighbours) until its next repaint: more passes follow while the
    // last one still moved something, at most one more per level.
    for (int Extra = 0; Extra <= MaxLevel; ++Extra) {
        std::vector<std::int64_t> After = LayoutState(Chart);
        if (After == Before) {
            break;
        }
        Before = std::move(After);
        Chart.DrawBlock(Chart.First());
    }
}

} // namespace

void LayoutChart(TFCList& Chart) {
    if (Chart.Count() == 0 || MainSettings == nullptr) {
        return;
    }
    TLayoutSession Session;
    RunPasses(Chart);
}

void RepaintChart(TFCList& Chart, TBitmap& Picture) {
    if (Chart.Count() == 0 || MainSettings == nullptr) {
        return;
    }
    TLayoutSession Session;
    RunPasses(Chart);
    ComposeChart(Chart, Picture);
}

void RepaintChart(TFCList& Chart) {
    Chart.ChartBitmap->SetPixelFormat(pf16bit);
    RepaintChart(Chart, *Chart.ChartBitmap);
}

} // namespace tvx
