// Program start and end: command-line charts, dropped files, the help
// panel, the tool-mode buttons and the status bar.
#include "app/focused_panel.h"
#include "app_fixture.h"
#include "common/named_pipe.h"
#include "settings/builtin_texts.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusTipEvent>
#include <QTimer>
#include <QUrl>

using namespace tvx;

TEST_F(AppTest, CommandLineChartsOpenOnceInOrder) {
    WriteChartFile(PathOf("one.fml"), 1, "one");
    WriteChartFile(PathOf("two.fml"), 2, "two");
    StartEditor({PathOf("one.fml"), PathOf("two.fml")});
    QList<TMDIChild*> windows = Form().MDIChildren();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->Caption(), PathOf("one.fml"));
    EXPECT_EQ(windows[1]->Caption(), PathOf("two.fml"));
    EXPECT_EQ(windows[1]->Chart->First()->Text, "two");

    // Becoming active again (after a dialog, say) opens nothing more.
    Form().FormActivate();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&Form(), &activate);
    Settle();
    EXPECT_EQ(Form().MDIChildCount(), 2);
}

TEST_F(AppTest, NoArgumentsOpenNoWindow) {
    StartEditor();
    EXPECT_EQ(Form().MDIChildCount(), 0);
    EXPECT_EQ(Form().ActiveMDIChild(), nullptr);
    // Commands that need a window do nothing without one.
    Form().MakeAction();
    Form().N9Click();
    Form().SpeedButton2Click();
    Form().sbZeroClick();
    EXPECT_TRUE(Prompts->Records().isEmpty());
}

TEST_F(AppTest, AFirstStartHasNoWorkingDirectory) {
    // The settings are read before the main window knows the program
    // directory, so a missing working directory stays empty.
    StartEditor();
    EXPECT_TRUE(MainSettings->WorkDirectory.isEmpty());
    EXPECT_EQ(ProgramDir, Dir());
}

TEST_F(AppTest, TheMainTitleLeavesTheProgramNameToTheDesktop) {
    // The desktop adds the program's name to every title; the main window's
    // own never holds it, so it is not shown twice.
    StartEditor();
    EXPECT_TRUE(Form().windowTitle().isEmpty());
    Form().FileNew1Execute();
    Form().SubWindowOf(Active())->showMaximized();
    Settle();
    EXPECT_TRUE(Form().windowTitle().contains(Active()->Caption()));
    EXPECT_FALSE(Form().windowTitle().contains(ProgramTitle()));
}

TEST_F(AppTest, OnlyTheFirstDroppedFileOpens) {
    WriteChartFile(PathOf("a.fml"), 1);
    WriteChartFile(PathOf("b.fml"), 1);
    WriteChartFile(PathOf("c.fml"), 1);
    StartEditor();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(PathOf("b.fml")), QUrl::fromLocalFile(PathOf("a.fml")),
                  QUrl::fromLocalFile(PathOf("c.fml"))});
    // Qt delivers a drop only after the drag entering the window was accepted.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form().centralWidget(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form().centralWidget(), &drop);
    ASSERT_EQ(Form().MDIChildCount(), 1);
    EXPECT_EQ(Active()->Caption(), PathOf("b.fml"));
    // A dropped file is not a recent file.
    EXPECT_EQ(MainSettings->OpenedFiles.GetCount(), 0);
}

TEST_F(AppTest, HelpTextThatIsNoRegularFileIsRefusedWithoutWaiting) {
    tvx::testing::TNamedPipe pipe(PathOf("readme.txt"));
    if (!pipe.Error().isEmpty()) {
        GTEST_SKIP() << "no named pipe can be made here: " << pipe.Error().toStdString();
    }
    const QString refused = PathOf("readme.txt") + '\n' + MenuTextOf("sm_mes_not_regular");
    StartEditor();
    EXPECT_EQ(Prompts->Messages(), QStringList{refused});

    // A device that never ends no longer fills the memory.
    QFile::remove(PathOf("readme.txt"));
    if (!QFile::link("/dev/zero", PathOf("readme.txt"))) {
        GTEST_SKIP() << "no link to /dev/zero can be made here";
    }
    Form().N4Click();
    EXPECT_EQ(Prompts->Messages(), QStringList(2, refused));
    EXPECT_TRUE(Form().Memo2->toPlainText().isEmpty());
}

