#include "import/c_foreign_macros.h"
#include "import/c_keywords.h"
#include <algorithm>

namespace tvx {

namespace {

// How far ahead a call at file level is followed to tell an old-style
// definition "f(a) int a; { ... }" from a macro without its ';'.
constexpr std::size_t KnrLookAhead = 4096;

bool IsName(const TCToken& Token) {
    return Token.IsName();
}

bool StartsDeclaration(const TCToken& Token) {
    return Token.IsKeyword(TCKeyword::Type) || Token.IsKeyword(TCKeyword::Storage) ||
           Token.IsKeyword(TCKeyword::Tag);
}

// Tokens From .. To-1.
struct TRange {
    std::size_t From;
    std::size_t To;
};

class TForeignMacros {
public:
    explicit TForeignMacros(std::vector<TCToken>& Tokens)
        : Tokens(Tokens), Drop(Tokens.size(), false), Closes(MatchParentheses(Tokens)) {}

    void Run() {
        MarkNamesInSpecifiers();
        MarkFileLevelCalls();
        if (LoopHeads.empty()) {
            std::size_t kept = 0;
            for (std::size_t i = 0; i < Size(); ++i) {
                if (!Drop[i]) {
                    Tokens[kept++] = Tokens[i];
                }
            }
            Tokens.resize(kept);
            return;
        }
        std::vector<TCToken> kept;
        kept.reserve(Size() + 3 * LoopHeads.size());
        std::size_t loop = 0;
        std::vector<std::size_t> closes;
        for (std::size_t i = 0; i < Size(); ++i) {
            if (loop < LoopHeads.size() && LoopHeads[loop] == i) {
                kept.push_back(Inserted(Tokens[i], TCTokenKind::Word, "while"));
                kept.push_back(Inserted(Tokens[i], TCTokenKind::Punct, "("));
                closes.push_back(CloseOf(i + 1));
                ++loop;
            }
            if (!Drop[i]) {
                kept.push_back(Tokens[i]);
            }
            while (!closes.empty() && closes.back() == i) {
                kept.push_back(Inserted(Tokens[i], TCTokenKind::Punct, ")"));
                closes.pop_back();
            }
        }
        Tokens = std::move(kept);
    }

private:
    std::size_t Size() const { return Tokens.size(); }

    static TCToken Inserted(const TCToken& Beside, TCTokenKind Kind, std::string_view Text) {
        TCToken token;
        token.Text = Text;
        token.Line = Beside.Line;
        token.Kind = Kind;
        return token;
    }

    // The index of the ')' matching the '(' at Open, or Size().
    std::size_t CloseOf(std::size_t Open) const { return Closes[Open]; }

    void DropRange(std::size_t From, std::size_t To) {
        for (std::size_t i = From; i < To && i < Size(); ++i) {
            Drop[i] = true;
        }
    }

    // Names in a row from I, each with the arguments of a macro when
    // WithArgs and another name follows them. Returns the index after them.
    std::size_t NameRun(std::size_t I, bool WithArgs, std::vector<TRange>& Units) const {
        Units.clear();
        std::size_t j = I;
        while (j < Size() && IsName(Tokens[j])) {
            std::size_t next = j + 1;
            if (next < Size() && Tokens[next].Is("(")) {
                const std::size_t close = CloseOf(next);
                if (!WithArgs || close + 1 >= Size() || !IsName(Tokens[close + 1])) {
                    Units.push_back({j, next});
                    return next; // a function's name, or a call
                }
                next = close + 1;
            }
            Units.push_back({j, next});
            j = next;
        }
        return j;
    }

