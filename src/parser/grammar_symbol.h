#pragma once
// Grammar symbols and rules as the compiled table file describes them. Names
// and texts are the 8-bit strings of the table file (UTF-8 bytes in practice).
#include <cstdint>
#include <string>
#include <vector>

namespace tvx {

// Fixed underlying type: a table file may carry any number here, and an
// unknown kind must be storable without undefined behaviour.
enum TSymbolKind : int32_t {
    skNonterminal = 0,
    skTerminal = 1,
    skWhitespace = 2,
    skEnd = 3,
    skCommentStart = 4,
    skCommentEnd = 5,
    skCommentLine = 6,
    skError = 7,
};

// The text of a terminal as it would be written in a grammar: quotes are
// doubled and characters that mean something in a pattern are quoted.
std::string PatternFormat(const std::string& Text);

class TSymbol {
public:
    TSymbol(std::string name, TSymbolKind kind, int32_t tableIndex)
        : Name(std::move(name)), Kind(kind), TableIndex(tableIndex) {}

    // "<Name>" for nonterminals, the quoted pattern for terminals, "(Name)"
    // for every other kind.
    std::string GetText() const;

    std::string Name;
    TSymbolKind Kind;
    int32_t TableIndex;
};

class TRule {
public:
    TRule(int32_t tableIndex, const TSymbol* head) : TableIndex(tableIndex), Head(head) {}

    int32_t GetSymbolCount() const { return static_cast<int32_t>(Symbols.size()); }
    // Raises an index error outside 0..GetSymbolCount()-1.
    const TSymbol* GetSymbol(int32_t i) const;
    void AddItem(const TSymbol* symbol) { Symbols.push_back(symbol); }
    const TSymbol* GetRuleNonterminal() const { return Head; }

    std::string GetName() const;       // "<Head>"
    std::string GetDefinition() const; // display texts of the right-hand side
    std::string GetText() const;       // name ::= definition
    // A rule of exactly one nonterminal: the kind a trimmed parse tree skips.
    bool ContainsOneNonTerminal() const;

    int32_t TableIndex;
    const TSymbol* Head; // not owned
    std::vector<const TSymbol*> Symbols;
};

} // namespace tvx
