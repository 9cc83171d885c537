// Import of Pascal and C files into chart windows, the error report of a
// failed import, and the re-import of an edited source pane.
#include "app/chart_collection.h"
#include "app/error_report_form.h"
#include "app_fixture.h"
#include "chart/chart_xml.h"
#include "chart/nesting_limit.h"
#include "chart_pointer.h"
#include "codegen/export_state.h"
#include "common/allocation_failure.h"
#include "import/error_report.h"
#include "import/import_driver.h"
#include "platform/bitmap.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextBlock>
#include <QTimer>

using namespace tvx;

namespace {

const QString ImportFilter = QString::fromUtf8(
    "Файлы программ (*.PAS)|*.pas;|Файлы программ (*.c*)|*.c*;|Все файлы (*.*)|*.*|");

const char* const ThreeRoutines = R"(program Demo;
procedure First;
begin
  a := 1
end;
procedure Second;
begin
  b := 2
end;
begin
  First;
  Second
end.
)";

const char* const TwoFunctions = R"(int twice(int x)
{
  return x * 2;
}
int main()
{
  int y = twice(3);
  return y;
}
)";

// The error-report windows shown while it lives: their subject and report,
// each closed with Cancel as soon as it is up.
class TReportWindows {
public:
    TReportWindows() {
        Timer.setInterval(5);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            if (auto* window = qobject_cast<TfmErrorMessage*>(QApplication::activeModalWidget())) {
                Titles.append(window->edThems->text());
                Texts.append(window->mmReport->toPlainText());
                window->reject();
            }
        });
        Timer.start();
    }
    QStringList Titles, Texts;

private:
    QTimer Timer;
};

class ImportTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        for (const char* grammar : {"ImportPAS.dll", "ImportCPP.dll"}) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(TVX_GRAMMAR_DIR) + grammar, PathOf(grammar)));
        }
        StartEditor();
        Reports = std::make_unique<TReportWindows>();
    }
    void TearDown() override {
        Reports.reset();
        AppTest::TearDown();
    }

    QString WriteSource(const QString& Name, const QString& Text) {
        QDir().mkpath(PathOf("src"));
        const QString name = PathOf("src/" + Name);
        QFile file(name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Text.toUtf8());
        return name;
    }

    // Runs the import command with the dialog answering FileName and Filter.
    TMDIChild* Import(const QString& FileName, int Filter) {
        Prompts->QueueFileName(FileName, Filter);
        const int before = Form().MDIChildCount();
        Form().Pascal2Click();
        Settle();
        return Form().MDIChildCount() > before ? Active() : nullptr;
    }

    // Every error-report window is closed as soon as it is up, so a test
    // never waits for a person.
    std::unique_ptr<TReportWindows> Reports;

    QStringList Tabs(const TMDIChild& Child) const {
        QStringList tabs;
        for (int i = 0; i < Child.TabSet1->count(); ++i) {
            tabs.append(Child.TabSet1->tabText(i));
        }
        return tabs;
    }
};

TEST_F(ImportTest, PascalFileOpensOneTabPerChartWithTheSourceBeside) {
    Settings->WorkDirectory = PathOf("start/");
    const QString source = WriteSource("demo.pas", ThreeRoutines);
    TMDIChild* child = Import(source, 1);
    ASSERT_NE(child, nullptr);

    const TPromptRecord& dialog = Prompts->Records().at(0);
    EXPECT_EQ(dialog.Kind, TPromptKind::OpenFile);
    EXPECT_EQ(dialog.Request.Filter, ImportFilter);
    EXPECT_EQ(dialog.Request.InitialDir, PathOf("start/"));
    EXPECT_EQ(dialog.Request.FilterIndex, 1);
    EXPECT_EQ(Prompts->Records().size(), 1);

    EXPECT_EQ(Tabs(*child), QStringList({"program Demo", "First", "Second"}));
    EXPECT_TRUE(child->TabSet1->isVisibleTo(child));
    ASSERT_NE(child->ParseResult, nullptr);
    EXPECT_EQ(child->Chart, child->ParseResult->GetChart(0));
    EXPECT_EQ(child->Chart->First()->Text, "Demo");
    EXPECT_EQ(child->mmInputCode->toPlainText().trimmed(), QString(ThreeRoutines).trimmed());
    EXPECT_FALSE(child->ChartBitmap->Empty());
    EXPECT_FALSE(child->reCode->toPlainText().isEmpty());
    EXPECT_EQ(child->History.UndoList.size(), 1);
    EXPECT_EQ(Settings->WorkDirectory, PathOf("src/"));
    EXPECT_EQ(ExportMode, emPlain);

    // Another tab shows its own chart.
    child->TabSet1->setCurrentIndex(2);
    EXPECT_EQ(child->Chart->First()->Text, "Second");
}

