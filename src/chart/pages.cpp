#include "chart/pages.h"
#include "chart/fc_list.h"
#include "platform/bitmap.h"

#include <algorithm>
#include <vector>

namespace tvx {

int PageCount(const TFCList& Chart) {
    return Chart.PageBreakCount + 1;
}

TPageArea PageArea(const TFCList& Chart, int N) {
    int width = 0;
    int height = 0;
    if (Chart.Count() > 0) {
        width = Chart.First()->GetWidth();
        height = Chart.First()->GetHeight();
    }
    std::vector<int> cuts{0};
    for (const TFlowBlock* block : Chart.GetList()) {
        if (block->Kind == bkPageBreak) {
            cuts.push_back(block->PageY);
        }
    }
    cuts.push_back(height);
    std::stable_sort(cuts.begin(), cuts.end());
    if (N < 0 || N > int(cuts.size()) - 2) {
        N = 0;
    }
    return TPageArea{cuts[size_t(N)], width, cuts[size_t(N) + 1] - cuts[size_t(N)]};
}

TBitmap& GetPageBitmap(TFCList& Chart, int N) {
    const TPageArea area = PageArea(Chart, N);
    TBitmap& page = *Chart.PageBitmap;
    page.SetHeight(area.Height);
    page.SetWidth(area.Width);
    if (Chart.ChartBitmap && !page.Empty()) {
        page.Canvas().CopyRect(Rect(0, 0, area.Width, area.Height), *Chart.ChartBitmap,
                               Rect(0, area.Top, area.Width, area.Top + area.Height));
    }
    return page;
}

} // namespace tvx
