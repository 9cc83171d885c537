// Loading compiled grammar table files: what a sound file yields, and that
// every kind of damaged file is refused without leaving anything half loaded.
#include "parser/grammar_cache.h"
#include "parser/parser_test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace tvx::test {
namespace {

std::string Header() {
    return UniString("GOLD Parser Tables/v1.0");
}

// The tiny tables with one record replaced by the given bytes.
std::string TinyWith(const std::string& Old, const std::string& New) {
    std::string tables = TinyTables();
    const size_t at = tables.find(Old);
    EXPECT_NE(at, std::string::npos);
    return tables.replace(at, Old.size(), New);
}

TEST(TableLoading, CompiledFileYieldsParametersSymbolsAndRules) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(GrammarSource("statements.grm")));
    const TGOLDParser& p = loaded.Parser;
    EXPECT_EQ(p.GetVariables().GetValue("Name"), "Statements");
    EXPECT_EQ(p.GetVariables().GetValue("Version"), "1.0");
    EXPECT_EQ(p.GetVariables().GetValue("Author"), "Tarvinex");
    EXPECT_EQ(p.GetVariables().GetValue("Case Sensitive"), "False"); // a boolean entry
    EXPECT_EQ(p.GetVariables().GetValue("Start Symbol"), "Program"); // the name, not the index
    EXPECT_TRUE(p.GetIgnoreCase());

    const TSymbolTable& symbols = p.GetSymbolTable();
    EXPECT_EQ(symbols.GetItem(0)->Name, "EOF");
    EXPECT_EQ(symbols.GetItem(0)->Kind, skEnd);
    EXPECT_EQ(symbols.GetItem(1)->Name, "Error");
    EXPECT_EQ(symbols.GetItem(1)->Kind, skError);
    std::map<std::string, TSymbolKind> kinds;
    for (int32_t i = 0; i < symbols.GetCount(); ++i) {
        EXPECT_EQ(symbols.GetItem(i)->TableIndex, i);
        kinds[symbols.GetItem(i)->Name] = symbols.GetItem(i)->Kind;
    }
    EXPECT_EQ(kinds["Whitespace"], skWhitespace);
    EXPECT_EQ(kinds["(*"], skCommentStart);
    EXPECT_EQ(kinds["*)"], skCommentEnd);
    EXPECT_EQ(kinds["//"], skCommentLine);
    EXPECT_EQ(kinds["Identifier"], skTerminal);
    EXPECT_EQ(kinds["while"], skTerminal);
    EXPECT_EQ(kinds["Stm List"], skNonterminal);

    const TRule* first = p.GetRuleTable().GetItem(0);
    EXPECT_EQ(first->GetText(), "<Program> ::= <Stm List>");
    EXPECT_TRUE(first->ContainsOneNonTerminal());
    EXPECT_THROW(p.GetRuleTable().GetItem(p.GetRuleTable().GetCount()), Exception);
    EXPECT_THROW(first->GetSymbol(1), Exception);
}

TEST(TableLoading, DisplayTexts) {
    EXPECT_EQ(PatternFormat("it's"), "it''s");
    EXPECT_EQ(PatternFormat("("), "'('");
    EXPECT_EQ(PatternFormat(":="), ":=");
    EXPECT_EQ(PatternFormat("a<=b"), "a'<'=b");
    EXPECT_EQ(PatternFormat("\""), "'\"'");

    const TSymbol nonterminal("Func Decl", skNonterminal, 5);
    const TSymbol terminal("(", skTerminal, 6);
    const TSymbol end("EOF", skEnd, 0);
    EXPECT_EQ(nonterminal.GetText(), "<Func Decl>");
    EXPECT_EQ(terminal.GetText(), "'('");
    EXPECT_EQ(end.GetText(), "(EOF)");

    TRule empty(0, &nonterminal);
    EXPECT_EQ(empty.GetDefinition(), "");
    EXPECT_EQ(empty.GetText(), "<Func Decl> ::= "); // with its trailing blank
    TRule rule(1, &nonterminal);
    rule.AddItem(&terminal);
    rule.AddItem(&nonterminal);
    EXPECT_EQ(rule.GetText(), "<Func Decl> ::= '(' <Func Decl>");
    EXPECT_FALSE(rule.ContainsOneNonTerminal());
}

