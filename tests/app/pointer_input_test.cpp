// Pointer input on the chart view: the hit test at any zoom and offset, the
// feedback of each tool mode, selection, dragging, and the double clicks
// that add and delete blocks.
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
    // 1 "x := 1", 2 an if "c" whose yes branch holds 3 "y := 2", 4 a while "w".
    TMDIChild& OpenSample() {
        StartEditor();
        Form().FileNew1Execute();
        TFCList& chart = *Active()->Chart;
        TMouseInfo after(-1);
        TMouseInfo yes(0);
        TFlowBlock* x = chart.AddBlock(chart.First(), bkProcess, -1, "x := 1", &after);
        TFlowBlock* cond = chart.AddBlock(x, bkIfElse, -1, "c", &after);
        chart.AddBlock(cond, bkProcess, -1, "y := 2", &yes);
        chart.AddBlock(cond, bkWhile, -1, "w", &after);
        Active()->RePaintChem();
        Form().MakeAction();
        return *Active();
    }

    QString Panel(int i) { return Form().StatusPanels[i]->text(); }
    qsizetype Snapshots() { return Active()->History.UndoList.size(); }

    static QString Hit(const TMDIChild& child) {
        const TMouseInfo& m = child.MouseInfo;
        return QStringLiteral("%1 %2 %3").arg(m.BlockIndex).arg(m.Branch).arg(int(m.HitKind));
    }
    static bool ShowsCursor(const TMDIChild& child, int id) {
        return child.pbOut->cursor().pixmap().toImage() == CursorPicture(id).toImage();
    }
};

} // namespace

TEST_F(PointerTest, HitTestFindsElementsNodesAndBranchesAtAnyZoomAndOffset) {
    TMDIChild& child = OpenSample();
    for (auto [zoom, x, y] : {std::tuple{100, 0, 0}, {200, -30, -17}, {50, 25, 9}, {150, 3, -8}}) {
        SCOPED_TRACE(zoom);
        child.Zoom = std::uint16_t(zoom);
        child.ScrollX = x;
        child.ScrollY = y;
        MoveTo(child, ElementOf(child, 2));
        EXPECT_EQ(Hit(child), "2 -1 1");
        MoveTo(child, NodeOf(child, 3));
        EXPECT_EQ(Hit(child), "3 -1 2");
        MoveTo(child, BranchOf(child, 4, 0));
        EXPECT_EQ(Hit(child), "4 0 0");
        MoveTo(child, Nowhere(child));
        EXPECT_EQ(Hit(child), "-1 -1 0");
    }
    // Left and top edges belong to a rectangle, right and bottom do not; the
    // earlier block in the list wins where rectangles overlap.
    child.Zoom = 100;
    child.Chart->GetBlock(4)->InRect = Rect(300, 300, 310, 305);
    child.Chart->GetBlock(1)->OutRect = Rect(305, 302, 390, 390);
    const std::pair<QPoint, QString> hits[] = {
        {{300, 300}, "4 -1 1"},  {{309, 301}, "4 -1 1"}, {{310, 300}, "-1 -1 0"},
        {{300, 305}, "-1 -1 0"}, {{306, 303}, "1 -1 2"},
    };
    for (const auto& [at, hit] : hits) {
        MoveTo(child, ViewPoint(child, at.x(), at.y()));
        EXPECT_EQ(Hit(child), hit) << at.x() << "," << at.y();
    }
}

TEST_F(PointerTest, PointerFeedbackFollowsTheModeAndWhatIsHit) {
    TMDIChild& child = OpenSample();
    MoveTo(child, ElementOf(child, 1));
    EXPECT_TRUE(ShowsCursor(child, crAddBlock));
    EXPECT_EQ(QStringList({Panel(0), Panel(1), Panel(2), Panel(3)}),
              QStringList({"Adding new symbols", "Element", "Process", "x := 1"}));
    EXPECT_EQ(child.pbOut->toolTip(), "Element\nType: Process\nText: x := 1");
    EXPECT_EQ(child.ViewPopup, child.PopupShakes);
    MoveTo(child, NodeOf(child, 4));
    EXPECT_EQ(QStringList({Panel(1), Panel(2), Panel(3)}),
              QStringList({"Node after Element", "While ...", ""}));
    EXPECT_EQ(child.pbOut->toolTip(), "Node after Element\nType: While ...\n");
    EXPECT_EQ(child.ViewPopup, child.PopupFlow);

    const std::tuple<QAction*, int, const char*> modes[] = {
        {Form().sbDel, crDeleteBlock, "Deleting existing symbols"},
        {Form().sbEditing, crEditText, "Editing symbols"},
        {Form().sbHand, crHand, "Move FlowChraters"},
    };
    for (auto [mode, cursor, hint] : modes) {
        mode->trigger();
        MoveTo(child, ElementOf(child, 2));
        EXPECT_TRUE(ShowsCursor(child, cursor));
        EXPECT_EQ(Panel(0), hint);
    }
    MoveTo(child, ElementOf(child, 2), Qt::LeftButton);
    EXPECT_TRUE(ShowsCursor(child, crHandGrab));
    EXPECT_EQ(Panel(2), "if .. else ...");
    // Over nothing: the arrow, no hint, the flow popup; the panels stay.
    MoveTo(child, Nowhere(child));
    EXPECT_EQ(child.pbOut->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(child.pbOut->toolTip(), "");
    EXPECT_EQ(child.ViewPopup, child.PopupFlow);
    EXPECT_EQ(Panel(3), "c");
}

TEST_F(PointerTest, ClicksSelectAndMarkOneBlockOrOneMoreWithShift) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    auto state = [&] {
        QStringList s; // mark, and "s" when selected
        for (TFlowBlock* block : chart.GetList()) {
            s += QString::number(block->Mark) + (chart.Selection.Contains(block) ? "s" : "");
        }
        return s.join(u' ');
    };
    ClickAt(child, ElementOf(child, 1));
    EXPECT_TRUE(child.PanelPaint->hasFocus());
    ClickAt(child, ElementOf(child, 3));
    EXPECT_EQ(state(), "0 0 0 1s 0");
    ClickAt(child, ElementOf(child, 1), Qt::ShiftModifier);
    EXPECT_EQ(state(), "0 1s 0 1s 0");
    ClickAt(child, Nowhere(child));
    EXPECT_EQ(state(), "0 0 0 0 0");
    ClickAt(child, ElementOf(child, 3));
    ClickAt(child, ElementOf(child, 0)); // the root is never selected
    EXPECT_EQ(state(), "0 0 0 0 0");
    // The middle button also switches to edit mode.
    ClickAt(child, ElementOf(child, 4), Qt::NoModifier, Qt::MiddleButton);
    EXPECT_TRUE(Form().sbEditing->isChecked());
    EXPECT_EQ(state(), "0 0 0 0 1s");
    EXPECT_EQ(Snapshots(), 2); // clicks change nothing of the chart
}

