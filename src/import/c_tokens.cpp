#include "import/c_tokens.h"
#include <array>

namespace tvx {

namespace {

bool IsWordStart(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_' || C == '$';
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsWordChar(char C) {
    return IsWordStart(C) || IsDigit(C);
}

// Punctuators of more than one character, longest first.
constexpr std::array<std::string_view, 23> LongPuncts = {
    "...", "<<=", ">>=", "->", "++", "--", "<<", ">>", "<=", ">=", "==", "!=",
    "&&",  "||",  "*=",  "/=", "%=", "+=", "-=", "&=", "^=", "|=", "##",
};

class TScanner {
public:
    explicit TScanner(std::string_view Text) : Text(Text) {}

    // The token at the very start of the text.
    TCTokenKind First(std::size_t& Length) {
        const TCTokenKind kind = ScanOne();
        Length = Pos;
        return kind;
    }

    std::vector<TCToken> Run(std::int32_t& LineCount) {
        std::vector<TCToken> tokens;
        tokens.reserve(Text.size() / 4);
        while (SkipSpace()) {
            const std::size_t start = Pos;
            TCToken token;
            token.Line = Line;
            token.LineStart = AtLineStart;
            token.Kind = ScanOne();
            token.Text = Text.substr(start, Pos - start);
            if (token.Kind == TCTokenKind::Word) {
                token.Keyword = CKeywordOf(token.Text);
            }
            AtLineStart = false;
            if (token.Kind == TCTokenKind::Word && IsIncludeWord(tokens, token)) {
                tokens.push_back(token);
                ScanHeaderName(tokens);
                continue;
            }
            tokens.push_back(token);
        }
        LineCount = Line - 1;
        return tokens;
    }

private:
    char At(std::size_t I) const { return I < Text.size() ? Text[I] : '\0'; }

    // The length of a line break at I (CR LF counts as one), 0 if none.
    std::size_t BreakAt(std::size_t I) const {
        const char c = At(I);
        if (c == '\r') {
            return At(I + 1) == '\n' ? 2 : 1;
        }
        return c == '\n' ? 1 : 0;
    }

    // The length of a line splice at I: a backslash and a line break.
    std::size_t SpliceAt(std::size_t I) const {
        if (At(I) != '\\') {
            return 0;
        }
        const std::size_t length = BreakAt(I + 1);
        return length > 0 ? length + 1 : 0;
    }

    // Skips blanks, line breaks, splices and comments; false at the end of
    // the text. A comment never closed becomes a Raw token of the rest.
    bool SkipSpace() {
        while (Pos < Text.size()) {
            const char c = Text[Pos];
            if (std::size_t length = BreakAt(Pos)) {
                Pos += length;
                ++Line;
                AtLineStart = true;
            } else if (std::size_t splice = SpliceAt(Pos)) {
                Pos += splice;
                ++Line;
            } else if (c == ' ' || c == '\t' || c == '\v' || c == '\f') {
                ++Pos;
            } else if (c == '/' && At(Pos + 1) == '/') {
                SkipLineComment();
            } else if (c == '/' && At(Pos + 1) == '*') {
                if (!SkipBlockComment()) {
                    return true; // the Raw token starts here
                }
            } else {
                return true;
            }
        }
        return false;
    }

    void SkipLineComment() {
        // A splice continues the comment on the next line.
        while (Pos < Text.size() && BreakAt(Pos) == 0) {
            if (std::size_t splice = SpliceAt(Pos)) {
                Pos += splice;
                ++Line;
            } else {
                ++Pos;
            }
        }
    }

    bool SkipBlockComment() {
        const std::size_t end = Text.find("*/", Pos + 2);
        if (end == std::string_view::npos) {
            return false;
        }
        // A comment stands for one blank: a directive goes on after it,
        // and a '#' after it is not at the start of a line.
        CountBreaks(Pos, end);
        Pos = end + 2;
        return true;
    }

    TCTokenKind ScanOne() {
        const char c = Text[Pos];
        if (c == '/' && At(Pos + 1) == '*') {
            CountBreaks(Pos, Text.size());
            Pos = Text.size();
            return TCTokenKind::Raw;
        }
        if (IsWordStart(c)) {
            while (IsWordChar(At(Pos))) {
                ++Pos;
            }
            if ((At(Pos) == '"' || At(Pos) == '\'') && IsLiteralPrefix()) {
                return ScanLiteral(At(Pos));
            }
            return TCTokenKind::Word;
        }
        if (IsDigit(c) || (c == '.' && IsDigit(At(Pos + 1)))) {
            ScanNumber();
            return TCTokenKind::Number;
        }
        if (c == '"' || c == '\'') {
            return ScanLiteral(c);
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            // One run of non-ASCII bytes: a character the parser reports.
            while (static_cast<unsigned char>(At(Pos)) >= 0x80) {
                ++Pos;
            }
            return TCTokenKind::Other;
        }
        if (std::string_view("<>=!&|+-*/%^.#").find(c) != std::string_view::npos) {
            for (std::string_view punct : LongPuncts) {
                if (punct.front() == c && Text.substr(Pos, punct.size()) == punct) {
                    Pos += punct.size();
                    return TCTokenKind::Punct;
                }
            }
        }
        ++Pos;
        return std::string_view("{}[]()<>;:,.?!~+-*/%&|^=#").find(c) != std::string_view::npos
                   ? TCTokenKind::Punct
                   : TCTokenKind::Other;
    }

    bool IsLiteralPrefix() const {
        // L, u, U and u8 written right before a quote.
        std::size_t start = Pos;
        while (start > 0 && IsWordChar(Text[start - 1])) {
            --start;
        }
        const std::string_view word = Text.substr(start, Pos - start);
        return word == "L" || word == "u" || word == "U" || word == "u8";
    }

    void ScanNumber() {
        while (Pos < Text.size()) {
            const char c = Text[Pos];
            if ((c == '+' || c == '-') && Pos > 0 &&
                std::string_view("eEpP").find(Text[Pos - 1]) != std::string_view::npos) {
                ++Pos;
            } else if (IsWordChar(c) || c == '.') {
                ++Pos;
            } else {
                return;
            }
        }
    }

    // A literal runs to its closing quote; escapes and splices are kept. One
    // that meets the end of its line is not a literal: the parser reports it.
    TCTokenKind ScanLiteral(char Quote) {
        ++Pos;
        while (Pos < Text.size()) {
            const char c = Text[Pos];
            if (c == Quote) {
                ++Pos;
                return TCTokenKind::Literal;
            }
            if (std::size_t splice = SpliceAt(Pos)) {
                Pos += splice;
                ++Line;
            } else if (BreakAt(Pos) != 0) {
                return TCTokenKind::Other;
            } else if (c == '\\' && Pos + 1 < Text.size()) {
                Pos += 2;
            } else {
                ++Pos;
            }
        }
        return TCTokenKind::Other;
    }

    void CountBreaks(std::size_t From, std::size_t To) {
        for (std::size_t i = From; i < To; ++i) {
            if (const std::size_t length = BreakAt(i)) {
                ++Line;
                i += length - 1;
            }
        }
    }

    // "#include" (and its kin) before a header name in angle brackets.
    static bool IsIncludeWord(const std::vector<TCToken>& Tokens, const TCToken& Word) {
        return !Tokens.empty() && Tokens.back().LineStart && Tokens.back().Is("#") &&
               (Word.Text == "include" || Word.Text == "include_next" || Word.Text == "import");
    }

    // <a/*b.h> is a header name, not the start of a comment.
    void ScanHeaderName(std::vector<TCToken>& Tokens) {
        while (At(Pos) == ' ' || At(Pos) == '\t') {
            ++Pos;
        }
        if (At(Pos) != '<') {
            return;
        }
        const std::size_t start = Pos;
        while (Pos < Text.size() && At(Pos) != '>' && BreakAt(Pos) == 0) {
            ++Pos;
        }
        if (At(Pos) == '>') {
            ++Pos;
        }
        TCToken name;
        name.Text = Text.substr(start, Pos - start);
        name.Line = Line;
        Tokens.push_back(name);
    }

    std::string_view Text;
    std::size_t Pos = 0;
    std::int32_t Line = 1;
    bool AtLineStart = true;
};

} // namespace

std::vector<TCToken> ScanCTokens(std::string_view Text, std::int32_t& LineCount) {
    return TScanner(Text).Run(LineCount);
}

TCTokenKind FirstCToken(std::string_view Text, std::size_t& Length) {
    Length = 0;
    return Text.empty() ? TCTokenKind::Other : TScanner(Text).First(Length);
}

TCTokenKind KindOfText(std::string_view Text) {
    if (Text.empty()) {
        return TCTokenKind::Placemarker;
    }
    if (IsWordStart(Text.front())) {
        return Text.back() == '"' || Text.back() == '\'' ? TCTokenKind::Literal : TCTokenKind::Word;
    }
    if (IsDigit(Text.front()) || Text.front() == '.') {
        return Text.size() > 1 || IsDigit(Text.front()) ? TCTokenKind::Number : TCTokenKind::Punct;
    }
    if (Text.front() == '"' || Text.front() == '\'') {
        return TCTokenKind::Literal;
    }
    return TCTokenKind::Punct;
}

std::vector<std::size_t> MatchParentheses(const std::vector<TCToken>& Tokens) {
    std::vector<std::size_t> partners(Tokens.size(), Tokens.size());
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < Tokens.size(); ++i) {
        if (Tokens[i].Is("(")) {
            open.push_back(i);
        } else if (Tokens[i].Is(")") && !open.empty()) {
            partners[open.back()] = i;
            partners[i] = open.back();
            open.pop_back();
        }
    }
    return partners;
}

} // namespace tvx
