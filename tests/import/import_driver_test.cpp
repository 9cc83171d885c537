// The import driver: reports of rejected texts, the log, loading sources,
// handing out charts, and a grammar file that cannot be used.
#include "common/named_pipe.h"
#include "import/c_import_support.h"
#include "import/pascal_import_support.h"
#include "parser/gold_parser.h"
#include "platform/recording_prompts.h"
#include "settings/builtin_texts.h"
#include "settings/main_settings.h"
#include "support/arrays.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

TEST(ImportReport, LexicalErrorGivesItsLineOnCrLfText) {
    const TPascalImport result = ImportPascal("program P;\r\nbegin\r\n  x := 1 ? 2;\r\nend.\r\n");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Report.Message, "Line 3: Lexical Error: Cannot recognize token: ?");
    EXPECT_EQ(result.Report.Line, 3);
    EXPECT_TRUE(result.Charts.empty());
}

TEST(ImportReport, SyntaxErrorListsTheExpectedTokensSeparatedByBlanks) {
    // After "array" only an index list or "of" may follow.
    const TPascalImport result = ImportPascal("program P;\nvar a:\n  array Integer;\nbegin end.");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Report.Message, "Line 3: Syntax Error: Expecting the following tokens: OF [");
    EXPECT_EQ(result.Report.Line, 3);
}

TEST(ImportReport, TextEndingInsideACommentGivesTheCommentMessage) {
    const TPascalImport result = ImportPascal("program P;\n{ never closed\n\nbegin end.\n");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Report.Message,
              QString::fromUtf8("Ошибка в комментариях! Неожиданный конец файла в строке 5"));
    EXPECT_EQ(result.Report.Line, 5);
}

TEST(ImportReport, AnAcceptedTextLeavesAnEmptyReport) {
    const TPascalImport result = ImportPascal("program P; begin end.");
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(result.Report.Message, "");
    EXPECT_EQ(result.Report.Line, -1);
    EXPECT_TRUE(result.Report.List.isEmpty());
}

TEST(ImportLog, HoldsFourLinesForEveryMessageEndingInTabs) {
    const TPascalImport result = ImportPascal("program P; begin end.", true);
    ASSERT_TRUE(result.Ok);
    ASSERT_FALSE(result.Log.isEmpty());
    ASSERT_EQ(result.Log.size() % 4, 0);
    for (const QString& line : result.Log) {
        EXPECT_TRUE(line.endsWith(QLatin1Char('\t'))) << line.toStdString();
    }
    // The fourth line is the token's index in the symbol table.
    TGOLDParser grammar;
    ASSERT_TRUE(grammar.LoadCompiledGrammar(PascalGrammarFile()));
    int program = -1;
    for (int32_t i = 0; i < grammar.GetSymbolTable().GetCount(); ++i) {
        const TSymbol* symbol = grammar.GetSymbolTable().GetItem(i);
        if (symbol != nullptr && symbol->Name == "PROGRAM") {
            program = symbol->TableIndex;
        }
    }
    ASSERT_GE(program, 0);
    EXPECT_EQ(result.Log.mid(0, 4), QStringList({"Token Read\t", "PROGRAM\t", "PROGRAM\t",
                                                 QString::number(program) + "\t"}));
    // The accept closes the log; its third line is empty.
    const QStringList accept = result.Log.mid(result.Log.size() - 4);
    EXPECT_EQ(accept[0], "Accept\t");
    EXPECT_TRUE(accept[1].startsWith("<Goal> ::= <Program>")) << accept[1].toStdString();
    EXPECT_EQ(accept[2], "\t");
    // Reductions are counted from 1 in the order they happen.
    int expected = 1;
    for (int i = 0; i < result.Log.size(); i += 4) {
        if (result.Log[i] == "Reduce\t") {
            EXPECT_EQ(result.Log[i + 2], QString::number(expected++) + "\t");
        }
    }
    EXPECT_GT(expected, 5);
}

TEST(ImportLog, AnErrorIsItsLastMessage) {
    const TPascalImport result = ImportPascal("program P; begin x := 1 ? end.", true);
    ASSERT_FALSE(result.Ok);
    const QStringList last = result.Log.mid(result.Log.size() - 4);
    EXPECT_EQ(last, QStringList({"Lexical Error\t", "Cannot recognize token\t", "?\t", "\t"}));
}

TEST(ImportGrammar, MissingGrammarFileIsReportedThroughThePrompts) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = QStringLiteral("/nonexistent/ImportPAS.dll");
    import.LoadFromText("program P; begin end.");
    TErrorReport report;
    report.Message = "stale";
    EXPECT_FALSE(import.Parse(report));
    EXPECT_EQ(prompts.Messages(), QStringList({"Input file could not be opened!"}));
    EXPECT_EQ(report.Message, "");
    EXPECT_EQ(report.Line, -1);
    EXPECT_EQ(import.GetChartCount(), 0);
}

