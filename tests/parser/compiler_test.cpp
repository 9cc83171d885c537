// The grammar table compiler: conflicts and ambiguities fail the build with
// a message that names the place, notation errors name their line, and the
// tables it writes have the layout the engine reads.
#include "parser/parser_test_support.h"

#include "grammar_compiler.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

using grammar::CompileGrammar;
using grammar::CompileResult;

std::string AllErrors(const CompileResult& result) {
    std::string text;
    for (const std::string& error : result.errors) {
        text += error + "\n";
    }
    return text;
}

// Fails unless compiling Text fails with an error containing every fragment.
void ExpectError(const std::string& text, const std::vector<std::string>& fragments) {
    const CompileResult result = CompileGrammar(text, "g.grm");
    EXPECT_FALSE(result.ok) << text;
    EXPECT_TRUE(result.tableFile.empty());
    const std::string errors = AllErrors(result);
    for (const std::string& fragment : fragments) {
        EXPECT_NE(errors.find(fragment), std::string::npos)
            << "missing \"" << fragment << "\" in:\n"
            << errors;
    }
}

const char* const Lexicon = R"(
set Letter = 'a'..'z'
token Id = Letter+
whitespace = ' '+
)";

TEST(CompilerConflicts, DanglingElseIsShiftReduceWithStateAndRule) {
    ExpectError(std::string(Lexicon) + R"(
<S> ::= 'if' Id 'then' <S>
      | 'if' Id 'then' <S> 'else' <S>
      | Id
)",
                {"LALR conflict in state", "on 'else'", "shift-reduce",
                 "reduce <S> ::= 'if' Id 'then' <S> (line 6)",
                 "<S> ::= 'if' Id 'then' <S> . 'else' <S>"});
}

TEST(CompilerConflicts, ReduceReduceNamesBothRules) {
    ExpectError(std::string(Lexicon) + R"(
<S> ::= <A> 'x' | <B> 'x'
<A> ::= Id
<B> ::= Id
)",
                {"reduce-reduce", "on 'x'", "reduce <A> ::= Id", "reduce <B> ::= Id"});
}

TEST(CompilerConflicts, AmbiguousExpressionIsRefused) {
    ExpectError(std::string(Lexicon) + "<E> ::= <E> '+' <E> | Id\n", {"shift-reduce", "on '+'"});
}

TEST(CompilerConflicts, LrOneButNotLalrIsRefused) {
    // Merging the two states that reduce 'e' mixes their look-aheads.
    ExpectError(std::string(Lexicon) + R"(
<S> ::= 'a' <E> 'c' | 'a' <F> 'd' | 'b' <F> 'c' | 'b' <E> 'd'
<E> ::= 'e'
<F> ::= 'e'
)",
                {"reduce-reduce"});
}

TEST(CompilerConflicts, LalrButNotSlrCompiles) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(std::string(Lexicon) + R"(
<S> ::= <L> '=' <R> | <R>
<L> ::= '*' <R> | Id
<R> ::= <L>
)"));
    ASSERT_EQ(FinalMessage(RunParse(loaded.Parser, "**a = *b")), msgAccept);
    EXPECT_EQ(TreeText(loaded.Parser.GetCurrentReduction()),
              "S(L(* R(L(* R(L(a))))) = R(L(* R(L(b)))))");
}

TEST(CompilerNotation, VariantsSolveDanglingElseUnderOneName) {
    // The open and the closed if are two nonterminals for the automaton; the
    // tree calls both "If", and the else belongs to the nearest if.
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(std::string(Lexicon) + R"(
<Stm>         ::= <If~open> | <Closed>
<If~open>     ::= 'if' Id 'then' <Stm>
                | 'if' Id 'then' <Closed> 'else' <If~open>
<Closed>      ::= <If ~ closed> | Id
<If ~ closed> ::= 'if' Id 'then' <Closed> 'else' <Closed>
)"));
    ASSERT_EQ(FinalMessage(RunParse(loaded.Parser, "if a then if b then x else y")), msgAccept);
    EXPECT_EQ(TreeText(loaded.Parser.GetCurrentReduction()),
              "Stm(If(if a then Stm(Closed(If(if b then Closed(x) else Closed(y))))))");
    EXPECT_EQ(loaded.Parser.GetRuleTable().GetItem(3)->GetText(),
              "<If> ::= if Id then <Closed> else <If>");
    ExpectError(std::string(Lexicon) + "<S> ::= <~x>\n<~x> ::= Id\n", {"<~x> has no name"});
}

