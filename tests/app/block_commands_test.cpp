// Block commands of a chart window: the two popups, kind changes and if
// variants, the block clipboard across windows, deleting marked blocks, the
// text clipboard and the keys of the chart.
#include "app/focused_panel.h"
#include "app_fixture.h"
#include "chart/chart_invariants.h"
#include "chart_pointer.h"
#include "platform/text_clipboard.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>

using namespace tvx;

namespace {

class BlockCommandsTest : public AppTest {
protected:
    // A new chart window holding: 1 "x := 1", 2 an if "c" whose yes branch
    // holds 3 "y := 2" and 4 a while "w" whose body holds 5 "z := 3",
    // 6 "done" after the if.
    TMDIChild& OpenSample() {
        StartEditor();
        Form().FileNew1Execute();
        TMDIChild& child = *Active();
        TFCList& chart = *child.Chart;
        TMouseInfo after(-1);
        TMouseInfo first(0);
        TFlowBlock* x = chart.AddBlock(chart.First(), bkProcess, -1, "x := 1", &after);
        TFlowBlock* cond = chart.AddBlock(x, bkIfElse, -1, "c", &after);
        TFlowBlock* y = chart.AddBlock(cond, bkProcess, -1, "y := 2", &first);
        TFlowBlock* loop = chart.AddBlock(y, bkWhile, -1, "w", &after);
        chart.AddBlock(loop, bkProcess, -1, "z := 3", &first);
        chart.AddBlock(cond, bkOutput, -1, "done", &after);
        child.RePaintChem();
        Form().MakeAction();
        return child;
    }

    // The pointer rests on the element of the block: the hit of the commands.
    void PointAt(TMDIChild& child, int block) { MoveTo(child, ElementOf(child, block)); }

    void Key(TMDIChild& child, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        child.PanelPaint->setFocus();
        QTest::keyClick(child.PanelPaint, key, modifiers);
    }

    QStringList Texts(const TFCList& chart) {
        QStringList texts;
        for (TFlowBlock* block : chart.GetList()) {
            texts.append(block->Text);
        }
        return texts.mid(1);
    }

    qsizetype Snapshots() { return Active()->History.UndoList.size(); }

    TMemoryTextClipboardScope Clipboard;
};

} // namespace

TEST_F(BlockCommandsTest, ThePopupOnAnElementIsTheBlockMenuElsewhereTheFlowMenu) {
    TMDIChild& child = OpenSample();
    auto openPopup = [&](QPoint at) {
        MoveTo(child, at);
        QTest::mouseClick(child.pbOut, Qt::RightButton, Qt::NoModifier, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, child.pbOut->mapToGlobal(at));
        QApplication::sendEvent(child.pbOut, &menu);
    };
    openPopup(ElementOf(child, 1));
    EXPECT_TRUE(child.PopupShakes->isVisible());
    EXPECT_FALSE(child.PopupFlow->isVisible());
    child.PopupShakes->close();
    openPopup(NodeOf(child, 1));
    EXPECT_TRUE(child.PopupFlow->isVisible());
    EXPECT_TRUE(child.Paste1->isEnabled());
    child.PopupFlow->close();

    // An add item of the flow popup adds its type where the pointer was.
    child.While1->trigger();
    ASSERT_EQ(child.Chart->Count(), 8);
    EXPECT_EQ(child.Chart->GetBlock(7)->Kind, bkWhile);
    EXPECT_EQ(child.Chart->GetBlock(1)->Next, child.Chart->GetBlock(7));
    EXPECT_TRUE(Form().sbWhile->isChecked());
    // Over nothing it only switches to adding.
    Form().sbDel->trigger();
    Form().sbProcess->setChecked(true);
    MoveTo(child, Nowhere(child));
    child.N6->trigger();
    EXPECT_TRUE(Form().sbAdd->isChecked());
    EXPECT_TRUE(Form().sbProcess->isChecked());
    EXPECT_EQ(child.Chart->Count(), 8);
    EXPECT_CHART_VALID(*child.Chart);
}

