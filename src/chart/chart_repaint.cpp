#include "chart/chart_repaint.h"
#include "chart/chart_texts.h"
#include "chart/layout_call.h"
#include "chart/layout_session.h"
#include "platform/bitmap.h"
#include "settings/main_settings.h"
#include <algorithm>

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

void RunPasses(TFCList& Chart) {
    RenderChartTexts(Chart);
    const int Passes = RepaintPassCount(EffectiveMaxLevel(Chart), MainSettings->pm_alleq);
    for (int I = 0; I < Passes; ++I) {
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
