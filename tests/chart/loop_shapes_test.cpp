// Loop blocks with the fixed text metrics (10 x 16 per character: "abcd"
// renders 40 x 16, the labels 30 x 16): sizes, lane positions and arrow
// directions of the while, repeat and both for shapes.
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "chart/loop_closing_text.h"
#include "chart/slant_figures.h"
#include "shape_test_support.h"

namespace tvx {
namespace {

using LoopShapeTest = ShapeTest;

TEST_F(LoopShapeTest, WhileWithEmptyBody) {
    TFlowBlock* Block = LaidOut(bkWhile);
    EXPECT_EQ(Block->InRect.Width(), 76);
    EXPECT_EQ(Block->InRect.Height(), 43);
    EXPECT_EQ(Block->ExitY, 65);
    EXPECT_EQ(Block->LeftExtent, 57);
    EXPECT_EQ(Block->RightExtent, 72);
    EXPECT_EQ(Block->GetItemOffset(0), 57);
    EXPECT_EQ(Block->Bitmap->Width(), 129);
    EXPECT_EQ(Block->Bitmap->Height(), 87);

    // The body arrow points down onto y 71, where the lane back starts: left
    // to x 3, up, and right into the left corner with the head at the corner.
    EXPECT_TRUE(IsHead(Block, 57, 67));
    EXPECT_TRUE(IsLine(Block, 30, 71));
    EXPECT_TRUE(IsLine(Block, 3, 50));
    EXPECT_TRUE(IsHead(Block, 16, 21));
    EXPECT_TRUE(IsWhite(Block, 6, 20));
    // The exit lane leaves the right corner, runs down x 126 and returns on y 74.
    EXPECT_TRUE(IsLine(Block, 110, 21));
    EXPECT_TRUE(IsLine(Block, 126, 50));
    EXPECT_TRUE(IsWhite(Block, 127, 50));
    EXPECT_TRUE(IsLine(Block, 100, 74));
    EXPECT_TRUE(IsHead(Block, 57, 83));
    EXPECT_EQ(Block->GetItemRect(0),
              Rect(Block->AbsX + 51, Block->AbsY + 10, Block->AbsX + 63, Block->AbsY + 74));
}

TEST_F(LoopShapeTest, WhileBodyHangsBelowTheHeader) {
    TFlowBlock* Block = Append(bkWhile, QStringLiteral("abcd"));
    TFlowBlock* Body = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    Settle();
    EXPECT_EQ(Body->RelY, 65);
    EXPECT_EQ(Body->RelX + Body->LeftExtent, 57);
    EXPECT_EQ(Block->Bitmap->Height(), 65 + 36 + 3 + 13);
    EXPECT_TRUE(IsHead(Block, 57, 61));  // into the body's top
    EXPECT_TRUE(IsLine(Block, 30, 101)); // lane back from the body's end
}

TEST_F(LoopShapeTest, RepeatTestsBelowItsBody) {
    TFlowBlock* Block = LaidOut(bkRepeat);
    EXPECT_EQ(Block->ExitY, 20);
    EXPECT_EQ(Block->LeftExtent, 76);
    EXPECT_EQ(Block->RightExtent, 42);
    EXPECT_EQ(Block->Bitmap->Width(), 118);
    // Below the diamond the yes label, 16 high, takes more than the 13 of the
    // gap to the next block.
    EXPECT_EQ(Block->Bitmap->Height(), 63 + 16);
    // Diamond from y 20 to y 63, its side corners 43 div 2 above the bottom
    // where the lane back leaves: left, up x 3 and right onto the flow line
    // at y 3; the entry arrow points down onto the diamond.
    EXPECT_TRUE(IsLine(Block, 76, 20));
    EXPECT_TRUE(IsLine(Block, 76, 63));
    EXPECT_TRUE(IsLine(Block, 38, 42));
    EXPECT_TRUE(IsLine(Block, 114, 42));
    EXPECT_TRUE(IsLine(Block, 20, 42));
    EXPECT_TRUE(IsLine(Block, 76, 65)); // the exit arrow beside the label
    EXPECT_TRUE(IsHead(Block, 76, 75));
    EXPECT_TRUE(IsLine(Block, 3, 20));
    EXPECT_TRUE(IsLine(Block, 40, 3));
    EXPECT_TRUE(IsHead(Block, 73, 3));
    EXPECT_TRUE(IsHead(Block, 76, 16));

    // Hit on the diamond only; the place after it only below the diamond.
    const int X = Block->AbsX;
    const int Y = Block->AbsY;
    EXPECT_EQ(Block->InRect, Rect(X + 38, Y + 20, X + 114, Y + 63));
    EXPECT_EQ(Block->OutRect, Rect(X + 38, Y + 63, X + 114, Y + 79));
    EXPECT_EQ(Block->GetItemRect(0), Rect(X + 70, Y, X + 82, Y + 20));
}

TEST_F(LoopShapeTest, RepeatLeavesRoomAboveAFlatDiamondForItsLabel) {
    Settings->pm_ifangle = 10;
    TFlowBlock* Block = LaidOut(bkRepeat);
    const int H = DiamondSize(*Settings, 40, 16).Height;
    const int Room = 16 + Settings->pm_sertext - H / 2; // the no label's reach
    ASSERT_GT(Room, 0);
    EXPECT_EQ(Block->Bitmap->Height(), 20 + Room + H + 16);
    const int L = Block->LeftExtent;
    EXPECT_TRUE(IsLine(Block, L, 20 + Room - 1)); // from the body down
    EXPECT_TRUE(IsLine(Block, L, 20 + Room));     // to the top corner
}

TEST_F(LoopShapeTest, OneHexagonFor) {
    TFlowBlock* Block = LaidOut(bkFor);
    EXPECT_EQ(Block->InRect.Width(), 62); // tan(45 degrees) here is 1.0005
    EXPECT_EQ(Block->InRect.Height(), 23);
    EXPECT_EQ(Block->ExitY, 36);
    EXPECT_EQ(Block->LeftExtent, 50);
    EXPECT_EQ(Block->RightExtent, 65);
    EXPECT_EQ(Block->Bitmap->Width(), 115);
    EXPECT_EQ(Block->Bitmap->Height(), 58);
    // Flat top as wide as the text; lanes as for the while loop.
    EXPECT_TRUE(IsLine(Block, 30, 0));
    EXPECT_TRUE(IsLine(Block, 69, 0));
    EXPECT_TRUE(IsWhite(Block, 25, 0));
    EXPECT_TRUE(IsLine(Block, 3, 30));
    EXPECT_TRUE(IsLine(Block, 112, 30));
}

TEST_F(LoopShapeTest, TwoShapeForHasAHeaderAndAClosingFigure) {
    Settings->pm_ForOld = false;
    TFlowBlock* Block = LaidOut(bkFor);
    EXPECT_EQ(Block->LeftExtent, 35);
    EXPECT_EQ(Block->RightExtent, 35);
    EXPECT_EQ(Block->Bitmap->Width(), 70);
    EXPECT_EQ(Block->Bitmap->Height(), 72);
    // Header with squared lower corners at y 23; closing figure from y 36 to
    // y 59 with squared upper corners; no lanes.
    EXPECT_TRUE(IsLine(Block, 4, 23));
    EXPECT_TRUE(IsLine(Block, 4, 36));
    EXPECT_TRUE(IsLine(Block, 35, 59));
    EXPECT_TRUE(IsWhite(Block, 4, 59));
    EXPECT_TRUE(IsHead(Block, 35, 33));
    EXPECT_TRUE(IsHead(Block, 35, 68));
    EXPECT_TRUE(IsWhite(Block, 1, 30));

    EXPECT_EQ(LoopClosingText(QStringLiteral("i:=1 to 10"), QStringLiteral(" ")),
              QStringLiteral("i"));
    EXPECT_EQ(LoopClosingText(QStringLiteral("i = 1 to 10"), QStringLiteral("next")),
              QStringLiteral("next"));
    EXPECT_EQ(LoopClosingText(QStringLiteral(":x"), QStringLiteral("next")), QString());
}

TEST_F(LoopShapeTest, EmptyBodyExtraRoomOnlyForLoopsThatTestAtTheTop) {
    auto HeightGain = [this](TBlockKind Kind, bool ForOld) {
        Settings->pm_ForOld = ForOld;
        TFlowBlock* Empty = Append(Kind, QStringLiteral("abcd"));
        TFlowBlock* Full = Append(Kind, QStringLiteral("abcd"));
        TFlowBlock* Body = Append(Full, 0, bkProcess, QStringLiteral("abc"));
        Pass();
        return Full->Bitmap->Height() - Body->Bitmap->Height() - Empty->Bitmap->Height();
    };
    EXPECT_EQ(HeightGain(bkWhile, true), -6);
    EXPECT_EQ(HeightGain(bkFor, true), -6);
    EXPECT_EQ(HeightGain(bkRepeat, true), 0);
    EXPECT_EQ(HeightGain(bkFor, false), 0);
}

TEST_F(LoopShapeTest, LoopWithoutItsBranchRecordDrawsAnEmptyBody) {
    for (TBlockKind Kind : {bkWhile, bkRepeat, bkFor}) {
        TFlowBlock* Block = Append(Kind, QStringLiteral("abcd"));
        Block->Items.clear();
        TLayoutCall Call(Chart, *Block);
        DrawLoopShape(Call);
        EXPECT_GT(Block->Bitmap->Height(), 0) << int(Kind);
    }
}

} // namespace
} // namespace tvx
