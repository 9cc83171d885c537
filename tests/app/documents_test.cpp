// New, Open, Save and Save as of chart windows, and the chart file names
// the commands derive.
#include "app/legacy_chart_file.h"
#include "app_fixture.h"
#include "chart/chart_xml.h"
#include "codegen/export_state.h"
#include "common/file_size_limit.h"
#include "common/named_pipe.h"
#include "platform/bitmap.h"
#include "settings/builtin_texts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <cerrno>
#include <cstring>

using namespace tvx;

namespace {

QByteArray ReadAll(const QString& FileName) {
    QFile file(FileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(AppTest, NewChartIsNumberedDrawnAndCoded) {
    StartEditor();
    Form().FileNew1Execute();
    TMDIChild* first = Active();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Caption(), PathOf("New_FlowChart_1.fml"));
    ASSERT_EQ(first->Chart->Count(), 1);
    EXPECT_EQ(first->Chart->First()->Kind, bkRoot);
    EXPECT_EQ(first->Chart->First()->Text, "example2");
    EXPECT_FALSE(first->ChartBitmap->Empty());
    EXPECT_TRUE(first->reCode->toPlainText().startsWith("program example2;"));

    Form().FileNew1Execute();
    EXPECT_EQ(Active()->Caption(), PathOf("New_FlowChart_2.fml"));
    EXPECT_EQ(Active()->Chart->First()->Text, "example3");
    EXPECT_NE(Active()->ChartNumber, first->ChartNumber);

    // A new window never takes the name of an open one.
    Form().FileNew1Execute();
    Form().SubWindowOf(first)->close(); // unchanged: closes without a word
    Settle();
    Form().FileNew1Execute();
    EXPECT_EQ(Active()->Caption(), PathOf("New_FlowChart_4.fml"));
    EXPECT_TRUE(Prompts->Records().isEmpty());
}

TEST_F(AppTest, OpenReadsTheChosenChartAndRemembersIt) {
    WriteChartFile(PathOf("plain.fml"), 2);
    WriteChartFile(PathOf("chart.old.fml"), 3);
    WriteChartFile(PathOf("notes.fml"), 1);
    QFile(PathOf("notes.txt")).open(QIODevice::WriteOnly);
    StartEditor();

    Prompts->QueueFileName(PathOf("plain.fml"));
    Form().FileOpen1Execute();
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->Caption(), PathOf("plain.fml"));
    EXPECT_EQ(Active()->Chart->Count(), 3);
    EXPECT_EQ(Prompts->Records().last().Request.Filter,
              QString::fromUtf8("Файлы блок схем XML    формат (.fml)|*.fml"));
    EXPECT_EQ(MainSettings->WorkDirectory, Dir());

    // A chosen chart file is opened as it is, dots in its name and all.
    Prompts->QueueFileName(PathOf("chart.old.fml"));
    Form().FileOpen1Execute();
    EXPECT_EQ(Active()->Caption(), PathOf("chart.old.fml"));
    EXPECT_EQ(Active()->Chart->Count(), 4);

    // Any other name stands for the chart file of the same name.
    Prompts->QueueFileName(PathOf("notes.txt"));
    Form().FileOpen1Execute();
    EXPECT_EQ(Active()->Caption(), PathOf("notes.fml"));
    EXPECT_EQ(Form().MDIChildCount(), 3);

    EXPECT_EQ(MainSettings->OpenedFiles.Get(0), PathOf("notes.fml"));
    EXPECT_EQ(MainSettings->OpenedFiles.Get(1), PathOf("chart.old.fml"));
    EXPECT_EQ(MainSettings->OpenedFiles.Get(2), PathOf("plain.fml"));
    EXPECT_TRUE(Prompts->Messages().isEmpty());

    // A file open already is shown where it is, not read into a second window.
    TMDIChild* plain = Form().MDIChildren().first();
    EXPECT_TRUE(Form().FileOpenFML(Dir() + "./plain.fml"));
    EXPECT_EQ(Active(), plain);
    EXPECT_EQ(Form().MDIChildCount(), 3);
}

TEST_F(AppTest, OpenOfABadFileSaysSoAndLeavesNoWindow) {
    QFile bad(PathOf("bad.fml"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<TVXblocks><Count>2</Count>");
    bad.close();
    StartEditor();

    Prompts->QueueFileName(PathOf("bad.fml"));
    Form().FileOpen1Execute();
    EXPECT_EQ(Form().MDIChildCount(), 0);
    EXPECT_EQ(Prompts->Messages(), QStringList{PathOf("bad.fml") + '\n' + LoadFailedMessage + '\n' +
                                               MenuTextOf("sm_mes_not_chart")});

    Prompts->QueueFileName(PathOf("missing.fml"));
    Form().FileOpen1Execute();
    EXPECT_EQ(Form().MDIChildCount(), 0);
    EXPECT_EQ(Prompts->Messages().value(1), PathOf("missing.fml") + "\nNo such file or directory");

    Form().FileOpen1Execute(); // cancelled
    EXPECT_EQ(Form().MDIChildCount(), 0);
}

TEST_F(AppTest, EveryWayOfOpeningNamesTheFileAndWhyItDidNotOpen) {
    tvx::testing::TNamedPipe pipe(PathOf("pipe.fml"));
    if (!pipe.Error().isEmpty()) {
        GTEST_SKIP() << "no named pipe can be made here: " << pipe.Error().toStdString();
    }
    TFCList chart;
    TMouseInfo place(-1);
    chart.AddBlock(nullptr, bkRoot, 0, "old", &place);
    ASSERT_EQ(WriteLegacyChart(chart, PathOf("records.fml")), "");
    QFile annotated(PathOf("annotated.fml"));
    ASSERT_TRUE(annotated.open(QIODevice::WriteOnly));
    annotated.write("{saved by Tarvinex}\nprogram old;\nbegin\nend.\n");
    annotated.close();

    // The command line, Open, a recent file and a drop.
    StartEditor({PathOf("pipe.fml")});
    const QString notRegular = PathOf("pipe.fml") + '\n' + MenuTextOf("sm_mes_not_regular");
    EXPECT_EQ(Prompts->Messages(), QStringList{notRegular});
    Prompts->QueueFileName(PathOf("pipe.fml"));
    Form().FileOpen1Execute();
    MainSettings->OpenedFiles.Add(PathOf("pipe.fml"));
    Form().FileMenuClick(0);
    QElapsedTimer clock;
    clock.start();
    Form().OpenDroppedFiles({PathOf("pipe.fml")});
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(Prompts->Messages(), QStringList(4, notRegular));

    // Forms the editor writes but does not open say so.
    Form().FileOpenFML(PathOf("records.fml"));
    Form().FileOpenFML(PathOf("annotated.fml"));
    EXPECT_EQ(Prompts->Messages().value(4), PathOf("records.fml") + '\n' + LoadFailedMessage +
                                                '\n' + MenuTextOf("sm_mes_legacy_form"));
    EXPECT_EQ(Prompts->Messages().value(5), PathOf("annotated.fml") + '\n' + LoadFailedMessage +
                                                '\n' + MenuTextOf("sm_mes_annotated_form"));
    EXPECT_EQ(Form().MDIChildCount(), 0);
}

TEST_F(AppTest, SaveAsksForANameUntilTheChartHasAFileOfItsOwn) {
    WriteChartFile(PathOf("New_FlowChart_1.fml"), 7); // left by an earlier run
    const QByteArray earlier = ReadAll(PathOf("New_FlowChart_1.fml"));
    StartEditor();
    Form().FileNew1Execute();
    Edit(bkProcess, "x := 1");
    Form().mSaveClick(); // the dialog is cancelled
    EXPECT_EQ(Prompts->Records().last().Kind, TPromptKind::SaveFile);
    Prompts->QueueFileName(PathOf("New_FlowChart_1"));
    Form().mSaveClick(); // the replace question is answered No
    EXPECT_EQ(Prompts->Questions().last(),
              "File  " + PathOf("New_FlowChart_1.fml") + "\r\nNow exist! ReSave it?");
    EXPECT_EQ(ReadAll(PathOf("New_FlowChart_1.fml")), earlier);

    Prompts->QueueFileName(PathOf("mine"));
    Form().mSaveClick();
    Edit(bkProcess, "y := 2");
    Prompts->ClearRecords();
    Form().mSaveClick(); // its own file now: written without a word
    EXPECT_TRUE(Prompts->Records().isEmpty());
    TFCList read;
    ASSERT_TRUE(LoadFromXML(read, PathOf("mine.fml")));
    EXPECT_EQ(read.Count(), 3);
    EXPECT_EQ(read.GetBlock(1)->Text, "x := 1");
}

TEST_F(AppTest, SaveAsProposesTheChartNumberAndAsksBeforeReplacing) {
    StartEditor();
    Form().FileNew1Execute();
    Form().FileNew1Execute();
    Form().FileNew1Execute();
    TMDIChild* third = Active();

    Prompts->QueueFileName(PathOf("first.txt"));
    Form().mSaveAsClick();
    const TPromptRecord dialog = Prompts->Records().last();
    EXPECT_EQ(dialog.Kind, TPromptKind::SaveFile);
    EXPECT_EQ(dialog.Request.Title, "Save as ...");
    EXPECT_EQ(dialog.Request.FileName, QStringLiteral("New_FlowChart_%1").arg(third->ChartNumber));
    EXPECT_EQ(third->Caption(), PathOf("first.fml"));
    EXPECT_TRUE(QFile::exists(PathOf("first.fml")));

    // Saving over an existing file asks first; No writes nothing.
    Edit(bkCall, "Again");
    const QByteArray before = ReadAll(PathOf("first.fml"));
    Form().FileNew1Execute();
    TMDIChild* other = Active();
    Prompts->QueueFileName(PathOf("first"));
    Prompts->QueueAnswer(false);
    Form().mSaveAsClick();
    EXPECT_EQ(Prompts->Questions().last(),
              "File  " + PathOf("first.fml") + "\r\nNow exist! ReSave it?");
    EXPECT_EQ(ReadAll(PathOf("first.fml")), before);
    EXPECT_EQ(other->Caption(), PathOf("New_FlowChart_4.fml"));

    // Yes replaces it.
    Prompts->QueueFileName(PathOf("first"));
    Prompts->QueueAnswer(true);
    Form().mSaveAsClick();
    EXPECT_EQ(other->Caption(), PathOf("first.fml"));
    TFCList read;
    ASSERT_TRUE(LoadFromXML(read, PathOf("first.fml")));
    EXPECT_EQ(read.First()->Text, other->Chart->First()->Text);

    // A later Save as starts in the directory of the previous one.
    Prompts->QueueFileName(PathOf("a.b.FML"));
    Form().mSaveAsClick();
    EXPECT_EQ(Prompts->Records().last().Request.InitialDir, Dir());
    // A chosen chart name keeps its other dots (cutting them would name
    // another file), and the form follows the extension in any letter case.
    EXPECT_EQ(other->Caption(), PathOf("a.b.FML"));
    EXPECT_TRUE(LoadFromXML(read, PathOf("a.b.FML")));

    // A name the system refuses to look at is not taken for a new file.
    const qsizetype questions = Prompts->Questions().size();
    Prompts->QueueFileName(PathOf("first.fml/c"));
    Form().mSaveAsClick();
    EXPECT_EQ(Prompts->Messages().last(),
              PathOf("first.fml/c.fml") + ": " + QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    EXPECT_EQ(Prompts->Questions().size(), questions);
    EXPECT_EQ(other->Caption(), PathOf("a.b.FML"));
}

TEST_F(AppTest, SaveAsksBeforeAnotherFileAFormItCannotOpenOrAFileChangedOnDisk) {
    WriteChartFile(PathOf("Z.txt"), 2);
    WriteChartFile(PathOf("Y.fc2"), 1);
    WriteChartFile(PathOf("X.fml"), 1);
    QFile unrelated(PathOf("Z.tvx"));
    ASSERT_TRUE(unrelated.open(QIODevice::WriteOnly));
    unrelated.write("unrelated");
    unrelated.close();
    StartEditor({PathOf("Z.txt"), PathOf("Y.fc2"), PathOf("X.fml")});
    const QList<TMDIChild*> windows = Form().MDIChildren();
    ASSERT_EQ(windows.size(), 3);
    auto activate = [&](TMDIChild* child) {
        Form().MdiArea->setActiveSubWindow(Form().SubWindowOf(child));
    };
    auto save = [&](TMDIChild* child, bool yes) {
        activate(child);
        Prompts->QueueAnswer(yes);
        Form().mSaveClick();
    };

    // Saved where it was read, as it was read: no question.
    Edit();
    Prompts->ClearRecords();
    Form().mSaveClick();
    EXPECT_TRUE(Prompts->Records().isEmpty());
    // Another program writes the file meanwhile.
    WriteChartFile(PathOf("X.fml"), 5, "theirs");
    save(windows[2], false);
    EXPECT_TRUE(Prompts->Questions().last().startsWith(
        PathOf("X.fml") + " was changed, replaced or removed on disk"));
    EXPECT_TRUE(ReadAll(PathOf("X.fml")).contains("theirs"));

    // A chart read from Z.txt would go to Z.tvx in the old records.
    save(windows[0], false);
    EXPECT_EQ(Prompts->Questions().last(),
              "The chart was read from or last saved to another file: " + PathOf("Z.txt") +
                  ".\r\nSave writes the chart in the old record form (.tvx), which the editor "
                  "does not open.\r\nFile  " +
                  PathOf("Z.tvx") + "\r\nNow exist! ReSave it?");
    EXPECT_EQ(ReadAll(PathOf("Z.tvx")), "unrelated");
    save(windows[0], true);
    EXPECT_EQ(ReadAll(PathOf("Z.tvx")).size(), 3 * LegacyRecordSize);

    // Chart XML read as Y.fc2 would become annotated text, kept as it was.
    ExportLanguage = elCpp;
    TextCleanUp = true;
    activate(windows[1]);
    Edit(bkOutput, "x");
    save(windows[1], true);
    EXPECT_TRUE(Prompts->Questions().last().contains("annotated Pascal text (.fc2)"));
    const QString text = QString::fromUtf8(ReadAll(PathOf("Y.fc2")));
    EXPECT_TRUE(text.startsWith("{saved by Tarvinex}\r\nprogram start;")) << text.toStdString();
    EXPECT_TRUE(text.contains("x := 0;{TVX_type_0}"));
    EXPECT_EQ(ExportLanguage, elCpp);
    EXPECT_TRUE(TextCleanUp);
    ExportLanguage = elPascal;
}

TEST_F(AppTest, AFailedSaveSaysWhyAndKeepsTheHistory) {
    StartEditor();
    Form().FileNew1Execute();
    Edit();
    Prompts->QueueFileName(PathOf("no/such/dir/chart"));
    Form().mSaveClick();
    EXPECT_EQ(Prompts->Messages().size(), 1);
    EXPECT_FALSE(QFile::exists(PathOf("no/such/dir/chart.fml")));
    EXPECT_EQ(Active()->History.UndoIndex, 1);
    EXPECT_TRUE(Form().N9->isEnabled());

    // A write that fails half-way (a full disk) names its cause in every file
    // form, and the file saved before stays as it was.
    for (const char* name : {"chart.fml", "chart.fc2", "chart.tvx"}) {
        Active()->SetCaption(PathOf(name));
        Prompts->QueueFileName(PathOf(name)); // the first time
        Prompts->QueueAnswer(true);           // writing another file or form
        Form().mSaveClick();
        const QByteArray before = ReadAll(PathOf(name));
        ASSERT_FALSE(before.isEmpty()) << name;
        Edit();
        {
            tvx::testing::TFileSizeLimit full(64);
            Form().mSaveClick();
        }
        EXPECT_TRUE(Prompts->Messages().last().endsWith(": File too large")) << name;
        EXPECT_EQ(ReadAll(PathOf(name)), before) << name;
    }
}

TEST_F(AppTest, ClosingAChangedWindowOrTheEditorAsksFirst) {
    WriteChartFile(PathOf("kept.fml"), 1);
    StartEditor({PathOf("kept.fml")});
    TMDIChild* kept = Active();
    Edit(bkProcess, "x := 1");
    Form().FileNew1Execute();
    Edit();

    // Cancel keeps the window, and the editor, as they were.
    Form().SubWindowOf(kept)->close();
    Settle();
    EXPECT_EQ(Prompts->Questions().last(),
              PathOf("kept.fml") + " has changes that are not saved. Save them?");
    EXPECT_EQ(Form().MDIChildCount(), 2);
    EXPECT_EQ(kept->Chart->Count(), 3);

    // Exit asks about the newest window first; Discard and Save close
    // everything, and only the saved chart is written.
    Prompts->QueueChoice(TSaveChoice::Discard);
    Prompts->QueueChoice(TSaveChoice::Save);
    Form().FileExit1Execute();
    Settle();
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Prompts->Questions().size(), 3);
    TFCList read;
    ASSERT_TRUE(LoadFromXML(read, PathOf("kept.fml")));
    EXPECT_EQ(read.Count(), 3);
}

TEST_F(AppTest, SaveCommandsWithoutAWindowDoNothing) {
    StartEditor();
    Form().mSaveClick();
    Form().mSaveAsClick();
    Form().pas1Click();
    Form().C1Click();
    EXPECT_TRUE(Prompts->Records().isEmpty());
}
