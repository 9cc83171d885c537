#pragma once
// The tokens the C preprocessing reads: words, numbers, string and character
// literals, punctuators and single stray bytes, each with the line it
// starts on. Comments and line splices (a backslash before a line break)
// are dropped here, so that no '/*' inside a string and no '"' inside a
// comment is ever mistaken for anything else.
#include "import/c_keywords.h"
#include <cstdint>
#include <string_view>
#include <vector>

namespace tvx {

enum class TCTokenKind : std::uint8_t {
    Word,        // identifier or keyword
    Number,      // everything the preprocessor reads as one number
    Literal,     // string or character literal, with its prefix
    Punct,       // punctuator
    Other,       // a byte that starts no token, or a literal not closed on its line
    Raw,         // a comment never closed: the rest of the text, left for the parser
    Placemarker, // an empty macro argument beside '##' (expansion only)
};

struct TCToken {
    std::string_view Text;
    std::int32_t Line = 0; // 1-based line of its first character
    TCTokenKind Kind = TCTokenKind::Other;
    TCKeyword Keyword = TCKeyword::None; // of a word
    bool LineStart = false;              // the first token of its line: where '#' opens a directive
    bool NoExpand = false;               // a macro name met inside its own expansion

    bool Is(std::string_view Punct) const {
        if (Kind != TCTokenKind::Punct || Text.size() != Punct.size()) {
            return false;
        }
        for (std::size_t i = 0; i < Punct.size(); ++i) {
            if (Text[i] != Punct[i]) {
                return false;
            }
        }
        return true;
    }
    bool IsWord() const { return Kind == TCTokenKind::Word; }
    // A word that is no keyword.
    bool IsName() const { return Kind == TCTokenKind::Word && Keyword == TCKeyword::None; }
    bool IsKeyword(TCKeyword Class) const { return Kind == TCTokenKind::Word && Keyword == Class; }
};

// The tokens of Text (UTF-8; CR LF, LF and CR end a line). Views point into
// Text. LineCount receives the number of line breaks in Text.
std::vector<TCToken> ScanCTokens(std::string_view Text, std::int32_t& LineCount);

// The kind of the token that starts Text[0] (no blank before it), and its
// length; a comment opener gives Raw.
TCTokenKind FirstCToken(std::string_view Text, std::size_t& Length);

// The kind of a token made by pasting texts together ("a" ## "1" is a word).
TCTokenKind KindOfText(std::string_view Text);

// Of each '(' in Tokens the index of its ')', and of each ')' the index of
// its '('; Tokens.size() for every other token and for one never matched.
std::vector<std::size_t> MatchParentheses(const std::vector<TCToken>& Tokens);

} // namespace tvx
