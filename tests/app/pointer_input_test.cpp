// Pointer input on the chart view: the hit test at every zoom and offset, the
// feedback of each tool mode, selection by clicks, dragging the chart, and
// the double clicks that add and delete blocks.
#include "app/cursors.h"
#include "app/focused_panel.h"
#include "app_fixture.h"
#include "chart/chart_invariants.h"
#include "chart_pointer.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>

using namespace tvx;

namespace {

class PointerTest : public AppTest {
protected:
    // A new chart window holding: 1 "x := 1", 2 an if "c" whose yes branch
    // holds 3 "y := 2", and 4 a while "w" with an empty body.
    TMDIChild& OpenSample() {
        StartEditor();
        Form().FileNew1Execute();
        TMDIChild& child = *Active();
        TFCList& chart = *child.Chart;
        TMouseInfo after(-1);
        TMouseInfo yes(0);
        TFlowBlock* first = chart.AddBlock(chart.First(), bkProcess, -1, "x := 1", &after);
        TFlowBlock* cond = chart.AddBlock(first, bkIfElse, -1, "c", &after);
        chart.AddBlock(cond, bkProcess, -1, "y := 2", &yes);
        chart.AddBlock(cond, bkWhile, -1, "w", &after);
        child.RePaintChem();
        Form().MakeAction();
        return child;
    }

    QString Panel(int i) { return Form().StatusPanels[i]->text(); }
    qsizetype Snapshots() { return Active()->History.UndoList.size(); }

    static bool ShowsCursor(const TMDIChild& child, int id) {
        const QCursor cursor = child.pbOut->cursor();
        return cursor.shape() == Qt::BitmapCursor &&
               cursor.pixmap().toImage() == CursorPicture(id).toImage();
    }
};

struct Hit {
    int Block;
    int Branch;
    THitKind Kind;
};

void ExpectHit(const TMDIChild& child, Hit expected) {
    EXPECT_EQ(child.MouseInfo.BlockIndex, expected.Block);
    EXPECT_EQ(child.MouseInfo.Branch, expected.Branch);
    EXPECT_EQ(child.MouseInfo.HitKind, expected.Kind);
}

} // namespace

TEST_F(PointerTest, HitTestFindsElementsNodesAndBranchesAtAnyZoomAndOffset) {
    TMDIChild& child = OpenSample();
    for (auto [zoom, x, y] : {std::tuple{100, 0, 0}, {200, -30, -17}, {50, 25, 9}, {150, 3, -8}}) {
        SCOPED_TRACE(zoom);
        child.Zoom = std::uint16_t(zoom);
        child.ScrollX = x;
        child.ScrollY = y;
        MoveTo(child, ElementOf(child, 2));
        ExpectHit(child, {2, -1, hkElement});
        MoveTo(child, NodeOf(child, 3));
        ExpectHit(child, {3, -1, hkNode});
        const QPoint yes = BranchOf(child, 4, 0);
        ASSERT_NE(yes, QPoint(-1, -1));
        MoveTo(child, yes);
        ExpectHit(child, {4, 0, hkBranch});
        MoveTo(child, ElementOf(child, 0));
        ExpectHit(child, {0, -1, hkElement});
    }
    // Outside every rectangle: nothing.
    child.Zoom = 100;
    MoveTo(child, Nowhere(child));
    ExpectHit(child, {-1, -1, hkBranch});
    // Left and top edges belong to a rectangle, right and bottom do not.
    child.Chart->GetBlock(4)->InRect = Rect(200, 300, 210, 305);
    MoveTo(child, ViewPoint(child, 200, 300));
    ExpectHit(child, {4, -1, hkElement});
    MoveTo(child, ViewPoint(child, 209, 304));
    ExpectHit(child, {4, -1, hkElement});
    MoveTo(child, ViewPoint(child, 210, 300));
    ExpectHit(child, {-1, -1, hkBranch});
    MoveTo(child, ViewPoint(child, 200, 305));
    ExpectHit(child, {-1, -1, hkBranch});
}

TEST_F(PointerTest, TheEarlierBlockInTheListWinsWhereRectanglesOverlap) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    chart.GetBlock(3)->InRect = Rect(300, 300, 360, 360);
    chart.GetBlock(1)->OutRect = Rect(340, 340, 390, 390);
    MoveTo(child, ViewPoint(child, 350, 350));
    ExpectHit(child, {1, -1, hkNode});
    MoveTo(child, ViewPoint(child, 320, 320));
    ExpectHit(child, {3, -1, hkElement});
}

