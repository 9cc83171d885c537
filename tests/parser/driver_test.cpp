// The LALR driver: the messages of a parse, the trees it builds, and how it
// stops on wrong input.
#include "parser/parser_test_support.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

class StatementsParse : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Loaded.LoadGrammar(GrammarSource("statements.grm"))); }

    std::string Tree(const std::string& text) {
        const auto steps = RunParse(Loaded.Parser, text);
        EXPECT_EQ(FinalMessage(steps), msgAccept) << steps.back().Detail;
        return TreeText(Loaded.Parser.GetCurrentReduction());
    }

    LoadedParser Loaded;
};

TEST_F(StatementsParse, AssignmentBuildsTreeWithPrecedence) {
    EXPECT_EQ(
        Tree("x := 1 + 2 * 3;"),
        "Program(Stm List(Stm List() Stm(Assign(x := Expr(Add Exp(Add Exp(Mult Exp(Value(1))) "
        "+ Mult Exp(Mult Exp(Value(2)) * Value(3))))) ;)))");
}

TEST_F(StatementsParse, NestedStatementsAndOptionalElse) {
    EXPECT_EQ(Tree("if a then print \"x\"; else end"),
              "Program(Stm List(Stm List() Stm(if Expr(Add Exp(Mult Exp(Value(a)))) then "
              "Stm List(Stm List() Stm(print Expr(Add Exp(Mult Exp(Value(\"x\")))) ;)) "
              "Else Part(else Stm List()) end)))");
}

TEST_F(StatementsParse, MessagesComeInOrderTokenReductionAccept) {
    const auto steps = RunParse(Loaded.Parser, "print 7;");
    std::vector<std::string> seen;
    for (const ParseStep& step : steps) {
        seen.push_back(std::to_string(step.Message) + " " + step.Detail);
    }
    const std::vector<std::string> expected = {
        "1 print print",
        "2 <Stm List> ::= ",
        "1 Number 7",
        "1 ; ;", // the look-ahead that decides the reduction comes first
        "2 <Value> ::= Number",
        "2 <Mult Exp> ::= <Value>",
        "2 <Add Exp> ::= <Mult Exp>",
        "2 <Expr> ::= <Add Exp>",
        "1 EOF ",
        "2 <Stm> ::= print <Expr> ;",
        "2 <Stm List> ::= <Stm List> <Stm>",
        "2 <Program> ::= <Stm List>",
        "3 <Program> ::= <Stm List>",
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(StatementsParse, ReductionReportsItsLookAheadToken) {
    Loaded.Parser.OpenTextString("print 7;");
    while (Loaded.Parser.Parse() != msgReduction ||
           Loaded.Parser.GetCurrentReduction()->ParentRule->GetText() != "<Value> ::= Number") {
    }
    EXPECT_EQ(Loaded.Parser.GetCurrentToken()->Text, ";");
    EXPECT_EQ(Loaded.Parser.GetCurrentReduction()->GetToken(0)->Text, "7");
    EXPECT_EQ(Loaded.Parser.GetCurrentReduction()->GetToken(1), nullptr);
}

TEST_F(StatementsParse, EmptyTextReadsEndThenReactsInStartState) {
    auto steps = RunParse(Loaded.Parser, "");
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[0].Message, msgTokenRead);
    EXPECT_EQ(steps[0].Detail, "EOF ");
    EXPECT_EQ(FinalMessage(steps), msgAccept); // the empty program is valid

    LoadedParser tiny;
    ASSERT_TRUE(tiny.Load(TinyTables()));
    steps = RunParse(tiny.Parser, "");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].Detail, "EOF ");
    EXPECT_EQ(steps[1].Message, msgSyntaxError);
    EXPECT_EQ(steps[1].Detail, "EOF: a");
}

TEST_F(StatementsParse, SyntaxErrorListsExpectedTerminalsInActionOrder) {
    const auto steps = RunParse(Loaded.Parser, "x := 1\r\ny := 2;");
    EXPECT_EQ(FinalMessage(steps), msgSyntaxError);
    // The state after a number reduces on every terminal that may follow a
    // value; they are listed in the order of the state's actions.
    EXPECT_EQ(steps.back().Detail, "Identifier: ; then do = < + - * / )");
    EXPECT_EQ(steps.back().Line, 2);
    EXPECT_EQ(Loaded.Parser.GetCurrentToken()->Text, "y"); // left on top for the caller
    for (int32_t i = 0; i < Loaded.Parser.GetExpectedTokens().GetCount(); ++i) {
        EXPECT_TRUE(Loaded.Parser.GetExpectedTokens().GetItem(i)->Text.empty());
    }
    // The parser stays on the error when called again.
    EXPECT_EQ(Loaded.Parser.Parse(), msgSyntaxError);
}

TEST_F(StatementsParse, LexicalErrorComesAfterTheErrorTokenIsRead) {
    const auto steps = RunParse(Loaded.Parser, "x := 1;\r\n\r\n y := @;");
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[steps.size() - 2].Message, msgTokenRead);
    EXPECT_EQ(steps[steps.size() - 2].Detail, "Error @");
    EXPECT_EQ(steps.back().Message, msgLexicalError);
    EXPECT_EQ(steps.back().Line, 3);
    EXPECT_EQ(Loaded.Parser.GetCurrentToken()->Text, "@");
}

TEST_F(StatementsParse, TextEndingInsideBlockCommentIsCommentError) {
    const auto steps = RunParse(Loaded.Parser, "x := 1;\r\n{ open\r\n (* nested *) \r\n");
    EXPECT_EQ(FinalMessage(steps), msgCommentError);
    EXPECT_EQ(steps.back().Line, 4);
}

