// The in-place text editor: opened by a double click in edit mode over its
// block, sized to its text in the block font, committed by a press in the
// view, with and without live preview; and dropped when it must go.
#include "app/inplace_editor.h"
#include "app_fixture.h"
#include "chart/chart_invariants.h"
#include "chart_pointer.h"

#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTextCursor>

using namespace tvx;

namespace {

class InPlaceEditorTest : public AppTest {
protected:
    // A new chart window with 1 "x := 1" and 2 "y := 2", in edit mode.
    TMDIChild& OpenSample(bool preview) {
        Settings->PreviewByChanges = preview;
        StartEditor();
        Form().cbPreview->setChecked(preview);
        Form().FileNew1Execute();
        Edit(bkProcess, "x := 1");
        Edit(bkProcess, "y := 2");
        Form().sbEditing->trigger();
        return *Active();
    }

    qsizetype Snapshots() { return Active()->History.UndoList.size(); }

    static void Type(TMDIChild& child, const QString& text) {
        QTest::keyClicks(child.mmInput, text);
    }
};

} // namespace

TEST_F(InPlaceEditorTest, EditorSizeFollowsTheTextInTheBlockFont) {
    StartEditor();
    // 7 x 13 pixels a character; the labels "Да" and "Нет" are 14 and 21 wide.
    EXPECT_EQ(TextToBitMap("abcdef", {}), (TSize{42, 13}));
    EXPECT_EQ(TextToBitMap("a", {}), (TSize{21, 13}));
    EXPECT_EQ(TextToBitMap("", {}), (TSize{21, 13}));
    EXPECT_EQ(TextToBitMap("ab\r\nabcd\nc", {}), (TSize{28, 39}));
    EXPECT_EQ(InPlaceEditorSize("abcdef", {}), (TSize{42 + 7, 13 + 13 + 6}));
    EXPECT_EQ(InPlaceEditorSize("x\ny", {}), (TSize{21 + 7, 26 + 13 + 6}));
    EXPECT_EQ(BlockTextOf("a\nb"), "a\r\nb");
    EXPECT_EQ(EditorTextOf("a\r\nb\rc"), "a\nb\nc");
}

TEST_F(InPlaceEditorTest, DoubleClickOpensItOverTheBlockAndAPressCommits) {
    TMDIChild& child = OpenSample(false);
    TFCList& chart = *child.Chart;
    child.Zoom = 150;
    child.ScrollX = -12;
    child.ScrollY = 7;
    child.RePaintChem();
    const qsizetype before = Snapshots();
    DoubleClickAt(child, ElementOf(child, 2));
    ASSERT_TRUE(child.mmInput->isVisible());
    EXPECT_EQ(child.mmInput->toPlainText(), "y := 2");
    EXPECT_TRUE(child.mmInput->hasFocus());
    EXPECT_EQ(child.mmInput->textCursor().selectedText(), "y := 2");
    EXPECT_FALSE(child.HitTestEnabled);
    EXPECT_EQ(child.EditIndex, 2);
    EXPECT_EQ(child.mmInput->size(), QSize(42 + 7, 13 + 13 + 6));
    const TRect r = chart.GetBlock(2)->InRect;
    EXPECT_EQ(child.mmInput->pos(), QPoint(child.Zooming(r.Left + r.Width() / 2 - 49 / 2) - 12,
                                           child.Zooming(r.Top + r.Height() / 2 - 32 / 2) + 7));
    EXPECT_EQ(Snapshots(), before + 1); // the double click's after-edit action

    // Hover hit tests stop: the status stays on the edited block.
    MoveTo(child, ElementOf(child, 1));
    EXPECT_EQ(child.MouseInfo.BlockIndex, 2);
    EXPECT_TRUE(child.mmInput->isVisible());

    Type(child, "s := 10");
    EXPECT_EQ(chart.GetBlock(2)->Text, "y := 2"); // no preview
    ClickAt(child, Nowhere(child));
    EXPECT_FALSE(child.mmInput->isVisible());
    EXPECT_TRUE(child.HitTestEnabled);
    EXPECT_EQ(chart.GetBlock(2)->Text, "s := 10");
    EXPECT_EQ(Snapshots(), before + 2);
    EXPECT_TRUE(child.reCode->toPlainText().contains("s := 10"));

    // Several lines are kept with CR LF.
    DoubleClickAt(child, ElementOf(child, 1));
    QTest::keyClick(child.mmInput, Qt::Key_End);
    QTest::keyClick(child.mmInput, Qt::Key_Return);
    Type(child, "z := 0");
    EXPECT_EQ(child.mmInput->height(), 26 + 13 + 6);
    ClickAt(child, Nowhere(child));
    EXPECT_EQ(chart.GetBlock(1)->Text, "x := 1\r\nz := 0");
    EXPECT_CHART_VALID(chart);
}

TEST_F(InPlaceEditorTest, DoubleClickOnAnotherBlockCommitsAndMovesTheEditor) {
    TMDIChild& child = OpenSample(false);
    DoubleClickAt(child, ElementOf(child, 1));
    Type(child, "a");
    DoubleClickAt(child, ElementOf(child, 2));
    EXPECT_EQ(child.Chart->GetBlock(1)->Text, "a");
    EXPECT_TRUE(child.mmInput->isVisible());
    EXPECT_EQ(child.mmInput->toPlainText(), "y := 2");
    EXPECT_EQ(child.EditIndex, 2);
    EXPECT_TRUE(child.mmInput->hasFocus());
}