TEST(CompilerScanner, EqualTerminalsAreAmbiguous) {
    ExpectError(std::string(Lexicon) + "token Name = Letter (Letter | '_')*\n<S> ::= Id Name\n",
                {"'Id' and 'Name' are ambiguous: both match \"A\""}); // letters folded
    // Two literals that fold to one text when case does not matter.
    ExpectError(std::string(Lexicon) + "<S> ::= 'if' 'IF' Id\n", {"'if' and 'IF' are ambiguous"});
    // A comment delimiter that is also a terminal of its own.
    ExpectError(std::string(Lexicon) + "comment block '{' '}'\ntoken Open = '{'\n<S> ::= Open Id\n",
                {"'{' and 'Open' are ambiguous: both match \"{\""});
    ExpectError(std::string(Lexicon) + "comment block '{' '}'\n<S> ::= '{' Id\n",
                {"terminal name '{' is used twice"});
}

TEST(CompilerScanner, LiteralTokenOutranksGeneralPattern) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(std::string(Lexicon) + R"(
token Nil = 'nil'
<S> ::= <S> <T> | <T>
<T> ::= Id | Nil
)"));
    ASSERT_EQ(FinalMessage(RunParse(loaded.Parser, "nil nils")), msgAccept);
    EXPECT_EQ(TreeText(loaded.Parser.GetCurrentReduction()), "S(S(T(nil)) T(nils))");
    EXPECT_EQ(loaded.Parser.GetCurrentReduction()
                  ->GetToken(0)
                  ->GetReduction()
                  ->GetToken(0)
                  ->GetReduction()
                  ->GetToken(0)
                  ->GetName(),
              "Nil");
}

TEST(CompilerNotation, ErrorsNameTheirLine) {
    ExpectError("set A = 'a'..'z'\ntoken T = B+\n<S> ::= T\n", {"g.grm:2: unknown set 'B'"});
    ExpectError("set A = 'a'\ntoken T = A\n<S> ::= T U\n", {"g.grm:3: unknown terminal 'U'"});
    ExpectError("set A = 'a'\ntoken T = A\n<S> ::= T <Missing>\n",
                {"g.grm:3: <Missing> has no rule"});
    ExpectError("set D = '0'..'9'\ntoken N = D*\n<S> ::= N\n",
                {"g.grm:2: the pattern of 'N' matches the empty text"});
    ExpectError("@start <Nothing>\nset A = 'a'\ntoken T = A\n<S> ::= T\n",
                {"g.grm:1: start symbol <Nothing> has no rule"});
    ExpectError("set A = 'a'\ntoken T = A\ntoken T = A A\n<S> ::= T\n",
                {"g.grm:3: token 'T' is defined twice"});
    ExpectError("set A = 'a\n", {"g.grm:1: text not closed on its line"});
    ExpectError("set A = #0\n", {"character codes run from 1 to 255"});
    ExpectError("set A = 'z'..'a'\n", {"range runs backwards"});
    ExpectError("@colour \"red\"\n", {"unknown parameter @colour"});
    ExpectError("  | 'x'\n", {"g.grm:1: a continuation line needs a declaration"});
    ExpectError("set A = 'a'\ntoken T = A\n", {"the grammar has no rules"});
    ExpectError("token EOF = 'x'\n<S> ::= EOF\n", {"terminal name 'EOF' is used twice"});
    ExpectError("set A = 'a' token\n", {"unexpected 'token'"});
}

TEST(CompilerNotation, WarningsDoNotFailTheBuild) {
    const CompileResult result = CompileGrammar(std::string(Lexicon) + R"(
token Unused = '#'
<S> ::= Id
<Lonely> ::= Id Id
)",
                                                "g.grm");
    ASSERT_TRUE(result.ok) << AllErrors(result);
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0], "g.grm:6: warning: token 'Unused' is used by no rule");
    EXPECT_EQ(result.warnings[1], "g.grm:8: warning: <Lonely> cannot be reached from the start");
}

