// Checks the LALR(1) generator against an independent one: for the same
// grammars, bison must find the same number of states and agree on whether
// there are conflicts. Skipped where bison is not installed.
#include "parser/parser_test_support.h"

#include "grammar_compiler.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace tvx::test {
namespace {

// The rules of a compiled grammar as a bison grammar: terminal i becomes
// Ti, nonterminal i becomes Ni.
std::string BisonGrammar(const grammar::CompiledGrammar& g) {
    auto name = [&](int symbol) {
        const bool nonterminal =
            g.symbols[static_cast<size_t>(symbol)].kind == grammar::kindNonterminal;
        return std::string(1, nonterminal ? 'N' : 'T').append(std::to_string(symbol));
    };
    std::string text = "%token";
    for (size_t s = 2; s < g.symbols.size(); ++s) {
        if (g.symbols[s].kind == grammar::kindTerminal) {
            text += ' ';
            text += name(static_cast<int>(s));
        }
    }
    text += "\n%start " + name(g.startSymbol) + "\n%%\n";
    for (const auto& rule : g.rules) {
        text += name(rule.head) + ":";
        for (int symbol : rule.body) {
            text += ' ';
            text += name(symbol);
        }
        if (rule.body.empty()) {
            text += " %empty";
        }
        text += ";\n";
    }
    return text;
}

struct BisonReport {
    int States = 0;
    bool Conflicts = false;
};

bool RunBison(const std::string& grammarText, BisonReport& report) {
    QTemporaryDir dir;
    const QString input = WriteFile(dir, "g.y", grammarText);
    const QString output = dir.filePath("g.output");
    QProcess bison;
    bison.start("bison", {"-Wnone", "--report=state", "--report-file=" + output, "-o",
                          dir.filePath("g.tab.c"), input});
    if (!bison.waitForFinished(60000) || bison.exitCode() != 0) {
        ADD_FAILURE() << "bison failed: " << bison.readAllStandardError().toStdString();
        return false;
    }
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll());
    report.States = static_cast<int>(text.count(
        QRegularExpression(QStringLiteral("^State \\d+$"), QRegularExpression::MultilineOption)));
    report.Conflicts = text.contains(QRegularExpression(QStringLiteral("^State \\d+ conflicts:"),
                                                        QRegularExpression::MultilineOption));
    return true;
}

const char* const Lexicon = R"(
set Letter = 'a'..'z'
token Id = Letter+
whitespace = ' '+
)";

struct Case {
    const char* Name;
    std::string Grammar;
};

std::vector<Case> Cases() {
    return {
        {"statements", GrammarSource("statements.grm")},
        {"mini C", GrammarSource("minic.grm")},
        {"LALR but not SLR", std::string(Lexicon) + R"(
<S> ::= <L> '=' <R> | <R>
<L> ::= '*' <R> | Id
<R> ::= <L>
)"},
        {"nullable chains", std::string(Lexicon) + R"(
<S> ::= <A> <B> <C> 'x' | <C> 'y'
<A> ::= 'a' |
<B> ::= <A> 'b' |
<C> ::= <B> <A> | 'c'
)"},
        {"dangling else", std::string(Lexicon) + R"(
<S> ::= 'if' Id 'then' <S> | 'if' Id 'then' <S> 'else' <S> | Id
)"},
        {"LR(1) but not LALR(1)", std::string(Lexicon) + R"(
<S> ::= 'a' <E> 'c' | 'a' <F> 'd' | 'b' <F> 'c' | 'b' <E> 'd'
<E> ::= 'e'
<F> ::= 'e'
)"},
    };
}

TEST(BisonComparison, SameStateCountAndConflictVerdict) {
    if (QStandardPaths::findExecutable("bison").isEmpty()) {
        GTEST_SKIP() << "bison is not installed";
    }
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.Name);
        const grammar::CompileResult result = grammar::CompileGrammar(c.Grammar, "g.grm");
        const bool ourConflicts = !result.ok;
        BisonReport bison;
        ASSERT_TRUE(RunBison(BisonGrammar(result.grammar), bison));
        // bison shifts the end symbol into one more state before it accepts;
        // these tables accept on the end symbol directly.
        EXPECT_EQ(static_cast<int>(result.grammar.parser.states.size()) + 1, bison.States);
        EXPECT_EQ(ourConflicts, bison.Conflicts);
    }
}

} // namespace
} // namespace tvx::test
