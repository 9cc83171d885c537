#include "codegen_fixture.h"
#include <QFile>

namespace tvx {
namespace {

using PascalText = CodegenTest;

TEST_F(PascalText, RootOnlyChartIsProgramBeginEnd) {
    EXPECT_EQ(Generate(), QStringList({"program Demo;", "begin", "end."}));
}

TEST_F(PascalText, StatementKindsAndTheirAnnotatedSuffixes) {
    Append(bkProcess, "x := 1");
    Append(bkCall, "p");
    TFlowBlock* loop = Append(bkWhile, "c");
    Append(loop, 0, bkOutput, "x");
    Append(loop, 0, bkInput, "y");
    Append(bkRepeat, "d");
    EXPECT_EQ(Generate(),
              QStringList({"program Demo;", "begin", "    x := 1;", "    p;", "    while c do",
                           "    begin", "      writeln(x);", "      read(y);", "    end;",
                           "    repeat", "    until d;", "end."}));
    ExportMode = emAnnotated;
    EXPECT_EQ(Generate(),
              QStringList({"program Demo;", "begin", "    x := 1;{TVX_type_0}",
                           "    p;{TVX_type_2}", "    while c do", "    begin",
                           "      writeln(x);{TVX_type_8}", "      read(y);{TVX_type_9}",
                           "    end;", "    repeat", "    until d;", "end."}));
}

TEST_F(PascalText, DecisionWithBothBranchesEmpty) {
    Append(bkIfElse, "a > b");
    EXPECT_EQ(Generate().mid(2, 4),
              QStringList({"    if a > b then", "    else", "    begin", "    end;"}));
}

TEST_F(PascalText, SingleYesStatementHasNoEndBeforeElse) {
    TFlowBlock* d = Append(bkIfElse, "c");
    Append(d, 0, bkProcess, "a");
    Append(d, 1, bkProcess, "b");
    EXPECT_EQ(Generate().mid(2, 4),
              QStringList({"    if c then", "      a", "    else", "      b;"}));
    EXPECT_TRUE(AllFlagsClear());
}

TEST_F(PascalText, BranchesOfSeveralStatementsAreCompound) {
    TFlowBlock* d = Append(bkIfElse, "c");
    Append(d, 0, bkProcess, "a1");
    Append(d, 0, bkProcess, "a2");
    Append(d, 1, bkProcess, "b1");
    Append(d, 1, bkProcess, "b2");
    EXPECT_EQ(Generate().mid(2),
              QStringList({"    if c then", "    begin", "      a1;", "      a2;", "    end",
                           "    else", "    begin", "      b1;", "      b2;", "    end;", "end."}));
}

TEST_F(PascalText, NestedDecisionAsSingleYesStatementEndsWithoutEndOp) {
    TFlowBlock* outer = Append(bkIfElse, "p");
    TFlowBlock* empty = Append(outer, 0, bkIfElse, "q");
    EXPECT_EQ(Generate().mid(2, 5), QStringList({"    if p then", "      if q then", "      else",
                                                 "      begin", "      end"}));

    Append(empty, 1, bkProcess, "s");
    EXPECT_EQ(Generate().mid(4, 2), QStringList({"      else", "        s"}));

    Append(empty, 1, bkProcess, "t");
    EXPECT_EQ(Generate().mid(4, 6), QStringList({"      else", "      begin", "        s;",
                                                 "        t;", "      end", "    else"}));
    EXPECT_TRUE(AllFlagsClear());
}

TEST_F(PascalText, FlagPassesDownThroughClosingBranchesAndLoops) {
    // if p then if q then else while r do x  else ...
    TFlowBlock* outer = Append(bkIfElse, "p");
    TFlowBlock* inner = Append(outer, 0, bkIfElse, "q");
    TFlowBlock* loop = Append(inner, 1, bkWhile, "r");
    Append(loop, 0, bkProcess, "x");
    Append(bkProcess, "after");
    EXPECT_EQ(Generate(), QStringList({"program Demo;", "begin", "    if p then", "      if q then",
                                       "      else", "        while r do", "          x",
                                       "    else", "    begin", "    end;", "    after;", "end."}));
    EXPECT_TRUE(AllFlagsClear());
}

TEST_F(PascalText, YesOnlyDecisionHasNoElseLine) {
    TFlowBlock* d = Append(bkIfYesLeft, "c");
    EXPECT_EQ(Generate().mid(2, 3), QStringList({"    if c then", "    begin", "    end;"}));
    Append(d, 0, bkProcess, "a");
    EXPECT_EQ(Generate().mid(2, 3), QStringList({"    if c then", "      a;", "end."}));
}

TEST_F(PascalText, LoopsWithEmptyBodyWriteAnEmptyStatement) {
    Append(bkWhile, "c");
    Append(bkFor, "i := 1 to 3");
    EXPECT_EQ(Generate().mid(2, 4),
              QStringList({"    while c do", "    ;", "    for i := 1 to 3 do", "    ;"}));
}

TEST_F(PascalText, EmptyLoopAsSingleYesStatementBecomesBeginEnd) {
    TFlowBlock* d = Append(bkIfElse, "c");
    Append(d, 0, bkFor, "i := 1 to 3");
    EXPECT_EQ(Generate().mid(2, 5), QStringList({"    if c then", "      for i := 1 to 3 do",
                                                 "      begin", "      end", "    else"}));
}

TEST_F(PascalText, LoopBodies) {
    TFlowBlock* one = Append(bkWhile, "c");
    Append(one, 0, bkProcess, "a");
    TFlowBlock* many = Append(bkFor, "i := 1 to 3");
    Append(many, 0, bkProcess, "b");
    Append(many, 0, bkProcess, "c");
    EXPECT_EQ(Generate().mid(2, 8),
              QStringList({"    while c do", "      a;", "    for i := 1 to 3 do", "    begin",
                           "      b;", "      c;", "    end;", "end."}));
}

TEST_F(PascalText, RepeatLoopBodyKeepsItsEndsAndUntilTakesTheFlag) {
    TFlowBlock* r = Append(bkRepeat, "done");
    EXPECT_EQ(Generate().mid(2, 2), QStringList({"    repeat", "    until done;"}));

    Append(r, 0, bkProcess, "a");
    TFlowBlock* d = Append(bkIfElse, "c");
    TFlowBlock* inner = Append(d, 0, bkRepeat, "e");
    Append(inner, 0, bkProcess, "b");
    EXPECT_EQ(
        Generate().mid(2),
        QStringList({"    repeat", "      a;", "    until done;", "    if c then", "      repeat",
                     "        b;", "      until e", "    else", "    begin", "    end;", "end."}));
    EXPECT_TRUE(AllFlagsClear());
}

TEST_F(PascalText, CleanUpTurnsLineBreaksIntoOneBlank) {
    Append(bkProcess, "a :=\r\n  1 +\r2\n3");
    EXPECT_EQ(Generate()[2], "    a := 1 + 2 3;");
    TextCleanUp = false;
    EXPECT_EQ(Generate()[2], "    a :=\r\n  1 +\r2\n3;");
}

TEST_F(PascalText, KindsWithoutTextWriteNothingAndSkipTheirBranches) {
    Append(bkPageBreak, "");
    for (TBlockKind kind : {bkCase, bkLegacyOutput, bkIfVariant12, bkIfVariant13, bkIfVariant14,
                            bkIfNoRight, bkIfVariant16}) {
        TFlowBlock* b = Append(kind, "k");
        if (b->ItemCount() > 0) {
            Append(b, b->ItemCount() - 1, bkProcess, "inside");
        }
    }
    EXPECT_EQ(Generate(), QStringList({"program Demo;", "begin", "end."}));
}

TEST_F(PascalText, RunOnAnInnerBlockWritesItWithoutItsFollowers) {
    TFlowBlock* loop = Append(bkWhile, "c");
    Append(loop, 0, bkProcess, "a");
    Append(bkProcess, "b");
    EXPECT_EQ(Generate(loop), QStringList({"    while c do", "      a;"}));
}

TEST_F(PascalText, LanguageOutsideTheThreeWritesNothing) {
    Append(bkProcess, "a");
    for (int language : {-1, 3}) {
        ExportLanguage = language;
        EXPECT_TRUE(Generate().isEmpty()) << language;
    }
}

TEST_F(PascalText, WordsAreReadAtEveryRun) {
    Append(bkWhile, "c");
    Generate();
    Settings->ProgPool->SetString("sm_begin", "BEGIN");
    Settings->ProgPool->SetString("sm_Until", "UNTIL");
    Settings->ProgPool->SetString("sm_endop", " ;");
    Settings->ServPool->SetString("sm_tabsym", "\t");
    Append(bkRepeat, "d");
    EXPECT_EQ(Generate(), QStringList({"program Demo ;", "BEGIN", "\t\twhile c do", "\t\t ;",
                                       "\t\trepeat", "\t\tUNTIL d ;", "end."}));
}

TEST_F(PascalText, WordsFromConfigIniAreUsed) {
    QTemporaryDir dir;
    QFile ini(dir.path() + "/Config.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Prog]\r\nsm_program=unit\r\nsm_then=THEN\r\n");
    ini.close();
    TMainSettings settings(dir.path() + "/");
    Append(bkIfYesLeft, "c");
    QStringList b1, b2;
    TCodeSink sink(b1, b2);
    TCodeGenerator(sink, settings).SavePartToFile(Root);
    EXPECT_EQ(b2.mid(0, 3), QStringList({"unit Demo;", "begin", "    if c THEN"}));
}

} // namespace
} // namespace tvx
