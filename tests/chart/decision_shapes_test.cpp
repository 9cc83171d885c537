// Condition blocks with the fixed text metrics (10 x 16 per character, so
// "abcd" renders 40 x 16 and the labels 30 x 16).
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "chart/slant_figures.h"
#include "shape_test_support.h"

namespace tvx {
namespace {

using DecisionShapeTest = ShapeTest;

TEST_F(DecisionShapeTest, DiamondFollowsTheTextAndTheProgramsAngleFactor) {
    EXPECT_EQ(DiamondSize(*Settings, 40, 16).Width, 76);
    EXPECT_EQ(DiamondSize(*Settings, 40, 16).Height, 43);
    EXPECT_EQ(DiamondSize(*Settings, 41, 16).Width, 76);
    TFlowBlock* Block = LaidOut(bkIfElse, QStringLiteral("abcdefghij\r\nabcdefghij"));
    EXPECT_EQ(Block->InRect.Width(), 164); // text 100 x 32
    EXPECT_EQ(Block->InRect.Height(), 94);
    EXPECT_EQ(Block->ExitY, 94);
    // Hand-edited angles give degenerate figures, not faults.
    Settings->pm_ifangle = 0;
    EXPECT_EQ(DiamondSize(*Settings, 40, 16).Height, 0);
    Settings->pm_ifangle = 90;
    EXPECT_EQ(DiamondSize(*Settings, 40, 16).Width, 0);
}

TEST_F(DecisionShapeTest, IfElseWithEmptyBranches) {
    TFlowBlock* Block = LaidOut(bkIfElse);
    EXPECT_EQ(Block->GetItemOffset(0), 6);
    EXPECT_EQ(Block->LeftExtent, 74);
    EXPECT_EQ(Block->GetItemOffset(1), 142);
    EXPECT_EQ(Block->Bitmap->Width(), 154);
    EXPECT_EQ(Block->Bitmap->Height(), 62);
    EXPECT_EQ(Block->RightExtent, 80);

    // Lines from both side corners out to the branch lines, which run down
    // with their heads on the join line at y 49; the exit arrow below it.
    for (int X : {20, 36, 112, 130}) {
        EXPECT_TRUE(IsLine(Block, X, 21)) << X;
    }
    for (int X : {6, 74, 141}) {
        EXPECT_TRUE(IsLine(Block, X, 49)) << X;
    }
    EXPECT_TRUE(IsWhite(Block, 74, 48));
    EXPECT_TRUE(IsWhite(Block, 146, 49));
    EXPECT_TRUE(IsLine(Block, 6, 25));
    EXPECT_TRUE(IsHead(Block, 6, 45));
    EXPECT_TRUE(IsHead(Block, 142, 45));
    EXPECT_TRUE(IsHead(Block, 74, 58));

    const int X = Block->AbsX;
    const int Y = Block->AbsY;
    EXPECT_EQ(Block->GetItemRect(0), Rect(X, Y + 10, X + 12, Y + 49));
    EXPECT_EQ(Block->GetItemRect(1), Rect(X + 136, Y + 10, X + 148, Y + 49));
    EXPECT_EQ(Block->InRect, Rect(X + 36, Y, X + 112, Y + 43));
    EXPECT_EQ(Block->OutRect, Rect(X, Y + 49, X + 154, Y + 62));
}

TEST_F(DecisionShapeTest, OneBranchVariants) {
    TFlowBlock* YesOnly = LaidOut(bkIfYesLeft);
    EXPECT_EQ(YesOnly->GetItemOffset(0), 6);
    EXPECT_EQ(YesOnly->LeftExtent, 74);
    EXPECT_EQ(YesOnly->Bitmap->Width(), 142);
    EXPECT_EQ(YesOnly->Bitmap->Height(), 62);
    EXPECT_EQ(YesOnly->RightExtent, 68);
    // The yes path returns to the flow line, head pointing right; the no path
    // runs straight down from the bottom corner; the right corner stays bare.
    EXPECT_TRUE(IsLine(YesOnly, 30, 49));
    EXPECT_TRUE(IsHead(YesOnly, 71, 49));
    EXPECT_TRUE(IsWhite(YesOnly, 9, 48));
    EXPECT_TRUE(IsLine(YesOnly, 74, 45));
    EXPECT_TRUE(IsWhite(YesOnly, 125, 21));
    EXPECT_EQ(YesOnly->GetItemRect(1), TRect{}); // the undrawn branch cannot be hit

    TFlowBlock* NoOnly = LaidOut(bkIfNoRight);
    EXPECT_EQ(NoOnly->GetItemOffset(0), 0);
    EXPECT_EQ(NoOnly->LeftExtent, 68);
    EXPECT_EQ(NoOnly->GetItemOffset(1), 136);
    EXPECT_EQ(NoOnly->Bitmap->Width(), 145);
    EXPECT_EQ(NoOnly->Bitmap->Height(), 62);
    EXPECT_EQ(NoOnly->RightExtent, 77);
    EXPECT_TRUE(IsLine(NoOnly, 0, 30));
}

TEST_F(DecisionShapeTest, FlatDiamondsAreLoweredUnderTheLabelsOnTheirCorners) {
    // At 10 degrees the labels, 16 high, would reach above the picture.
    Settings->pm_ifangle = 10;
    const TFigureSize Diamond = DiamondSize(*Settings, 40, 16);
    const int Room = 16 + Settings->pm_sertext - Diamond.Height / 2;
    ASSERT_GT(Room, 0);
    for (TBlockKind Kind : {bkIfElse, bkIfYesLeft, bkIfNoRight, bkWhile, bkCase}) {
        TFlowBlock* Block = LaidOut(Kind);
        const int L = Block->LeftExtent;
        EXPECT_TRUE(IsLine(Block, L, 0)) << int(Kind);    // the way in
        EXPECT_TRUE(IsLine(Block, L, Room)) << int(Kind); // the top corner
        EXPECT_TRUE(IsLine(Block, L - Block->InRect.Width() / 2, Room + Diamond.Height / 2))
            << int(Kind);
        EXPECT_GE(Block->InRect.Height(), Room + Diamond.Height) << int(Kind);
    }
    // The no label under the yes-only diamond leaves its lower edge whole.
    TFlowBlock* YesOnly = LaidOut(bkIfYesLeft);
    const int Bottom = Room + Diamond.Height;
    bool Edge = false;
    for (int Y = Bottom - 4; Y <= Bottom; ++Y) {
        Edge = Edge || IsLine(YesOnly, YesOnly->LeftExtent + 13, Y);
    }
    EXPECT_TRUE(Edge);
}

TEST_F(DecisionShapeTest, BranchesOfUnequalHeightEndOnOneJoinLine) {
    TFlowBlock* Block = Append(bkIfElse, QStringLiteral("abcd"));
    TFlowBlock* First = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    TFlowBlock* Second = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    TFlowBlock* Other = Append(Block, 1, bkProcess, QStringLiteral("abc"));
    Chart.Selection.Add(Block);
    Settle();
    // Process blocks of "abc" are 37 x 36 with their flow line at 18; a full
    // branch takes away the extra room of two empty ones.
    EXPECT_EQ(Block->Bitmap->Height(), 72 + 13 + 43);
    const int JoinY = 128 - 13;
    EXPECT_EQ(First->RelY, 43);
    EXPECT_EQ(Second->RelY + 36, JoinY);
    EXPECT_EQ(Other->RelY + 36, JoinY); // the shorter chain starts lower
    EXPECT_EQ(First->RelX + 18, Block->GetItemOffset(0));
    EXPECT_EQ(Other->RelX + 18, Block->GetItemOffset(1));
    EXPECT_TRUE(IsHead(Block, Block->GetItemOffset(1), Other->RelY - 3));
    EXPECT_EQ(Block->GetItemRect(1).Bottom, Block->AbsY + Other->RelY);
    // The selected block draws its own lines in the selection colour, its
    // branch blocks keep theirs.
    const TColor Sel = StoredColor(Block->Bitmap->PixelFormat(), Settings->cl_sel);
    EXPECT_EQ(PixelAt(Block, Block->LeftExtent, 0), Sel);
    EXPECT_EQ(PixelAt(Block, Block->GetItemOffset(0), JoinY), Sel);
    EXPECT_TRUE(IsLine(First, 0, 0));
}

TEST_F(DecisionShapeTest, BlocksInTheYesBranchOfTheNoOnlyVariantStayInsideThePicture) {
    TFlowBlock* Block = Append(bkIfNoRight, QStringLiteral("abcd"));
    TFlowBlock* Inner = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    Settle();
    EXPECT_EQ(Block->GetItemOffset(0), 21); // the process's 18 plus the edge room
    EXPECT_EQ(Inner->RelX, 3);
    EXPECT_GE(Block->LeftExtent - Block->GetItemOffset(0), Inner->RightExtent);
}

TEST_F(DecisionShapeTest, MissingBranchRecordsReadAsEmptyBranches) {
    for (TBlockKind Kind : {bkIfElse, bkIfYesLeft, bkIfNoRight}) {
        TFlowBlock* Block = Append(Kind, QStringLiteral("abcd"));
        TLayoutCall Call(Chart, *Block);
        Block->Items.resize(1);
        DrawDecisionShape(Call);
        Block->Items.clear();
        DrawDecisionShape(Call);
        EXPECT_EQ(Block->ItemCount(), 0);
        EXPECT_EQ(Block->Bitmap->Height(), 62) << int(Kind);
    }
}

} // namespace
} // namespace tvx
