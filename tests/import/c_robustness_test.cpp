// The C import on trees of odd shapes and on sources of extreme size: no
// crash, no exhausted stack, and charts whose links are sound.
#include "c_import_support.h"
#include "chart/nesting_limit.h"
#include "platform/recording_prompts.h"
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// A grammar whose nodes carry the names the C import looks for but not the
// children it expects: such constructs are passed over.
TEST(CImportShapes, NodesLackingTheirChildrenArePassedOver) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slCpp);
    import.GrammarFile = QStringLiteral(TVX_TEST_GRAMMAR_DIR "CShapes.dll");
    import.LoadFromText(R"(
noid: { a = b ; }
anonymous: { c = d ; }
typeonly: int { e = f ; }
bare: int hollow { }
function: int f ( x , , int y ) {
  if !
  if c !
  if c else g = h ;
  while c !
  while ( c ) body
  do !
  do k = l ;
  for ( c ) m = n ;
  loop while c !
  skip ;
  s t ;
  u ;
}
nobody: int lost
)");
    TErrorReport report;
    ASSERT_TRUE(import.Parse(report)) << report.Message.toStdString();
    ASSERT_EQ(import.GetChartCount(), 2);
    EXPECT_EQ(Outline(*import.GetChart(0)), "7:int hollow(){}");
    EXPECT_EQ(import.GetChart(1)->Caption, "int f(x, int y)");
    EXPECT_EQ(Outline(*import.GetChart(1)),
              "7:int f(x, int y){3:c{ | }; 3:c{ | 0:g = h}; 4:c{}; 0:s; 0:u}");
    EXPECT_EQ(ChartFault(*import.GetChart(1)), "");
}

QString Repeated(const QString& Piece, int Count) {
    QString text;
    text.reserve(Piece.size() * Count);
    for (int i = 0; i < Count; ++i) {
        text += Piece;
    }
    return text;
}

TEST(CImportSize, AFunctionOfTwentyThousandStatements) {
    const TCImport result =
        ImportC("int main(void)\n{\n" + Repeated("    total = total + step;\n", 20000) + "}\n");
    ASSERT_TRUE(result.Ok) << result.Report.Message.toStdString();
    ASSERT_EQ(result.Charts.size(), 1u);
    const TFCList& chart = *result.Charts[0];
    EXPECT_EQ(chart.Count(), 20001);
    // One chain: the first statement heads the root's branch, the last ends it.
    const TFlowBlock* block = chart.First()->GetItemChain(0);
    int length = 0;
    for (; block != nullptr; block = block->Next) {
        ++length;
        ASSERT_EQ(block->Text, "total = total+step");
    }
    EXPECT_EQ(length, 20000);
}

TEST(CImportSize, DeepNestingAndLongExpressions) {
    auto nested = [](int depth) {
        return "void deep(void)\n{\n" + Repeated("if (x) {\nwhile (y)\n", depth) + "z = 1;\n" +
               Repeated("}\n", depth) + "}\n";
    };
    // Far deeper than a chart may nest: refused, and the deep tree costs no stack.
    EXPECT_THROW(ImportC(nested(3000)), ENestingLimit);
    const int depth = (kMaxNestingLevel - 1) / 2;
    const TCImport deep = ImportC(nested(depth));
    ASSERT_TRUE(deep.Ok) << deep.Report.Message.toStdString();
    ASSERT_EQ(deep.Charts.size(), 1u);
    EXPECT_EQ(deep.Charts[0]->Count(), 2 * depth + 2);
    EXPECT_EQ(deep.Charts[0]->MaxLevel(), 2 * depth + 1);
    EXPECT_EQ(ChartFault(*deep.Charts[0]), "");

    const TCImport wide =
        ImportC("int sum(void)\n{\n    return a" + Repeated(" + a", 100000) + ";\n}\n");
    ASSERT_TRUE(wide.Ok) << wide.Report.Message.toStdString();
    ASSERT_EQ(wide.Charts.size(), 1u);
    EXPECT_EQ(wide.Charts[0]->GetBlock(1)->Text.size(), 7 + 1 + 2 * 100000);
}

} // namespace
} // namespace tvx::test
