// The pass frame: root, chain layout and placement, selection colours, the
// repeated passes of a repaint and the composed chart picture, damaged charts
// and charts larger than 16-bit positions.
#include "chart/chart_repaint.h"
#include "chart/layout_call.h"
#include "layout_test_support.h"
#include <QElapsedTimer>
#include <vector>

namespace tvx {
namespace {

class LayoutFrameTest : public LayoutTest {
protected:
    // Every block hangs at its parent's absolute position plus its relative one.
    void ExpectSettled() {
        for (const TFlowBlock* B : Chart.GetList()) {
            if (B->Parent != nullptr) {
                EXPECT_EQ(B->AbsX, std::uint16_t(B->Parent->AbsX + B->RelX)) << B->Index;
                EXPECT_EQ(B->AbsY, std::uint16_t(B->Parent->AbsY + B->RelY)) << B->Index;
            }
        }
    }

    // Everything a pass writes, to compare two repaints.
    struct TSnapshot {
        std::vector<int> Values;
        QImage Picture;
        bool operator==(const TSnapshot&) const = default;
    };
    TSnapshot Take(const TBitmap& Picture) {
        TSnapshot S;
        S.Picture = Pixels(Picture);
        for (const TFlowBlock* B : Chart.GetList()) {
            for (const TRect& R : {B->InRect, B->OutRect, B->ShapeRect, B->TextRect}) {
                S.Values.insert(S.Values.end(), {R.Left, R.Top, R.Right, R.Bottom});
            }
            S.Values.insert(S.Values.end(),
                            {B->AbsX, B->AbsY, B->RelX, B->RelY, B->LeftExtent, B->RightExtent,
                             B->ExitY, B->PageY, B->Bitmap->Width(), B->Bitmap->Height()});
            for (const TPropertyItems& Item : B->Items) {
                S.Values.insert(S.Values.end(),
                                {Item.Offset, Item.Rect.Left, Item.Rect.Top, Item.Rect.Right,
                                 Item.Rect.Bottom, Item.ChainX, Item.ChainY});
            }
        }
        return S;
    }

    // Repaints into Picture: the chart is settled after one repaint, and a
    // second changes nothing. The snapshot of the first.
    TSnapshot ExpectOneRepaintSettles(TBitmap& Picture) {
        RepaintChart(Chart, Picture);
        ExpectSettled();
        TSnapshot First = Take(Picture);
        RepaintChart(Chart, Picture);
        EXPECT_TRUE(Take(Picture) == First);
        return First;
    }

