// Ctrl+V reaches the chart of a window that opens or becomes active, and no
// text box pastes while the system clipboard is empty (Qt crashes when a
// text edit pastes a clipboard that offers no format).
#include "app/error_report_form.h"
#include "app/focused_panel.h"
#include "app/option_form.h"
#include "app/paste_guard.h"
#include "app_fixture.h"
#include "chart_pointer.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <memory>

using namespace tvx;

namespace {

class PasteTest : public AppTest {
protected:
    void TearDown() override {
        QGuiApplication::clipboard()->clear();
        AppTest::TearDown();
    }
    // What a desktop clipboard without an owner offers: no format at all.
    static void EmptyClipboard() { QGuiApplication::clipboard()->setMimeData(new QMimeData); }
    static void PressPasteKeys(QWidget* Box) {
        QTest::keyClick(Box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(Box, Qt::Key_Insert, Qt::ShiftModifier);
    }
    static QAction* PasteItem(QMenu& Menu) {
        for (QAction* item : Menu.actions()) {
            if (TPasteGuard::IsPasteItem(item)) {
                return item;
            }
        }
        return nullptr;
    }
};

} // namespace

TEST_F(PasteTest, CtrlVReachesTheChartOfANewOrActivatedWindow) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* first = Active();
    EXPECT_EQ(Form().focusWidget(), static_cast<QWidget*>(first->PanelPaint));
    // The block clipboard is empty: the chart says so, nothing else happens.
    QTest::keyClick(Form().focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Prompts->Messages(), QStringList{QString::fromUtf8("Буфер обмена пуст!")});

    Form().FileNew1Execute();
    first->mmInputCode->setFocus(); // the user was in the source pane
    Form().MdiArea->activateNextSubWindow();
    ASSERT_NE(Active(), first);
    EXPECT_EQ(Form().focusWidget(), static_cast<QWidget*>(Active()->PanelPaint));
    Form().MdiArea->activateNextSubWindow();
    ASSERT_EQ(Active(), first);
    EXPECT_EQ(Form().focusWidget(), static_cast<QWidget*>(first->PanelPaint));
}

TEST_F(PasteTest, AClickIntoThePaneOfAnInactiveWindowKeepsTheKeysThere) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild& clicked = *Active();
    clicked.LoadSource("begin\nend.");
    Edit();
    ClickAt(clicked, ElementOf(clicked, 1)); // the block is hovered and marked
    clicked.N34Click();
    const int blocks = clicked.Chart->Count();
    Form().FileNew1Execute();
    ASSERT_NE(Active(), &clicked);
    QGuiApplication::clipboard()->setText("typed");

    QTest::mouseClick(clicked.mmInputCode->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(Active(), &clicked);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, static_cast<QWidget*>(clicked.mmInputCode));
    clicked.mmInputCode->moveCursor(QTextCursor::Start);
    QTest::keyClick(focus, Qt::Key_Delete);
    QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(focus, "ab");
    EXPECT_EQ(clicked.mmInputCode->toPlainText(), "typedabegin\nend.");
    EXPECT_EQ(clicked.Chart->Count(), blocks);
    EXPECT_TRUE(Prompts->Messages().isEmpty());
}

TEST_F(PasteTest, NoTextBoxPastesAnEmptyClipboard) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild& child = *Active();
    Edit(bkProcess, "x := 1");
    Form().sbEditing->trigger();
    DoubleClickAt(child, ElementOf(child, 1));
    ASSERT_TRUE(child.mmInput->isVisible());
    TfmErrorMessage report(&Form());
    TOption& options = *Form().GetOption();
    EmptyClipboard();

    for (QPlainTextEdit* box : {child.mmInput, child.mmInputCode, report.mmReport}) {
        box->setPlainText("keep");
        box->selectAll();
        PressPasteKeys(box);
        EXPECT_EQ(box->toPlainText(), "keep") << box->objectName().toStdString();
    }
    EXPECT_TRUE(child.mmInput->isVisible());
    // One-line boxes would lose their selected text to the empty paste.
    for (QLineEdit* box : {Form().ComboBox1->lineEdit(), report.edThems, options.Edit15}) {
        box->setText("12");
        box->selectAll();
        PressPasteKeys(box);
        EXPECT_EQ(box->text(), "12");
    }
    options.UpDown1->selectAll();
    const QString number = options.UpDown1->text();
    PressPasteKeys(options.UpDown1);
    EXPECT_EQ(options.UpDown1->text(), number);
    EXPECT_TRUE(Prompts->Messages().isEmpty());

    // Context menus opened with text on the clipboard offer Paste only until
    // the clipboard empties (the program that copied exits).
    QGuiApplication::clipboard()->setText("pasted");
    const std::unique_ptr<QMenu> menus[] = {
        std::unique_ptr<QMenu>(child.mmInputCode->createStandardContextMenu()),
        std::unique_ptr<QMenu>(report.edThems->createStandardContextMenu())};
    for (const auto& menu : menus) {
        menu->popup(QPoint(10, 10));
        ASSERT_NE(PasteItem(*menu), nullptr);
        EXPECT_TRUE(PasteItem(*menu)->isEnabled());
    }
    EmptyClipboard();
    for (const auto& menu : menus) {
        EXPECT_FALSE(PasteItem(*menu)->isEnabled());
    }
}
