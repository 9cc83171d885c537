#include "import/c_statement_macros.h"

namespace tvx {

namespace {

bool IsControlHead(const TCToken& Token) {
    return Token.IsWord() && (Token.Text == "if" || Token.Text == "while" || Token.Text == "for" ||
                              Token.Text == "switch");
}

// What may start the statement after a macro that left out its ';'. An
// operator that continues an expression ('=', '(', '+', '->' ...) is none:
// "x\n  = 1;" stays one statement.
bool StartsNextStatement(const TCToken& Token) {
    return Token.IsWord() || Token.Is("}") || Token.Is("*") || Token.Is("++") || Token.Is("--");
}

class TStatementMacros {
public:
    explicit TStatementMacros(const std::vector<TCToken>& Tokens)
        : Tokens(Tokens), Partners(MatchParentheses(Tokens)) {}

    // The indices of the tokens that a ';' should follow, in order.
    std::vector<std::size_t> Ends() {
        std::size_t parens = 0; // '(' not closed yet
        for (std::size_t i = 0; i < Tokens.size(); ++i) {
            const TCToken& token = Tokens[i];
            if (parens == 0 && InStatements() && StatementStartsAt(i) && token.IsName()) {
                const std::size_t end = MacroEnd(i);
                if (end + 1 < Tokens.size() && Tokens[end + 1].Line > Tokens[end].Line &&
                    StartsNextStatement(Tokens[end + 1])) {
                    Found.push_back(end);
                }
            }
            if (token.Is("(")) {
                ++parens;
            } else if (token.Is(")")) {
                parens -= std::size_t(parens > 0);
            } else if (token.Is("{")) {
                Braces.push_back(parens == 0 && OpensStatements(i));
            } else if (token.Is("}")) {
                ClosedStatements = !Braces.empty() && Braces.back();
                if (!Braces.empty()) {
                    Braces.pop_back();
                }
            }
        }
        return std::move(Found);
    }

private:
    bool InStatements() const { return !Braces.empty() && Braces.back(); }

    // The '(' that the ')' at Close closes, or Tokens.size().
    std::size_t OpenOf(std::size_t Close) const { return Partners[Close]; }

    // After "if (...)", "while (...)", "for (...)" or "switch (...)".
    bool AfterControlHead(std::size_t I) const {
        if (I == 0 || !Tokens[I - 1].Is(")")) {
            return false;
        }
        const std::size_t open = OpenOf(I - 1);
        return open < Tokens.size() && open > 0 && IsControlHead(Tokens[open - 1]);
    }

    // Where a statement of the routine starts: after a statement (one of
    // these macros too), a label, a block's brace, the head of an if or a
    // loop, else and do.
    bool StatementStartsAt(std::size_t I) const {
        if (I == 0) {
            return false;
        }
        if (!Found.empty() && Found.back() == I - 1) {
            return true;
        }
        const TCToken& before = Tokens[I - 1];
        return before.Is(";") || before.Is("{") || before.Is(":") ||
               (before.Is("}") && ClosedStatements) ||
               (before.IsWord() && (before.Text == "else" || before.Text == "do")) ||
               AfterControlHead(I);
    }

    // Whether the '{' at I opens statements: a routine's body (after its
    // parameters, or an old-style definition's declarations), or a block
    // among statements. An initialiser, a compound literal or the members
    // of a struct, union or enum hold none.
    bool OpensStatements(std::size_t I) const {
        if (I == 0) {
            return false;
        }
        const TCToken& before = Tokens[I - 1];
        if (before.Is(")")) {
            const std::size_t open = OpenOf(I - 1);
            return open < Tokens.size() && open > 0 &&
                   (Tokens[open - 1].IsWord() || Tokens[open - 1].Is(")"));
        }
        if (!InStatements()) {
            return before.Is(";") && Braces.empty();
        }
        return StatementStartsAt(I);
    }

    // The last token of the macro at I: its name, or the ')' of its arguments.
    std::size_t MacroEnd(std::size_t I) const {
        if (I + 1 < Tokens.size() && Tokens[I + 1].Is("(") && Partners[I + 1] < Tokens.size()) {
            return Partners[I + 1];
        }
        return I;
    }

    const std::vector<TCToken>& Tokens;
    std::vector<std::size_t> Partners; // of each parenthesis the other (MatchParentheses)
    std::vector<bool> Braces;          // open braces: holding statements
    bool ClosedStatements = false;
    std::vector<std::size_t> Found; // the macros' last tokens, in order // the last '}' closed a
                                    // block
};

} // namespace

void EndStatementMacros(std::vector<TCToken>& Tokens) {
    const std::vector<std::size_t> ends = TStatementMacros(Tokens).Ends();
    if (ends.empty()) {
        return;
    }
    std::vector<TCToken> out;
    out.reserve(Tokens.size() + ends.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < Tokens.size(); ++i) {
        out.push_back(Tokens[i]);
        if (next < ends.size() && ends[next] == i) {
            TCToken end;
            end.Text = ";";
            end.Line = Tokens[i].Line;
            end.Kind = TCTokenKind::Punct;
            out.push_back(end);
            ++next;
        }
    }
    Tokens = std::move(out);
}

} // namespace tvx