TEST_F(StatementsParse, StrayCommentEndIsReadAndRejected) {
    const auto steps = RunParse(Loaded.Parser, "x := 1; }");
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[steps.size() - 2].Detail, "} }");
    EXPECT_EQ(FinalMessage(steps), msgSyntaxError);
}

TEST_F(StatementsParse, TreeStaysValidUntilNextText) {
    ASSERT_EQ(FinalMessage(RunParse(Loaded.Parser, "a := b;")), msgAccept);
    const TReduction* root = Loaded.Parser.GetCurrentReduction();
    EXPECT_EQ(TreeText(root), "Program(Stm List(Stm List() Stm(Assign(a := Expr(Add Exp(Mult "
                              "Exp(Value(b))))) ;)))");
    EXPECT_EQ(Loaded.Parser.Parse(), msgAccept); // accept again, same root
    EXPECT_EQ(Loaded.Parser.GetCurrentReduction(), root);
}

TEST(TrimReductions, SingleNonterminalRulesBuildNoNode) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(GrammarSource("statements.grm")));
    loaded.Parser.SetTrimReductions(true);
    const auto steps = RunParse(loaded.Parser, "x := 1 + y;");
    ASSERT_EQ(FinalMessage(steps), msgAccept);
    // <Value> ::= Number still builds a node (its child is a terminal), but
    // the chains <Mult Exp> ::= <Value> and so on are skipped: the child
    // node takes the place of the head.
    for (const ParseStep& step : steps) {
        EXPECT_NE(step.Detail, "<Mult Exp> ::= <Value>");
        EXPECT_NE(step.Detail, "<Add Exp> ::= <Mult Exp>");
    }
    const TReduction* root = loaded.Parser.GetCurrentReduction();
    EXPECT_EQ(TreeText(root),
              "Stm List(Stm List() Stm(Assign(x := Add Exp(Value(1) + Value(y))) ;))");
    // The relabelled child carries the head's symbol.
    const TToken* expr =
        root->GetToken(1)->GetReduction()->GetToken(0)->GetReduction()->GetToken(2);
    EXPECT_EQ(expr->GetName(), "Expr");
    EXPECT_EQ(expr->GetReduction()->ParentRule->Head->Name, "Add Exp");
}

TEST(DriverFaults, NothingLoadedGivesNotLoaded) {
    TGOLDParser parser;
    parser.OpenTextString("anything");
    EXPECT_EQ(parser.Parse(), msgNotLoadedError);
    EXPECT_EQ(parser.GetCurrentToken(), nullptr);
    EXPECT_EQ(parser.GetCurrentReduction(), nullptr);
}

TEST(DriverFaults, GotoOnTerminalIsInternalError) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.Load(TinyTables(3)));
    const auto steps = RunParse(loaded.Parser, "a");
    EXPECT_EQ(FinalMessage(steps), msgInternalError);
}

// Tables that load but would never let a parse end: the end of the text
// shifted (and read again for ever), or an empty rule reduced again and again
// on the same look-ahead with the stack growing.
TEST(DriverFaults, TablesThatWouldRunForeverAreInternalErrors) {
    const auto replaced = [](std::string tables, const std::vector<std::string>& pairs) {
        for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
            const size_t at = tables.find(pairs[i]);
            EXPECT_NE(at, std::string::npos);
            tables.replace(at, pairs[i].size(), pairs[i + 1]);
        }
        return tables;
    };
    const std::string acceptState =
        Record({Byte('L'), Int(2), Empty(), Int(0), Int(4), Int(0), Empty()});
    const std::string shiftEnd =
        Record({Byte('L'), Int(2), Empty(), Int(0), Int(1), Int(2), Empty()});
    const std::string counts = Record({Byte('T'), Int(4), Int(1), Int(1), Int(2), Int(3)});
    const std::string twoRules = Record({Byte('T'), Int(4), Int(1), Int(2), Int(2), Int(3)});
    const std::string rule = Record({Byte('R'), Int(0), Int(3), Empty(), Int(2)});
    const std::string emptyRule = rule + Record({Byte('R'), Int(1), Int(3), Empty()});
    const std::string startState = Record({Byte('L'), Int(0), Empty(), Int(2), Int(1), Int(1),
                                           Empty(), Int(3), Int(3), Int(2), Empty()});
    const std::string reduceEmpty = Record({Byte('L'), Int(0), Empty(), Int(2), Int(2), Int(1),
                                            Empty(), Int(3), Int(3), Int(0), Empty()});
    const std::vector<std::string> endless = {
        replaced(TinyTables(), {acceptState, shiftEnd}),
        replaced(TinyTables(), {counts, twoRules, rule, emptyRule, startState, reduceEmpty}),
    };
    for (const std::string& tables : endless) {
        LoadedParser loaded;
        ASSERT_TRUE(loaded.Load(tables));
        EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "a")), msgInternalError);
    }
}

TEST(LargeTables, StateNumbersTooLargeToPackStillParse) {
    // S ::= a with its LALR states numbered far apart: the driver cannot use
    // its packed action table and scans each state's actions instead. A
    // file that numbers its states so far apart must be large enough to
    // hold that many: an ignored record fills it up.
    const std::string t =
        TinyTables(1, 9000, 9001) + Record({Byte('X'), Str(std::string(300000, 'x'))});
    LoadedParser loaded;
    ASSERT_TRUE(loaded.Load(t));
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "a")), msgAccept);
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "aa")), msgSyntaxError);
}

TEST(DriverFaults, TinyHandMadeTablesParse) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.Load(TinyTables()));
    const auto steps = RunParse(loaded.Parser, "a");
    ASSERT_EQ(FinalMessage(steps), msgAccept);
    EXPECT_EQ(TreeText(loaded.Parser.GetCurrentReduction()), "S(a)");
}

} // namespace
} // namespace tvx::test
