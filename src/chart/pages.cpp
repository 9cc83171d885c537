#include "chart/pages.h"
#include "chart/fc_list.h"
#include "platform/bitmap.h"

#include <algorithm>
#include <vector>

namespace tvx {

int PageCount(const TFCList& Chart) {
    return Chart.PageBreakCount + 1;
}

TBitmap& GetPageBitmap(TFCList& Chart, int N) {
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
    const int top = cuts[size_t(N)];
    const int bottom = cuts[size_t(N) + 1];

    TBitmap& page = *Chart.PageBitmap;
    page.SetHeight(bottom - top);
    page.SetWidth(width);
    if (Chart.ChartBitmap && !page.Empty()) {
        page.Canvas().CopyRect(Rect(0, 0, width, bottom - top), *Chart.ChartBitmap,
                               Rect(0, top, width, bottom));
    }
    return page;
}

} // namespace tvx
