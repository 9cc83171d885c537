// However deep a chart nests, writing its code needs no stack per level.
#include "codegen_fixture.h"
#include "common/nested_chart.h"
#include "settings/string_pool.h"

using namespace tvx;

TEST_F(CodegenTest, TenThousandLevelsAreWrittenInEveryLanguage) {
    const int depth = 10000;
    std::unique_ptr<TFCList> chart = NestedChart(depth);
    // No indentation, or the text would be gigabytes of blanks.
    Settings->ServPool->SetString(QStringLiteral("sm_tabsym"), QString());
    for (int language : {elPascal, elCpp, elBasic}) {
        for (TExportMode mode : {emPlain, emAnnotated}) {
            ExportLanguage = language;
            ExportMode = mode;
            const QStringList lines = Generate(chart->First());
            // Every level writes its statement, its head and at least one more line.
            EXPECT_GT(lines.size(), 3 * depth) << language;
            EXPECT_TRUE(lines.last().startsWith(QStringLiteral("end"))) << language;
            for (const TFlowBlock* block : chart->GetList()) {
                ASSERT_EQ(block->NoEndOp, 0);
            }
        }
    }
}