TEST_F(InPlaceEditorTest, LivePreviewWritesEveryChangeWithoutUndoSteps) {
    TMDIChild& child = OpenSample(true);
    TFCList& chart = *child.Chart;
    DoubleClickAt(child, ElementOf(child, 1));
    const qsizetype opened = Snapshots();
    const int width = chart.GetBlock(1)->InRect.Width();
    Type(child, "a_much_longer_text");
    EXPECT_EQ(chart.GetBlock(1)->Text, "a_much_longer_text");
    EXPECT_TRUE(child.reCode->toPlainText().contains("a_much_longer_text"));
    EXPECT_GT(chart.GetBlock(1)->InRect.Width(), width); // laid out again
    EXPECT_EQ(Snapshots(), opened);
    EXPECT_EQ(child.mmInput->width(), 18 * 7 + 7);
    // Re-centred over the grown block.
    const TRect r = chart.GetBlock(1)->InRect;
    EXPECT_EQ(child.mmInput->x(), r.Left + r.Width() / 2 - child.mmInput->width() / 2);
    ClickAt(child, Nowhere(child));
    EXPECT_EQ(Snapshots(), opened + 1);
}

TEST_F(InPlaceEditorTest, LeavingEditModeDropsTheText) {
    TMDIChild& child = OpenSample(false);
    DoubleClickAt(child, ElementOf(child, 1));
    Type(child, "lost");
    // Switched to moving the chart: a move over a block hides the editor.
    Form().sbHand->trigger();
    MoveTo(child, ElementOf(child, 2));
    EXPECT_FALSE(child.mmInput->isVisible());
    EXPECT_TRUE(child.HitTestEnabled);
    ClickAt(child, Nowhere(child));
    EXPECT_EQ(child.Chart->GetBlock(1)->Text, "x := 1");

    // A double click in another mode hides it too, and adds there.
    Form().sbEditing->trigger();
    DoubleClickAt(child, ElementOf(child, 1));
    Type(child, "lost");
    Form().sbAdd->trigger();
    DoubleClickAt(child, ElementOf(child, 1));
    EXPECT_FALSE(child.mmInput->isVisible());
    EXPECT_EQ(child.Chart->GetBlock(1)->Text, "x := 1");
    EXPECT_EQ(child.Chart->Count(), 4);
}

TEST_F(InPlaceEditorTest, TextOfABlockThatWentAwayIsNotWrittenElsewhere) {
    TMDIChild& child = OpenSample(false);
    Edit(bkProcess, "third");
    Form().sbEditing->trigger();
    DoubleClickAt(child, ElementOf(child, 3));
    Type(child, "orphan");
    // Undo while the editor is open: block 3 is gone.
    Form().N9Click();
    Form().N9Click();
    ASSERT_EQ(child.Chart->Count(), 3);
    ClickAt(child, Nowhere(child));
    EXPECT_FALSE(child.mmInput->isVisible());
    for (TFlowBlock* block : child.Chart->GetList()) {
        EXPECT_NE(block->Text, "orphan");
    }
}

TEST_F(InPlaceEditorTest, PopupEditItemOpensTheEditor) {
    TMDIChild& child = OpenSample(false);
    Form().sbAdd->trigger();
    MoveTo(child, ElementOf(child, 2));
    child.N14->trigger();
    EXPECT_TRUE(Form().sbEditing->isChecked());
    EXPECT_TRUE(child.mmInput->isVisible());
    EXPECT_EQ(child.mmInput->toPlainText(), "y := 2");
}

// Pictures of editing for a person to look at, not a check:
//   TVX_SCREENSHOT_DIR=/tmp/shots app_tests --gtest_also_run_disabled_tests
//       --gtest_filter='*EditingScreenshot*'
TEST_F(InPlaceEditorTest, DISABLED_EditingScreenshot) {
    const QString dir = qEnvironmentVariable("TVX_SCREENSHOT_DIR", QDir::tempPath());
    Metrics.reset(); // real fonts for a picture
    StartEditor();
    Form().Timer4Timer();
    Form().resize(1300, 860);
    Form().FileNew1Execute();
    TMDIChild& child = *Active();
    // One block of every kind, each by a double click on the node after the
    // block added before it.
    QAction* types[] = {Form().sbOuput,  Form().sbProcess, Form().sbCall,
                        Form().sbIfelse, Form().sbWhile,   Form().sbRepeat,
                        Form().sbForto,  Form().sbWriteln, Form().sbPageBreak};
    DoubleClickAt(child, ElementOf(child, 0));
    for (QAction* type : types) {
        type->trigger();
        DoubleClickAt(child, NodeOf(child, child.Chart->Count() - 1));
    }
    // Something in the branches.
    Form().sbProcess->trigger();
    DoubleClickAt(child, BranchOf(child, 5, 0));
    DoubleClickAt(child, BranchOf(child, 6, 0));
    Settle();
    Form().grab().save(dir + "/edit_every_kind.png");
    Form().sbHand->trigger();
    ClickAt(child, ElementOf(child, 5));
    MoveTo(child, ElementOf(child, 5));
    Settle();
    Form().grab().save(dir + "/edit_selected.png");
    Form().sbEditing->trigger();
    DoubleClickAt(child, ElementOf(child, 6));
    Type(child, " and a longer condition");
    Settle();
    Form().grab().save(dir + "/edit_in_place.png");
}