TEST_F(ImportTest, ClosingAsksForEachChangedChartShowingIt) {
    TMDIChild* child = Import(WriteSource("demo.pas", ThreeRoutines), 1);
    ASSERT_NE(child, nullptr);
    // Text typed on one tab goes into its chart when another is shown.
    Form().sbEditing->trigger();
    DoubleClickAt(*child, ElementOf(*child, 1));
    QTest::keyClicks(child->mmInput, "typed");
    child->TabSet1->setCurrentIndex(1); // looked at, not changed
    EXPECT_EQ(child->ParseResult->GetChart(0)->GetBlock(1)->Text, "typed");
    child->TabSet1->setCurrentIndex(2);
    Edit();
    child->TabSet1->setCurrentIndex(1);
    Prompts->ClearRecords();

    Prompts->QueueChoice(TSaveChoice::Discard);
    Form().FileExit1Execute(); // Cancel on the second question
    Settle();
    EXPECT_EQ(Prompts->Questions(),
              QStringList({child->Caption() + " [program Demo] has changes that are not saved. "
                                              "Save them?",
                           child->Caption() + " [Second] has changes that are not saved. "
                                              "Save them?"}));
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(child->TabSet1->currentIndex(), 1);

    // Save writes the tab shown, each through Save as of its own.
    Prompts->QueueChoice(TSaveChoice::Save);
    Prompts->QueueFileName(PathOf("demo"));
    Prompts->QueueChoice(TSaveChoice::Save);
    Prompts->QueueFileName(PathOf("second"));
    Form().FileExit1Execute();
    Settle();
    EXPECT_FALSE(Form().isVisible());
    TFCList read;
    ASSERT_TRUE(LoadFromXML(read, PathOf("demo.fml")));
    EXPECT_EQ(read.GetBlock(1)->Text, "typed");
    ASSERT_TRUE(LoadFromXML(read, PathOf("second.fml")));
    EXPECT_EQ(read.First()->Text, "Second");
}

TEST_F(ImportTest, TheDialogsFilterChoosesTheLanguageOfThisImportOnly) {
    const QString pascal = WriteSource("demo.pas", ThreeRoutines);
    const QString c = WriteSource("demo.c", TwoFunctions);
    {
        // Pascal chosen while C is the language: only the Pascal tables are needed.
        QFile::remove(PathOf("ImportCPP.dll"));
        Form().mnCppClick();
        TMDIChild* child = Import(pascal, 1);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(Prompts->Records().at(0).Request.FilterIndex, 2);
        EXPECT_EQ(Tabs(*child).size(), 3);
        EXPECT_EQ(Settings->SourceType, 1);
        EXPECT_TRUE(Form().mnCpp->isChecked());
        EXPECT_FALSE(Form().mnDelphi->isChecked());
        QFile::copy(QStringLiteral(TVX_GRAMMAR_DIR "ImportCPP.dll"), PathOf("ImportCPP.dll"));
    }
    {
        // "All files" imports with the current language, here C.
        QFile::remove(PathOf("ImportPAS.dll"));
        TMDIChild* child = Import(c, 3);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(Tabs(*child).size(), 2);
        EXPECT_TRUE(Tabs(*child).value(0).contains("twice"))
            << Tabs(*child).join('|').toStdString();
        EXPECT_EQ(Settings->SourceType, 1);
    }
    {
        // C chosen while Pascal is the language.
        Form().mnDelphiClick();
        Prompts->ClearRecords();
        TMDIChild* child = Import(c, 2);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(Prompts->Records().at(0).Request.FilterIndex, 1);
        EXPECT_EQ(Tabs(*child).size(), 2);
        EXPECT_EQ(Settings->SourceType, 0);
        EXPECT_TRUE(Form().mnDelphi->isChecked());
    }
    EXPECT_TRUE(Prompts->Messages().isEmpty());
}