TEST(ImportGrammar, AFileThatIsNoGrammarIsRefusedTheSameWay) {
    QTemporaryDir dir;
    const QString name = dir.filePath("ImportPAS.dll");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("MZ this is no table file");
    file.close();
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = name;
    import.LoadFromText("program P; begin end.");
    TErrorReport report;
    EXPECT_FALSE(import.Parse(report));
    EXPECT_EQ(prompts.Messages(), QStringList({"Input file could not be opened!"}));
}

TEST(ImportSource, LoadsLinesOfEveryBreakAndEncoding) {
    QTemporaryDir dir;
    const QString name = dir.filePath("mixed.pas");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // A BOM, then CR LF, LF and CR breaks, and a text that ends in a break.
    file.write("\xEF\xBB\xBFprogram P;\r\nbegin\n  WriteLn('\xC3\xBC');\rend.\r\n");
    file.close();
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = PascalGrammarFile();
    import.LoadFromFile(name);
    EXPECT_EQ(import.SourceFile, name);
    EXPECT_EQ(import.Lines,
              QStringList({"program P;", "begin", QString::fromUtf8("  WriteLn('ü');"), "end."}));
    EXPECT_EQ(import.GetSourceText(),
              QString::fromUtf8("program P;\nbegin\n  WriteLn('ü');\nend."));
    TErrorReport report;
    ASSERT_TRUE(import.Parse(report));
    EXPECT_EQ(Outline(*import.GetChart(0)), QString::fromUtf8("7:P{8:'ü'}"));
}

TEST(ImportSource, Windows1251TextIsReadWhenTheBytesAreNotUtf8) {
    QTemporaryDir dir;
    const QString name = dir.filePath("cp1251.pas");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("program P;\r\nbegin\r\n  WriteLn('\xCF\xF0\xE8\xE2\xE5\xF2')\r\nend.\r\n");
    file.close();
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = PascalGrammarFile();
    import.LoadFromFile(name);
    TErrorReport report;
    ASSERT_TRUE(import.Parse(report));
    EXPECT_EQ(Outline(*import.GetChart(0)), QString::fromUtf8("7:P{8:'Привет'}"));
}

TEST(ImportSource, AnUnreadableOrOversizedFileRaisesAndChangesNothing) {
    QTemporaryDir dir;
    const QString large = dir.filePath("large.pas");
    QFile file(large);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(TTVXParseChartes::MaxSourceBytes + 1));
    file.close();
    TTVXParseChartes import(slPascal);
    import.LoadFromText("program Kept; begin end.");
    EXPECT_THROW(import.LoadFromFile("/nonexistent/source.pas"), EImportError);
    try {
        import.LoadFromFile(large);
        ADD_FAILURE() << "a source beyond the limit was read";
    } catch (const EImportError& e) {
        EXPECT_EQ(e.message(), large + "\r\nThe source file is larger than 1 MB, more than the "
                                       "import reads. Nothing was imported.");
    }
    EXPECT_EQ(import.Lines, QStringList({"program Kept; begin end."}));
    EXPECT_EQ(import.SourceFile, "");
}

TEST(ImportSource, ANamedPipeIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString name = dir.filePath("pipe.pas");
    tvx::testing::TNamedPipe pipe(name);
    if (!pipe.Error().isEmpty()) {
        GTEST_SKIP() << "no named pipe can be made here: " << pipe.Error().toStdString();
    }
    TTVXParseChartes import(slPascal);
    QElapsedTimer clock;
    clock.start();
    try {
        import.LoadFromFile(name);
        ADD_FAILURE() << "a named pipe was read";
    } catch (const EImportError& e) {
        EXPECT_EQ(e.message(), "Cannot open file \"" + name + "\". " +
                                   MenuTextOf(QStringLiteral("sm_mes_not_regular")));
    }
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(ImportCharts, AreHandedOutOnceAndASecondParseAppends) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = PascalGrammarFile();
    import.LoadFromText("program A; procedure B; begin end; begin end.");
    TErrorReport report;
    ASSERT_TRUE(import.Parse(report));
    ASSERT_TRUE(import.Parse(report));
    ASSERT_EQ(import.GetChartCount(), 4);
    EXPECT_EQ(import.GetChart(2)->Caption, "program A");
    EXPECT_THROW(import.GetChart(4), EArrayError);
    EXPECT_THROW(import.GetChart(-1), EArrayError);
    const std::vector<std::unique_ptr<TFCList>> charts = import.TakeCharts();
    EXPECT_EQ(charts.size(), 4u);
    EXPECT_EQ(import.GetChartCount(), 0);
}

