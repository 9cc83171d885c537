// Block commands of a chart window: the two popups, kind changes and if
// variants, the block clipboard across windows, deleting marked blocks, the
// text clipboard and the keys of the chart.
#include "app/focused_panel.h"
#include "app/picture_export.h"
#include "app_fixture.h"
#include "chart/chart_invariants.h"
#include "chart_pointer.h"
#include "platform/text_clipboard.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QPlainTextEdit>

using namespace tvx;

namespace {

class BlockCommandsTest : public AppTest {
protected:
    // 1 "x := 1", 2 an if "c" whose yes branch holds 3 "y := 2" and 4 a
    // while "w" with 5 "z := 3" in its body, 6 "done" after the if. The
    // pointer moves the chart, so that clicks only select.
    TMDIChild& OpenSample() {
        StartEditor();
        Form().FileNew1Execute();
        TFCList& chart = *Active()->Chart;
        TMouseInfo after(-1);
        TMouseInfo first(0);
        TFlowBlock* x = chart.AddBlock(chart.First(), bkProcess, -1, "x := 1", &after);
        TFlowBlock* cond = chart.AddBlock(x, bkIfElse, -1, "c", &after);
        TFlowBlock* y = chart.AddBlock(cond, bkProcess, -1, "y := 2", &first);
        TFlowBlock* loop = chart.AddBlock(y, bkWhile, -1, "w", &after);
        chart.AddBlock(loop, bkProcess, -1, "z := 3", &first);
        chart.AddBlock(cond, bkOutput, -1, "done", &after);
        Active()->RePaintChem();
        Form().MakeAction();
        Form().sbHand->trigger();
        return *Active();
    }

    void PointAt(TMDIChild& child, int block) { MoveTo(child, ElementOf(child, block)); }
    void Key(TMDIChild& child, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(child.PanelPaint, key, modifiers);
    }
    static QStringList Texts(const TFCList& chart) {
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

TEST_F(BlockCommandsTest, PopupsAreChosenByTheHitAndAddItemsAddThere) {
    TMDIChild& child = OpenSample();
    auto popupAt = [&](QPoint at) {
        ClickAt(child, at, Qt::NoModifier, Qt::RightButton);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, child.pbOut->mapToGlobal(at));
        QApplication::sendEvent(child.pbOut, &menu);
    };
    popupAt(ElementOf(child, 1));
    EXPECT_TRUE(child.PopupShakes->isVisible());
    child.PopupShakes->close();
    popupAt(NodeOf(child, 1));
    EXPECT_TRUE(child.PopupFlow->isVisible());
    // The add items are a submenu; opening it switches to adding.
    EXPECT_EQ(child.N2->actions(), (QList<QAction*>{child.N1, child.N6, child.N7, child.N8,
                                                    child.fordownto1, child.While1, child.N9}));
    EXPECT_TRUE(Form().sbHand->isChecked());
    child.N2->popup(child.pbOut->mapToGlobal(NodeOf(child, 1)));
    EXPECT_TRUE(Form().sbAdd->isChecked());
    child.N2->close();
    child.PopupFlow->close();
    child.While1->trigger();
    EXPECT_EQ(child.Chart->GetBlock(1)->Next->Kind, bkWhile);
    EXPECT_TRUE(Form().sbAdd->isChecked());
    EXPECT_TRUE(Form().sbWhile->isChecked());
    // Over nothing an add item only switches to adding.
    MoveTo(child, Nowhere(child));
    child.N6->trigger();
    EXPECT_TRUE(Form().sbWhile->isChecked());
    EXPECT_EQ(child.Chart->Count(), 8);
    EXPECT_CHART_VALID(*child.Chart);
}

TEST_F(BlockCommandsTest, KindChangesNeedTheRightBranchCount) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    PointAt(child, 4);
    child.fordo1->trigger(); // a loop into another keeps text and body
    EXPECT_EQ(chart.GetBlock(4)->Kind, bkFor);
    EXPECT_EQ(chart.GetBlock(4)->GetItemChain(0)->Text, "z := 3");
    PointAt(child, 1);
    child.whiledo->trigger(); // a process has no body: refused
    child.N19->trigger();
    EXPECT_EQ(chart.GetBlock(1)->Kind, bkCall);
    PointAt(child, 2);
    child.N18->trigger(); // an if keeps its kind
    PointAt(child, 0);
    child.N18->trigger(); // never the root
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    EXPECT_EQ(chart.First()->Kind, bkRoot);
    EXPECT_EQ(Snapshots(), 4);
    // A page break made a process no longer counts: the picture export
    // would write a second page holding the whole chart again.
    TMouseInfo after(-1);
    chart.AddBlock(chart.GetBlock(6), bkPageBreak, -1, "", &after);
    child.RePaintChem();
    PointAt(child, 7);
    child.N18->trigger();
    EXPECT_EQ(chart.PageBreakCount, 0);
    EXPECT_EQ(PagePictureNames(chart, "chart.bmp").size(), 1);
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, IfVariantsRepaintOnlyAndRefuseANonEmptyBranch) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    const QString code = child.reCode->toPlainText();
    PointAt(child, 2);
    child.if1->trigger(); // yes left: the no branch is empty
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfYesLeft);
    EXPECT_EQ(child.reCode->toPlainText(), code);
    EXPECT_EQ(Snapshots(), 2);
    child.N22->trigger();
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    child.else1->trigger(); // the yes branch holds blocks
    EXPECT_EQ(Prompts->Messages(), QStringList{"Левая ветвь не пуста"});
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    TMouseInfo no(1);
    chart.AddBlock(chart.GetBlock(2), bkProcess, -1, "n", &no);
    child.RePaintChem();
    PointAt(child, 2);
    child.if1->trigger();
    EXPECT_EQ(Prompts->Messages().last(), "Правая ветвь не пуста");
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkIfElse);
    // A multi-way selection would lose its third branch: not an if.
    TMouseInfo after(-1);
    chart.AddBlock(chart.GetBlock(1), bkCase, -1, "k", &after);
    child.RePaintChem();
    PointAt(child, 8);
    child.if1->trigger();
    EXPECT_EQ(chart.GetBlock(8)->Kind, bkCase);
    EXPECT_CHART_VALID(chart);
}