TEST_F(BlockCommandsTest, KindChangesNeedTheRightBranchCountAndKeepTextAndBody) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    PointAt(child, 4);
    child.fordo1->trigger(); // while into for keeps its body
    EXPECT_EQ(chart.GetBlock(4)->Kind, bkFor);
    EXPECT_EQ(chart.GetBlock(4)->GetItemChain(0), chart.GetBlock(5));
    EXPECT_EQ(chart.GetBlock(4)->Text, "w");
    EXPECT_EQ(Snapshots(), 3);
    child.repeatuntil1->trigger();
    EXPECT_EQ(chart.GetBlock(4)->Kind, bkRepeat);

    PointAt(child, 1);
    child.whiledo->trigger(); // a process has no body: refused
    child.N19->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Kind, bkCall);
    child.N21->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Kind, bkOutput);
    child.N20->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Kind, bkInput);
    child.N18->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Kind, bkProcess);
    EXPECT_EQ(Snapshots(), 8);

    PointAt(child, 2);
    child.N18->trigger(); // an if keeps its kind
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    PointAt(child, 0);
    child.N18->trigger(); // never the root
    EXPECT_EQ(chart.First()->Kind, bkRoot);
    EXPECT_EQ(Snapshots(), 8);

    // A page break turned into a process no longer counts as a page.
    TMouseInfo after(-1);
    chart.AddBlock(chart.GetBlock(6), bkPageBreak, -1, "", &after);
    child.RePaintChem();
    PointAt(child, 7);
    child.N18->trigger();
    EXPECT_EQ(chart.GetBlock(7)->Kind, bkProcess);
    EXPECT_EQ(chart.PageBreakCount, 0);
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, IfVariantsRepaintOnlyAndRefuseANonEmptyBranch) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    const QString code = child.reCode->toPlainText();
    PointAt(child, 2);
    child.N22->trigger(); // already both branches
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    child.if1->trigger(); // yes left: the no branch is empty
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfYesLeft);
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_EQ(child.reCode->toPlainText(), code);
    child.N22->trigger();
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    child.else1->trigger(); // the yes branch holds blocks
    EXPECT_EQ(Prompts->Messages(), QStringList{"Левая ветвь не пуста"});
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    EXPECT_FALSE(child.else1->isVisible());

    TMouseInfo no(1);
    chart.AddBlock(chart.GetBlock(2), bkProcess, -1, "n", &no);
    child.RePaintChem();
    PointAt(child, 2);
    child.if1->trigger();
    EXPECT_EQ(Prompts->Messages().last(), "Правая ветвь не пуста");
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);

    // Neither turns a multi-way selection into an if, nor a loop.
    TMouseInfo after(-1);
    chart.AddBlock(chart.GetBlock(1), bkCase, -1, "k", &after);
    child.RePaintChem();
    PointAt(child, 8);
    child.if1->trigger();
    child.else1->trigger();
    EXPECT_EQ(chart.GetBlock(8)->Kind, bkCase);
    PointAt(child, 4);
    child.else1->trigger();
    EXPECT_EQ(chart.GetBlock(4)->Kind, bkWhile);
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, BlockClipboardCopiesTheMarkedBlockAndPastesItInAnyWindow) {
    TMDIChild& child = OpenSample();
    Form().sbHand->trigger();
    PointAt(child, 2);
    child.Paste1->trigger();
    EXPECT_EQ(Prompts->Messages(), QStringList{"Буфер обмена пуст!"});
    EXPECT_EQ(Snapshots(), 2);

    ClickAt(child, ElementOf(child, 4)); // marks the while
    child.N34->trigger();
    ASSERT_TRUE(Form().BlockClipboard);
    EXPECT_EQ(Form().BlockClipboard->Count(), 3); // its root, the while, its body

    Form().FileNew1Execute();
    TMDIChild& other = *Active();
    MoveTo(other, ElementOf(other, 0));
    other.Paste1Click();
    other.Paste1Click(); // the clipboard keeps its content
    EXPECT_EQ(Texts(*other.Chart), (QStringList{"w", "z := 3", "w", "z := 3"}));
    EXPECT_EQ(other.History.UndoList.size(), 3);
    EXPECT_CHART_VALID(*other.Chart);

    // Pasting at a branch head: the first block of the yes branch.
    const QPoint yes = BranchOf(child, 2, 0);
    ASSERT_NE(yes, QPoint(-1, -1));
    MoveTo(child, yes);
    child.Paste1Click();
    EXPECT_EQ(child.Chart->GetBlock(2)->GetItemChain(0)->Text, "w");
    EXPECT_EQ(child.Chart->GetBlock(2)->GetItemChain(0)->Level, 2);
    EXPECT_CHART_VALID(*child.Chart);
}