TEST_F(AppTest, HelpPanelShowsAtStartAndOnRequest) {
    // Only the program directory holds a readme; the current one, where the
    // tests run, has none: the start shows the program's own.
    QFile readme(PathOf("readme.txt"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.write("How to draw a chart");
    readme.close();
    StartEditor();
    EXPECT_TRUE(Form().Panel1->isVisible());
    EXPECT_TRUE(Form().Timer4->isActive());
    EXPECT_EQ(Form().Timer4->interval(), 1500);
    EXPECT_EQ(Form().Memo2->toPlainText(), "How to draw a chart");
    // The focus the panel had is not passed on to the zoom box, where
    // Delete would empty the text.
    QWidget* zoomBox = Form().ComboBox1;
    EXPECT_NE(QApplication::focusWidget(), zoomBox);
    Form().Timer4Timer();
    EXPECT_FALSE(Form().Panel1->isVisible());
    EXPECT_FALSE(Form().Timer4->isActive());
    EXPECT_NE(QApplication::focusWidget(), zoomBox);

    Form().FileNew1Execute();
    Form().N4Click();
    EXPECT_TRUE(Form().Panel1->isVisible());
    Form().Memo2->setFocus();
    Form().Button1Click();
    EXPECT_FALSE(Form().Panel1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(Active()->PanelPaint));

    QFile::remove(PathOf("readme.txt"));
    Form().N4Click();
    EXPECT_TRUE(Form().Panel1->isVisible());
    EXPECT_EQ(Prompts->Messages().size(), 1);
}

TEST_F(AppTest, BlockTypeButtonsSwitchToAddMode) {
    StartEditor();
    EXPECT_TRUE(Form().sbAdd->isChecked());
    EXPECT_TRUE(Form().sbProcess->isChecked());
    EXPECT_FALSE(Form().sbCase->isEnabled());
    Form().sbDel->trigger();
    EXPECT_TRUE(Form().sbDel->isChecked());
    EXPECT_FALSE(Form().sbAdd->isChecked());
    Form().sbWhile->trigger();
    EXPECT_TRUE(Form().sbWhile->isChecked());
    EXPECT_FALSE(Form().sbProcess->isChecked());
    EXPECT_TRUE(Form().sbAdd->isChecked());
    EXPECT_FALSE(Form().sbDel->isChecked());
}

TEST_F(AppTest, HintsGoToTheFirstStatusPanel) {
    StartEditor();
    QStatusTipEvent tip("Adding new symbols");
    QApplication::sendEvent(&Form(), &tip);
    EXPECT_EQ(Form().StatusPanels[0]->text(), "Adding new symbols");
    // The panels keep their widths whatever they show.
    const int widths[4] = {100, 100, 175, 256};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Form().StatusPanels[i]->width(), widths[i]) << i;
    }
}

TEST_F(AppTest, ClosingTheEditorClosesEveryWindowAndWritesTheSettings) {
    StartEditor();
    Form().FileNew1Execute();
    Form().FileNew1Execute();
    Form().FileNew1Execute();
    QStringList snapshots;
    for (TMDIChild* child : Form().MDIChildren()) {
        snapshots += child->History.UndoList;
    }
    CloseEditor();
    for (const QString& name : snapshots) {
        EXPECT_FALSE(QFile::exists(name));
    }
    Settings.reset();
    MainSettings = nullptr;
    EXPECT_TRUE(QFile::exists(PathOf("Config.ini")));
}
