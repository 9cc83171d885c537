// The after-edit action's undo snapshots, undo and redo, and the history
// buttons.
#include "app_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

using namespace tvx;

namespace {

QStringList Endings(const QStringList& Names) {
    QStringList endings;
    for (const QString& name : Names) {
        endings.append(QFileInfo(name).fileName().section("undo_", 1));
    }
    return endings;
}

bool AllExist(const QStringList& Names) {
    return std::all_of(Names.begin(), Names.end(),
                       [](const QString& n) { return QFile::exists(n); });
}

} // namespace

TEST_F(AppTest, EveryEditAddsASnapshotAndUndoRedoWalkThem) {
    StartEditor();
    // At start both pairs are enabled and, with no chart, do nothing.
    for (QAction* button : {Form().N9, Form().SpeedButton6, Form().N10, Form().SpeedButton5}) {
        EXPECT_TRUE(button->isEnabled());
        button->trigger();
    }
    EXPECT_EQ(Form().MDIChildCount(), 0);
    EXPECT_TRUE(Prompts->Messages().isEmpty());
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    EXPECT_EQ(child->History.UndoList.size(), 1);
    EXPECT_FALSE(Form().N9->isEnabled()); // nothing to undo yet

    Edit();
    Edit();
    Edit();
    const TUndoHistory& h = child->History;
    EXPECT_EQ(Endings(h.UndoList), QStringList({"0.fc2", "1.fc2", "2.fc2", "3.fc2"}));
    EXPECT_TRUE(
        QFileInfo(h.UndoList[0]).fileName().startsWith(QString::number(child->ChartNumber)));
    EXPECT_TRUE(AllExist(h.UndoList));
    EXPECT_EQ(h.UndoIndex, 3);
    EXPECT_TRUE(Form().N9->isEnabled());
    EXPECT_TRUE(Form().SpeedButton6->isEnabled());
    EXPECT_FALSE(Form().N10->isEnabled());

    Form().N9Click();
    Form().N9Click();
    EXPECT_EQ(h.UndoIndex, 1);
    EXPECT_EQ(child->Chart->Count(), 2);
    EXPECT_TRUE(Form().N10->isEnabled());
    // The code pane follows the chart back.
    EXPECT_EQ(child->reCode->toPlainText().count(":="), 1);

    // An edit after undo drops the snapshots after it.
    const QString dropped2 = h.UndoList[2], dropped3 = h.UndoList[3];
    Edit();
    EXPECT_FALSE(QFile::exists(dropped3));
    EXPECT_EQ(Endings(h.UndoList), QStringList({"0.fc2", "1.fc2", "2.fc2"}));
    EXPECT_EQ(h.UndoList[2], dropped2); // the new one takes its number
    EXPECT_TRUE(QFile::exists(dropped2));
    EXPECT_FALSE(Form().N10->isEnabled());

    // Down to the first snapshot undo is off; redo turns it on again.
    Form().N9Click();
    Form().N9Click();
    EXPECT_EQ(h.UndoIndex, 0);
    EXPECT_EQ(child->Chart->Count(), 1);
    EXPECT_FALSE(Form().N9->isEnabled());
    EXPECT_FALSE(Form().SpeedButton6->isEnabled());
    Form().N9Click(); // refused at the first snapshot
    EXPECT_EQ(h.UndoIndex, 0);
    Form().N10Click();
    EXPECT_EQ(h.UndoIndex, 1);
    EXPECT_TRUE(Form().N9->isEnabled());
    Form().N10Click();
    Form().N10Click(); // refused at the last snapshot
    EXPECT_EQ(h.UndoIndex, 2);
    EXPECT_EQ(child->Chart->Count(), 3);
    EXPECT_FALSE(Form().SpeedButton5->isEnabled());
}