TEST_F(PointerTest, PointerFeedbackFollowsTheModeAndWhatIsHit) {
    TMDIChild& child = OpenSample();
    MoveTo(child, ElementOf(child, 1));
    EXPECT_TRUE(ShowsCursor(child, crAddBlock));
    EXPECT_EQ(Panel(0), "Adding new symbols");
    EXPECT_EQ(Panel(1), "Element");
    EXPECT_EQ(Panel(2), "Process");
    EXPECT_EQ(Panel(3), "x := 1");
    EXPECT_EQ(child.pbOut->toolTip(), "Element\nType: Process\nText: x := 1");
    EXPECT_EQ(child.ViewPopup, child.PopupShakes);

    MoveTo(child, NodeOf(child, 4));
    EXPECT_EQ(Panel(1), "Node after Element");
    EXPECT_EQ(Panel(2), "While ...");
    EXPECT_EQ(Panel(3), "");
    EXPECT_EQ(child.pbOut->toolTip(), "Node after Element\nType: While ...\n");
    EXPECT_EQ(child.ViewPopup, child.PopupFlow);

    MoveTo(child, ElementOf(child, 0));
    EXPECT_EQ(Panel(2), "Start");

    Form().sbDel->trigger();
    MoveTo(child, ElementOf(child, 2));
    EXPECT_TRUE(ShowsCursor(child, crDeleteBlock));
    EXPECT_EQ(Panel(0), "Deleting existing symbols");
    EXPECT_EQ(Panel(2), "if .. else ...");
    Form().sbEditing->trigger();
    MoveTo(child, ElementOf(child, 2));
    EXPECT_TRUE(ShowsCursor(child, crEditText));
    EXPECT_EQ(Panel(0), "Editing symbols");
    Form().sbHand->trigger();
    MoveTo(child, ElementOf(child, 2));
    EXPECT_TRUE(ShowsCursor(child, crHand));
    EXPECT_EQ(Panel(0), "Move FlowChraters");
    MoveTo(child, ElementOf(child, 2), Qt::LeftButton);
    EXPECT_TRUE(ShowsCursor(child, crHandGrab));

    // Over nothing: the arrow, no hint, the flow popup; the panels keep their texts.
    MoveTo(child, Nowhere(child));
    EXPECT_EQ(child.pbOut->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(child.pbOut->toolTip(), "");
    EXPECT_EQ(child.ViewPopup, child.PopupFlow);
    EXPECT_EQ(Panel(1), "Element");
    EXPECT_EQ(Panel(3), "c");
}

TEST_F(PointerTest, ClicksSelectAndMarkOneBlockOrAddOneWithShift) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    TFlowBlock* a = chart.GetBlock(1);
    TFlowBlock* b = chart.GetBlock(3);
    auto selected = [&] {
        QList<int> blocks;
        for (int i = 0; i < chart.Selection.Count(); ++i) {
            blocks.append(chart.Selection.GetItem(i)->Index);
        }
        return blocks;
    };
    auto marked = [&] {
        QList<int> blocks;
        for (TFlowBlock* block : chart.GetList()) {
            if (block->Mark == 1) {
                blocks.append(block->Index);
            }
        }
        return blocks;
    };
    ClickAt(child, ElementOf(child, 1));
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_TRUE(child.PanelPaint->hasFocus());
    ClickAt(child, ElementOf(child, 3));
    EXPECT_EQ(selected(), QList<int>{3});
    EXPECT_EQ(marked(), QList<int>{3});
    ClickAt(child, ElementOf(child, 1), Qt::ShiftModifier);
    EXPECT_EQ(selected(), (QList<int>{3, 1}));
    EXPECT_EQ(marked(), (QList<int>{1, 3}));
    EXPECT_EQ(a->Mark, 1);
    EXPECT_EQ(b->Mark, 1);
    // The selected block is drawn in the selection colour.
    ClickAt(child, Nowhere(child));
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_TRUE(marked().isEmpty());
    // A click on the root selects nothing either.
    ClickAt(child, ElementOf(child, 3));
    ClickAt(child, ElementOf(child, 0));
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_EQ(Snapshots(), 2); // clicks change nothing of the chart
}

TEST_F(PointerTest, DraggingWithTheLeftButtonMovesTheChartInEveryMode) {
    TMDIChild& child = OpenSample();
    for (QAction* mode : {Form().sbHand, Form().sbAdd}) {
        mode->trigger();
        child.ScrollX = -5;
        child.ScrollY = 0;
        const QPoint start = ElementOf(child, 1);
        MoveTo(child, start);
        QTest::mousePress(child.pbOut, Qt::LeftButton, Qt::NoModifier, start);
        MoveTo(child, start + QPoint(30, 12), Qt::LeftButton);
        MoveTo(child, start + QPoint(-1000, 40), Qt::LeftButton);
        EXPECT_EQ(child.ScrollX, -1005); // no limit
        EXPECT_EQ(child.ScrollY, 40);
        EXPECT_EQ(child.ScrollBar1->value(), -40);
        EXPECT_EQ(child.ScrollBar2->value(), child.ScrollBar2->maximum()); // nearest allowed
        QTest::mouseRelease(child.pbOut, Qt::LeftButton, Qt::NoModifier, start);
        MoveTo(child, start + QPoint(-900, 0));
        EXPECT_EQ(child.ScrollX, -1005); // moving without the button scrolls nothing
    }
}

