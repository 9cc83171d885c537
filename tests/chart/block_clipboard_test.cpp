#include "chart/block_clipboard.h"
#include "chart/fc_list.h"
#include "chart_invariants.h"
#include "platform/recording_prompts.h"
#include "xml_sample_chart.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace tvx;
using namespace tvx::testing;

namespace {

TMouseInfo Place(const TFlowBlock* Target, int Branch) {
    TMouseInfo info(Branch);
    info.BlockIndex = Target->Index;
    return info;
}

// Root chain: A, if (yes: Y1, Y2; no: empty), B.
struct IfChart {
    TFCList Chart;
    TFlowBlock* Root = Chart.AddBlock(nullptr, bkRoot, -1, "main", nullptr);
    TFlowBlock* A = AddAt(Chart, Root, 0, bkProcess, "A");
    TFlowBlock* If = AddAt(Chart, A, -1, bkIfElse, "c");
    TFlowBlock* Y1 = AddAt(Chart, If, 0, bkProcess, "Y1");
    TFlowBlock* Y2 = AddAt(Chart, Y1, -1, bkWhile, "Y2");
    TFlowBlock* B = AddAt(Chart, If, -1, bkProcess, "B");
};

// Root chain: W1 (while), whose body is W2 (while), whose body is P3, Q3.
struct DeepChart {
    TFCList Chart;
    TFlowBlock* Root = Chart.AddBlock(nullptr, bkRoot, -1, "main", nullptr);
    TFlowBlock* W1 = AddAt(Chart, Root, 0, bkWhile, "w1");
    TFlowBlock* W2 = AddAt(Chart, W1, 0, bkWhile, "w2");
    TFlowBlock* P3 = AddAt(Chart, W2, 0, bkProcess, "p3");
    TFlowBlock* Q3 = AddAt(Chart, P3, -1, bkProcess, "q3");
};

} // namespace

TEST(BlockClipboard, CopyTakesTheMarkedBlockWithItsBranchesOnly) {
    IfChart source;
    source.If->Comment = "not copied";
    source.If->Mark = 1;
    source.B->Mark = 1;
    std::unique_ptr<TFCList> clip = CopySelected(source.Chart);
    ASSERT_TRUE(clip);
    EXPECT_EQ(Describe(*clip), (QStringList{
                                   "0 k7 L0 p- n- [1 ] text=OnlyForCopy comment=",
                                   "1 k3 L1 p0 n- [2 - ] text=c comment=",
                                   "2 k0 L2 p1 n3 [] text=Y1 comment=",
                                   "3 k4 L2 p1 n- [- ] text=Y2 comment=",
                               }));
    EXPECT_CHART_VALID(*clip);

    source.Chart.ClearMarks();
    EXPECT_EQ(CopySelected(source.Chart), nullptr);
    source.Root->Mark = 1; // the root is never copied
    EXPECT_EQ(CopySelected(source.Chart), nullptr);
}

TEST(BlockClipboard, CopiedPageBreaksAreRenumberedAndSkippedWhereTheyCannotGo) {
    TFCList pages;
    TFlowBlock* pagesRoot = pages.AddBlock(nullptr, bkRoot, -1, "main", nullptr);
    TFlowBlock* loop = AddAt(pages, pagesRoot, 0, bkWhile, "loop");
    AddAt(pages, pagesRoot, 0, bkPageBreak, "");
    AddAt(pages, loop, 0, bkPageBreak, "");
    EXPECT_EQ(loop->GetItemChain(0)->Text, "2");
    loop->Mark = 1;
    std::unique_ptr<TFCList> copy = CopySelected(pages);
    ASSERT_EQ(copy->Count(), 3);
    EXPECT_EQ(copy->GetBlock(2)->Text, "1");
    EXPECT_EQ(copy->PageBreakCount, 1);

    // A page break three levels down, as an earlier paste can leave one, has
    // no place in the clipboard; its successor follows its predecessor.
    TFCList piece;
    TFlowBlock* pieceRoot = piece.AddBlock(nullptr, bkRoot, -1, "OnlyForCopy", nullptr);
    AddAt(piece, AddAt(piece, pieceRoot, 0, bkWhile, "w"), 0, bkPageBreak, "");
    TFCList source;
    TFlowBlock* root = source.AddBlock(nullptr, bkRoot, -1, "main", nullptr);
    TFlowBlock* outer = AddAt(source, root, 0, bkWhile, "outer");
    ASSERT_TRUE(Paste(source, &piece, Place(outer, 0)));
    TFlowBlock* w = outer->GetItemChain(0);
    TFlowBlock* deep = w->GetItemChain(0);
    ASSERT_EQ(deep->Level, 3);
    AddAt(source, w, 0, bkProcess, "X");
    AddAt(source, deep, -1, bkProcess, "Y");
    source.ClearMarks();
    outer->Mark = 1;
    std::unique_ptr<TFCList> clip = CopySelected(source);
    EXPECT_EQ(Describe(*clip), (QStringList{
                                   "0 k7 L0 p- n- [1 ] text=OnlyForCopy comment=",
                                   "1 k4 L1 p0 n- [2 ] text=outer comment=",
                                   "2 k4 L2 p1 n- [3 ] text=w comment=",
                                   "3 k0 L3 p2 n4 [] text=X comment=",
                                   "4 k0 L3 p2 n- [] text=Y comment=",
                               }));
    EXPECT_EQ(clip->PageBreakCount, 0);
}

