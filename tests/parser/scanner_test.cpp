// The scanner: longest match, keywords against general terminals, case
// folding, comments, whitespace, line counting and the error token.
#include "parser/parser_test_support.h"

#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// "Name text" of every token up to the end, whitespace left out.
std::vector<std::string> Scan(TGOLDParser& parser, const std::string& text) {
    parser.OpenTextString(text);
    std::vector<std::string> tokens;
    for (;;) {
        std::unique_ptr<TToken> token = parser.RetrieveToken();
        if (token->GetKind() == skEnd) {
            return tokens;
        }
        if (token->GetKind() != skWhitespace) {
            tokens.push_back(token->GetName() + " " + std::string(token->Text));
        }
    }
}

std::string CaseGrammar(bool caseSensitive) {
    return std::string("@case-sensitive ") + (caseSensitive ? "true" : "false") + R"(
set Letter = 'a'..'z'
token Word = Letter+
token Wide = [#128..#255]+
whitespace = ' '+
<S> ::= <S> <T> | <T>
<T> ::= Word | Wide | 'да' | 'begin'
)";
}

class StatementsScan : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Loaded.LoadGrammar(GrammarSource("statements.grm"))); }
    int32_t LineOfFinalMessage(const std::string& text, TParseMessage expected) {
        const auto steps = RunParse(Loaded.Parser, text);
        EXPECT_EQ(FinalMessage(steps), expected) << text;
        return steps.back().Line;
    }
    LoadedParser Loaded;
};

TEST_F(StatementsScan, KeywordWinsOnlyWhenItMatchesTheWholeToken) {
    EXPECT_EQ(Scan(Loaded.Parser, "if iffy IF If2 while whilex"),
              (std::vector<std::string>{"if if", "Identifier iffy", "if IF", "Identifier If2",
                                        "while while", "Identifier whilex"}));
}

TEST_F(StatementsScan, LongestMatchFallsBackToLastAcceptingState) {
    EXPECT_EQ(Scan(Loaded.Parser, "x:=1.5<1."),
              (std::vector<std::string>{"Identifier x", ":= :=", "Number 1.5", "< <", "Number 1",
                                        "Error ."}));
}

TEST_F(StatementsScan, ErrorTokenIsOneCharacter) {
    // '@' starts nothing; an unclosed string breaks off before any accepting
    // state, so only its first character is consumed.
    EXPECT_EQ(Scan(Loaded.Parser, "@ \"abc\r\n"),
              (std::vector<std::string>{"Error @", "Error \"", "Identifier abc"}));
    // A lone colon is the start of ":=" that never completes.
    EXPECT_EQ(Scan(Loaded.Parser, ":x"), (std::vector<std::string>{"Error :", "Identifier x"}));
    // A character is all of its UTF-8 bytes; a byte that starts no sound
    // sequence is one character.
    EXPECT_EQ(Scan(Loaded.Parser, "\xD0\xB6x\xD0 \xF0\x9F\x98\x80"),
              (std::vector<std::string>{"Error \xD0\xB6", "Identifier x", "Error \xD0",
                                        "Error \xF0\x9F\x98\x80"}));
}

TEST_F(StatementsScan, CommentsAreSkippedAndNestOnlyWithinTheirOwnPair) {
    EXPECT_EQ(LineOfFinalMessage("{ a (* b *) c } x := 1;", msgAccept), 1);
    // Another pair's delimiters, quotes and longer operators are comment text.
    EXPECT_EQ(LineOfFinalMessage("{ see (* below } x := 1;", msgAccept), 1);
    EXPECT_EQ(LineOfFinalMessage("(* { don't *) x := 1;", msgAccept), 1);
    EXPECT_EQ(LineOfFinalMessage("(** title **) x := 1;", msgAccept), 1);
    EXPECT_EQ(LineOfFinalMessage("{ it's } x := 1; { '' }", msgAccept), 1);
    EXPECT_EQ(LineOfFinalMessage("{ a { b } x := 1;", msgCommentError), 1);
    EXPECT_EQ(LineOfFinalMessage("(* { *) } x := 1;", msgSyntaxError), 1);
    Loaded.Parser.SetNestedComments(false);
    EXPECT_EQ(LineOfFinalMessage("{ a { b } x := 1;", msgAccept), 1);
    // Inside a comment nothing is a lexical error.
    EXPECT_EQ(LineOfFinalMessage("{ @ # $ } x := 1; // @ $ %", msgAccept), 2);
}