TEST(ImportCharts, TheSourceLanguageOfTheSettingsChoosesTheConverter) {
    QTemporaryDir dir;
    TMainSettings settings(dir.path() + "/");
    settings.SourceType = 7; // no converter: accepted, nothing built
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(&settings);
    import.GrammarFile = PascalGrammarFile();
    import.LoadFromText("program A; begin end.");
    TErrorReport report;
    EXPECT_TRUE(import.Parse(report));
    EXPECT_EQ(import.GetChartCount(), 0);
    settings.SourceType = slPascal;
    EXPECT_TRUE(import.Parse(report));
    EXPECT_EQ(import.GetChartCount(), 1);
}

// An import that succeeds names what its charts lack: include files not
// read, and the undefined names that skipped branches holding code.
TEST(ImportNotes, NameWhatASuccessfulImportLeftUnread) {
    TRecordingPromptsScope prompts;
    TErrorReport report;
    TTVXParseChartes pascal(slPascal);
    pascal.GrammarFile = PascalGrammarFile();
    pascal.LoadFromText(R"(program P;
{$IFDEF HAVE_EXTRA}
uses Extra;
type TRec = record case Boolean of True: (A: Integer); end;
{$ENDIF}
{$IF defined(Feature) and (FPC_VERSION > 2)}
procedure W; begin end;
{$ENDIF}
{$IFNDEF UNIX}
procedure Z; begin end;
{$ENDIF}
procedure Q;
begin
  {$I body.inc}
  {$IFDEF QUIET} (* a comment *) {$ENDIF}
  {$IFDEF Debug} WriteLn('q'); {$ELSE} x := 1; {$ENDIF}
end;
begin Q end.
)");
    ASSERT_TRUE(pascal.Parse(report)) << report.Message.toStdString();
    EXPECT_EQ(pascal.GetNotes().Message(),
              "The charts may lack code the import did not read.\r\n"
              "Include files not read: body.inc.\r\n"
              "Branches holding code were skipped because these names are not defined: "
              "Feature, Debug.");

    TTVXParseChartes c(slCpp);
    c.GrammarFile = CGrammarFile();
    c.LoadFromText(R"(#ifdef HAVE_CONFIG_H
#include "config.h"
int counter;
#endif
#if defined FEATURE && LEVEL > 2
void one(void) { a = 1; }
#else
int main(void) { return 0; }
#endif
#ifndef NO_EXTRA
void extra(void) {
#if 0
  zero();
#endif
#ifdef VERBOSE
  int level;
  size_t *count;
#elif TRACE
  trace();
#endif
}
#else
void alternative(void) {}
#endif
)");
    ASSERT_TRUE(c.Parse(report)) << report.Message.toStdString();
    EXPECT_EQ(c.GetNotes().UndefinedNames,
              QStringList({"FEATURE", "VERBOSE", "TRACE", "NO_EXTRA"}));
    EXPECT_TRUE(c.GetNotes().SkippedIncludes.isEmpty());
    // A failed import leaves no notes: its report says what went wrong.
    c.LoadFromText("#ifdef X\nvoid f(void) { a = 1; }\n#endif\nint g(void) { return ; ; }}\n");
    EXPECT_FALSE(c.Parse(report));
    EXPECT_TRUE(c.GetNotes().Empty());
}

// A grammar whose nodes carry the names the Pascal import looks for but not
// the children it expects: such constructs are passed over.
TEST(ImportShapes, NodesLackingTheirChildrenArePassedOver) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = QStringLiteral(TVX_TEST_GRAMMAR_DIR "PascalShapes.dll");
    import.LoadFromText(R"(
proc headingonly
func BEGIN let a := b END
prog noblock
unit
function gamma BEGIN
  IF
  IF x THEN
  IF y ELSE WRITELN
  FOR x DO let c := d
  WHILE x
  REPEAT let e := f
  call
  let g := h
END
main delta procedure eps BEGIN let a := b END BEGIN let c := d END
)");
    TErrorReport report;
    ASSERT_TRUE(import.Parse(report)) << report.Message.toStdString();
    ASSERT_EQ(import.GetChartCount(), 3);
    EXPECT_EQ(Outline(*import.GetChart(0)), "7:gamma{3:x{ | }; 3:y{ | 8:}; 4:x{}; 0:g:=h}");
    EXPECT_EQ(import.GetChart(1)->Caption, "program delta");
    EXPECT_EQ(Outline(*import.GetChart(1)), "7:delta{0:c:=d}");
    // The block of a program converted from its heading is not walked a
    // second time: its routine has one chart.
    EXPECT_EQ(import.GetChart(2)->Caption, "eps");
}

} // namespace
} // namespace tvx::test