TEST(TableLoading, VariableListRemovesEmptyValues) {
    TVariableList list;
    list.SetValue("Name", "x");
    EXPECT_EQ(list.GetValue("Name"), "x");
    list.SetValue("Name", "");
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetValue("Absent"), "");
}

TEST(TableLoading, RecordsWithMissingEntriesReadZero) {
    // A D record cut after its index: no accept flag, no edges. A P record
    // whose start symbol is missing would read 0 but is refused below.
    LoadedParser loaded;
    const std::string shortState = Record({Byte('D'), Int(1)});
    ASSERT_TRUE(loaded.Load(
        TinyWith(Record({Byte('D'), Int(1), Bool(true), Int(2), Empty()}), shortState)));
    EXPECT_EQ(loaded.Parser.GetDFA().GetItem(1)->AcceptSymbol, -1);
    EXPECT_EQ(loaded.Parser.GetDFA().GetItem(1)->GetEdgeCount(), 0);
    // "a" now runs into a state that accepts nothing: a one-character error.
    const auto steps = RunParse(loaded.Parser, "a");
    EXPECT_EQ(FinalMessage(steps), msgLexicalError);
}

TEST(TableLoading, NonAcceptingStateStillConsumesItsAcceptEntry) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.Load(TinyTables()));
    const TFAState* initial = loaded.Parser.GetDFA().GetItem(0);
    EXPECT_EQ(initial->AcceptSymbol, -1);
    ASSERT_EQ(initial->GetEdgeCount(), 1);
    EXPECT_EQ(initial->GetEdge(0).CharSetIndex, 0);
    EXPECT_EQ(initial->GetEdge(0).TargetIndex, 1);
    EXPECT_EQ(loaded.Parser.GetVariables().GetValue("Case Sensitive"), "True");
    EXPECT_FALSE(loaded.Parser.GetIgnoreCase());
}

TEST(TableLoading, UntypedEntryRepeatsThePreviousOne) {
    // The second target entry has an unknown type and so repeats target 1.
    LoadedParser loaded;
    const std::string state = Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0),
                                      Int(1), Empty(), Int(0), Untyped('?'), Empty()});
    ASSERT_TRUE(loaded.Load(
        TinyWith(Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(1), Empty()}),
                 state)));
    const TFAState* initial = loaded.Parser.GetDFA().GetItem(0);
    ASSERT_EQ(initial->GetEdgeCount(), 2); // a second edge to a target is kept
    EXPECT_EQ(initial->GetEdge(1).TargetIndex, 0);
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "a")), msgAccept);
}

TEST(TableLoading, SecondEdgeToATargetJoinsTheFirst) {
    // State 0: "a" to 1, "ab" to 0, "b" to 1. The third edge joins the first,
    // ahead of the second, so "b" is read as the terminal a.
    std::string tables = TinyWith(Record({Byte('T'), Int(4), Int(1), Int(1), Int(2), Int(3)}),
                                  Record({Byte('T'), Int(4), Int(3), Int(1), Int(2), Int(3)}));
    const std::string charSet = Record({Byte('C'), Int(0), Str("a")});
    tables.insert(tables.find(charSet) + charSet.size(),
                  Record({Byte('C'), Int(1), Str("ab")}) + Record({Byte('C'), Int(2), Str("b")}));
    const std::string state =
        Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(1), Empty()});
    tables.replace(tables.find(state), state.size(),
                   Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(1), Empty(),
                           Int(1), Int(0), Empty(), Int(2), Int(1), Empty()}));
    LoadedParser loaded;
    ASSERT_TRUE(loaded.Load(tables));
    EXPECT_EQ(loaded.Parser.GetDFA().GetItem(0)->GetEdgeCount(), 2);
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "b")), msgAccept);
}

TEST(TableLoading, UnknownRecordLetterIsSkipped) {
    LoadedParser loaded;
    EXPECT_TRUE(loaded.Load(TinyTables() + Record({Byte('X'), Int(1), Str("later format")})));
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "a")), msgAccept);
}

