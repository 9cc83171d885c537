#pragma once
// The names a C declaration inside a routine brings into its block, read
// from the tokens alone: "int a, *b = 2, c[3];" declares a, b and c, and
// "(int argc, char **argv)" heading a routine declares argc and argv in its
// outermost block. Only names without linkage count, the ones C forbids to
// declare twice in a block: an extern or typedef declaration and a
// function's prototype declare none here. What is unsure declares nothing.
#include "import/c_tokens.h"
#include <string_view>
#include <vector>

namespace tvx {

class TCDeclaredNames {
public:
    // Partners: of each parenthesis in Tokens the other (MatchParentheses).
    TCDeclaredNames(const std::vector<TCToken>& Tokens, const std::vector<std::size_t>& Partners)
        : Tokens(Tokens), Partners(Partners) {}

    // The names declared by the statement that starts at From, in order;
    // none when it is no declaration.
    std::vector<std::string_view> OfStatement(std::size_t From) const;

    // The names of the parameters in the list that opens at the '(' at Open.
    std::vector<std::string_view> OfParameters(std::size_t Open) const;

private:
    bool StartsDeclaration(std::size_t From) const;
    std::size_t DeclarationEnd(std::size_t From) const;
    std::vector<std::string_view> OfDeclarators(std::size_t From, std::size_t To) const;
    std::string_view DeclaratorName(std::size_t From, std::size_t To) const;

    const std::vector<TCToken>& Tokens;
    const std::vector<std::size_t>& Partners;
};

} // namespace tvx