TEST_F(BlockCommandsTest, BlockClipboardCopiesCutsAndPastesAcrossWindows) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    PointAt(child, 2);
    child.Paste1->trigger();
    EXPECT_EQ(Prompts->Messages(), QStringList{"Буфер обмена пуст!"});

    ClickAt(child, ElementOf(child, 4)); // marks the while
    Key(child, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(Form().BlockClipboard);
    Form().FileNew1Execute();
    TMDIChild& other = *Active();
    MoveTo(other, ElementOf(other, 0));
    other.Paste1Click();
    other.Paste1Click(); // the clipboard keeps its content
    EXPECT_EQ(Texts(*other.Chart), (QStringList{"w", "z := 3", "w", "z := 3"}));
    EXPECT_CHART_VALID(*other.Chart);

    // Cut takes out what it copied, the marked if, even with the pointer
    // moved on to another block.
    Form().MdiArea->setActiveSubWindow(Form().SubWindowOf(&child));
    ClickAt(child, ElementOf(child, 2));
    PointAt(child, 1);
    child.N35->trigger();
    EXPECT_EQ(Texts(*Form().BlockClipboard), (QStringList{"c", "y := 2", "w", "z := 3"}));
    EXPECT_EQ(Texts(chart), (QStringList{"x := 1", "done"}));
    // Ctrl+V pastes it after the element under the pointer.
    PointAt(child, 1);
    Key(child, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(chart.GetBlock(1)->Next->Text, "c");
    EXPECT_CHART_VALID(chart);
    // With nothing marked cut empties the clipboard and deletes nothing.
    ClickAt(child, Nowhere(child));
    PointAt(child, 1);
    Key(child, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(Form().BlockClipboard);
    EXPECT_EQ(chart.Count(), 7);
}

TEST_F(BlockCommandsTest, DeleteTakesTheBlockUnderThePointerThenEveryMarkedOne) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    // "late" comes last in the list but right after "x := 1" in the chart.
    TMouseInfo after(-1);
    chart.AddBlock(chart.GetBlock(1), bkProcess, -1, "late", &after);
    child.RePaintChem();
    ClickAt(child, ElementOf(child, 3));
    ClickAt(child, ElementOf(child, 6), Qt::ShiftModifier);
    PointAt(child, 1);
    Key(child, Qt::Key_Delete);
    EXPECT_EQ(Texts(chart), (QStringList{"c", "w", "z := 3", "late"}));
    EXPECT_CHART_VALID(chart);
    // Without a move the next Delete takes "late", now under the pointer,
    // not the if that took the first place in the list.
    Key(child, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(Texts(chart), (QStringList{"c", "w", "z := 3"}));
    MoveTo(child, Nowhere(child));
    child.N15->trigger();
    EXPECT_EQ(chart.Count(), 4);
    EXPECT_EQ(Snapshots(), 5); // every Delete takes a snapshot
}

TEST_F(BlockCommandsTest, TextCommandsGoThroughTheSystemClipboard) {
    TMDIChild& child = OpenSample();
    TFlowBlock& x = *child.Chart->GetBlock(1);
    PointAt(child, 1);
    child.N24->trigger();
    EXPECT_EQ(Clipboard.Text(), "x := 1");
    child.N29->trigger(); // the same text: nothing
    child.N30->trigger();
    EXPECT_EQ(x.Text, "x := 1");
    EXPECT_EQ(Snapshots(), 2);
    Clipboard.SetText("b");
    child.N29->trigger();
    EXPECT_EQ(x.Text, "x := 1; b");
    child.N30->trigger();
    EXPECT_EQ(x.Text, "b; x := 1; b");
    child.N26->trigger();
    EXPECT_EQ(x.Text, "b");
    EXPECT_EQ(Snapshots(), 5);
    // Cut, like the rest, does nothing while the clipboard holds the text.
    PointAt(child, 1);
    child.N25->trigger();
    EXPECT_EQ(x.Text, "b");
    EXPECT_EQ(Snapshots(), 5);
    Clipboard.SetText("other");
    child.N25->trigger();
    EXPECT_EQ(x.Text, "");
    EXPECT_EQ(Clipboard.Text(), "b");
    // An empty clipboard pastes nothing over a text; never the root.
    PointAt(child, 3);
    Clipboard.SetText("");
    child.N26->trigger();
    EXPECT_EQ(child.Chart->GetBlock(3)->Text, "y := 2");
    Clipboard.SetText("q");
    PointAt(child, 0);
    child.N26->trigger();
    EXPECT_NE(child.Chart->First()->Text, "q");
}
