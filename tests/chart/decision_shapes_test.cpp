// Condition blocks: diamond sizes, the placement of both branches and the
// one-branch variants, with the fixed text metrics (10 x 16 per character, so
// "abcd" renders 40 x 16 and the labels 30 x 16).
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "chart/slant_figures.h"
#include "layout_test_support.h"

namespace tvx {
namespace {

class DecisionShapeTest : public LayoutTest {
protected:
    // Hit areas use the positions of the pass before, so the second pass
    // settles a root-chain block.
    void Settle() {
        Pass();
        Pass();
    }
    TFlowBlock* LaidOut(TBlockKind Kind) {
        TFlowBlock* Block = Append(Kind, QStringLiteral("abcd"));
        Settle();
        return Block;
    }
    bool IsLine(const TFlowBlock* Block, int X, int Y) const {
        return PixelAt(Block, X, Y) == StoredColor(Block->Bitmap->PixelFormat(), Settings->cl_def);
    }
    static bool IsWhite(const TFlowBlock* Block, int X, int Y) {
        return PixelAt(Block, X, Y) == clWhite;
    }
    static bool IsBlack(const TFlowBlock* Block, int X, int Y) {
        return PixelAt(Block, X, Y) == clBlack;
    }
};

TEST_F(DecisionShapeTest, DiamondFollowsTheTextAndTheProgramsAngleFactor) {
    const TFigureSize Small = DiamondSize(*Settings, 40, 16);
    EXPECT_EQ(Small.Width, 76);
    EXPECT_EQ(Small.Height, 43);
    const TFigureSize OddWidth = DiamondSize(*Settings, 41, 16);
    EXPECT_EQ(OddWidth.Width, 76);
    EXPECT_EQ(OddWidth.Height, 43);
    const TFigureSize Large = DiamondSize(*Settings, 100, 32);
    EXPECT_EQ(Large.Width, 164);
    EXPECT_EQ(Large.Height, 94);

    // A block whose text renders 100 x 32 gets that diamond as its hit area.
    TFlowBlock* Block = Append(bkIfElse, QStringLiteral("abcdefghij\r\nabcdefghij"));
    Pass();
    EXPECT_EQ(Block->InRect.Width(), 164);
    EXPECT_EQ(Block->InRect.Height(), 94);
    EXPECT_EQ(Block->ExitY, 94);
}

TEST_F(DecisionShapeTest, AngleSettingsOutOfRangeGiveNoFigureInsteadOfAFault) {
    Settings->pm_ifangle = 0;
    EXPECT_EQ(DiamondSize(*Settings, 40, 16).Height, 0);
    Settings->pm_ifangle = 90;
    EXPECT_GE(DiamondSize(*Settings, 40, 16).Width, 0);
    TFlowBlock* Block = LaidOut(bkIfElse);
    EXPECT_GE(Block->Bitmap->Width(), 0);
}

TEST_F(DecisionShapeTest, IfElseWithEmptyBranches) {
    TFlowBlock* Block = LaidOut(bkIfElse);
    EXPECT_EQ(Block->GetItemOffset(0), 6);
    EXPECT_EQ(Block->LeftExtent, 74);
    EXPECT_EQ(Block->GetItemOffset(1), 142);
    EXPECT_EQ(Block->Bitmap->Width(), 154);
    EXPECT_EQ(Block->Bitmap->Height(), 62);
    EXPECT_EQ(Block->RightExtent, 80);

    // Diamond corners, the lines out to both branch lines, the join line.
    EXPECT_TRUE(IsLine(Block, 74, 0));
    EXPECT_TRUE(IsLine(Block, 36, 21));
    EXPECT_TRUE(IsLine(Block, 112, 21));
    EXPECT_TRUE(IsLine(Block, 20, 21));
    EXPECT_TRUE(IsLine(Block, 130, 21));
    for (int X : {6, 40, 74, 141}) {
        EXPECT_TRUE(IsLine(Block, X, 49)) << X;
    }
    EXPECT_TRUE(IsWhite(Block, 74, 48)); // nothing joins from above the exit
    EXPECT_TRUE(IsWhite(Block, 3, 49));
    EXPECT_TRUE(IsWhite(Block, 146, 49));
    // Both branch arrows point down onto the join line; the exit arrow too.
    EXPECT_TRUE(IsBlack(Block, 6, 45));
    EXPECT_TRUE(IsBlack(Block, 142, 45));
    EXPECT_TRUE(IsBlack(Block, 74, 58));
    EXPECT_TRUE(IsLine(Block, 6, 25));
    EXPECT_TRUE(IsWhite(Block, 3, 25));

    // Branch strips around both branch lines, from a quarter of the diamond
    // down to the join line.
    const TRect Yes = Block->GetItemRect(0);
    EXPECT_EQ(Yes, Rect(Block->AbsX + 0, Block->AbsY + 10, Block->AbsX + 12, Block->AbsY + 49));
    const TRect No = Block->GetItemRect(1);
    EXPECT_EQ(No, Rect(Block->AbsX + 136, Block->AbsY + 10, Block->AbsX + 148, Block->AbsY + 49));
    EXPECT_EQ(Block->InRect,
              Rect(Block->AbsX + 36, Block->AbsY, Block->AbsX + 112, Block->AbsY + 43));
    EXPECT_EQ(Block->OutRect,
              Rect(Block->AbsX, Block->AbsY + 49, Block->AbsX + 154, Block->AbsY + 62));
}

TEST_F(DecisionShapeTest, YesOnlyVariantRunsTheNoPathStraightDown) {
    TFlowBlock* Block = LaidOut(bkIfYesLeft);
    EXPECT_EQ(Block->GetItemOffset(0), 6);
    EXPECT_EQ(Block->LeftExtent, 74);
    EXPECT_EQ(Block->Bitmap->Width(), 142);
    EXPECT_EQ(Block->Bitmap->Height(), 62);
    EXPECT_EQ(Block->RightExtent, 68);
    // The yes path comes back to the flow line with a head pointing right.
    EXPECT_TRUE(IsLine(Block, 30, 49));
    EXPECT_TRUE(IsBlack(Block, 71, 49));
    EXPECT_TRUE(IsWhite(Block, 9, 48));
    // The flow line runs on from the bottom corner; no line leaves the right corner.
    EXPECT_TRUE(IsLine(Block, 74, 45));
    EXPECT_TRUE(IsWhite(Block, 125, 21));
    // The undrawn no branch cannot be hit.
    EXPECT_EQ(Block->GetItemRect(1), TRect{});
}

TEST_F(DecisionShapeTest, NoOnlyVariantRunsTheYesPathOnTheLeftEdge) {
    TFlowBlock* Block = LaidOut(bkIfNoRight);
    EXPECT_EQ(Block->GetItemOffset(0), 0);
    EXPECT_EQ(Block->LeftExtent, 68);
    EXPECT_EQ(Block->GetItemOffset(1), 136);
    EXPECT_EQ(Block->Bitmap->Width(), 145);
    EXPECT_EQ(Block->Bitmap->Height(), 62);
    EXPECT_EQ(Block->RightExtent, 77);
    EXPECT_TRUE(IsLine(Block, 0, 30));
    EXPECT_TRUE(IsLine(Block, 0, 49));
}

TEST_F(DecisionShapeTest, BranchesOfUnequalHeightEndOnOneJoinLine) {
    TFlowBlock* Block = Append(bkIfElse, QStringLiteral("abcd"));
    TFlowBlock* First = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    TFlowBlock* Second = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    TFlowBlock* Other = Append(Block, 1, bkProcess, QStringLiteral("abc"));
    Settle();
    // A process block of "abc": picture 37 x 36, flow line 18.
    ASSERT_EQ(First->Bitmap->Height(), 36);
    const int JoinY = Block->Bitmap->Height() - Settings->pm_bcebce;
    EXPECT_EQ(Block->Bitmap->Height(), 72 + 13 + 43); // no extra room once a branch is full
    EXPECT_EQ(First->RelY, 43);
    EXPECT_EQ(Second->RelY + 36, JoinY);
    EXPECT_EQ(Other->RelY + 36, JoinY); // the shorter chain starts lower
    EXPECT_EQ(First->RelX + First->LeftExtent, Block->GetItemOffset(0));
    EXPECT_EQ(Other->RelX + Other->LeftExtent, Block->GetItemOffset(1));
    // The no branch's arrow runs down to its chain's top.
    EXPECT_TRUE(IsLine(Block, Block->GetItemOffset(1), Other->RelY - 12));
    EXPECT_TRUE(IsBlack(Block, Block->GetItemOffset(1), Other->RelY - 3));
    EXPECT_EQ(Block->GetItemRect(1).Bottom, Block->AbsY + Other->RelY);
}

TEST_F(DecisionShapeTest, BlocksInTheYesBranchOfTheNoOnlyVariantStayInsideThePicture) {
    TFlowBlock* Block = Append(bkIfNoRight, QStringLiteral("abcd"));
    TFlowBlock* Inner = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    Settle();
    Pass();
    EXPECT_EQ(Block->GetItemOffset(0), 21); // the process's 18 plus the edge room
    EXPECT_EQ(Inner->RelX, 3);
    EXPECT_GE(Block->LeftExtent - Block->GetItemOffset(0), Inner->RightExtent);
}

TEST_F(DecisionShapeTest, SelectedBlockDrawsItsOwnLinesInTheSelectionColour) {
    TFlowBlock* Block = Append(bkIfElse, QStringLiteral("abcd"));
    TFlowBlock* Inner = Append(Block, 0, bkProcess, QStringLiteral("abc"));
    Chart.Selection.Add(Block);
    Pass();
    const TColor Sel = StoredColor(Block->Bitmap->PixelFormat(), Settings->cl_sel);
    EXPECT_EQ(PixelAt(Block, Block->LeftExtent, 0), Sel);
    EXPECT_EQ(PixelAt(Block, Block->GetItemOffset(0), Block->Bitmap->Height() - 13), Sel);
    EXPECT_EQ(PixelAt(Inner, 0, 0), StoredColor(Inner->Bitmap->PixelFormat(), Settings->cl_def));
}

TEST_F(DecisionShapeTest, MissingBranchRecordsReadAsEmptyBranches) {
    for (TBlockKind Kind : {bkIfElse, bkIfYesLeft, bkIfNoRight}) {
        TFlowBlock* Block = Append(Kind, QStringLiteral("abcd"));
        Block->Items.resize(1);
        TLayoutCall Call(Chart, *Block);
        DrawDecisionShape(Call);
        EXPECT_EQ(Block->ItemCount(), 1);
        Block->Items.clear();
        DrawDecisionShape(Call);
        EXPECT_EQ(Block->ItemCount(), 0);
        EXPECT_EQ(Block->Bitmap->Height(), 62) << int(Kind);
    }
}

} // namespace
} // namespace tvx