TEST_F(ImportTest, ASourceLanguageThatIsNoLanguageImportsAnEmptyChart) {
    Settings->SourceType = 2; // as a Config.ini of another version may hold
    Form().SettingsChange();
    EXPECT_FALSE(Form().mnDelphi->isChecked() || Form().mnCpp->isChecked());
    TMDIChild* child = Import(WriteSource("demo.c", TwoFunctions), 3);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(Prompts->Records().at(0).Request.FilterIndex, 3);
    EXPECT_EQ(child->Chart->Count(), 1);
    EXPECT_EQ(Settings->SourceType, 2);
    child->mmInputCode->setPlainText("int main() { return 0; }");
    Form().sbCompileF9Click();
    EXPECT_EQ(child->Chart->Count(), 1);
    EXPECT_TRUE(Prompts->Messages().isEmpty());
}

TEST_F(ImportTest, CancelledOrUnreadableImportMakesNoWindow) {
    EXPECT_EQ(Import(QString(), 1), nullptr);
    EXPECT_EQ(Settings->SourceType, 0);

    // The file went away between the dialog and the import.
    EXPECT_EQ(Import(PathOf("src/gone.c"), 2), nullptr);
    ASSERT_EQ(Prompts->Messages().size(), 1);
    EXPECT_TRUE(Prompts->Messages().at(0).contains("gone.c"));
    EXPECT_EQ(Settings->SourceType, 0);
    EXPECT_EQ(Form().MDIChildCount(), 0);
}

TEST_F(ImportTest, RejectedSourceIsReportedThenAnEmptyChartOpens) {
    const QString text = "program Broken;\nbegin\n  a := 1;\n  b := := 2\nend.\n";
    const QString source = WriteSource("broken.pas", text);
    TMDIChild* child = Import(source, 1);
    ASSERT_NE(child, nullptr);

    ASSERT_EQ(Reports->Titles.size(), 1);
    EXPECT_EQ(Reports->Titles[0], "Во время импорта произошла критическая ошибка");
    const QStringList lines = Reports->Texts[0].split('\n');
    EXPECT_EQ(lines.at(2), "ОТЧЕТ ПАРСЕРА:");
    EXPECT_TRUE(lines.at(3).startsWith("Line 4: Syntax Error: Expecting the following tokens: "))
        << lines.at(3).toStdString();
    EXPECT_TRUE(Reports->Texts[0].contains("ИМПОРТИРУЕМЫЙ КОД\nprogram Broken;\nbegin\n"));
    EXPECT_TRUE(Prompts->Messages().isEmpty());

    EXPECT_EQ(child->ParseResult, nullptr);
    EXPECT_EQ(child->TabSet1->count(), 0);
    ASSERT_EQ(child->Chart->Count(), 1);
    EXPECT_EQ(child->Chart->First()->Text, "example2");
    EXPECT_EQ(Settings->WorkDirectory, PathOf("src/"));
}

