#pragma once
// A grammar as read from its source file, before any table is built.
#include <bitset>
#include <string>
#include <vector>

namespace tvx::grammar {

// A set of bytes; byte 0 never belongs to one (it ends strings in the
// table file).
using CharSet = std::bitset<256>;

// A regular expression over character sets.
struct Regex {
    enum Kind { Chars, Concat, Alternative, Star, Plus, Optional };
    Kind kind = Chars;
    CharSet chars;               // Chars: one character out of this set
    std::vector<Regex> children; // the operands of every other kind

    static Regex OneOf(const CharSet& set) {
        Regex r;
        r.chars = set;
        return r;
    }
    static Regex Literal(const std::string& text);
    static Regex Of(Kind kind, std::vector<Regex> children) {
        Regex r;
        r.kind = kind;
        r.children = std::move(children);
        return r;
    }
};

enum class TerminalRole { Token, Keyword, Whitespace, CommentStart, CommentEnd, CommentLine };

struct TerminalDefinition {
    std::string name;
    TerminalRole role = TerminalRole::Token;
    Regex pattern;
    // A pattern that is one fixed text. Such a terminal wins over a general
    // one that matches the same text (a keyword over an identifier).
    bool literal = false;
    int line = 0;
};

struct SymbolReference {
    bool nonterminal = false;
    std::string name; // nonterminal or terminal name (a keyword's text)
};

struct RuleDefinition {
    std::string head;
    std::vector<SymbolReference> body;
    int line = 0;
};

struct GrammarDefinition {
    std::string name;
    std::string version;
    std::string author;
    std::string about;
    bool caseSensitive = false;
    std::string startSymbol; // empty: the head of the first rule
    int startLine = 0;
    std::vector<TerminalDefinition> terminals; // every terminal but EOF and Error
    std::vector<RuleDefinition> rules;
};

} // namespace tvx::grammar