TEST_F(AppTest, SaveStartsTheHistoryAtTheSavedChart) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    Edit();
    Edit();
    const QStringList before = child->History.UndoList;
    Prompts->QueueFileName(PathOf("saved"));
    Form().mSaveClick();
    EXPECT_FALSE(Form().N9->isEnabled());
    EXPECT_FALSE(Form().N10->isEnabled());
    EXPECT_EQ(child->History.UndoList.size(), 1);
    EXPECT_EQ(child->History.UndoIndex, 0);
    EXPECT_FALSE(QFile::exists(before[1]));

    Edit();
    EXPECT_EQ(child->History.UndoList.size(), 2);
    Form().N9Click();
    EXPECT_EQ(child->Chart->Count(), 3); // the chart as saved, not as first made
}

TEST_F(AppTest, WindowsNeverShareSnapshotNamesAndDeleteTheirsWhenClosed) {
    WriteChartFile(PathOf("a.fml"), 1);
    WriteChartFile(PathOf("b.fml"), 1);
    StartEditor();
    ASSERT_TRUE(Form().FileOpenFML(PathOf("a.fml")));
    TMDIChild* a = Active();
    ASSERT_TRUE(Form().FileOpenFML(PathOf("b.fml")));
    TMDIChild* b = Active();
    Form().FileNew1Execute();
    TMDIChild* c = Active();
    EXPECT_NE(a->History.UndoList[0], b->History.UndoList[0]);
    EXPECT_NE(b->History.UndoList[0], c->History.UndoList[0]);
    EXPECT_FALSE(a->History.UndoList[0].startsWith(QDir::tempPath() + "/0undo"));

    Edit();
    const QStringList ofC = c->History.UndoList;
    const QStringList ofA = a->History.UndoList;
    ASSERT_TRUE(AllExist(ofC));
    Prompts->QueueChoice(TSaveChoice::Discard);
    Form().SubWindowOf(c)->close();
    Settle();
    EXPECT_EQ(Form().MDIChildCount(), 2);
    for (const QString& name : ofC) {
        EXPECT_FALSE(QFile::exists(name)) << name.toStdString();
    }
    EXPECT_TRUE(AllExist(ofA));

    // A snapshot already gone is skipped; closing the editor deletes the rest.
    QFile::remove(ofA[0]);
    const QStringList ofB = b->History.UndoList;
    CloseEditor();
    for (const QString& name : ofB) {
        EXPECT_FALSE(QFile::exists(name));
    }
}

TEST_F(AppTest, HistoryButtonsFollowTheActiveWindow) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* edited = Active();
    Edit();
    Form().FileNew1Execute();
    EXPECT_FALSE(Form().N9->isEnabled());
    Form().MdiArea->setActiveSubWindow(Form().SubWindowOf(edited));
    EXPECT_TRUE(Form().N9->isEnabled());
    Prompts->QueueChoice(TSaveChoice::Discard);
    for (TMDIChild* child : Form().MDIChildren()) {
        Form().SubWindowOf(child)->close();
    }
    Settle();
    EXPECT_FALSE(Form().N9->isEnabled());
    EXPECT_FALSE(Form().SpeedButton6->isEnabled());
}

TEST_F(AppTest, WithoutAPrivateFolderUndoIsOffAndTheUserIsTold) {
    // A temporary directory where no folder can be made: nothing may go to
    // guessable names in a shared place instead.
    QFile blocker(PathOf("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(blocker.fileName()));
    StartEditor();
    previous.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", previous);
    Form().FileNew1Execute();
    Edit();
    Edit();
    EXPECT_TRUE(Active()->History.UndoList.isEmpty());
    EXPECT_FALSE(Form().N9->isEnabled());
    Form().N9Click();
    EXPECT_EQ(Active()->Chart->Count(), 3);
    ASSERT_EQ(Prompts->Records().size(), 1); // once, not at every edit
    EXPECT_TRUE(Prompts->Records()[0].Text.contains(blocker.fileName()));
    // Nor does the options dialog's copy for Cancel write beside the settings.
    CloseEditor();
    EXPECT_FALSE(QFile::exists(PathOf("Config.ini")));
}
