#include "codegen_fixture.h"

namespace tvx {
namespace {

class CText : public CodegenTest {
protected:
    void SetUp() override {
        CodegenTest::SetUp();
        ExportLanguage = elCpp;
    }
};

TEST_F(CText, RootOnlyChart) {
    EXPECT_EQ(Generate(), QStringList({"program () //Demo", "begin", "end"}));
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate(), QStringList({"program Demo;", "begin", "end"}));
}

TEST_F(CText, StatementKinds) {
    Append(bkProcess, "x = 1");
    Append(bkCall, "p");
    Append(bkOutput, "x");
    Append(bkInput, "y");
    const QStringList common = {"    x = 1;", "    p; {call procedure}"};
    EXPECT_EQ(Generate().mid(2, 4), common + QStringList({"    writelnx;", "    ready;"}));
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate().mid(2, 4),
              common + QStringList({"    writeln(\"x\");", "    read(\"y\");"}));
}

TEST_F(CText, DecisionByBranchLength) {
    TFlowBlock* d = Append(bkIfElse, "c");
    EXPECT_EQ(Generate().mid(2, 2), QStringList({"    if (c);", "    else ;"}));

    Append(d, 0, bkProcess, "a");
    Append(d, 1, bkProcess, "b");
    // No flag in C++: the statement before else keeps its end.
    EXPECT_EQ(Generate().mid(2, 4),
              QStringList({"    if (c)", "      a;", "    else", "      b;"}));

    Append(d, 0, bkProcess, "a2");
    Append(d, 1, bkProcess, "b2");
    const QStringList many = {"    if (c)", "    begin", "      a;",  "      a2;",
                              "    end",    "    else",  "    begin", "      b;",
                              "      b2;",  "    end",   "end"};
    EXPECT_EQ(Generate().mid(2), many);
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate().mid(2), many);
    EXPECT_TRUE(AllFlagsClear());
}

TEST_F(CText, WhileHeadDependsOnBodyLength) {
    TFlowBlock* w = Append(bkWhile, "c");
    EXPECT_EQ(Generate()[2], "    while (c);");
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate()[2], "    repeat while (c);");

    Append(w, 0, bkProcess, "a");
    ExportLanguage = elCpp;
    EXPECT_EQ(Generate().mid(2, 2), QStringList({"    while (c)", "      a;"}));
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate().mid(2, 2), QStringList({"    while (c)", "      a;"}));

    Append(w, 0, bkProcess, "b");
    ExportLanguage = elCpp;
    EXPECT_EQ(Generate().mid(2, 5),
              QStringList({"     while (c)", "    begin", "      a;", "      b;", "    end"}));
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate().mid(2, 5), QStringList({"    repeat while (c);", "    begin", "      a;",
                                                 "      b;", "    end"}));
}

TEST_F(CText, ForAndRepeatLoops) {
    Append(bkFor, "i = 0; i < 3; i++");
    TFlowBlock* f = Append(bkFor, "j");
    Append(f, 0, bkProcess, "a");
    Append(f, 0, bkProcess, "b");
    TFlowBlock* r = Append(bkRepeat, "k");
    Append(r, 0, bkProcess, "c");
    EXPECT_EQ(Generate().mid(2),
              QStringList({"    for (i = 0; i < 3; i++);", "    for (j)", "    begin", "      a;",
                           "      b;", "    end", "    do", "      c;", "    while (k);", "end"}));
}

TEST_F(CText, AnnotatedModeAddsNoSuffix) {
    ExportMode = emAnnotated;
    Append(bkProcess, "a");
    Append(bkCall, "p");
    EXPECT_EQ(Generate().mid(2, 2), QStringList({"    a;", "    p; {call procedure}"}));
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate()[2], "    a;");
}

TEST_F(CText, KindsWithoutTextWriteNothing) {
    Append(bkPageBreak, "");
    for (TBlockKind kind : {bkCase, bkIfYesLeft, bkIfNoRight, bkIfVariant12}) {
        TFlowBlock* b = Append(kind, "k");
        Append(b, 0, bkProcess, "inside");
    }
    EXPECT_EQ(Generate(), QStringList({"program () //Demo", "begin", "end"}));
    ExportLanguage = elBasic;
    EXPECT_EQ(Generate(), QStringList({"program Demo;", "begin", "end"}));
}

} // namespace
} // namespace tvx