TEST_F(ImportTest, WhatTheChartsLackIsToldOnceTheWindowIsOpen) {
    const QString source = WriteSource(
        "feature.c",
        "#ifdef FEATURE\nvoid a(void) { x = 1; }\n#endif\nint main(void) { return 0; }\n");
    const int before = Form().MDIChildCount();
    ASSERT_NE(Import(source, 2), nullptr);
    EXPECT_EQ(Form().MDIChildCount(), before + 1);
    ASSERT_EQ(Prompts->Messages().size(), 1);
    EXPECT_TRUE(Prompts->Messages()[0].endsWith(": FEATURE."))
        << Prompts->Messages()[0].toStdString();
}

TEST_F(ImportTest, MissingGrammarOrLanguageGivesAnEmptyChart) {
    const QString source = WriteSource("demo.pas", ThreeRoutines);
    {
        QFile::remove(PathOf("ImportPAS.dll"));
        TMDIChild* child = Import(source, 1);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(Prompts->Messages(), QStringList{"Input file could not be opened!"});
        ASSERT_EQ(Reports->Texts.size(), 1);
        EXPECT_EQ(Reports->Texts[0].split('\n').at(3), "");
        EXPECT_EQ(child->Chart->Count(), 1);
    }
    {
        // A language the import does not know: an empty chart and not a word.
        Prompts->ClearRecords();
        Settings->SetSourceType(2);
        TMDIChild* child = Import(source, 3);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(Prompts->Records().at(0).Request.FilterIndex, 3);
        EXPECT_EQ(Prompts->Records().size(), 1);
        EXPECT_EQ(Reports->Titles.size(), 1); // the one of the missing grammar
        EXPECT_EQ(child->Chart->Count(), 1);
        EXPECT_EQ(Settings->SourceType, 2);
    }
}

class ReimportTest : public ImportTest {
protected:
    // A window holding the import of Text (Pascal).
    TMDIChild* Imported(const QString& Text) {
        TMDIChild* child = Import(WriteSource("demo.pas", Text), 1);
        Prompts->ClearRecords();
        return child;
    }
    static void SetSource(TMDIChild& Child, const QString& Text) {
        Child.mmInputCode->setPlainText(Text);
    }
    QStringList ScratchFiles() {
        QStringList found;
        for (const QString& dir : {Dir(), Form().SnapshotDir(), QDir::tempPath() + '/'}) {
            for (const QString& name : QDir(dir).entryList({"NewImportF9*"}, QDir::Files)) {
                found.append(dir + name);
            }
        }
        return found;
    }
};

