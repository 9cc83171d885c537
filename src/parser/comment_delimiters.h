#pragma once
// What the scanner needs to find the end of a block comment. Inside a block
// comment only the delimiters of its own pair count: its end closes it and,
// where comments nest, its start opens one more level; an apostrophe, a
// delimiter of another pair or anything else is comment text.
//
// The table file does not say which end belongs to which start: the n-th
// comment-start symbol of the symbol table pairs with the n-th comment-end
// symbol, the order in which a grammar declares its pairs ('{' '}', then
// '(*' '*)').
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tvx {

class TSymbol;
struct TGrammarTables;

class TCommentDelimiters {
public:
    // Pairs the delimiters of Tables and marks the DFA rows from which a
    // delimiter of each pair can still be reached. Tables must be prepared.
    void Build(const TGrammarTables& Tables);

    // The pair of a comment-start or comment-end symbol; -1 for any other
    // symbol and for pairs beyond the 32 the scanner tells apart.
    int PairOf(const TSymbol* Symbol) const;

    struct TMatch {
        const TSymbol* Symbol = nullptr; // null: no delimiter begins here
        size_t Length = 1;               // bytes to pass over
    };
    // The longest delimiter of Pair that begins at Text[At] (only its end
    // unless Nested), or a match of no symbol that passes over one byte.
    TMatch Match(const TGrammarTables& Tables, std::string_view Text, size_t At, int Pair,
                 bool Nested) const;

private:
    static constexpr int MaxPairs = 32;
    std::vector<int8_t> Pairs;     // by symbol table index
    std::vector<uint32_t> Reaches; // by DFA row: bit p, a delimiter of pair p lies ahead
};

} // namespace tvx
