#pragma once
// LALR(1) action tables: the LR(0) automaton with look-ahead sets computed
// by the relations of DeRemer and Pennello.
#include "diagnostics.h"

#include <string>
#include <vector>

namespace tvx::grammar {

struct LalrGrammar {
    struct Rule {
        int head = 0;
        std::vector<int> body;
        int line = 0;
    };
    std::vector<std::string> symbolNames; // display names, by symbol index
    std::vector<bool> terminal;           // by symbol index
    int endSymbol = 0;
    int startSymbol = 0;
    std::vector<Rule> rules;
};

enum LalrActionCode { actShift = 1, actReduce = 2, actGoto = 3, actAccept = 4 };

struct LalrAction {
    int symbol;
    int action; // LalrActionCode
    int value;  // target state, or rule index for a reduction
};

struct LalrTables {
    // The actions of every state in the order of their symbols; state 0 is
    // the initial state. Accepting is the action on the end symbol in the
    // state reached by the start symbol, so the automaton has one state
    // fewer than one that shifts the end symbol first.
    std::vector<std::vector<LalrAction>> states;
};

// Every shift-reduce and reduce-reduce conflict is reported with its state
// and rules; the result is valid only when Diag holds no error.
LalrTables BuildLalr(const LalrGrammar& Grammar, Diagnostics& Diag);

} // namespace tvx::grammar