TEST_F(BlockCommandsTest, CutTakesTheMarkedBlockIntoTheClipboardAndOutOfTheChart) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    Form().sbHand->trigger();
    // Nothing marked: the clipboard is emptied, nothing deleted.
    child.N34->trigger();
    ClickAt(child, ElementOf(child, 1));
    child.N34->trigger();
    ASSERT_TRUE(Form().BlockClipboard);
    ClickAt(child, Nowhere(child));
    PointAt(child, 1);
    child.N35->trigger();
    EXPECT_FALSE(Form().BlockClipboard);
    EXPECT_EQ(chart.Count(), 7);

    ClickAt(child, ElementOf(child, 2)); // the if
    PointAt(child, 1);                   // the pointer then moves on
    child.N35->trigger();
    ASSERT_TRUE(Form().BlockClipboard);
    EXPECT_EQ(Texts(*Form().BlockClipboard), (QStringList{"c", "y := 2", "w", "z := 3"}));
    EXPECT_EQ(Texts(chart), (QStringList{"x := 1", "done"}));
    EXPECT_EQ(Snapshots(), 3);
    EXPECT_CHART_VALID(chart);

    // Ctrl+V puts it back after the element under the pointer.
    PointAt(child, 1);
    Key(child, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(chart.GetBlock(1)->Next->Text, "c");
    EXPECT_EQ(chart.Count(), 7);
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, DeleteRemovesTheBlockUnderThePointerThenEveryMarkedBlock) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    Form().sbHand->trigger();
    ClickAt(child, ElementOf(child, 4));                    // the while, marked
    ClickAt(child, ElementOf(child, 6), Qt::ShiftModifier); // "done", marked too
    PointAt(child, 1);
    Key(child, Qt::Key_Delete);
    EXPECT_EQ(Texts(chart), (QStringList{"c", "y := 2"}));
    EXPECT_EQ(Snapshots(), 3);
    EXPECT_CHART_VALID(chart);

    MoveTo(child, Nowhere(child));
    Key(child, Qt::Key_Delete, Qt::ShiftModifier); // nothing marked, no element hit
    EXPECT_EQ(chart.Count(), 3);
    EXPECT_EQ(Snapshots(), 4);

    // The popup item does the same.
    for (int i = 0; i < 2; ++i) {
        Form().N9Click();
    }
    ASSERT_EQ(chart.Count(), 7);
    child.RePaintChem();
    PointAt(child, 6);
    child.N15->trigger();
    EXPECT_EQ(chart.Count(), 6);
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, DeleteAgainWithoutMovingTakesTheBlockNowUnderThePointer) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    // "late" comes last in the list but right after "x := 1" in the chart.
    TMouseInfo after(-1);
    chart.AddBlock(chart.GetBlock(1), bkProcess, -1, "late", &after);
    child.RePaintChem();
    PointAt(child, 1);
    Key(child, Qt::Key_Delete);
    EXPECT_EQ(Texts(chart), (QStringList{"c", "y := 2", "w", "z := 3", "done", "late"}));
    // "late" has moved up under the pointer; the if, now first in the list,
    // is elsewhere.
    Key(child, Qt::Key_Delete);
    EXPECT_EQ(Texts(chart), (QStringList{"c", "y := 2", "w", "z := 3", "done"}));
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, CopyAndCutKeysFillTheBlockClipboard) {
    TMDIChild& child = OpenSample();
    Form().sbHand->trigger();
    ClickAt(child, ElementOf(child, 3));
    Key(child, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(Form().BlockClipboard);
    EXPECT_EQ(Texts(*Form().BlockClipboard), QStringList{"y := 2"});
    Key(child, Qt::Key_C); // without Ctrl: nothing
    Key(child, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Texts(*child.Chart), (QStringList{"x := 1", "c", "w", "z := 3", "done"}));
    EXPECT_CHART_VALID(*child.Chart);
}

TEST_F(BlockCommandsTest, TextCommandsGoThroughTheSystemClipboard) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    PointAt(child, 1);
    child.N24->trigger();
    EXPECT_EQ(Clipboard.Text(), "x := 1");
    EXPECT_EQ(Snapshots(), 2);
    child.N29->trigger(); // the same text: nothing
    child.N30->trigger();
    child.N26->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Text, "x := 1");
    EXPECT_EQ(Snapshots(), 2);

    Clipboard.SetText("b");
    child.N29->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Text, "x := 1; b");
    child.N30->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Text, "b; x := 1; b");
    child.N26->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Text, "b");
    EXPECT_EQ(Snapshots(), 5);
    EXPECT_TRUE(child.reCode->toPlainText().contains("b;"));

    // Cut empties the block even when the clipboard held its text already.
    PointAt(child, 1);
    child.N25->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Text, "");
    EXPECT_EQ(Clipboard.Text(), "b");
    // An empty clipboard pastes nothing over a text.
    PointAt(child, 3);
    Clipboard.SetText("");
    child.N26->trigger();
    EXPECT_EQ(chart.GetBlock(3)->Text, "y := 2");
    // Never on the root or a node.
    Clipboard.SetText("q");
    PointAt(child, 0);
    child.N26->trigger();
    MoveTo(child, NodeOf(child, 3));
    child.N26->trigger();
    EXPECT_EQ(chart.GetBlock(3)->Text, "y := 2");
    EXPECT_NE(chart.First()->Text, "q");
}