TEST(CompilerNotation, ContinuationLinesCommentsAndEmptyAlternatives) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(R"(// leading comment
@name "Lists"   // trailing comment
set Letter = 'a'..'z'
    + 'A'..'Z'         // a set continued on the next line
token Word = Letter+
whitespace = (' '
             | #10 | #13)+
<List>   ::= <Item> <List>
           |
<Item>   ::= Word
| '//'
)"));
    EXPECT_EQ(loaded.Parser.GetVariables().GetValue("Name"), "Lists");
    ASSERT_EQ(FinalMessage(RunParse(loaded.Parser, "ab // CD\r\n")), msgAccept);
    EXPECT_EQ(TreeText(loaded.Parser.GetCurrentReduction()),
              "List(Item(ab) List(Item(//) List(Item(CD) List())))");
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "")), msgAccept);
}

TEST(CompilerOutput, SymbolsRulesAndStatesFollowTheFileLayout) {
    const CompileResult result = CompileGrammar(GrammarSource("minic.grm"), "minic.grm");
    ASSERT_TRUE(result.ok) << AllErrors(result);
    const std::string& bytes = result.tableFile;
    EXPECT_EQ(bytes.substr(0, 4), std::string("G\0O\0", 4));

    TGrammarTables tables;
    TGrammarReader reader(tables);
    ASSERT_TRUE(reader.LoadFromBytes(bytes));
    EXPECT_EQ(tables.SymbolTable.GetCount(), static_cast<int32_t>(result.grammar.symbols.size()));
    EXPECT_EQ(tables.RuleTable.GetCount(), static_cast<int32_t>(result.grammar.rules.size()));
    EXPECT_EQ(tables.LALRTables.GetCount(),
              static_cast<int32_t>(result.grammar.parser.states.size()));
    EXPECT_EQ(tables.DFA.GetCount(), static_cast<int32_t>(result.grammar.scanner.states.size()));
    EXPECT_EQ(tables.Variables.GetValue("Case Sensitive"), "True");
    EXPECT_EQ(tables.Variables.GetValue("Start Symbol"), "Program");
    // Names with blanks survive, and every rule's head is a nonterminal.
    bool funcDecl = false;
    for (int32_t i = 0; i < tables.RuleTable.GetCount(); ++i) {
        const TRule* rule = tables.RuleTable.GetItem(i);
        EXPECT_EQ(rule->Head->Kind, skNonterminal);
        funcDecl = funcDecl || rule->GetText() == "<Func Decl> ::= <Func ID> '(' <Params> ')' "
                                                  "<Block>";
    }
    EXPECT_TRUE(funcDecl);
    // Exactly one accept action, on the end symbol.
    int accepts = 0;
    for (int32_t s = 0; s < tables.LALRTables.GetCount(); ++s) {
        for (const TLRAction& action : tables.LALRTables.GetItem(s)->Actions) {
            if (action.Action == acAccept) {
                ++accepts;
                EXPECT_EQ(action.Symbol->Kind, skEnd);
            }
        }
    }
    EXPECT_EQ(accepts, 1);
}

TEST(CompilerOutput, MiniCProgramParses) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(GrammarSource("minic.grm")));
    const std::string program = R"(/* sums */
int add(int a, int *b) { return a + *b; }
void main() {
    int i, s = 0;
    for (i = 0; i < 10; i++) if (i % 2 == 0) s += add(i, &s); else ;
    while (s > 0x10) s -= 1.5e2;
    do { s--; } while (s != 'x');
    // done
    printf("%d\n", s);
}
)";
    const auto steps = RunParse(loaded.Parser, program);
    ASSERT_EQ(FinalMessage(steps), msgAccept) << steps.back().Detail;

    const auto bad = RunParse(loaded.Parser, "int f() {\r\n  x = ;\r\n}\r\n");
    EXPECT_EQ(FinalMessage(bad), msgSyntaxError);
    EXPECT_EQ(bad.back().Line, 2);
}

} // namespace
} // namespace tvx::test