TEST_F(PointerTest, DoubleClicksInAddModeAddThePressedTypeWhereTheyHit) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild& child = *Active();
    TFCList& chart = *child.Chart;

    DoubleClickAt(child, ElementOf(child, 0));
    ASSERT_EQ(chart.Count(), 2);
    EXPECT_EQ(chart.GetBlock(1)->Text, "Block №1");
    EXPECT_EQ(chart.GetBlock(1)->Kind, bkProcess);
    EXPECT_EQ(chart.First()->GetItemChain(0), chart.GetBlock(1));
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_TRUE(child.reCode->toPlainText().contains("Block №1"));

    Form().sbDel->trigger();
    Form().sbWhile->trigger(); // a type button switches back to adding
    EXPECT_TRUE(Form().sbAdd->isChecked());
    DoubleClickAt(child, NodeOf(child, 1));
    ASSERT_EQ(chart.Count(), 3);
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkWhile);
    EXPECT_EQ(chart.GetBlock(2)->Text, "Block №2");
    EXPECT_EQ(chart.GetBlock(1)->Next, chart.GetBlock(2));

    Form().sbOuput->trigger();
    const QPoint body = BranchOf(child, 2, 0);
    ASSERT_NE(body, QPoint(-1, -1));
    DoubleClickAt(child, body);
    ASSERT_EQ(chart.Count(), 4);
    EXPECT_EQ(chart.GetBlock(3)->Kind, bkInput);
    EXPECT_EQ(chart.GetBlock(2)->GetItemChain(0), chart.GetBlock(3));
    EXPECT_EQ(chart.GetBlock(3)->Level, 2);

    // An element hit puts the block after the element in its chain.
    Form().sbWriteln->trigger();
    DoubleClickAt(child, ElementOf(child, 1));
    EXPECT_EQ(chart.GetBlock(4)->Kind, bkOutput);
    EXPECT_EQ(chart.GetBlock(1)->Next, chart.GetBlock(4));
    EXPECT_CHART_VALID(chart);

    // A page break inside a loop body is refused; the window still repaints
    // and takes a snapshot.
    Form().sbPageBreak->trigger();
    const qsizetype before = Snapshots();
    DoubleClickAt(child, ElementOf(child, 3));
    EXPECT_EQ(chart.Count(), 5);
    EXPECT_EQ(Snapshots(), before + 1);
    DoubleClickAt(child, ElementOf(child, 1));
    EXPECT_EQ(chart.Count(), 6);
    EXPECT_EQ(chart.GetBlock(5)->Text, "1");
    EXPECT_EQ(chart.PageBreakCount, 1);
    EXPECT_CHART_VALID(chart);

    // Nothing hit: nothing happens at all.
    const qsizetype now = Snapshots();
    DoubleClickAt(child, Nowhere(child));
    EXPECT_EQ(chart.Count(), 6);
    EXPECT_EQ(Snapshots(), now);
}

TEST_F(PointerTest, DoubleClicksInDeleteModeDeleteABlockWithItsBranchesButNeverTheRoot) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    Form().sbDel->trigger();
    DoubleClickAt(child, ElementOf(child, 2)); // the if with its yes branch
    ASSERT_EQ(chart.Count(), 3);
    EXPECT_EQ(chart.GetBlock(1)->Next, chart.GetBlock(2));
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkWhile);
    EXPECT_EQ(Snapshots(), 3);
    EXPECT_CHART_VALID(chart);

    DoubleClickAt(child, NodeOf(child, 1)); // a node is not a block
    EXPECT_EQ(chart.Count(), 3);
    DoubleClickAt(child, ElementOf(child, 0));
    EXPECT_EQ(chart.Count(), 3);
    EXPECT_EQ(Snapshots(), 5); // both still repaint and take a snapshot
    Form().N9Click();
    Form().N9Click();
    Form().N9Click();
    EXPECT_EQ(chart.Count(), 5); // undo brings the if back
}

TEST_F(PointerTest, MiddleButtonSwitchesToEditMode) {
    TMDIChild& child = OpenSample();
    ClickAt(child, ElementOf(child, 1), Qt::NoModifier, Qt::MiddleButton);
    EXPECT_TRUE(Form().sbEditing->isChecked());
    EXPECT_EQ(child.Chart->GetBlock(1)->Mark, 1);
}