TEST_F(ReimportTest, EditedSourceReplacesTheChartsAndKeepsTheTab) {
    // A file of the user's that happens to carry the old scratch name.
    QFile mine(PathOf("NewImportF9.pas"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();
    const QStringList before = ScratchFiles();

    TMDIChild* child = Imported(ThreeRoutines);
    ASSERT_NE(child, nullptr);
    child->TabSet1->setCurrentIndex(2);
    QString edited = ThreeRoutines;
    edited.replace("b := 2", "b := 2;\n  c := 3");
    SetSource(*child, edited);

    Form().sbCompileF9Click();
    EXPECT_TRUE(Prompts->Records().isEmpty());
    EXPECT_EQ(Tabs(*child), QStringList({"program Demo", "First", "Second"}));
    EXPECT_EQ(child->TabSet1->currentIndex(), 2);
    EXPECT_EQ(child->Chart, child->ParseResult->GetChart(2));
    EXPECT_EQ(child->Chart->Count(), 3);
    EXPECT_EQ(child->Chart->GetBlock(2)->Text, "c:=3");
    EXPECT_EQ(child->mmInputCode->toPlainText(), edited);
    // The re-import is a step in the first chart's history; the chart shown
    // starts a history of its own.
    EXPECT_EQ(child->History.UndoList.size(), 1);
    ASSERT_EQ(child->TabHistories.count(0), 1u);
    EXPECT_EQ(child->TabHistories.at(0)->UndoList.size(), 2);
    EXPECT_EQ(ScratchFiles(), before);
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "mine");

    // Fewer charts than the tab that was shown: chart 0.
    SetSource(*child, "program Short;\nbegin\n  x := 1\nend.\n");
    Form().sbCompileF9Click();
    EXPECT_EQ(Tabs(*child), QStringList({"program Short"}));
    EXPECT_EQ(child->Chart, child->ParseResult->GetChart(0));
}

TEST_F(ReimportTest, RejectedSourceSelectsTheLineAndKeepsTheCharts) {
    TMDIChild* child = Imported(ThreeRoutines);
    ASSERT_NE(child, nullptr);
    child->TabSet1->setCurrentIndex(1);
    const TFCList* shown = child->Chart;
    const auto snapshots = child->History.UndoList.size();
    // Line 5 reads like line 3, so only its position tells them apart.
    const QString text = "program P;\nbegin\n  a := b\n  ;\n  a := b c;\nend.\n";
    SetSource(*child, text);
    Form().sbCompileF9Click();
    Settle();

    EXPECT_TRUE(Reports->Titles.isEmpty());
    ASSERT_EQ(Prompts->Messages().size(), 1);
    EXPECT_TRUE(Prompts->Messages()[0].startsWith(
        "Синтаксическая ошибка!\r\nLine 5: Syntax Error: Expecting the following tokens: "))
        << Prompts->Messages()[0].toStdString();
    const QTextCursor selected = child->mmInputCode->textCursor();
    EXPECT_EQ(selected.selectedText(), "  a := b c;");
    EXPECT_EQ(selected.block().blockNumber(), 4);

    EXPECT_EQ(Tabs(*child), QStringList({"program Demo", "First", "Second"}));
    EXPECT_EQ(child->TabSet1->currentIndex(), 1);
    EXPECT_EQ(child->Chart, shown);
    EXPECT_EQ(child->History.UndoList.size(), snapshots);
    EXPECT_EQ(child->mmInputCode->toPlainText(), text);
    EXPECT_TRUE(ScratchFiles().isEmpty());
}

TEST_F(ReimportTest, SourceLanguageChoosesTheGrammar) {
    // A window no import filled reads its pane in the Import menu's language.
    Form().FileNew1Execute();
    TMDIChild* child = Active();
    QFile::remove(PathOf("ImportPAS.dll"));
    Form().mnCppClick();
    SetSource(*child, TwoFunctions);
    Form().sbCompileF9Click();
    EXPECT_TRUE(Prompts->Messages().isEmpty());
    EXPECT_EQ(Tabs(*child).size(), 2);

    // Once filled, it keeps that language, whatever the menu says later.
    for (int other : {2, int(slPascal)}) {
        Settings->SetSourceType(std::uint8_t(other));
        Form().sbCompileF9Click();
    }
    // So does a window imported as C while the menu says Pascal.
    TMDIChild* imported = Import(WriteSource("demo.c", TwoFunctions), 2);
    ASSERT_NE(imported, nullptr);
    Form().sbCompileF9Click();
    EXPECT_TRUE(Prompts->Messages().isEmpty()) << Prompts->Messages().join('|').toStdString();
    EXPECT_EQ(Tabs(*child).size(), 2);
    EXPECT_EQ(Tabs(*imported).size(), 2);
}

TEST_F(ReimportTest, TooDeepTooLargeOrOutOfMemoryImportsLeaveEveryWindowAsItWas) {
    TMDIChild* child = Imported(ThreeRoutines);
    ASSERT_NE(child, nullptr);
    const QStringList tabs = Tabs(*child);
    const TFCList* chart = child->Chart;
    const auto snapshots = child->History.UndoList.size();
    auto unchanged = [&] {
        EXPECT_EQ(Form().MDIChildCount(), 1);
        EXPECT_EQ(Tabs(*child), tabs);
        EXPECT_EQ(child->Chart, chart);
        EXPECT_EQ(child->History.UndoList.size(), snapshots);
    };
    // The innermost statement one level past the limit, and far past it.
    auto nested = [](int depth) {
        return "program Deep;\nbegin\n" + QStringLiteral("while a do\n").repeated(depth) +
               "x := 1\nend.\n";
    };
    for (int depth : {kMaxNestingLevel, 10000}) {
        SetSource(*child, nested(depth));
        Form().sbCompileF9Click();
        EXPECT_EQ(Import(WriteSource("deep.pas", nested(depth)), 1), nullptr);
        EXPECT_EQ(Prompts->Messages(), QStringList(2, NestingLimitMessage())) << depth;
        unchanged();
        Prompts->ClearRecords();
    }

    QString large = ThreeRoutines;
    large.replace("program Demo;\n",
                  "program Demo;\n" + QStringLiteral("{ padding }\n").repeated(40000));
    SetSource(*child, large);
    const QString source = WriteSource("large.pas", large);
    {
        test::TFailLargeAllocations outOfMemory(256 * 1024);
        Form().sbCompileF9Click();
        EXPECT_EQ(Import(source, 1), nullptr);
        EXPECT_GT(outOfMemory.Refused(), 0);
    }
    EXPECT_EQ(Prompts->Messages(),
              QStringList(2, Settings->MenuPool->GetString("sm_mes_no_memory")));
    unchanged();

    // A text past what the import reads is refused by the name of its pane.
    SetSource(*child, QStringLiteral("{ padding }\n").repeated(100000));
    Prompts->ClearRecords();
    Form().sbCompileF9Click();
    EXPECT_TRUE(
        Prompts->Messages().value(0).startsWith("The source pane of " + child->Caption() + "\r\n"));
    unchanged();
    EXPECT_TRUE(Reports->Titles.isEmpty());
}

TEST_F(ReimportTest, NothingHappensWithoutAWindow) {
    Form().sbCompileF9Click();
    EXPECT_EQ(Form().MDIChildCount(), 0);
    EXPECT_TRUE(Prompts->Records().isEmpty());
}

} // namespace