    void MarkNamesInSpecifiers() {
        std::vector<TRange> units;
        for (std::size_t i = 0; i < Size(); ++i) {
            if (!IsName(Tokens[i]) || (i > 0 && (IsName(Tokens[i - 1]) || Drop[i - 1]))) {
                continue;
            }
            // A macro with arguments is taken only before the name of a
            // function: "f(a) T a;" is an old-style definition.
            std::size_t end = NameRun(i, true, units);
            if (end >= Size() || !Tokens[end].Is("(")) {
                end = NameRun(i, false, units);
            }
            const TCToken* before = i > 0 ? &Tokens[i - 1] : nullptr;
            const bool afterTag = before != nullptr && before->IsKeyword(TCKeyword::Tag);
            if (afterTag) {
                units.erase(units.begin()); // the tag's name
            }
            if (units.empty()) {
                continue;
            }
            const bool afterType =
                afterTag ||
                (before != nullptr && (before->IsKeyword(TCKeyword::Type) || before->Is("*")));
            const bool function = end < Size() && Tokens[end].Is("(");
            if (end < Size() && StartsDeclaration(Tokens[end])) {
                DropUnits(units, 0, units.size()); // "UNUSED int", "MY_CONST char"
            } else if (units.size() >= (afterType ? 2u : 3u)) {
                // Keep the type's name and the declared name: the name of a
                // function is the last ("void FASTCALL f(void)"), the name of
                // anything else the first ("int argc ATTRIBUTE_UNUSED").
                const std::size_t first = afterType ? 0 : 1;
                if (function) {
                    DropUnits(units, first, units.size() - 1);
                } else {
                    DropUnits(units, first + 1, units.size());
                }
            }
            i = end - 1;
        }
    }

    void DropUnits(const std::vector<TRange>& Units, std::size_t From, std::size_t To) {
        for (std::size_t k = From; k < To; ++k) {
            DropRange(Units[k].From, Units[k].To);
        }
    }

    // A parameter list as a prototype may have it: "(void)", "(int a,
    // char *b[])", "(a, b)": every item starts with a word.
    bool LooksLikeParams(std::size_t From, std::size_t To) const {
        bool itemStart = true;
        for (std::size_t i = From; i < To; ++i) {
            const TCToken& token = Tokens[i];
            if (itemStart && !token.IsWord() && !token.Is("...")) {
                return false;
            }
            itemStart = false;
            if (token.Is(",")) {
                itemStart = true;
            } else if (token.Kind == TCTokenKind::Literal || token.Kind == TCTokenKind::Other ||
                       (token.Kind == TCTokenKind::Punct && !token.Is("*") && !token.Is("(") &&
                        !token.Is(")") && !token.Is("[") && !token.Is("]") && !token.Is("..."))) {
                return false;
            }
        }
        return From == To || !itemStart;
    }

    // "(a, b)": names between commas, as an old-style definition has them.
    bool IsNameList(std::size_t From, std::size_t To) const {
        if (From == To) {
            return false;
        }
        for (std::size_t i = From; i < To; ++i) {
            if ((i - From) % 2 == 0 ? !IsName(Tokens[i]) : !Tokens[i].Is(",")) {
                return false;
            }
        }
        return (To - From) % 2 == 1;
    }

    // Declarations from From up to a '{': the parameters of an old-style
    // definition.
    bool OldStyleDeclarationsAt(std::size_t From) const {
        if (From >= Size() || !Tokens[From].IsWord()) {
            return false;
        }
        int depth = 0;
        for (std::size_t i = From; i < Size() && i < From + KnrLookAhead; ++i) {
            const TCToken& token = Tokens[i];
            if (token.Is("(") || token.Is("[")) {
                ++depth;
            } else if (token.Is(")") || token.Is("]")) {
                --depth;
            } else if (depth == 0 && token.Is("{")) {
                return Tokens[i - 1].Is(";");
            } else if (depth == 0 && (token.Is("}") || token.Is("="))) {
                return false;
            }
        }
        return false;
    }

    // In a routine, a macro call right before a block, where a statement
    // starts: "list_for_each(p, &head) { ... }" is read as a loop that the
    // call heads, as what it expands to does.
    bool HeadsBlock(std::size_t I, const TCToken* Before) const {
        if (I + 1 >= Size() || !Tokens[I + 1].Is("(") || Before == nullptr ||
            !(Before->Is(";") || Before->Is("{") || Before->Is("}") || Before->Is(")") ||
              Before->Is(":") ||
              (Before->IsWord() && (Before->Text == "else" || Before->Text == "do")))) {
            return false;
        }
        const std::size_t close = CloseOf(I + 1);
        return close + 1 < Size() && Tokens[close + 1].Is("{");
    }

