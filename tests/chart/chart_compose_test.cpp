// A repaint composes again only where the block pictures changed or moved;
// the chart picture must come out as composing everything anew gives it.
#include "chart/chart_repaint.h"
#include "layout_test_support.h"
#include <functional>
#include <vector>

namespace tvx {
namespace {

class ChartComposeTest : public LayoutTest {};

TEST_F(ChartComposeTest, ComposingWhatChangedGivesWhatComposingAnewGives) {
    // Wide blocks fix the width of the chart, of the loop's body and of the
    // branch that holds the block changed, and a long chain below makes a
    // change inside the loop a small part of the chart: that is drawn on its
    // own.
    Append(bkProcess, "a text that is wider than any other in the chart");
    TFlowBlock* While = Append(bkWhile, "a < 9");
    TFlowBlock* If = Append(While, 0, bkIfElse, "odd(a)");
    TFlowBlock* Deep = Append(If, 0, bkCall, "Tick(a)");
    Append(If, 0, bkProcess, "wider than Tick");
    Append(If, 1, bkOutput, "a");
    Append(While, 0, bkProcess, "a body text wider than the condition");
    for (int I = 0; I < 40; ++I) {
        Append(bkProcess, QString("x := %1").arg(I));
    }
    TFlowBlock* Last = Append(bkInput, "b");
    const std::vector<std::pair<const char*, std::function<void()>>> Changes = {
        {"nothing", [] {}},
        {"a text inside, as wide as before", [&] { Deep->Text = "Tock(a)"; }},
        {"a narrower text inside", [&] { Deep->Text = "T"; }},
        {"a wider text inside", [&] { Deep->Text = "Tick(a, b)"; }},
        {"the selection", [&] { Chart.Selection.Add(If); }},
        {"a block lower down", [&] { Last->Text = "b, c"; }},
        {"another kind", [&] { While->Kind = bkRepeat; }},
        {"a text that widens the chart", [&] { Last->Text = QString(60, 'b'); }},
        {"a new block", [&] { Append(If, 1, bkProcess, "b := 2"); }},
        {"a longer arrow", [&] { Settings->pm_bcebce = 17; }},
    };
    TBitmap Picture;
    Picture.SetPixelFormat(pf16bit);
    RepaintChart(Chart, Picture);
    RepaintChart(Chart, Picture);
    for (const auto& [What, Change] : Changes) {
        Change();
        RepaintChart(Chart, Picture);
        TBitmap Anew;
        Anew.SetPixelFormat(pf16bit);
        ComposeChart(Chart, Anew);
        ASSERT_EQ(Picture.Width(), Anew.Width()) << What;
        EXPECT_EQ(Pixels(Picture), Pixels(Anew)) << What;
    }
}

} // namespace
} // namespace tvx
