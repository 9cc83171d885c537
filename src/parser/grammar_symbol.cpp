#include "parser/grammar_symbol.h"

#include "parser/owning_table.h"

#include <cstring>

namespace tvx {

std::string PatternFormat(const std::string& Text) {
    static const char* const Special = "!()*+-<>?[]{|}\"";
    std::string result;
    result.reserve(Text.size() + 2);
    for (char c : Text) {
        if (c == '\'') {
            result += "''";
        } else if (c != '\0' && std::strchr(Special, c) != nullptr) {
            result += '\'';
            result += c;
            result += '\'';
        } else {
            result += c;
        }
    }
    return result;
}

std::string TSymbol::GetText() const {
    switch (Kind) {
    case skNonterminal:
        return "<" + Name + ">";
    case skTerminal:
        return PatternFormat(Name);
    default:
        return "(" + Name + ")";
    }
}

const TSymbol* TRule::GetSymbol(int32_t i) const {
    if (i < 0 || i >= GetSymbolCount()) {
        RaiseIndexError();
    }
    return Symbols[static_cast<size_t>(i)];
}

std::string TRule::GetName() const {
    return "<" + Head->Name + ">";
}

std::string TRule::GetDefinition() const {
    std::string text;
    for (const TSymbol* symbol : Symbols) {
        text += symbol->GetText();
        text += ' ';
    }
    // Blanks and control characters are trimmed from both ends.
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ') {
        ++first;
    }
    size_t last = text.size();
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') {
        --last;
    }
    return text.substr(first, last - first);
}

std::string TRule::GetText() const {
    return GetName() + " ::= " + GetDefinition();
}

bool TRule::ContainsOneNonTerminal() const {
    return Symbols.size() == 1 && Symbols[0]->Kind == skNonterminal;
}

} // namespace tvx