TEST(BlockClipboard, PasteAfterADeepBlockSplicesItIntoThatChain) {
    IfChart source;
    source.If->Mark = 1;
    std::unique_ptr<TFCList> clip = CopySelected(source.Chart);

    DeepChart target;
    const int before = target.Chart.Count();
    ASSERT_TRUE(Paste(target.Chart, clip.get(), Place(target.P3, -1)));
    TFlowBlock* pasted = target.P3->Next;
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Index, before);
    EXPECT_EQ(pasted->Kind, bkIfElse);
    EXPECT_EQ(pasted->Level, 3);
    EXPECT_EQ(pasted->Parent, target.W2);
    EXPECT_EQ(pasted->Next, target.Q3);
    EXPECT_EQ(pasted->Mark, 1);
    TFlowBlock* y1 = pasted->GetItemChain(0);
    ASSERT_NE(y1, nullptr);
    EXPECT_EQ(y1->Text, "Y1");
    EXPECT_EQ(y1->Level, 4);
    EXPECT_EQ(y1->Parent, pasted);
    EXPECT_CHART_VALID(target.Chart);
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("temp_for_paste.xml")));
}

TEST(BlockClipboard, PasteAtABranchHeadGoesBeforeTheOldHead) {
    IfChart source;
    source.A->Mark = 1;
    std::unique_ptr<TFCList> clip = CopySelected(source.Chart);

    DeepChart target;
    ASSERT_TRUE(Paste(target.Chart, clip.get(), Place(target.W1, 0)));
    TFlowBlock* pasted = target.W1->GetItemChain(0);
    EXPECT_EQ(pasted->Text, "A");
    EXPECT_EQ(pasted->Level, 2);
    EXPECT_EQ(pasted->Parent, target.W1);
    EXPECT_EQ(pasted->Next, target.W2);

    // At the root: Branch 0, and -1 meaning the same since the root has no successor.
    ASSERT_TRUE(Paste(target.Chart, clip.get(), Place(target.Root, 0)));
    ASSERT_TRUE(Paste(target.Chart, clip.get(), Place(target.Root, -1)));
    TFlowBlock* head = target.Root->GetItemChain(0);
    EXPECT_EQ(head->Level, 1);
    EXPECT_EQ(head->Parent, target.Root);
    EXPECT_EQ(head->Next->Text, "A");
    EXPECT_EQ(head->Next->Next, target.W1);
    EXPECT_CHART_VALID(target.Chart);
}

TEST(BlockClipboard, EveryPasteMakesIndependentBlocks) {
    IfChart source;
    source.If->Mark = 1;
    std::unique_ptr<TFCList> clip = CopySelected(source.Chart);
    const QStringList clipBefore = Describe(*clip);

    IfChart target;
    ASSERT_TRUE(Paste(target.Chart, clip.get(), Place(target.B, -1)));
    ASSERT_TRUE(Paste(target.Chart, clip.get(), Place(target.B, -1)));
    EXPECT_EQ(target.Chart.Count(), 6 + 2 * 3);
    EXPECT_CHART_VALID(target.Chart);
    TFlowBlock* second = target.B->Next;
    TFlowBlock* first = second->Next;
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->GetItemChain(0), second->GetItemChain(0));
    EXPECT_EQ(first->Mark, 1);
    EXPECT_EQ(second->Mark, 1);
    EXPECT_EQ(Describe(*clip), clipBefore);

    target.Chart.DeleteBlock(first);
    EXPECT_CHART_VALID(target.Chart);
    EXPECT_EQ(second->GetItemChain(0)->Text, "Y1");
}

TEST(BlockClipboard, PasteWithNothingToPasteOrNowhereToGoChangesNothing) {
    TRecordingPromptsScope prompts;
    IfChart source;
    source.If->Mark = 1;
    std::unique_ptr<TFCList> clip = CopySelected(source.Chart);
    TFCList rootOnly;
    rootOnly.AddBlock(nullptr, bkRoot, -1, "OnlyForCopy", nullptr);

    IfChart target;
    const QStringList before = Describe(target.Chart);
    TMouseInfo nowhere(-1);
    nowhere.BlockIndex = -1;
    EXPECT_FALSE(Paste(target.Chart, clip.get(), nowhere));
    nowhere.BlockIndex = target.Chart.Count();
    EXPECT_FALSE(Paste(target.Chart, clip.get(), nowhere));
    EXPECT_FALSE(Paste(target.Chart, nullptr, Place(target.A, -1)));
    EXPECT_FALSE(Paste(target.Chart, &rootOnly, Place(target.A, -1)));
    EXPECT_FALSE(Paste(target.Chart, clip.get(), Place(target.A, 0))); // a process has no branch
    EXPECT_FALSE(Paste(target.Chart, clip.get(), Place(target.If, 2)));
    EXPECT_EQ(Describe(target.Chart), before);
    EXPECT_TRUE(prompts.Records().isEmpty());
}

TEST(BlockClipboard, AClipboardWithALongerRootChainIsPastedWhole) {
    TFCList clip;
    TFlowBlock* clipRoot = clip.AddBlock(nullptr, bkRoot, -1, "OnlyForCopy", nullptr);
    TFlowBlock* one = AddAt(clip, clipRoot, 0, bkProcess, "one");
    AddAt(clip, one, -1, bkPageBreak, "");

    IfChart target;
    ASSERT_TRUE(Paste(target.Chart, &clip, Place(target.Y1, -1)));
    EXPECT_EQ(target.Y1->Next->Text, "one");
    EXPECT_EQ(target.Y1->Next->Next->Kind, bkPageBreak);
    EXPECT_EQ(target.Y1->Next->Next->Next, target.Y2);
    EXPECT_EQ(target.Chart.PageBreakCount, 1);
    EXPECT_CHART_VALID(target.Chart);
}
