#pragma once
// Compiles a grammar source into the compiled grammar table file the parser
// engine loads.
#include "lalr_builder.h"
#include "scanner_builder.h"

#include <string>
#include <vector>

namespace tvx::grammar {

enum SymbolKind {
    kindNonterminal = 0,
    kindTerminal = 1,
    kindWhitespace = 2,
    kindEnd = 3,
    kindCommentStart = 4,
    kindCommentEnd = 5,
    kindCommentLine = 6,
    kindError = 7,
};

struct CompiledSymbol {
    std::string name;
    SymbolKind kind;
};

struct CompiledGrammar {
    std::string name;
    std::string version;
    std::string author;
    std::string about;
    bool caseSensitive = false;
    int startSymbol = 0;
    std::vector<CompiledSymbol> symbols; // 0 is the end symbol, 1 the error symbol
    std::vector<LalrGrammar::Rule> rules;
    ScannerTables scanner;
    LalrTables parser;
};

struct CompileResult {
    bool ok = false;
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    CompiledGrammar grammar;
    std::string tableFile; // the bytes of the table file when ok
};

CompileResult CompileGrammar(const std::string& Source, const std::string& FileName);

// The table file layout: a header string, then one record per parameter set,
// counts, initial states, symbol, character set, rule, DFA state and LALR
// state. Fails (with errors in Diag) when a number does not fit the format.
std::string WriteTableFile(const CompiledGrammar& Grammar, Diagnostics& Diag);

} // namespace tvx::grammar
