// Text rendering, the figures of the blocks without branches and the arrows.
#include "chart/layout_call.h"
#include "layout_test_support.h"

namespace tvx {
namespace {

using LayoutSimpleTest = LayoutTest;

TSize Rendered(TFCList& Chart, const QString& Text) {
    TBitmap Bitmap;
    Chart.RenderText(Bitmap, Text);
    return TSize{Bitmap.Width(), Bitmap.Height()};
}

TEST_F(LayoutSimpleTest, TextsAreSplitIntoLinesAndNeverSmallerThanTheLabels) {
    EXPECT_EQ(Rendered(Chart, "a"), (TSize{30, 16})); // as wide as "Нет"
    EXPECT_EQ(Rendered(Chart, ""), (TSize{30, 16}));
    EXPECT_EQ(Rendered(Chart, "a\r\nbb"), (TSize{30, 32}));
    EXPECT_EQ(Rendered(Chart, "a\r\n"), (TSize{30, 16}));
    EXPECT_EQ(Rendered(Chart, "a\rb\nc\n\nd"), (TSize{30, 80}));
    EXPECT_EQ(Rendered(Chart, "abcdefgh\r\nab"), (TSize{80, 32}));
    Settings->ServPool->Add("sm_yes", "yes, always");
    EXPECT_EQ(Rendered(Chart, "a"), (TSize{110, 16}));
}

// The lines a text picture draws, as its canvas receives them.
class TDrawnLines : public TDrawHook {
public:
    bool Intercept(const TDrawOp& Op) override {
        if (Op.Kind == TDrawOp::dkText) {
            Lines.append(Op.Payload->Text);
        }
        return false;
    }
    QStringList Lines;
};

// However long a text, its picture is bounded: a line too wide for any
// screen is cut before an ellipsis, and past the height or area the last
// line drawn is an ellipsis. A line just inside the bound is drawn whole.
TEST_F(LayoutSimpleTest, TextPicturesAreBoundedAndOrdinaryTextsDrawnWhole) {
    TBitmap Bitmap;
    TDrawnLines Drawn;
    Bitmap.Canvas().SetDrawHook(&Drawn);
    const QString Ellipsis = QStringLiteral("\u2026");
    const QString Widest(1638, u'x'); // 16,380 pixels
    Chart.RenderText(Bitmap, Widest);
    EXPECT_EQ(Drawn.Lines, QStringList{Widest});

    Drawn.Lines.clear();
    Chart.RenderText(Bitmap, QString(1'000'000, u'y') + "\r\nz");
    EXPECT_EQ((TSize{Bitmap.Width(), Bitmap.Height()}), (TSize{16380, 32}));
    EXPECT_EQ(Drawn.Lines, (QStringList{QString(1637, u'y') + Ellipsis, "z"}));

    Drawn.Lines.clear();
    Chart.RenderText(Bitmap, QStringLiteral("a\n").repeated(100'000));
    EXPECT_EQ((TSize{Bitmap.Width(), Bitmap.Height()}), (TSize{30, 16384}));
    ASSERT_EQ(Drawn.Lines.size(), 1024);
    EXPECT_EQ(Drawn.Lines[1022], "a");
    EXPECT_EQ(Drawn.Lines[1023], Ellipsis);

    // 2^24 pixels hold 64 lines of the widest width.
    Drawn.Lines.clear();
    Chart.RenderText(Bitmap, (Widest + "\n").repeated(100));
    EXPECT_EQ((TSize{Bitmap.Width(), Bitmap.Height()}), (TSize{16380, 1024}));
    ASSERT_EQ(Drawn.Lines.size(), 64);
    EXPECT_EQ(Drawn.Lines[63], Ellipsis);
    Bitmap.Canvas().SetDrawHook(nullptr);
}

TEST_F(LayoutSimpleTest, EachLineIsCentredInItsBand) {
    TBitmap Bitmap;
    Chart.RenderText(Bitmap, "x\r\nwide line");
    ASSERT_EQ(Bitmap.Width(), 90);
    // The fixed metrics draw each line's box centred: "x" covers 40..49 of
    // the top band; everything outside stays white.
    QImage Image = Pixels(Bitmap);
    auto InkIn = [&](int X0, int X1, int Y0, int Y1) {
        for (int Y = Y0; Y < Y1; ++Y) {
            for (int X = X0; X < X1; ++X) {
                if (Image.pixel(X, Y) != qRgb(255, 255, 255)) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(InkIn(40, 50, 0, 16));
    EXPECT_FALSE(InkIn(0, 40, 0, 16));
    EXPECT_FALSE(InkIn(50, 90, 0, 16));
    EXPECT_TRUE(InkIn(0, 45, 16, 32));
    EXPECT_TRUE(InkIn(45, 90, 16, 32));
}

TEST_F(LayoutSimpleTest, ProcessBlockOfAThirtyByThirteenText) {
    UseMetrics(10, 13);
    TFlowBlock* Block = Append(bkProcess, "abc");
    Pass();
    EXPECT_EQ(Block->ShapeRect, Rect(0, 0, 37, 20));
    EXPECT_EQ(Block->Bitmap->Width(), 37);
    EXPECT_EQ(Block->Bitmap->Height(), 33);
    EXPECT_EQ(Block->TextRect, Rect(3, 3, 34, 17));
    EXPECT_EQ(Block->LeftExtent, 18);
    EXPECT_EQ(Block->RightExtent, 18);
    EXPECT_EQ(Block->ExitY, 33);
    EXPECT_EQ(PixelAt(Block, 0, 0), clBlack);   // outline
    EXPECT_EQ(PixelAt(Block, 36, 19), clBlack); // right and bottom exclusive
    EXPECT_EQ(PixelAt(Block, 2, 2), clWhite);   // margin before the text
    EXPECT_EQ(PixelAt(Block, 18, 20), clBlack); // arrow leaves the figure
    EXPECT_EQ(PixelAt(Block, 18, 28), clBlack); // inside the head
    EXPECT_EQ(PixelAt(Block, 17, 20), clWhite);
}

TEST_F(LayoutSimpleTest, CallInputOutputAndPageBreakSizes) {
    TFlowBlock* Call = Append(bkCall, "abcd");
    TFlowBlock* Input = Append(bkInput, "abcd");
    TFlowBlock* Output = Append(bkOutput, "abcd");
    TFlowBlock* Page = Append(bkPageBreak, "");
    Output->ExitY = 123;
    Pass();
    Pass();

    EXPECT_EQ(Call->Bitmap->Width(), 62); // 40 + 2*3 + 2*5 + 2*3
    EXPECT_EQ(Call->Bitmap->Height(), 35);
    EXPECT_EQ(Call->LeftExtent, 31);
    EXPECT_EQ(PixelAt(Call, 5, 10), clBlack); // inner sides
    EXPECT_EQ(PixelAt(Call, 56, 10), clBlack);

    // Slant run Floor(22 / tan 60) = 12 on each side.
    EXPECT_EQ(Input->Bitmap->Width(), 64);
    EXPECT_EQ(Input->Bitmap->Height(), 35);
    EXPECT_EQ(PixelAt(Input, 12, 0), clBlack);
    EXPECT_EQ(PixelAt(Input, 11, 0), clWhite);
    EXPECT_EQ(PixelAt(Input, 0, 22), clBlack);

    // Height 24, run 11, arc radius 16 reaching 4 past its chord; the flow
    // line runs over the text's centre; ExitY is kept.
    EXPECT_EQ(Output->Bitmap->Width(), 55);
    EXPECT_EQ(Output->Bitmap->Height(), 37);
    EXPECT_EQ(Output->LeftExtent, 31);
    EXPECT_EQ(Output->RightExtent, 24);
    EXPECT_EQ(Output->ExitY, 123);
    EXPECT_EQ(Output->InRect,
              Rect(Output->AbsX + 4, Output->AbsY, Output->AbsX + 58, Output->AbsY + 24));
    EXPECT_EQ(PixelAt(Output, 0, 12), clBlack); // the point

    // Diameter Nearest(30 * sqrt 2 + 3) = 45 (the labels' width, not the digit's).
    EXPECT_EQ(Page->Bitmap->Width(), 45);
    EXPECT_EQ(Page->Bitmap->Height(), 2 * 45 + 3 + 13);
    EXPECT_EQ(Page->TextRect, Rect(7, 4, 37, 20));
    EXPECT_EQ(Page->PageY, Page->AbsY + 45 + 1);
    EXPECT_EQ(PixelAt(Page, 22, 0), clBlack);  // top of circle 1
    EXPECT_EQ(PixelAt(Page, 22, 48), clBlack); // top of circle 2
    EXPECT_EQ(PixelAt(Page, 22, 46), clWhite); // nothing between the circles
}

TEST_F(LayoutSimpleTest, InputSlantFollowsItsAngle) {
    TFlowBlock* Steep = Append(bkInput, "abcd");
    Settings->pm_outangle = 80;
    Pass();
    EXPECT_EQ(Steep->Bitmap->Width(), 40 + 2 * 3); // Floor(22 / 5.68617)
    Settings->pm_outangle = 10;
    Pass();
    EXPECT_EQ(Steep->Bitmap->Width(), 40 + 2 * 124); // Floor(22 / 0.17638)
}

// --- arrows ---

class ArrowTest : public LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        Block = Append(bkProcess, "a");
        Block->Bitmap->SetSize(60, 30);
    }
    TColor At(int X, int Y) const { return PixelAt(Block, X, Y); }
    TFlowBlock* Block = nullptr;
};

TEST_F(ArrowTest, DownwardHeadOutlinedInTheLineColourAndFilledBlack) {
    Chart.DrawArrowLine(*Block, clRed, 10, 0, 10, 13);
    EXPECT_EQ(At(10, 0), clRed); // shaft
    EXPECT_EQ(At(10, 3), clRed);
    EXPECT_EQ(At(7, 4), clRed); // base corners and tip
    EXPECT_EQ(At(13, 4), clRed);
    EXPECT_EQ(At(10, 13), clRed);
    EXPECT_EQ(At(10, 8), clBlack); // inside
    EXPECT_EQ(At(9, 6), clBlack);
    EXPECT_EQ(At(6, 4), clWhite);
    EXPECT_EQ(At(14, 4), clWhite);
    EXPECT_EQ(At(10, 14), clWhite);
    EXPECT_EQ(Block->Bitmap->Canvas().Pen.Color, clRed);
    EXPECT_EQ(Block->Bitmap->Canvas().Brush.Color, clBlack);
}

TEST_F(ArrowTest, SidewaysHeadsAndUpwardLinesPointingDown) {
    Chart.DrawArrowLine(*Block, clRed, 40, 5, 10, 5);
    EXPECT_EQ(At(19, 2), clRed); // head x 10..19, half width 3
    EXPECT_EQ(At(19, 8), clRed);
    EXPECT_EQ(At(10, 5), clRed);
    EXPECT_EQ(At(12, 5), clBlack);
    EXPECT_EQ(At(20, 2), clWhite);

    Chart.DrawArrowLine(*Block, clRed, 10, 20, 40, 20);
    EXPECT_EQ(At(31, 17), clRed); // head x 31..40
    EXPECT_EQ(At(31, 23), clRed);
    EXPECT_EQ(At(40, 20), clRed);
    EXPECT_EQ(At(38, 20), clBlack);
    EXPECT_EQ(At(30, 17), clWhite);

    TCanvas& Canvas = Block->Bitmap->Canvas();
    Canvas.Brush.Color = clWhite;
    Canvas.FillRect(Canvas.ClipRect());
    Chart.DrawArrowLine(*Block, clRed, 50, 25, 50, 12); // drawn upwards
    EXPECT_EQ(At(47, 3), clRed);                        // head still points down at y 12
    EXPECT_EQ(At(50, 8), clBlack);
}

TEST_F(ArrowTest, FillStaysInsideTheHead) {
    // A colour the picture stores only approximately still bounds the fill.
    Chart.DrawArrowLine(*Block, 0x123456, 10, 0, 10, 13);
    EXPECT_EQ(At(10, 8), clBlack);
    EXPECT_EQ(At(30, 20), clWhite);
    // A head much wider than long puts the border fill's usual seed outside it.
    Settings->pm_shakeX = 30;
    Chart.DrawArrowLine(*Block, clRed, 15, 5, 10, 5);
    EXPECT_EQ(At(50, 25), clWhite);
    // A head of no width is a line along the shaft.
    Settings->pm_shakeX = 0;
    Chart.DrawArrowLine(*Block, clBlue, 40, 0, 40, 13);
    EXPECT_EQ(At(40, 10), clBlue);
    EXPECT_EQ(At(39, 10), clWhite);
}

} // namespace
} // namespace tvx
