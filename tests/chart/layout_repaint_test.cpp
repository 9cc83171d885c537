// A repaint reuses work between its passes; whatever it reuses, the chart
// must come out exactly as drawing everything again gives it.
#include "chart/chart_repaint.h"
#include "chart/layout_session.h"
#include "layout_test_support.h"
#include "platform/exception.h"
#include <functional>
#include <vector>

namespace tvx {
namespace {

class LayoutRepaintTest : public LayoutTest {
protected:
    static TFlowBlock* AppendTo(TFCList& Target, TFlowBlock* Owner, int Branch, TBlockKind Kind,
                                const QString& Text) {
        return AppendBlock(Target, Owner, Branch, Kind, Text);
    }

    // Every drawn kind, nested four deep, a page break and a selected block.
    static void BuildMixed(TFCList& Target) {
        TFlowBlock* Root = Target.AddBlock(nullptr, bkRoot, -1, "Demo", nullptr);
        AppendTo(Target, Root, 0, bkInput, "n");
        TFlowBlock* Case = AppendTo(Target, Root, 0, bkCase, "n mod 3");
        AppendTo(Target, Case, 0, bkProcess, "a := 0");
        TFlowBlock* While = AppendTo(Target, Case, 1, bkWhile, "a < n");
        TFlowBlock* If = AppendTo(Target, While, 0, bkIfElse, "odd(a)");
        AppendTo(Target, If, 0, bkCall, "Tick(a)");
        TFlowBlock* For = AppendTo(Target, If, 1, bkFor, "k := 1 to a");
        AppendTo(Target, For, 0, bkOutput, "k");
        AppendTo(Target, While, 0, bkProcess, "a := a + 1");
        TFlowBlock* Repeat = AppendTo(Target, Case, 2, bkRepeat, "done");
        AppendTo(Target, Repeat, 0, bkIfYesLeft, "x > 0");
        TFlowBlock* NoOnly = AppendTo(Target, Repeat, 0, bkIfNoRight, "y > 0");
        AppendTo(Target, NoOnly, 1, bkProcess, "y := 1\r\nz := 2");
        AppendTo(Target, Root, 0, bkPageBreak, "");
        Target.Selection.Add(AppendTo(Target, Root, 0, bkOutput, "'done'"));
        Target.Selection.Add(While);
    }

    // Everything the passes write and every picture.
    static std::vector<int> Values(const TFCList& Target) {
        std::vector<int> V;
        for (const TFlowBlock* B : Target.GetList()) {
            for (const TRect& R : {B->InRect, B->OutRect, B->ShapeRect, B->TextRect}) {
                V.insert(V.end(), {R.Left, R.Top, R.Right, R.Bottom});
            }
            V.insert(V.end(), {B->AbsX, B->AbsY, B->RelX, B->RelY, B->LeftExtent, B->RightExtent,
                               B->ExitY, B->PageY});
            for (const TPropertyItems& I : B->Items) {
                V.insert(V.end(), {I.Offset, I.ChainX, I.ChainY, I.Rect.Left, I.Rect.Top,
                                   I.Rect.Right, I.Rect.Bottom, I.EntryRect.Left, I.EntryRect.Top,
                                   I.LabelRect.Left, I.LabelRect.Top});
            }
        }
        return V;
    }

    static void ExpectSame(const TFCList& A, const TBitmap& PictureA, const TFCList& B,
                           const TBitmap& PictureB) {
        EXPECT_EQ(Values(A), Values(B));
        EXPECT_EQ(Pixels(PictureA), Pixels(PictureB));
        for (int I = 0; I < A.Count(); ++I) {
            EXPECT_EQ(Pixels(*A.GetBlock(I)->Bitmap), Pixels(*B.GetBlock(I)->Bitmap)) << I;
        }
    }

