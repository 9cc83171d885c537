// The canvas's draw hook and touch recorder, which let the layout replay,
// skip or clear drawing without going over whole pictures: a call taken note
// of and carried out later draws what the call would have drawn, and every
// changed pixel lies in a recorded rectangle.
#include "platform/bitmap.h"
#include "platform/text_metrics.h"
#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace tvx {
namespace {

class TNoteTaker : public TDrawHook {
public:
    bool Intercept(const TDrawOp& Op) override {
        Calls.push_back(Op);
        return true;
    }
    std::vector<TDrawOp> Calls;
};

// Every kind of drawing call, in colours and with state changes between.
void DrawEverything(TBitmap& Picture, const TBitmap& Source) {
    TCanvas& C = Picture.Canvas();
    C.Pen.Color = clRed;
    C.MoveTo(2, 3);
    C.LineTo(40, 25);
    C.LineTo(5, 40);
    C.Brush.Color = clYellow;
    C.Rectangle(10, 10, 30, 20);
    C.Ellipse(30, 5, 55, 30);
    C.RoundRect(2, 30, 40, 50, 8, 8);
    C.Arc(20, 20, 60, 50, 60, 35, 20, 35);
    C.Brush.Color = clBlack;
    C.Polygon({TPoint{40, 40}, TPoint{58, 45}, TPoint{44, 58}});
    C.FloodFill(45, 46, clRed, fsBorder);
    C.SetPixel(1, 1, clBlue);
    C.Draw(3, 44, Source);
    C.CopyRect(TRect{50, 0, 60, 10}, Picture, TRect{0, 0, 10, 10}); // from itself
    C.Brush.Color = clWhite;
    C.Font.Color = clGreen;
    C.TextOut(12, 12, "ab");
    C.DrawCenteredText(TRect{0, 50, 60, 60}, "centre");
    C.Brush.Color = clAqua;
    Picture.SetSize(64, 70); // new area in the brush colour
    C.Pen.Color = clNavy;
    C.MoveTo(0, 69);
    C.LineTo(63, 62);
}

class DrawHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        Source.SetSize(12, 8);
        Source.Canvas().Brush.Color = clFuchsia;
        Source.Canvas().FillRect(TRect{2, 2, 10, 6});
        for (TBitmap* P : {&Direct, &Replayed}) {
            P->SetPixelFormat(pf16bit);
            P->SetSize(60, 60);
        }
    }
    TTextMetricsGuard Metrics{6, 10};
    TBitmap Source;
    TBitmap Direct;
    TBitmap Replayed;
};

TEST_F(DrawHookTest, CallsTakenNoteOfAndCarriedOutLaterDrawTheSame) {
    DrawEverything(Direct, Source);

    TNoteTaker Notes;
    Replayed.Canvas().SetDrawHook(&Notes);
    DrawEverything(Replayed, Source);
    Replayed.Canvas().SetDrawHook(nullptr);
    // Only the size changed; the pixels were left alone.
    EXPECT_EQ(Replayed.Width(), 64);
    EXPECT_EQ(Replayed.Canvas().Pixel(10, 10), clWhite);
    EXPECT_EQ(Replayed.Canvas().Pixel(0, 65), clAqua);

    Replayed.SetSize(60, 60);
    Replayed.Canvas().Brush.Color = clWhite;
    Replayed.Canvas().FillRect(Replayed.Canvas().ClipRect());
    for (const TDrawOp& Op : Notes.Calls) {
        Replayed.Canvas().Perform(Op);
    }
    EXPECT_TRUE(Direct.Image() == Replayed.Image());
    // Carrying out a call leaves the canvas's own state as it was.
    EXPECT_EQ(Replayed.Canvas().Brush.Color, clWhite);
}

TEST_F(DrawHookTest, CallsCompareEqualOnlyWhenTheyDrawTheSame) {
    TNoteTaker First;
    TNoteTaker Second;
    Direct.Canvas().SetDrawHook(&First);
    DrawEverything(Direct, Source);
    Replayed.Canvas().SetDrawHook(&Second);
    DrawEverything(Replayed, Source);
    EXPECT_TRUE(First.Calls == Second.Calls);

    Source.Canvas().SetPixel(0, 0, clBlack); // same call, other source pixels
    Replayed.SetSize(60, 60);
    Second.Calls.clear();
    DrawEverything(Replayed, Source);
    EXPECT_FALSE(First.Calls == Second.Calls);
}

TEST_F(DrawHookTest, EveryChangedPixelLiesInARecordedRectangle) {
    std::vector<TRect> Touched;
    Replayed.Canvas().SetTouchRecorder(&Touched);
    DrawEverything(Replayed, Source);
    Replayed.Canvas().SetTouchRecorder(nullptr);
    QImage Pixels = Replayed.Image().convertToFormat(QImage::Format_RGB32);
    for (int Y = 0; Y < Pixels.height(); ++Y) {
        for (int X = 0; X < Pixels.width(); ++X) {
            if (Pixels.pixel(X, Y) == qRgb(255, 255, 255)) {
                continue;
            }
            bool Inside = false;
            for (const TRect& R : Touched) {
                Inside = Inside || PtInRect(R, TPoint{X, Y});
            }
            ASSERT_TRUE(Inside) << X << ", " << Y;
        }
    }
}

} // namespace
} // namespace tvx
