#pragma once
// Macros from headers the import does not read, found by where real code
// puts them: places where plain C could not hold a name of its own. Each
// such word (with its arguments) is dropped from the text the parser reads;
// nothing that C without macros can mean is touched.
//   - a name right before a type keyword, a storage class or struct, union
//     or enum: "UNUSED int argc", "static MY_CONST char s[]";
//   - names in a row after a type keyword: "void FASTCALL f(void)" (all
//     but the declared name), and between a type name and the declared
//     name: "LRESULT CALLBACK f(...)", "gpointer G_GNUC_UNUSED data";
//   - at file level, a name (with or without arguments) between a
//     declarator's ')' and its ';' or body: "void f(void) NAKED;";
//   - at file level, a macro call where a declaration starts, with or
//     without its ';': "CHECK_TYPE (sqrt, double, (double));", a lone
//     "END_CASE" before the next declaration or the end of the file.
#include "import/c_tokens.h"
#include <vector>

namespace tvx {

// Removes the words of macros from headers from Tokens, the tokens of a
// whole source after its own macros were expanded.
void DropForeignMacros(std::vector<TCToken>& Tokens);

} // namespace tvx