    // The passes of a repaint with nothing reused, then the composition.
    static void DrawEverythingAgain(TFCList& Target, TBitmap& Picture) {
        const int Passes = RepaintPassCount(Target.MaxLevel(), MainSettings->pm_alleq);
        for (int I = 0; I < Passes; ++I) {
            Target.DrawBlock(Target.First());
        }
        ComposeChart(Target, Picture);
    }
};

// With the machine's fonts a chart that nothing touched is not laid out
// again: every touch must still lay it out.
class LayoutRepaintRounds : public LayoutRepaintTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LayoutRepaintRounds, RepaintsGiveWhatDrawingEverythingAgainGives) {
    const bool RealFonts = GetParam();
    if (RealFonts) {
        Metrics.reset();
    }
    TFCList Reused;
    TFCList Fresh;
    BuildMixed(Reused);
    BuildMixed(Fresh);
    TBitmap ReusedPicture;
    TBitmap FreshPicture;
    // Each round changes both charts alike between repaints: texts, blocks,
    // the selection, settings and the text metrics (with real fonts the
    // block font and a label); the last one changes nothing.
    for (int Round = 0; Round < 8; ++Round) {
        RepaintChart(Reused, ReusedPicture);
        DrawEverythingAgain(Fresh, FreshPicture);
        ExpectSame(Reused, ReusedPicture, Fresh, FreshPicture);
        for (TFCList* Target : {&Reused, &Fresh}) {
            TFlowBlock* Block = Target->GetBlock(1 + Round);
            switch (Round) {
            case 0:
                Block->Text = "a much longer text than before";
                break;
            case 1:
                AppendTo(*Target, Target->GetBlock(4), 0, bkProcess, "new");
                break;
            case 2:
                Target->Selection.Clear();
                Target->Selection.Add(Block);
                break;
            case 3:
                Block->Text = "";
                break;
            default:
                break;
            }
        }
        if (Round == 3) {
            Settings->pm_ForOld = false;
            Settings->pm_bcebce = 20;
        }
        if (Round == 4) {
            if (RealFonts) {
                Settings->FontBlock.Size = 12;
            } else {
                UseMetrics(7, 11);
            }
        }
        if (Round == 5) {
            if (RealFonts) {
                Settings->ServPool->SetString("sm_yes", "Так, безумовно");
            } else {
                UseMetrics(10, 16); // a new provider, maybe where the last one was
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, LayoutRepaintRounds, ::testing::Bool());

TEST_F(LayoutRepaintTest, RealFontTextsAreRenderedAgainWhenTheBlockFontChanges) {
    Metrics.reset(); // the machine's fonts, whichever they are, for both charts
    TFCList Reused;
    TFCList Fresh;
    BuildMixed(Reused);
    BuildMixed(Fresh);
    TBitmap ReusedPicture;
    TBitmap FreshPicture;
    for (int Size : {8, 8, 12, 12, 8}) {
        Settings->FontBlock.Size = Size;
        RepaintChart(Reused, ReusedPicture);
        DrawEverythingAgain(Fresh, FreshPicture);
        ExpectSame(Reused, ReusedPicture, Fresh, FreshPicture);
    }
}

// A chart with enough texts that they are rendered ahead of the first pass,
// on several threads: multi-line texts, case labels and loop closings too.
TEST_F(LayoutRepaintTest, TextsRenderedAheadOnOtherThreadsAreThoseAPassRenders) {
    auto Build = [](TFCList& Target) {
        TFlowBlock* Root = Target.AddBlock(nullptr, bkRoot, -1, "Demo", nullptr);
        for (int I = 0; I < 40; ++I) {
            const QString N = QString::number(I);
            AppendTo(Target, Root, 0, bkProcess, "x" + N + " := " + N + "\r\ny := x" + N);
            TFlowBlock* Case = AppendTo(Target, Root, 0, bkCase, "k" + N);
            Case->Items[0].Text = "case " + N;
            TFlowBlock* For = AppendTo(Target, Case, 1, bkFor, "i" + N + ":=1 to " + N);
            AppendTo(Target, For, 0, bkOutput, "'line " + N + "'");
        }
    };
    for (bool RealFonts : {false, true}) {
        if (RealFonts) {
            Metrics.reset();
        }
        TFCList Ahead;
        TFCList Fresh;
        Build(Ahead);
        Build(Fresh);
        TBitmap AheadPicture;
        TBitmap FreshPicture;
        RepaintChart(Ahead, AheadPicture);
        DrawEverythingAgain(Fresh, FreshPicture);
        ExpectSame(Ahead, AheadPicture, Fresh, FreshPicture);
    }
}

TEST_F(LayoutRepaintTest, PicturesChangedBetweenRepaintsAreDrawnAgain) {
    TFCList Reused;
    TFCList Fresh;
    BuildMixed(Reused);
    BuildMixed(Fresh);
    TBitmap ReusedPicture;
    TBitmap FreshPicture;
    RepaintChart(Reused, ReusedPicture);
    DrawEverythingAgain(Fresh, FreshPicture);
    // Someone scribbles on block pictures and on the chart picture between
    // repaints (as the window writes block numbers on the chart picture).
    for (TFCList* Target : {&Reused, &Fresh}) {
        int I = 0;
        for (TFlowBlock* B : Target->GetList()) {
            if (I++ % 3 == 0) {
                B->Bitmap->Canvas().SetPixel(1, 1, clGreen);
            }
        }
    }
    ReusedPicture.Canvas().SetPixel(0, 0, clGreen);
    RepaintChart(Reused, ReusedPicture);
    DrawEverythingAgain(Fresh, FreshPicture);
    ExpectSame(Reused, ReusedPicture, Fresh, FreshPicture);
    // Only the chart picture changed.
    ReusedPicture.Canvas().SetPixel(0, 0, clGreen);
    RepaintChart(Reused, ReusedPicture);
    DrawEverythingAgain(Fresh, FreshPicture);
    ExpectSame(Reused, ReusedPicture, Fresh, FreshPicture);
}

// Measures as the fixed metrics do, and fails on one text as a picture
// there is no memory for fails.
class TFailingMetrics : public TFixedTextMetrics {
public:
    TFailingMetrics() : TFixedTextMetrics(10, 16) {}
    TSize TextExtent(const TFont& Font, const QString& Text) const override {
        if (!FailOn.isEmpty() && Text == FailOn) {
            throw Exception(QStringLiteral("no memory for a picture"));
        }
        return TFixedTextMetrics::TextExtent(Font, Text);
    }
    inline static QString FailOn;
};

// A block whose picture fails ends the repaint (a block left with its old
// picture would show a chart that is not so); once the pictures are given
// back, the next repaint draws it all as if nothing had failed.
TEST_F(LayoutRepaintTest, APictureThatFailsEndsTheRepaintAndLeavesNothingBehind) {
    TFCList Failing;
    TFCList Fresh;
    BuildMixed(Failing);
    BuildMixed(Fresh);
    TBitmap FailingPicture;
    TBitmap FreshPicture;
    Metrics.reset();
    Metrics = std::make_unique<TTextMetricsGuard>(std::make_unique<TFailingMetrics>());
    RepaintChart(Failing, FailingPicture);
    for (TFCList* Target : {&Failing, &Fresh}) {
        for (TFlowBlock* B : Target->GetList()) {
            if (B->Text == QStringLiteral("Tick(a)")) {
                B->Text = QStringLiteral("Tock(a)");
            }
        }
    }
    TFailingMetrics::FailOn = QStringLiteral("Tock(a)");
    EXPECT_THROW(RepaintChart(Failing, FailingPicture), Exception);
    TFailingMetrics::FailOn.clear();
    ReleaseChartPictures(Failing);
    RepaintChart(Failing, FailingPicture);
    DrawEverythingAgain(Fresh, FreshPicture);
    ExpectSame(Failing, FailingPicture, Fresh, FreshPicture);
}

TEST_F(LayoutRepaintTest, CallsThatDrawOtherwiseThanTheOneBeforeLeaveNothingBehind) {
    // Within one session a block is drawn, changed, and drawn again; it must
    // look as a block drawn once in its final state.
    struct TChange {
        const char* What;
        TBlockKind Kind;
        std::function<void(TFlowBlock*)> Apply;
    };
    const std::vector<TChange> Changes = {
        {"narrower arrowheads", bkProcess, [&](TFlowBlock*) { Settings->pm_shakeX = 1; }},
        {"narrower lanes", bkFor, [&](TFlowBlock*) { Settings->pm_shakeX = 1; }},
        {"longer text", bkFor, [](TFlowBlock* B) { B->Text = "a longer text"; }},
        {"selected", bkFor, [&](TFlowBlock* B) { Chart.Selection.Add(B); }},
        {"other kind", bkFor, [](TFlowBlock* B) { B->Kind = bkInput; }},
        {"body grows", bkFor, [&](TFlowBlock* B) { Append(B, 0, bkProcess, "more"); }},
    };
    for (const TChange& Change : Changes) {
        Settings->pm_shakeX = 6;
        Chart.Selection.Clear();
        TFlowBlock* Reused = Append(Change.Kind, "abcd");
        TFlowBlock* Fresh = Append(Change.Kind, "abcd");
        if (Change.Kind == bkFor) {
            Append(Reused, 0, bkCall, "body");
            Append(Fresh, 0, bkCall, "body");
        }
        {
            TLayoutSession Session;
            Chart.DrawBlock(Reused);
            Chart.DrawBlock(Reused);
            Change.Apply(Reused);
            Chart.DrawBlock(Reused);
            Chart.DrawBlock(Reused);
        }
        Change.Apply(Fresh);
        Chart.DrawBlock(Fresh);
        EXPECT_EQ(Pixels(*Reused->Bitmap), Pixels(*Fresh->Bitmap)) << Change.What;
        EXPECT_EQ(Reused->InRect.Width(), Fresh->InRect.Width()) << Change.What;
    }
}

} // namespace
} // namespace tvx