    // A name where a declaration starts at file level: a macro call with or
    // without ';', unless it reads as C.
    void MarkCallAt(std::size_t I) {
        const std::size_t next = I + 1;
        if (next >= Size() || Tokens[next].Is(";")) {
            DropRange(I, next + 1); // "END_CASE" at the end, "FOO;"
            return;
        }
        if (!Tokens[next].Is("(")) {
            return;
        }
        const std::size_t close = CloseOf(next);
        if (close >= Size()) {
            return;
        }
        const std::size_t after = close + 1;
        if (after >= Size()) {
            DropRange(I, after);
        } else if (Tokens[after].Is(";")) {
            if (!LooksLikeParams(next + 1, close)) {
                DropRange(I, after + 1); // "CHECK_TYPE (sqrt, double, (double));"
            }
        } else if (Tokens[after].IsWord() &&
                   !(IsNameList(next + 1, close) && OldStyleDeclarationsAt(after))) {
            DropRange(I, after); // a macro call without ';' before a declaration
        }
    }

    // After the ')' of a declarator at file level, a name (and its
    // arguments) before ';' or the body.
    void MarkNameAfterDeclarator(std::size_t Close) {
        std::size_t i = Close + 1;
        if (i >= Size() || !IsName(Tokens[i])) {
            return;
        }
        std::size_t end = i + 1;
        if (end < Size() && Tokens[end].Is("(")) {
            end = CloseOf(end) + 1;
        }
        if (end < Size() && (Tokens[end].Is(";") || Tokens[end].Is("{"))) {
            DropRange(i, end);
        }
    }

    void MarkFileLevelCalls() {
        // Open braces: 'b' a function body, 'l' extern "C" { }, 'o' others.
        std::vector<char> braces;
        std::vector<std::size_t> opens; // the '(' not closed yet
        bool declarationStart = true;
        const TCToken* before = nullptr; // the last token kept
        std::size_t bodies = 0;          // 'b' among the braces
        std::size_t others = 0;          // braces other than 'l'
        for (std::size_t i = 0; i < Size(); ++i) {
            if (Drop[i]) {
                continue;
            }
            const TCToken& token = Tokens[i];
            const bool outside = others == 0;
            if (bodies > 0 && IsName(token) && HeadsBlock(i, before)) {
                LoopHeads.push_back(i);
            }
            if (token.Is("{")) {
                const bool linkage = before != nullptr && before->Kind == TCTokenKind::Literal;
                const bool body = before != nullptr && (before->Is(")") || before->Is(";"));
                braces.push_back(linkage ? 'l' : body && outside && opens.empty() ? 'b' : 'o');
                bodies += std::size_t(braces.back() == 'b');
                others += std::size_t(braces.back() != 'l');
                declarationStart = linkage;
            } else if (token.Is("}")) {
                const char kind = braces.empty() ? 'o' : braces.back();
                if (!braces.empty()) {
                    bodies -= std::size_t(kind == 'b');
                    others -= std::size_t(kind != 'l');
                    braces.pop_back();
                }
                declarationStart = kind != 'o';
            } else if (token.Is("(")) {
                opens.push_back(i);
            } else if (token.Is(")")) {
                const std::size_t open = opens.empty() ? 0 : opens.back();
                if (!opens.empty()) {
                    opens.pop_back();
                }
                // The parameters of a declarator follow its name or, for a
                // pointer to a function, its "(*name)".
                if (outside && opens.empty() && open > 0 &&
                    (IsName(Tokens[open - 1]) || Tokens[open - 1].Is(")"))) {
                    MarkNameAfterDeclarator(i);
                }
                declarationStart = false;
            } else if (outside && opens.empty()) {
                if (declarationStart && IsName(token)) {
                    MarkCallAt(i);
                    if (Drop[i]) {
                        continue; // the next declaration starts after it
                    }
                }
                declarationStart = token.Is(";");
            }
            before = &token;
        }
    }

    std::vector<TCToken>& Tokens;
    std::vector<bool> Drop;
    std::vector<std::size_t> Closes;    // of each '(' the matching ')' (MatchParentheses)
    std::vector<std::size_t> LoopHeads; // names of macros that head a block, in order
};

} // namespace

void DropForeignMacros(std::vector<TCToken>& Tokens) {
    TForeignMacros(Tokens).Run();
}

} // namespace tvx
