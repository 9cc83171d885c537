#pragma once
// Macros from headers used as a statement without their ';', the way some
// libraries ask for them ("LIBXML_TEST_VERSION", "Py_BEGIN_ALLOW_THREADS",
// "CHECK(x)" alone on a line). Read as C, such a name runs into the next
// line: "LIBXML_TEST_VERSION doc = f();" would be a declaration of doc and
// both statements would be gone from the chart. So where a statement starts
// in a routine, a name (with its arguments) that ends its line, followed on
// a later line by a word, '}', '*', '++' or '--', is taken as a statement of
// its own and gets the ';' its expansion brings. So is one followed on its
// own line by what reads as a declaration of a name already declared in the
// same block ("xmlDocPtr doc; LIBXML_TEST_VERSION doc = f();"), which C
// would not allow.
#include "import/c_tokens.h"
#include <vector>

namespace tvx {

// Adds the ';' after each such macro in Tokens, the tokens of a whole source
// after its own macros were expanded.
void EndStatementMacros(std::vector<TCToken>& Tokens);

} // namespace tvx
