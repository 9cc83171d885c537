#pragma once
// Builds the scanner DFA of a grammar from the patterns of its terminals.
#include "diagnostics.h"
#include "grammar_definition.h"

#include <string>
#include <vector>

namespace tvx::grammar {

struct ScannerTerminal {
    int symbol = 0;                 // index in the symbol table
    const Regex* pattern = nullptr; // not owned
    bool literal = false;           // a fixed text: wins over general patterns
    std::string name;
    int line = 0;
};

struct DfaEdge {
    int charSet = 0; // index into ScannerTables::charSets
    int target = 0;
};

struct DfaState {
    int accept = -1; // symbol index, -1 when the state accepts nothing
    std::vector<DfaEdge> edges;
};

struct ScannerTables {
    std::vector<std::string> charSets; // member bytes in ascending order
    std::vector<DfaState> states;      // state 0 is the initial state
};

// NFA from the patterns, then a DFA by subset construction over a partition of
// the bytes into classes that no pattern tells apart. Without case
// sensitivity, ASCII letters are folded to capitals (the scanner folds the
// text the same way). Two terminals of equal standing that accept the same
// text are reported as ambiguous; the result is valid only without errors.
ScannerTables BuildScanner(const std::vector<ScannerTerminal>& Terminals, bool CaseSensitive,
                           Diagnostics& Diag);

} // namespace tvx::grammar
