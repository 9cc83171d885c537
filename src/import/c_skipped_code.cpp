#include "import/c_skipped_code.h"
#include <array>
#include <string_view>

namespace tvx {

namespace {

bool IsStatementKeyword(const TCToken& Token) {
    static constexpr std::array<std::string_view, 12> words = {
        "if",     "else", "while",    "for",   "do",   "switch",
        "return", "goto", "continue", "break", "case", "default",
    };
    if (!Token.IsWord()) {
        return false;
    }
    for (std::string_view word : words) {
        if (Token.Text == word) {
            return true;
        }
    }
    return false;
}

// "int", "static", "struct", "const": a declaration starts.
bool StartsDeclaration(const TCToken& Token) {
    return Token.IsKeyword(TCKeyword::Type) || Token.IsKeyword(TCKeyword::Storage) ||
           Token.IsKeyword(TCKeyword::Tag) ||
           (Token.IsWord() && (Token.Text == "const" || Token.Text == "volatile"));
}

} // namespace

void TCCodePlace::Feed(const TCToken& Token) {
    if (Token.Is("{")) {
        Braces.push_back(InFunction() || AfterParen);
    } else if (Token.Is("}")) {
        if (!Braces.empty()) {
            Braces.pop_back();
        } else if (Outer != nullptr) {
            ++Closed;
        }
    }
    AfterParen = Token.Is(")");
}

bool TCCodePlace::InFunctionOutside(std::size_t Levels) const {
    if (Levels < Braces.size()) {
        return Braces[Braces.size() - 1 - Levels];
    }
    return Outer != nullptr && Outer->InFunctionOutside(Levels - Braces.size() + Closed);
}

void TCSkippedCode::Feed(const TCToken& Token) {
    if (Held) {
        return;
    }
    if (!Place.InFunction()) {
        Held = Token.Is("{") && Place.AfterParenthesis(); // a function's body
    } else if (IsStatementKeyword(Token)) {
        Held = true;
    } else if (Token.Is(";") || Token.Is("{") || Token.Is("}")) {
        // An expression statement; "T name;" and "T *name;" declare.
        Held = Token.Is(";") && RunLength > 0 && !Declares;
        RunLength = 0;
    } else {
        if (RunLength == 0) {
            FirstIsName = Token.IsName();
            Declares = StartsDeclaration(Token);
        } else if (RunLength == 1 && FirstIsName) {
            Declares = Token.IsName() || Token.Is("*");
        }
        ++RunLength;
    }
    Place.Feed(Token);
}

} // namespace tvx
