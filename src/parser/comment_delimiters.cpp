#include "parser/comment_delimiters.h"
#include "parser/grammar_tables.h"

namespace tvx {

void TCommentDelimiters::Build(const TGrammarTables& Tables) {
    const int32_t symbols = Tables.SymbolTable.GetCount();
    Pairs.assign(static_cast<size_t>(symbols), -1);
    int starts = 0;
    int ends = 0;
    for (int32_t i = 0; i < symbols; ++i) {
        const TSymbol* symbol = Tables.SymbolTable.Find(i);
        if (symbol == nullptr) {
            continue;
        }
        int* rank = symbol->Kind == skCommentStart ? &starts
                    : symbol->Kind == skCommentEnd ? &ends
                                                   : nullptr;
        if (rank != nullptr) {
            if (*rank < MaxPairs) {
                Pairs[static_cast<size_t>(i)] = static_cast<int8_t>(*rank);
            }
            ++*rank;
        }
    }
    // A row reaches a pair when it accepts one of its delimiters or moves to
    // a row that reaches it: spread backwards until nothing changes.
    const size_t rows = Tables.DFAMoves.size();
    Reaches.assign(rows, 0);
    for (size_t r = 0; r < rows; ++r) {
        const int pair = PairOf(Tables.DFAAccept[r]);
        if (pair >= 0) {
            Reaches[r] = uint32_t{1} << pair;
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t r = 0; r < rows; ++r) {
            uint32_t reach = Reaches[r];
            for (const int32_t target : Tables.DFAMoves[r]) {
                if (target >= 0) {
                    reach |= Reaches[static_cast<size_t>(target)];
                }
            }
            if (reach != Reaches[r]) {
                Reaches[r] = reach;
                changed = true;
            }
        }
    }
}

int TCommentDelimiters::PairOf(const TSymbol* Symbol) const {
    if (Symbol == nullptr || Symbol->TableIndex < 0 ||
        static_cast<size_t>(Symbol->TableIndex) >= Pairs.size()) {
        return -1;
    }
    return Pairs[static_cast<size_t>(Symbol->TableIndex)];
}

TCommentDelimiters::TMatch TCommentDelimiters::Match(const TGrammarTables& Tables,
                                                     std::string_view Text, size_t At, int Pair,
                                                     bool Nested) const {
    TMatch match;
    if (Pair < 0 || Tables.DFAInitRow < 0) {
        return match;
    }
    // The DFA runs only as long as a delimiter of the pair still lies ahead,
    // so a comment costs a few steps per byte, whatever it holds.
    const uint32_t bit = uint32_t{1} << Pair;
    int32_t row = Tables.DFAInitRow;
    for (size_t n = At; n < Text.size(); ++n) {
        row = Tables.DFAMoves[static_cast<size_t>(row)][static_cast<unsigned char>(Text[n])];
        if (row < 0 || (Reaches[static_cast<size_t>(row)] & bit) == 0) {
            break;
        }
        const TSymbol* accept = Tables.DFAAccept[static_cast<size_t>(row)];
        if (accept != nullptr && PairOf(accept) == Pair &&
            (accept->Kind == skCommentEnd || Nested)) {
            match = {accept, n - At + 1};
        }
    }
    return match;
}

} // namespace tvx
