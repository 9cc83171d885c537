#include "import/c_statement_macros.h"
#include "import/c_declared_names.h"
#include <unordered_set>

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
            if (parens == 0 && InStatements() && StatementStartsAt(i)) {
                const std::size_t end = token.IsName() ? MacroEnd(i) : i;
                if (token.IsName() && (EndsItsLine(end) || Redeclares(end))) {
                    Found.push_back(end);
                } else {
                    for (const std::string_view name : Declared.OfStatement(i)) {
                        Names.back().insert(name);
                    }
                }
            }
            if (token.Is("(")) {
                ++parens;
            } else if (token.Is(")")) {
                parens -= std::size_t(parens > 0);
                if (parens == 0 && !InStatements()) {
                    NoteParameters(i);
                }
            } else if (token.Is("{")) {
                OpenBlock(parens == 0 && OpensStatements(i));
            } else if (token.Is("}")) {
                ClosedStatements = !Braces.empty() && Braces.back();
                if (!Braces.empty()) {
                    Braces.pop_back();
                    Names.pop_back();
                }
            }
        }
        return std::move(Found);
    }

private:
    bool InStatements() const { return !Braces.empty() && Braces.back(); }

    // The macro ending at End is followed by a statement on a later line.
    bool EndsItsLine(std::size_t End) const {
        return End + 1 < Tokens.size() && Tokens[End + 1].Line > Tokens[End].Line &&
               StartsNextStatement(Tokens[End + 1]);
    }

    // "M x = e;" reads as a declaration of x with the type M. When x is
    // already declared in this block, that cannot be C (a name without
    // linkage is declared once in a block), so M is a statement of its own
    // and "x = e;" the next one. Only an assignment is taken to follow: a
    // statement "x;" does nothing, and "A b;" after "A * b;" is rather a
    // second declaration than a macro before it.
    bool Redeclares(std::size_t End) const {
        std::size_t name = End + 1;
        while (name < Tokens.size() && Tokens[name].Is("*")) {
            ++name;
        }
        if (name + 1 >= Tokens.size() || !Tokens[name].IsName()) {
            return false;
        }
        const TCToken& after = Tokens[name + 1];
        return (after.Is("=") || after.Is("[")) && Names.back().contains(Tokens[name].Text);
    }

    // A ')' outside any routine: the parameters of the routine whose body
    // may follow, when a name stands before their '('.
    void NoteParameters(std::size_t Close) {
        const std::size_t open = OpenOf(Close);
        if (open < Tokens.size() && open > 0 && Tokens[open - 1].IsName()) {
            Parameters = open;
        }
    }

    // A routine's parameters are declared in its outermost block.
    void OpenBlock(bool Statements) {
        const bool body = Statements && !InStatements();
        Braces.push_back(Statements);
        Names.emplace_back();
        if (body && Parameters < Tokens.size()) {
            for (const std::string_view name : Declared.OfParameters(Parameters)) {
                Names.back().insert(name);
            }
        }
        Parameters = Tokens.size();
    }

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
    TCDeclaredNames Declared{Tokens, Partners};
    std::vector<bool> Braces; // open braces: holding statements
    // Of each open brace the names declared in it so far.
    std::vector<std::unordered_set<std::string_view>> Names;
    std::size_t Parameters = Tokens.size(); // the '(' of the last parameter list
    bool ClosedStatements = false;          // the last '}' closed a block
    std::vector<std::size_t> Found;         // the macros' last tokens, in order
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