TEST_F(PointerTest, DraggingWithTheLeftButtonMovesTheChartWithoutLimit) {
    TMDIChild& child = OpenSample();
    child.ScrollX = -5;
    const QPoint start = ElementOf(child, 1);
    MoveTo(child, start);
    QTest::mousePress(child.pbOut, Qt::LeftButton, Qt::NoModifier, start);
    MoveTo(child, start + QPoint(30, 12), Qt::LeftButton);
    MoveTo(child, start + QPoint(-1000, 40), Qt::LeftButton);
    EXPECT_EQ(child.ScrollX, -1005);
    EXPECT_EQ(child.ScrollY, 40);
    EXPECT_EQ(child.ScrollBar1->value(), -40);
    EXPECT_EQ(child.ScrollBar2->value(), child.ScrollBar2->maximum()); // nearest allowed
    QTest::mouseRelease(child.pbOut, Qt::LeftButton, Qt::NoModifier, start);
    MoveTo(child, start);
    EXPECT_EQ(child.ScrollX, -1005);
}

TEST_F(PointerTest, DoubleClicksInAddModeAddThePressedTypeWhereTheyHit) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild& child = *Active();
    TFCList& chart = *child.Chart;
    DoubleClickAt(child, ElementOf(child, 0)); // the root: head of its chain
    ASSERT_EQ(chart.Count(), 2);
    EXPECT_EQ(chart.GetBlock(1)->Text, "Block №1");
    EXPECT_EQ(Snapshots(), 2);
    EXPECT_TRUE(child.reCode->toPlainText().contains("Block №1"));

    Form().sbDel->trigger();
    Form().sbWhile->trigger(); // a type button switches back to adding
    DoubleClickAt(child, NodeOf(child, 1));
    Form().sbOuput->trigger();
    DoubleClickAt(child, BranchOf(child, 2, 0));
    Form().sbWriteln->trigger();
    DoubleClickAt(child, ElementOf(child, 1));
    ASSERT_EQ(chart.Count(), 5);
    EXPECT_EQ(chart.GetBlock(2)->Kind, bkWhile);
    EXPECT_EQ(chart.GetBlock(2)->Text, "Block №2");
    EXPECT_EQ(chart.GetBlock(2)->GetItemChain(0)->Kind, bkInput);
    EXPECT_EQ(chart.GetBlock(1)->Next->Kind, bkOutput);
    EXPECT_EQ(chart.GetBlock(4)->Next, chart.GetBlock(2));

    // A page break inside a loop body is refused, yet the window repaints
    // and takes a snapshot.
    Form().sbPageBreak->trigger();
    const qsizetype before = Snapshots();
    DoubleClickAt(child, ElementOf(child, 3));
    EXPECT_EQ(chart.Count(), 5);
    EXPECT_EQ(Snapshots(), before + 1);
    DoubleClickAt(child, ElementOf(child, 1));
    EXPECT_EQ(chart.GetBlock(5)->Text, "1");
    EXPECT_CHART_VALID(chart);
    DoubleClickAt(child, Nowhere(child)); // nothing hit: nothing at all
    EXPECT_EQ(Snapshots(), before + 2);
}

TEST_F(PointerTest, DoubleClicksInDeleteModeDeleteABlockWithItsBranchesButNeverTheRoot) {
    TMDIChild& child = OpenSample();
    TFCList& chart = *child.Chart;
    Form().sbDel->trigger();
    DoubleClickAt(child, ElementOf(child, 2)); // the if with its yes branch
    ASSERT_EQ(chart.Count(), 3);
    EXPECT_EQ(chart.GetBlock(1)->Next->Kind, bkWhile);
    EXPECT_CHART_VALID(chart);
    DoubleClickAt(child, NodeOf(child, 1)); // a node is not a block
    DoubleClickAt(child, ElementOf(child, 0));
    EXPECT_EQ(chart.Count(), 3);
    EXPECT_EQ(Snapshots(), 5); // each still takes a snapshot
}
