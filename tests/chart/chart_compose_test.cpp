// A repaint composes again only where the block pictures changed or moved;
// the chart picture must come out as composing everything anew gives it.
#include "chart/chart_composition.h"
#include "chart/chart_repaint.h"
#include "layout_test_support.h"
#include <functional>
#include <vector>

namespace tvx {
namespace {

class ChartComposeTest : public LayoutTest {
protected:
    // A chart window's picture and its composition.
    TBitmap Window;
    TChartComposition Composition;

    // A chart many bands long, with blocks nested in it, laid out; the
    // window's picture in the format a window keeps.
    void BuildLong() {
        Window.SetPixelFormat(pf16bit);
        for (int I = 0; I < 30; ++I) {
            TFlowBlock* While = Append(bkWhile, QString("i < %1").arg(I));
            TFlowBlock* If = Append(While, 0, bkIfElse, QString("odd(%1)").arg(I));
            Append(If, 0, bkCall, "Tick(i)");
            Append(If, 1, bkOutput, QString("'%1'").arg(I));
            Append(bkProcess, QString("x := %1").arg(I));
        }
        LayoutChart(Chart);
    }

    // The whole chart composed anew, the numbers written over it after.
    QImage Anew(bool Numbers) {
        TBitmap Picture;
        Picture.SetPixelFormat(pf16bit);
        ComposeChart(Chart, Picture);
        if (Numbers) {
            TCanvas& Canvas = Picture.Canvas();
            for (const TFlowBlock* Block : Chart.GetList()) {
                if (Block->Index > 0) {
                    const QString Label = QString::number(Block->Index);
                    Canvas.TextOut(Block->InRect.Left,
                                   Block->InRect.Top - Canvas.TextHeight(Label) / 2 - 1, Label);
                }
            }
        }
        return Pixels(Picture);
    }
};

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

// The window's picture, composed a band at a time as parts of it are shown,
// after edits, with and without block numbers: whatever was shown when, the
// whole of it reads as composing it anew gives it.
TEST_F(ChartComposeTest, BandsComposedAsTheyAreShownGiveTheChartComposedAnew) {
    BuildLong();
    ASSERT_GT(Window.Height() + Chart.First()->Bitmap->Height(),
              4 * TChartComposition::kBandHeight);
    const std::vector<std::pair<const char*, std::function<void()>>> Changes = {
        {"nothing", [] {}},
        {"a text near the top", [&] { Chart.GetBlock(3)->Text = "Tock(i, j)"; }},
        {"a text far down", [&] { Chart.GetBlock(Chart.Count() - 2)->Text = "'far'"; }},
        {"numbers", [&] { Composition.BlockNumbers = true; }},
        {"a block inserted, renumbering", [&] { Append(Chart.GetBlock(1), 0, bkInput, "n"); }},
        {"a block deleted", [&] { Chart.DeleteBlock(Chart.GetBlock(7)); }},
        {"no numbers", [&] { Composition.BlockNumbers = false; }},
    };
    for (const auto& [What, Change] : Changes) {
        Change();
        LayoutChart(Chart);
        // The top, then a part further down, then everything.
        Composition.Compose(Chart, Window, TRect{0, 0, 50, 10});
        Composition.Compose(Chart, Window, TRect{0, 700, Window.Width(), 900});
        Composition.Compose(Chart, Window, TChartComposition::kEverything);
        EXPECT_EQ(Pixels(Window), Anew(Composition.BlockNumbers)) << What;
    }
    // Drawn on by someone else: composed again.
    Window.Canvas().FillRect(TRect{0, 0, 40, 40});
    Composition.Compose(Chart, Window, TChartComposition::kEverything);
    EXPECT_EQ(Pixels(Window), Anew(false));
}

TEST_F(ChartComposeTest, OnlyTheBandsShownAreComposed) {
    BuildLong();
    Composition.Compose(Chart, Window, TRect{0, 0, 10, 10});
    const QImage Composed = Anew(false);
    const int Band = TChartComposition::kBandHeight;
    const QImage Shown = Pixels(Window);
    EXPECT_EQ(Shown.copy(0, 0, Shown.width(), Band), Composed.copy(0, 0, Shown.width(), Band));
    // Below, nothing yet, though the chart is drawn there.
    QImage White(Shown.width(), Shown.height() - Band, Shown.format());
    White.fill(Qt::white);
    EXPECT_EQ(Shown.copy(0, Band, Shown.width(), Shown.height() - Band), White);
    EXPECT_NE(Composed.copy(0, Band, Shown.width(), Shown.height() - Band), White);
}

// A chart edited and not laid out again since: the parts are read as they
// stand, never from blocks that are gone.
TEST_F(ChartComposeTest, ChartEditedSinceItsLayoutIsShownAsItStands) {
    BuildLong();
    Composition.Compose(Chart, Window, TRect{0, 0, 10, 10});
    while (Chart.Count() > 20) {
        Chart.DeleteBlock(Chart.GetBlock(Chart.Count() - 1));
    }
    Composition.Compose(Chart, Window, TChartComposition::kEverything);
    LayoutChart(Chart);
    Composition.Compose(Chart, Window, TChartComposition::kEverything);
    EXPECT_EQ(Pixels(Window), Anew(false));
}

} // namespace
} // namespace tvx
