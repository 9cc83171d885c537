// Multi-way selection with the fixed text metrics (10 x 16 per character:
// "abcd" renders 40 x 16, an empty case label 30 x 16): the header diamond,
// the ladder of case diamonds down the left column and the branch chains
// hanging right of them.
#include "chart/compound_shapes.h"
#include "chart/layout_call.h"
#include "shape_test_support.h"

namespace tvx {
namespace {

using CaseShapeTest = ShapeTest;

TEST_F(CaseShapeTest, EmptyBranchesStackBelowTheHeader) {
    TFlowBlock* Block = LaidOut(bkCase);
    // Header diamond 76 x 43; case diamonds 66 wide and as high as the header.
    EXPECT_EQ(Block->Bitmap->Width(), 3 + 66 + 76 + 6);
    EXPECT_EQ(Block->LeftExtent, 75);
    EXPECT_EQ(Block->RightExtent, 75);
    EXPECT_EQ(Block->ExitY, 43 + 13 + 3);
    EXPECT_EQ(Block->Bitmap->Height(), 240);
    const int X = Block->AbsX;
    const int Y = Block->AbsY;
    EXPECT_EQ(Block->InRect, Rect(X + 37, Y, X + 113, Y + 59));
    EXPECT_EQ(Block->OutRect, Rect(X, Y + 227, X + 151, Y + 240));

    const int Tops[] = {59, 115, 171};
    for (int J = 0; J < 3; ++J) {
        const TPropertyItems& Item = Block->Items[J];
        // An empty branch hangs 6 right of the case column, so the arrowhead
        // into it stays clear of the case diamond's right corner (x 69).
        EXPECT_EQ(Item.ChainX, 75) << J;
        EXPECT_EQ(Item.ChainY, Tops[J] + 21 + 13) << J;
        EXPECT_EQ(Item.Offset, 75) << J;
        EXPECT_EQ(Item.Rect, Rect(X + 69, Y + Tops[J] + 21, X + 81, Y + Tops[J] + 34)) << J;
        // Case diamond corners, and the arrow from its right corner down to
        // the branch's top.
        EXPECT_TRUE(IsLine(Block, 36, Tops[J])) << J;
        EXPECT_TRUE(IsLine(Block, 3, Tops[J] + 21)) << J;
        EXPECT_TRUE(IsLine(Block, 70, Tops[J] + 21)) << J;
        EXPECT_TRUE(IsHead(Block, 75, Tops[J] + 31)) << J;
        EXPECT_TRUE(IsWhite(Block, 71, Tops[J] + 25)) << J;
        // Each case leads down into the next one (or the join).
        EXPECT_TRUE(IsHead(Block, 36, Tops[J] + 52)) << J;
    }
    // Yes leads from the header into the first case; no runs down the right
    // lane to the join; the exit arrow leaves the join on the flow line.
    EXPECT_TRUE(IsLine(Block, 36, 30));
    EXPECT_TRUE(IsLine(Block, 130, 21));
    EXPECT_TRUE(IsLine(Block, 148, 150));
    EXPECT_TRUE(IsLine(Block, 36, 227));
    EXPECT_TRUE(IsLine(Block, 148, 227));
    EXPECT_TRUE(IsHead(Block, 75, 236));
}

TEST_F(CaseShapeTest, ChainsHangInsideThePictureWithoutOverlapping) {
    TFlowBlock* Block = Append(bkCase, QStringLiteral("ab"));
    TFlowBlock* Wide = Append(Block, 0, bkProcess, QStringLiteral("abcdefghijklmnopqrst"));
    TFlowBlock* Loop = Append(Block, 1, bkWhile, QStringLiteral("abcd"));
    TFlowBlock* Inner = Append(Loop, 0, bkProcess, QStringLiteral("x"));
    TFlowBlock* Last = Append(Block, 2, bkProcess, QStringLiteral("abc"));
    TFlowBlock* Below = Append(Block, 2, bkProcess, QStringLiteral("abc"));
    Settle();
    Settle();

    // The header diamond widens to the widest chain.
    EXPECT_EQ(Block->InRect.Width(), 2 * (Wide->LeftExtent + 3));
    int PreviousBottom = 0;
    for (TFlowBlock* B : {Wide, Loop, Last, Below}) {
        EXPECT_EQ(B->Parent, Block);
        EXPECT_GE(B->RelX, 3 + 66);
        EXPECT_LE(B->RelX + B->Bitmap->Width(), Block->Bitmap->Width() - 2 * 3);
        EXPECT_GE(B->RelY, PreviousBottom);
        PreviousBottom = B->RelY + B->Bitmap->Height();
        EXPECT_EQ(B->AbsX, Block->AbsX + B->RelX);
        EXPECT_EQ(B->AbsY, Block->AbsY + B->RelY);
    }
    EXPECT_LT(PreviousBottom, Block->Bitmap->Height() - 13);
    // The last chain drops straight onto the join line below it instead of
    // running out to the lane beside the join line.
    const int JoinY = Block->Bitmap->Height() - 13;
    const int Flow = Block->GetItemOffset(2);
    EXPECT_TRUE(IsLine(Block, Flow, PreviousBottom));
    EXPECT_TRUE(IsLine(Block, Flow, JoinY));
    EXPECT_TRUE(IsWhite(Block, Flow + 20, PreviousBottom));
    EXPECT_TRUE(IsLine(Block, Flow + 20, JoinY));
    EXPECT_EQ(Inner->AbsY, Loop->AbsY + Inner->RelY);
    // A branch's flow line is its first block's.
    EXPECT_EQ(Block->GetItemOffset(1), Loop->RelX + Loop->LeftExtent);
}

TEST_F(CaseShapeTest, AnyNumberOfBranchRecordsIsDrawnWithinItsRecords) {
    TFlowBlock* Block = Append(bkCase, QStringLiteral("abcd"));
    TLayoutCall Call(Chart, *Block);
    Block->Items.resize(1);
    DrawCaseShape(Call);
    EXPECT_EQ(Block->ItemCount(), 1);
    EXPECT_EQ(Block->Bitmap->Height(), 59 + 56 + 13);
    Block->Items.clear();
    DrawCaseShape(Call);
    EXPECT_EQ(Block->ItemCount(), 0);
    EXPECT_EQ(Block->Bitmap->Height(), 59 + 13);
    Block->Items.resize(5);
    DrawCaseShape(Call);
    EXPECT_EQ(Block->Bitmap->Height(), 59 + 5 * 56 + 13);
}

} // namespace
} // namespace tvx