// Pictures for a person to look at, not a check (see screenshot_test.cpp):
// a window after an import, after a failed re-import, and the report window.
TEST_F(ImportTest, DISABLED_Screenshot) {
    const QString dir = qEnvironmentVariable("TVX_SCREENSHOT_DIR", QDir::tempPath());
    Metrics.reset(); // real fonts for a picture
    Form().resize(1300, 860);
    Form().Timer4Timer();
    const QString source = WriteSource("demo.pas", R"(program Demo;
var i, s: Integer;
procedure Show(x: Integer);
begin
  if x > 10 then
    writeln('big ', x)
  else
    writeln(x)
end;
begin
  s := 0;
  for i := 1 to 10 do
  begin
    s := s + i;
    if odd(i) then Show(i)
  end;
  while s > 3 do
    s := s div 2;
  Show(s)
end.
)");
    TMDIChild* child = Import(source, 1);
    ASSERT_NE(child, nullptr);
    Settle();
    Form().grab().save(dir + "/import_program.png");
    child->TabSet1->setCurrentIndex(1);
    Settle();
    Form().grab().save(dir + "/import_routine.png");
    // The program's chart as a GIF page, turned into PNG for looking at.
    child->TabSet1->setCurrentIndex(0);
    Prompts->QueueFileName(dir + "/import_page", 2);
    Form().BMP1Click();
    QImage(dir + "/import_page_Part_0.gif").save(dir + "/import_page_gif.png");

    QString broken = child->mmInputCode->toPlainText();
    broken.replace("s := 0;", "s := 0 +;");
    child->mmInputCode->setPlainText(broken);
    Form().sbCompileF9Click();
    Settle();
    Form().grab().save(dir + "/reimport_failed.png");

    TfmErrorMessage window(&Form());
    TErrorReport report;
    report.Message = Prompts->Messages().value(0).section("\r\n", 1);
    report.SourceText = broken;
    window.SetReport("Во время импорта произошла критическая ошибка", report);
    window.show();
    Settle();
    window.grab().save(dir + "/import_report.png");
}
