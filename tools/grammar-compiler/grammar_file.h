#pragma once
// Reads the grammar notation described in grammars/README.md.
#include "diagnostics.h"
#include "grammar_definition.h"

#include <string>

namespace tvx::grammar {

// Fills Grammar from the source text; every problem found is added to Diag
// with its line. The result is usable only when Diag holds no error.
void ReadGrammarText(const std::string& Text, GrammarDefinition& Grammar, Diagnostics& Diag);

} // namespace tvx::grammar