    // A chart whose deepest block has level Depth, every compound kind on the way.
    void BuildNested(int Depth) {
        static const TBlockKind Kinds[] = {bkIfElse, bkWhile,     bkCase,     bkRepeat,
                                           bkFor,    bkIfNoRight, bkIfYesLeft};
        Append(bkProcess, "first");
        TFlowBlock* Owner = Root;
        int Branch = 0;
        for (int Level = 1; Level < Depth; ++Level) {
            TBlockKind Kind = Kinds[(Level - 1) % std::size(Kinds)];
            Append(Owner, Branch, bkInput, "in" + QString::number(Level));
            TFlowBlock* Block = Append(Owner, Branch, Kind, "c" + QString::number(Level));
            Append(Owner, Branch, bkOutput, "out");
            if (Kind == bkIfElse || Kind == bkCase) {
                Append(Block, 0, bkCall, "Side");
            }
            Owner = Block;
            Branch = Kind == bkIfNoRight || Kind == bkCase ? 1 : 0;
        }
        Append(Owner, Branch, bkProcess, "deepest");
        Append(bkPageBreak, "");
        Append(bkProcess, "last");
    }
};

TEST_F(LayoutFrameTest, ChartOfOnlyTheRoot) {
    TBitmap Picture;
    RepaintChart(Chart, Picture);
    // Terminals 82 and 72 wide ("Начало" 60 + 16 + 2*3, "Конец" 50 + 16 + 2*3).
    EXPECT_EQ(Root->Bitmap->Width(), 82);
    EXPECT_EQ(Root->Bitmap->Height(), 2 * 16 + 4 * 3 + 13);
    EXPECT_EQ(Root->GetItemOffset(0), 41);
    EXPECT_EQ(Root->ExitY, 35);
    EXPECT_EQ(Root->InRect, Rect(0, 0, 82, 22));
    EXPECT_EQ(Root->OutRect, Rect(0, 22, 82, 35));
    EXPECT_EQ(Pixels(Picture), Pixels(*Root->Bitmap));
    EXPECT_EQ(PixelAt(Picture, 41, 0), clBlack);  // top of the start terminal
    EXPECT_EQ(PixelAt(Picture, 0, 11), clBlack);  // its left half circle
    EXPECT_EQ(PixelAt(Picture, 41, 22), clBlack); // the arrow leaves it ...
    EXPECT_EQ(PixelAt(Picture, 41, 31), clBlack);
    EXPECT_EQ(PixelAt(Picture, 41, 35), clBlack); // ... and ends on the finish terminal
    EXPECT_EQ(PixelAt(Picture, 5, 46), clBlack);  // finish terminal, 72 wide
    EXPECT_EQ(PixelAt(Picture, 4, 46), clWhite);
    EXPECT_EQ(RepaintPassCount(0, false), 3);
    EXPECT_EQ(RepaintPassCount(0, true), 4);
    EXPECT_EQ(RepaintPassCount(5, false), 5);
    EXPECT_EQ(RepaintPassCount(5, true), 8);
}

TEST_F(LayoutFrameTest, ChainsHangOnTheWidestFlowLine) {
    TFlowBlock* Narrow = Append(bkProcess, "a");
    TFlowBlock* Wide = Append(bkProcess, "abcdefghijklmnopqrst"); // 207 wide, flow line 103
    TFlowBlock* Legacy = Append(bkLegacyOutput, "old");
    TFlowBlock* After = Append(bkProcess, "b");
    Pass();
    EXPECT_EQ(Root->GetItemOffset(0), 106);
    EXPECT_EQ(Root->Bitmap->Width(), 106 + 106);
    EXPECT_EQ(Narrow->RelX, 106 - 18);
    EXPECT_EQ(Wide->RelX, 3);
    EXPECT_EQ(Wide->RelY, Narrow->RelY + 36);
    // A kind without a figure keeps its size, white, and no extents.
    EXPECT_EQ(Legacy->Bitmap->Width(), 50);
    EXPECT_EQ(Legacy->Bitmap->Height(), 25);
    EXPECT_EQ(Legacy->RelX, 106);
    EXPECT_EQ(After->RelY, Legacy->RelY + 25);
    EXPECT_EQ(PixelAt(Legacy, 0, 0), clWhite);
    ExpectSettled();

    TLayoutCall Call(Chart, *Root);
    TChainExtent Empty = Call.LayoutChain(nullptr);
    EXPECT_EQ(Empty.Left, 3);
    EXPECT_EQ(Empty.Right, 9);
    EXPECT_EQ(Empty.Width, 12);
    EXPECT_EQ(Empty.Height, 0);
}

TEST_F(LayoutFrameTest, SelectionColourIsChosenPerBlockAndNeverForTheRoot) {
    TFlowBlock* Selected = Append(bkProcess, "abc");
    TFlowBlock* Plain = Append(bkProcess, "abc");
    Chart.Selection.Add(Selected);
    Chart.Selection.Add(Root);
    Pass();
    EXPECT_EQ(PixelAt(Selected, 0, 0), clRed);
    EXPECT_EQ(PixelAt(Selected, 18, 23), clRed);   // arrow shaft
    EXPECT_EQ(PixelAt(Selected, 18, 31), clBlack); // inside the head
    EXPECT_EQ(PixelAt(Plain, 0, 0), clBlack);
    EXPECT_EQ(PixelAt(Root, Root->GetItemOffset(0), 0), clBlack);
}

TEST_F(LayoutFrameTest, OneRepaintSettlesSixLevelsAndASecondChangesNothing) {
    BuildNested(6);
    ASSERT_EQ(Chart.MaxLevel(), 6);
    TBitmap Picture;
    const TSnapshot First = ExpectOneRepaintSettles(Picture);
    EXPECT_EQ(Picture.Width(), Root->Bitmap->Width());
    EXPECT_EQ(Picture.Height(), Root->Bitmap->Height());

    // The document's own picture holds the same, in 16 bits per pixel.
    RepaintChart(Chart);
    EXPECT_EQ(Chart.ChartBitmap->PixelFormat(), pf16bit);
    EXPECT_EQ(Pixels(*Chart.ChartBitmap), First.Picture);
}

// Deeper than the passes of a repaint reach: more passes follow while the
// last one still moved something, so the first picture is right too.
TEST_F(LayoutFrameTest, DeeperChartsSettleInOneRepaintToo) {
    BuildNested(11);
    TBitmap Picture;
    ExpectOneRepaintSettles(Picture);
}

TEST_F(LayoutFrameTest, DeeperBlocksAreComposedOverShallowerOnes) {
    TFlowBlock* Loop = Append(bkWhile, "abcd");
    TFlowBlock* Body = Append(Loop, 0, bkProcess, "abc");
    TBitmap Picture;
    RepaintChart(Chart, Picture);
    // The body's outline lies where the loop's picture is white.
    EXPECT_EQ(PixelAt(Picture, Body->AbsX, Body->AbsY), clBlack);
    EXPECT_EQ(PixelAt(Loop, Body->RelX, Body->RelY), clWhite);
}

TEST_F(LayoutFrameTest, BranchRecordsThatDoNotMatchTheKindDrawTheFigureAlone) {
    TFlowBlock* If = Append(bkIfElse, "abcd");
    TFlowBlock* Hidden = Append(If, 0, bkProcess, "hidden");
    TFlowBlock* Loop = Append(bkWhile, "abcd");
    TFlowBlock* Case = Append(bkCase, "abcd");
    TFlowBlock* For = Append(bkFor, "abcd");
    Append(bkProcess, "after");
    If->Items.pop_back();  // one record where two belong
    Loop->Items.resize(3); // three where one belongs
    Case->Items.resize(2);
    For->Items.clear();
    TBitmap Picture;
    RepaintChart(Chart, Picture);
    // The diamond around a 40 x 16 text is 76 x 43; the figure is closed like
    // a block without branches, on its centre line.
    for (TFlowBlock* B : {If, Loop, Case}) {
        EXPECT_EQ(B->Bitmap->Width(), 77) << int(B->Kind);
        EXPECT_EQ(B->Bitmap->Height(), 43 + 13) << int(B->Kind);
        EXPECT_EQ(B->LeftExtent, 38);
        EXPECT_EQ(B->RightExtent, 38);
        EXPECT_EQ(PixelAt(B, 38, 0), clBlack);
        EXPECT_EQ(PixelAt(B, 0, 21), clBlack);
    }
    EXPECT_EQ(For->Bitmap->Height(), 23 + 13); // the for header, 62 x 23
    EXPECT_EQ(For->Bitmap->Width(), 63);
    // The blocks of a branch that was not laid out stay out of the picture:
    // their stale position (0, 0) would cover the start terminal.
    EXPECT_EQ(Hidden->AbsY, 0);
    EXPECT_EQ(PixelAt(Picture, 0, 11), PixelAt(Root, 0, 11));
}

TEST_F(LayoutFrameTest, ChartsPastSixteenBitsKeepTheirTrueSize) {
    UseMetrics(10, 400); // every process block 420 high
    for (int I = 0; I < 160; ++I) {
        Append(bkProcess, "abc");
    }
    TBitmap Picture;
    Picture.SetPixelFormat(pf16bit);
    RepaintChart(Chart, Picture);
    const int Height = 2 * 400 + 160 * 420 + 4 * 3 + 13; // 68,025
    EXPECT_EQ(Root->Bitmap->Height(), Height);
    EXPECT_EQ(Picture.Height(), Height);
    const TFlowBlock* Last = Chart.GetBlock(160);
    EXPECT_EQ(Last->AbsY, 400 + 6 + 13 + 159 * 420);
    // The last block is drawn where it stands, not over the top of the chart.
    const int Flow = Root->GetItemOffset(0);
    EXPECT_EQ(Picture.Canvas().Pixel(Flow, Last->AbsY + Last->ShapeRect.Top + 1),
              PixelAt(Last, Last->LeftExtent, Last->ShapeRect.Top + 1));
    // The finish terminal (the root's own drawing) closes the chart.
    int Drawn = 0;
    for (int Y = Height - 40; Y < Height; ++Y) {
        for (int X = 0; X < Picture.Width(); ++X) {
            EXPECT_EQ(Picture.Canvas().Pixel(X, Y), PixelAt(Root, X, Y)) << X << ", " << Y;
            Drawn += PixelAt(Root, X, Y) != clWhite;
        }
    }
    EXPECT_GT(Drawn, 0);
}

TEST_F(LayoutFrameTest, AbsurdSettingsNeitherFaultNorHang) {
    BuildNested(3);
    for (TBlockKind Kind : {bkCall, bkInput, bkOutput, bkFor}) {
        Append(Kind, "x");
    }
    QElapsedTimer Timer;
    Timer.start();
    for (int Angle : {0, 90}) {
        Settings->pm_ifangle = Settings->pm_forangle = Settings->pm_outangle = Angle;
        Settings->pm_bcebce = 0;
        Settings->pm_shakeY = -9;
        TBitmap Picture;
        RepaintChart(Chart, Picture);
    }
    // A hang, not a slow machine: the sanitizer build alone takes most of a
    // minute here.
    EXPECT_LT(Timer.elapsed(), 600000);
}

TEST_F(LayoutFrameTest, EmptyDocumentIsLeftAlone) {
    TFCList Empty;
    TBitmap Picture;
    RepaintChart(Empty, Picture);
    EXPECT_TRUE(Picture.Empty());
    Empty.DrawBlock(nullptr);
}

} // namespace
} // namespace tvx
