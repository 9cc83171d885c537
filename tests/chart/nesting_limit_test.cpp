// The nesting limit holds on every road into a chart: adding a block, reading
// a chart file, pasting. A refused chart leaves the document as it was.
#include "chart/block_clipboard.h"
#include "chart/chart_xml.h"
#include "chart/nesting_limit.h"
#include "chart_invariants.h"
#include "common/nested_chart.h"
#include "platform/recording_prompts.h"
#include "xml_sample_chart.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tvx;
using namespace tvx::testing;

namespace {

const TFlowBlock* DeepestBlock(const TFCList& Chart) {
    const TFlowBlock* deepest = Chart.First();
    for (const TFlowBlock* block : Chart.GetList()) {
        if (block->Level > deepest->Level) {
            deepest = block;
        }
    }
    return deepest;
}

TMouseInfo Place(const TFlowBlock* Target, int Branch) {
    TMouseInfo info(Branch);
    info.BlockIndex = Target->Index;
    return info;
}

} // namespace

TEST(NestingLimit, AddingGoesUpToTheLimitAndNoDeeper) {
    std::unique_ptr<TFCList> chart = NestedChart(kMaxNestingLevel - 1);
    TFlowBlock* deepest = const_cast<TFlowBlock*>(DeepestBlock(*chart));
    TFlowBlock* loop = AddAt(*chart, deepest, -1, bkWhile, "w");
    ASSERT_NE(AddAt(*chart, loop, 0, bkProcess, "at the limit"), nullptr);
    EXPECT_EQ(chart->MaxLevel(), kMaxNestingLevel);
    EXPECT_CHART_VALID(*chart);

    TFlowBlock* inner = AddAt(*chart, loop->GetItemChain(0), -1, bkFor, "f");
    const QStringList before = Describe(*chart);
    try {
        AddAt(*chart, inner, 0, bkProcess, "one too deep");
        ADD_FAILURE() << "a block past the limit was added";
    } catch (const ENestingLimit& e) {
        EXPECT_TRUE(e.message().contains(QString::number(kMaxNestingLevel)));
    }
    EXPECT_EQ(Describe(*chart), before);
}

TEST(NestingLimit, FilesAndPastesPastTheLimitAreRefusedAndChangeNothing) {
    TRecordingPromptsScope prompts;
    const QString limitText = QString::number(kMaxNestingLevel);

    TChartReadFault fault = TChartReadFault::NotAChart;
    EXPECT_TRUE(ReadChartXml(ChartToXml(*NestedChart(kMaxNestingLevel)), &fault).has_value());
    // A file ten thousand levels deep is read without stack per level and refused.
    for (int depth : {kMaxNestingLevel + 1, 10000}) {
        EXPECT_FALSE(ReadChartXml(ChartToXml(*NestedChart(depth)), &fault).has_value());
        EXPECT_EQ(fault, TChartReadFault::TooDeep) << depth;
    }
    QTemporaryDir dir;
    const QString deepFile = dir.filePath("deep.fml");
    SaveToXML(*NestedChart(kMaxNestingLevel + 1), deepFile);
    std::unique_ptr<TFCList> open = SampleChart();
    const QStringList before = Describe(*open);
    EXPECT_FALSE(LoadFromXML(*open, deepFile));
    EXPECT_EQ(Describe(*open), before);
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_TRUE(prompts.Messages()[0].startsWith(LoadFailedMessage));
    EXPECT_TRUE(prompts.Messages()[0].contains(limitText));

    // A copy three levels deep fits below a block two levels above the limit,
    // but not below the block under it.
    std::unique_ptr<TFCList> source = NestedChart(3);
    source->GetBlock(2)->Mark = 1; // the outer loop, holding levels 1 to 3
    std::unique_ptr<TFCList> clipboard = CopySelected(*source);
    ASSERT_EQ(clipboard->MaxLevel(), 3);
    std::unique_ptr<TFCList> target = NestedChart(kMaxNestingLevel);
    const TFlowBlock* fits = target->GetBlock(2 * (kMaxNestingLevel - 2) - 1);
    const TFlowBlock* tooDeep = target->GetBlock(2 * (kMaxNestingLevel - 1) - 1);
    ASSERT_EQ(fits->Level, kMaxNestingLevel - 2);
    ASSERT_EQ(tooDeep->Level, kMaxNestingLevel - 1);
    prompts.ClearRecords();
    const QStringList full = Describe(*target);
    EXPECT_FALSE(Paste(*target, clipboard.get(), Place(tooDeep, -1)));
    EXPECT_EQ(Describe(*target), full);
    ASSERT_EQ(prompts.Messages().size(), 1);
    EXPECT_TRUE(prompts.Messages()[0].contains(limitText));
    EXPECT_TRUE(Paste(*target, clipboard.get(), Place(fits, -1)));
    EXPECT_EQ(target->MaxLevel(), kMaxNestingLevel);
    EXPECT_CHART_VALID(*target);
}
