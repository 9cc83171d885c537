#include "import/c_declared_names.h"

namespace tvx {

namespace {

bool OpensNesting(const TCToken& Token) {
    return Token.Is("(") || Token.Is("[") || Token.Is("{");
}

bool ClosesNesting(const TCToken& Token) {
    return Token.Is(")") || Token.Is("]") || Token.Is("}");
}

bool IsQualifier(const TCToken& Token) {
    return Token.IsWord() &&
           (Token.Text == "const" || Token.Text == "volatile" || Token.Text == "_Atomic");
}

// Gives the names it declares a linkage, or makes them types.
bool NamesNoObject(const TCToken& Token) {
    return Token.IsWord() && (Token.Text == "extern" || Token.Text == "typedef");
}

} // namespace

bool TCDeclaredNames::StartsDeclaration(std::size_t From) const {
    const TCToken& first = Tokens[From];
    if (first.IsKeyword(TCKeyword::Type) || first.IsKeyword(TCKeyword::Storage) ||
        first.IsKeyword(TCKeyword::Tag) || IsQualifier(first)) {
        return true;
    }
    return first.IsName() && From + 1 < Tokens.size() &&
           (Tokens[From + 1].IsName() || Tokens[From + 1].Is("*"));
}

std::size_t TCDeclaredNames::DeclarationEnd(std::size_t From) const {
    // A brace at the outer level may only open an initialiser or the members
    // of a struct, union or enum: any other holds statements, and the text
    // is no declaration.
    std::size_t depth = 0;
    for (std::size_t i = From; i < Tokens.size(); ++i) {
        const TCToken& token = Tokens[i];
        if (depth == 0 && token.Is(";")) {
            return i;
        }
        if (depth == 0 && token.Is("{")) {
            const TCToken& before = Tokens[i - 1];
            const bool members =
                before.IsKeyword(TCKeyword::Tag) ||
                (before.IsName() && i - 1 > From && Tokens[i - 2].IsKeyword(TCKeyword::Tag));
            if (!members && !before.Is("=")) {
                return Tokens.size();
            }
        }
        if (OpensNesting(token)) {
            ++depth;
        } else if (ClosesNesting(token)) {
            if (depth == 0) {
                return Tokens.size();
            }
            --depth;
        }
    }
    return Tokens.size();
}

std::vector<std::string_view> TCDeclaredNames::OfStatement(std::size_t From) const {
    if (From >= Tokens.size() || !StartsDeclaration(From)) {
        return {};
    }
    const std::size_t end = DeclarationEnd(From);
    if (end == Tokens.size()) {
        return {};
    }
    for (std::size_t i = From; i < end && Tokens[i].IsWord(); ++i) {
        if (NamesNoObject(Tokens[i])) {
            return {};
        }
    }
    return OfDeclarators(From, end);
}

std::vector<std::string_view> TCDeclaredNames::OfParameters(std::size_t Open) const {
    const std::size_t close = Partners[Open];
    return close < Tokens.size() ? OfDeclarators(Open + 1, close) : std::vector<std::string_view>();
}

std::vector<std::string_view> TCDeclaredNames::OfDeclarators(std::size_t From,
                                                             std::size_t To) const {
    // The declarators are separated by the commas outside any nesting; the
    // first one follows the specifiers.
    std::vector<std::string_view> names;
    std::size_t depth = 0;
    std::size_t start = From;
    for (std::size_t i = From; i <= To; ++i) {
        if (i == To || (depth == 0 && Tokens[i].Is(","))) {
            const std::string_view name = DeclaratorName(start, i);
            if (!name.empty()) {
                names.push_back(name);
            }
            start = i + 1;
        } else if (OpensNesting(Tokens[i])) {
            ++depth;
        } else if (ClosesNesting(Tokens[i]) && depth > 0) {
            --depth;
        }
    }
    return names;
}

std::string_view TCDeclaredNames::DeclaratorName(std::size_t From, std::size_t To) const {
    // The last name before the initialiser, an array's size or a bit-field's
    // width ("const char *s = ..." declares s); a parenthesised declarator
    // ("(*handler)(int)") holds the name inside. A name before parameters is
    // a function's, which has linkage.
    std::string_view name;
    std::size_t depth = 0;
    for (std::size_t i = From; i < To; ++i) {
        const TCToken& token = Tokens[i];
        if (depth == 0) {
            if (token.Is("(")) {
                const bool nested = i + 1 < To && (Tokens[i + 1].Is("*") ||
                                                   (name.empty() && Tokens[i + 1].Is("(")));
                if (!nested || Partners[i] >= To) {
                    return {};
                }
                name = {};
                To = Partners[i];
                continue; // read on inside the parentheses
            }
            if (token.Is("=") || token.Is("[") || token.Is(":")) {
                break;
            }
            if (token.IsName() && !(i > From && Tokens[i - 1].IsKeyword(TCKeyword::Tag))) {
                name = token.Text;
            }
        }
        if (OpensNesting(token)) {
            ++depth;
        } else if (ClosesNesting(token) && depth > 0) {
            --depth;
        }
    }
    return name;
}

} // namespace tvx