TEST_F(StatementsScan, LinesCountCarriageReturns) {
    EXPECT_EQ(LineOfFinalMessage("x := 1;\r\ny := 2;\r\n@", msgLexicalError), 3);
    // Line feeds alone are not counted: the text is on "line 1" throughout.
    EXPECT_EQ(LineOfFinalMessage("x := 1;\ny := 2;\n@", msgLexicalError), 1);
    // A block comment spanning lines counts its breaks as well.
    EXPECT_EQ(LineOfFinalMessage("{\r\n\r\n}\r\n@", msgLexicalError), 4);
}

TEST_F(StatementsScan, LineCommentEndsItsLine) {
    // On the last line without a break it still counts one line.
    EXPECT_EQ(LineOfFinalMessage("x := 1; // end", msgAccept), 2);
    // With line feeds only, line comments are what advances the count.
    EXPECT_EQ(LineOfFinalMessage("// one\nx := 1; // two\n@", msgLexicalError), 3);
    // One line break of any pair is consumed after a line comment: CR LF,
    // LF CR, two CRs and two LFs each count as one line.
    for (const char* brk : {"\r\n", "\n\r", "\r\r", "\n\n"}) {
        EXPECT_EQ(LineOfFinalMessage(std::string("// c") + brk + "@", msgLexicalError), 2);
    }
    EXPECT_EQ(LineOfFinalMessage("// c\r\n\r\n@", msgLexicalError), 3);
}

TEST(CaseFolding, InsensitiveGrammarFoldsAsciiLettersOnly) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(CaseGrammar(false)));
    EXPECT_EQ(Scan(loaded.Parser, "begin BEGIN Begin abc ABC да ДА"),
              (std::vector<std::string>{"begin begin", "begin BEGIN", "begin Begin", "Word abc",
                                        "Word ABC", "да да", "Wide ДА"}));
}

TEST(CaseFolding, SensitiveGrammarKeepsCase) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(CaseGrammar(true)));
    EXPECT_EQ(Scan(loaded.Parser, "begin BEGIN"),
              (std::vector<std::string>{"begin begin", "Error B", "Error E", "Error G", "Error I",
                                        "Error N"}));
}

TEST(SourceFeeder, ReadsPeeksAndConsumes) {
    TSourceFeeder feeder;
    feeder.SetText("abc");
    std::string text;
    feeder.Read(2, false, false, text);
    EXPECT_EQ(text, "b");
    feeder.Read(5, false, true, text);
    EXPECT_EQ(text, "abc"); // no more than there is
    feeder.Read(4, false, false, text);
    EXPECT_EQ(text, ""); // past the end
    feeder.Read(2, true, true, text);
    EXPECT_EQ(text, "ab");
    EXPECT_FALSE(feeder.Done());
    feeder.Read(1, true, false, text);
    EXPECT_EQ(text, "c");
    EXPECT_TRUE(feeder.Done());

    feeder.SetText("one\r\n\r\ntwo\n");
    std::string line;
    feeder.ReadLine(line);
    EXPECT_EQ(line, "one");
    feeder.Read(1, false, false, text);
    EXPECT_EQ(text, "\r"); // only one break pair was taken
    line.clear();
    feeder.ReadLine(line);
    feeder.ReadLine(line);
    EXPECT_EQ(line, "two");
    EXPECT_TRUE(feeder.Done());
}

TEST(TokenStack, OwnsWhatIsPushedFirst) {
    const TSymbol symbol("a", skTerminal, 0);
    TTokenStack owner;
    TTokenStack other;
    auto token = std::make_unique<TToken>(&symbol, "x");
    TToken* raw = token.get();
    owner.Push(std::move(token));
    other.Push(raw);
    EXPECT_EQ(raw->Owner, &owner);
    EXPECT_EQ(other.Pop(), raw);
    EXPECT_EQ(other.Pop(), nullptr);
    EXPECT_EQ(other.Top(), nullptr);
    EXPECT_EQ(owner.GetItem(1), nullptr);
    owner.Clear(); // frees the token; the sanitizer build checks for leaks
    EXPECT_EQ(owner.GetCount(), 0);
}

} // namespace
} // namespace tvx::test
