#include "chart/fc_list.h"
#include "chart/pages.h"
#include "platform/bitmap.h"
#include "xml_sample_chart.h"

#include <gtest/gtest.h>

using namespace tvx;
using namespace tvx::testing;

namespace {

// A chart whose root picture is 40 x Height, and a chart picture of that
// size whose rows y hold the colour y (so every copied row can be told).
struct PagedChart {
    explicit PagedChart(int Height) {
        Root = Chart.AddBlock(nullptr, bkRoot, -1, "main", nullptr);
        Root->SetWidth(40);
        Root->SetHeight(std::uint16_t(Height));
        Chart.ChartBitmap->SetPixelFormat(pf24bit);
        Chart.ChartBitmap->SetSize(40, Height);
        for (int y = 0; y < Height; ++y) {
            Chart.ChartBitmap->Canvas().Brush.Color = TColor(y);
            Chart.ChartBitmap->Canvas().FillRect(Rect(0, y, 40, y + 1));
        }
        Chart.PageBitmap->SetPixelFormat(pf24bit);
    }
    TFlowBlock* AddBreak(int PageY) {
        TFlowBlock* block = AddAt(Chart, Root, 0, bkPageBreak, "");
        block->PageY = PageY;
        return block;
    }

    TFCList Chart;
    TFlowBlock* Root = nullptr;
};

// Size and first and last row colours of a page.
struct PageFacts {
    int Width, Height;
    TColor Top, Bottom;
    bool operator==(const PageFacts&) const = default;
};

PageFacts Facts(TBitmap& Page) {
    return {Page.Width(), Page.Height(), Page.Canvas().Pixel(5, 0),
            Page.Canvas().Pixel(39, Page.Height() - 1)};
}

} // namespace

TEST(Pages, AChartWithoutBreaksIsOnePage) {
    PagedChart paged(120);
    EXPECT_EQ(PageCount(paged.Chart), 1);
    EXPECT_EQ(Facts(GetPageBitmap(paged.Chart, 0)), (PageFacts{40, 120, 0, 119}));
}

TEST(Pages, BreaksCutTheChartInOrderOfTheirPositions) {
    PagedChart paged(500);
    paged.AddBreak(300);
    paged.AddBreak(150);
    ASSERT_EQ(PageCount(paged.Chart), 3);
    TBitmap& first = GetPageBitmap(paged.Chart, 0);
    EXPECT_EQ(&first, paged.Chart.PageBitmap.get());
    EXPECT_EQ(Facts(first), (PageFacts{40, 150, 0, 149}));
    EXPECT_EQ(Facts(GetPageBitmap(paged.Chart, 1)), (PageFacts{40, 150, 150, 299}));
    EXPECT_EQ(Facts(GetPageBitmap(paged.Chart, 2)), (PageFacts{40, 200, 300, 499}));
    EXPECT_EQ(paged.Chart.PageBitmap->PixelFormat(), pf24bit);

    // Out of range: page 0 again.
    EXPECT_EQ(Facts(GetPageBitmap(paged.Chart, 3)), (PageFacts{40, 150, 0, 149}));
    EXPECT_EQ(Facts(GetPageBitmap(paged.Chart, -1)), (PageFacts{40, 150, 0, 149}));
}

TEST(Pages, BreaksAtOnePlaceGiveAnEmptyPage) {
    PagedChart paged(100);
    paged.AddBreak(60);
    paged.AddBreak(60);
    EXPECT_EQ(GetPageBitmap(paged.Chart, 1).Height(), 0);
    EXPECT_EQ(Facts(GetPageBitmap(paged.Chart, 2)), (PageFacts{40, 40, 60, 99}));
}