TEST(TableLoading, SecondLoadReplacesTheFirstGrammar) {
    LoadedParser loaded;
    ASSERT_TRUE(loaded.LoadGrammar(GrammarSource("statements.grm")));
    ASSERT_TRUE(loaded.Load(TinyTables()));
    EXPECT_EQ(loaded.Parser.GetSymbolTable().GetCount(), 4);
    EXPECT_EQ(loaded.Parser.GetRuleTable().GetCount(), 1);
    EXPECT_EQ(loaded.Parser.GetVariables().GetValue("Name"), "Tiny");
    EXPECT_EQ(FinalMessage(RunParse(loaded.Parser, "a")), msgAccept);
}

struct BadFile {
    const char* Why;
    std::string Bytes;
};

std::vector<BadFile> BadFiles() {
    const std::string tiny = TinyTables();
    const std::string ruleRecord = Record({Byte('R'), Int(0), Int(3), Empty(), Int(2)});
    const std::string shiftRecord = Record({Byte('L'), Int(0), Empty(), Int(2), Int(1), Int(1),
                                            Empty(), Int(3), Int(3), Int(2), Empty()});
    const std::string charRecord = Record({Byte('C'), Int(0), Str("a")});
    const std::string params =
        Record({Byte('P'), Str("Tiny"), Str("1"), Str("me"), Str("S ::= a"), Bool(true), Int(3)});
    std::vector<BadFile> files = {
        {"empty file", ""},
        {"wrong header", UniString("GOLD Parser Tables/v5.0") + tiny.substr(Header().size())},
        {"header only: no start symbol", Header()},
        {"header not terminated", tiny.substr(0, 10)},
        {"rule names a symbol beyond the table",
         TinyWith(ruleRecord, Record({Byte('R'), Int(0), Int(3), Empty(), Int(9)}))},
        {"rule head beyond the table",
         TinyWith(ruleRecord, Record({Byte('R'), Int(0), Int(40), Empty(), Int(2)}))},
        {"shift to a state that does not exist",
         TinyWith(shiftRecord, Record({Byte('L'), Int(0), Empty(), Int(2), Int(1), Int(7), Empty(),
                                       Int(3), Int(3), Int(2), Empty()}))},
        {"reduce by a rule that does not exist",
         TinyWith(shiftRecord, Record({Byte('L'), Int(0), Empty(), Int(2), Int(2), Int(5), Empty(),
                                       Int(3), Int(3), Int(2), Empty()}))},
        {"action on a symbol beyond the table",
         TinyWith(shiftRecord, Record({Byte('L'), Int(0), Empty(), Int(12), Int(1), Int(1), Empty(),
                                       Int(3), Int(3), Int(2), Empty()}))},
        {"character set beyond the declared count",
         TinyWith(charRecord, Record({Byte('C'), Int(2), Str("a")}))},
        {"edge to a character set that does not exist",
         TinyWith(
             Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(1), Empty()}),
             Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(4), Int(1), Empty()}))},
        {"edge to a DFA state that does not exist",
         TinyWith(
             Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(1), Empty()}),
             Record({Byte('D'), Int(0), Bool(false), Int(0), Empty(), Int(0), Int(9), Empty()}))},
        {"accepts a symbol that does not exist",
         TinyWith(Record({Byte('D'), Int(1), Bool(true), Int(2), Empty()}),
                  Record({Byte('D'), Int(1), Bool(true), Int(77), Empty()}))},
        {"initial states that do not exist",
         TinyWith(Record({Byte('I'), Int(0), Int(0)}), Record({Byte('I'), Int(5), Int(6)}))},
        {"start symbol missing", TinyWith(params, Record({Byte('P'), Str("Tiny"), Str("1"),
                                                          Str("me"), Str("x"), Bool(true)}))},
        {"start symbol not a number",
         TinyWith(params, Record({Byte('P'), Str("Tiny"), Str("1"), Str("me"), Str("x"), Bool(true),
                                  Str("S")}))},
        {"start symbol beyond the table",
         TinyWith(params, Record({Byte('P'), Str("Tiny"), Str("1"), Str("me"), Str("x"), Bool(true),
                                  Int(30)}))},
        {"record id of no type", tiny + Record({Untyped('?'), Int(1)})},
        {"record id empty", tiny + Record({Empty(), Int(1)})},
        {"symbol replaced after a rule took it as its head",
         TinyWith(ruleRecord, ruleRecord + Record({Byte('S'), Int(3), Str("T"), Int(0)}))},
        {"more character sets than the file could hold",
         TinyWith(Record({Byte('T'), Int(4), Int(1), Int(1), Int(2), Int(3)}),
                  Record({Byte('T'), Int(4), Int(60000), Int(1), Int(2), Int(3)}))},
        {"huge index in a text entry: refused, not allocated",
         tiny + Record({Byte('S'), Str("999999999"), Str("x"), Int(1)})},
        {"no end symbol", TinyWith(Record({Byte('S'), Int(0), Str("EOF"), Int(3)}),
                                   Record({Byte('S'), Int(0), Str("EOF"), Int(1)}))},
        {"no error symbol", TinyWith(Record({Byte('S'), Int(1), Str("Error"), Int(7)}),
                                     Record({Byte('S'), Int(1), Str("Error"), Int(1)}))},
        {"stray byte after the last record", tiny + "XY"},
        {"record claims more entries than it has", tiny + std::string("M\x05\0", 3) + "bX"},
    };
    return files;
}

TEST(TableLoading, DamagedFilesAreRefusedAndLeaveNothingLoaded) {
    for (const BadFile& bad : BadFiles()) {
        SCOPED_TRACE(bad.Why);
        LoadedParser loaded;
        ASSERT_TRUE(loaded.Load(TinyTables()));
        EXPECT_FALSE(loaded.Load(bad.Bytes));
        EXPECT_EQ(loaded.Parser.GetSymbolTable().GetCount(), 0);
        EXPECT_EQ(loaded.Parser.GetVariables().GetValue("Name"), "");
        loaded.Parser.OpenTextString("a");
        EXPECT_EQ(loaded.Parser.Parse(), msgNotLoadedError);
    }
}

TEST(TableLoading, EveryTruncationInsideARecordIsRefused) {
    const std::string tables = CompileTables(GrammarSource("statements.grm"));
    ASSERT_FALSE(tables.empty());
    // Offsets where a record starts: a cut there leaves whole records only.
    std::set<size_t> boundaries;
    TGrammarTables sink;
    for (size_t cut = 0; cut < tables.size(); ++cut) {
        if (tables[cut] == 'M' && cut >= Header().size()) {
            boundaries.insert(cut);
        }
    }
    for (size_t cut = 0; cut < tables.size(); cut += 11) {
        TGrammarReader reader(sink);
        const bool loaded = reader.LoadFromBytes(tables.substr(0, cut));
        if (boundaries.count(cut) == 0 && boundaries.count(cut - 1) == 0) {
            EXPECT_FALSE(loaded) << "cut at " << cut;
        }
    }
}

TEST(TableLoading, CacheReadsAFileAgainOnlyWhenItChanged) {
    QTemporaryDir dir;
    TGrammarCache cache;
    const QString path = WriteFile(dir, "grammar.egt", TinyTables());
    const auto first = cache.Get(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.Get(path), first);
    // The same size, written later: read again.
    std::string renamed = TinyTables();
    renamed.replace(renamed.find(UniString("Tiny")), UniString("Tiny").size(), UniString("Tinz"));
    WriteFile(dir, "grammar.egt", renamed);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime);
    file.close();
    const auto second = cache.Get(path);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Variables.GetValue("Name"), "Tinz");
    // Broken or gone: refused each time, as a file read afresh would be.
    WriteFile(dir, "grammar.egt", "GOLD");
    EXPECT_EQ(cache.Get(path), nullptr);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(cache.Get(path), nullptr);
}

TEST(TableLoading, MissingFileFails) {
    TGOLDParser parser;
    EXPECT_FALSE(parser.LoadCompiledGrammar(QDir::tempPath() + "/no-such-dir-tvx/x.egt"));
    EXPECT_EQ(parser.Parse(), msgNotLoadedError);
}

} // namespace
} // namespace tvx::test
