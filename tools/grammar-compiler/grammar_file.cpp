#include "grammar_file.h"

#include <cctype>
#include <map>
#include <optional>
#include <set>

namespace tvx::grammar {

Regex Regex::Literal(const std::string& text) {
    std::vector<Regex> chars;
    for (char c : text) {
        CharSet set;
        set.set(static_cast<unsigned char>(c));
        chars.push_back(OneOf(set));
    }
    return chars.size() == 1 ? chars[0] : Of(Concat, std::move(chars));
}

namespace {

struct Token {
    enum Kind { Word, String, Code, Nonterminal, Parameter, Punct };
    Kind kind;
    std::string text; // Punct: the operator itself
    int code = 0;     // Code: the byte value
    int line = 0;
    bool startsLine = false;
    bool indented = false;
};

bool IsWordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class LineTokenizer {
public:
    LineTokenizer(const std::string& line, int number, Diagnostics& diag)
        : Line(line), Number(number), Diag(diag) {}

    bool Run(std::vector<Token>& out) {
        const size_t first = out.size();
        while (SkipBlanks()) {
            if (Line.compare(Pos, 2, "//") == 0) {
                break;
            }
            Token token{Token::Punct, {}, 0, Number};
            if (!Next(token)) {
                return false;
            }
            out.push_back(std::move(token));
        }
        if (out.size() > first) {
            out[first].startsLine = true;
            out[first].indented = !Line.empty() && (Line[0] == ' ' || Line[0] == '\t');
        }
        return true;
    }

private:
    bool SkipBlanks() {
        while (Pos < Line.size() && (Line[Pos] == ' ' || Line[Pos] == '\t')) {
            ++Pos;
        }
        return Pos < Line.size();
    }

    bool Fail(const std::string& text) {
        Diag.Error(Number, text);
        return false;
    }

    bool Next(Token& token) {
        const char c = Line[Pos];
        if (c == '\'' || c == '"') {
            return ReadString(token, c);
        }
        if (c == '#') {
            return ReadCode(token);
        }
        if (c == '<') {
            return ReadNonterminal(token);
        }
        if (c == '@') {
            ++Pos;
            token.kind = Token::Parameter;
            while (Pos < Line.size() && (IsWordChar(Line[Pos]) || Line[Pos] == '-')) {
                token.text += Line[Pos++];
            }
            return !token.text.empty() || Fail("a parameter name must follow '@'");
        }
        if (IsWordStart(c)) {
            token.kind = Token::Word;
            while (Pos < Line.size() && IsWordChar(Line[Pos])) {
                token.text += Line[Pos++];
            }
            return true;
        }
        for (const char* op : {"::=", ".."}) {
            if (Line.compare(Pos, std::char_traits<char>::length(op), op) == 0) {
                token.text = op;
                Pos += token.text.size();
                return true;
            }
        }
        if (std::string("=|+-*?()[]").find(c) != std::string::npos) {
            token.text = std::string(1, c);
            ++Pos;
            return true;
        }
        return Fail(std::string("unexpected character '") + c + "'");
    }

    bool ReadString(Token& token, char quote) {
        const size_t end = Line.find(quote, Pos + 1);
        if (end == std::string::npos) {
            return Fail("text not closed on its line");
        }
        token.kind = Token::String;
        token.text = Line.substr(Pos + 1, end - Pos - 1);
        Pos = end + 1;
        if (token.text.empty()) {
            return Fail("empty text");
        }
        return true;
    }

    bool ReadCode(Token& token) {
        ++Pos;
        int base = 10;
        if (Pos < Line.size() && (Line[Pos] == 'x' || Line[Pos] == 'X')) {
            base = 16;
            ++Pos;
        }
        std::string digits;
        while (Pos < Line.size() && std::isxdigit(static_cast<unsigned char>(Line[Pos])) &&
               (base == 16 || std::isdigit(static_cast<unsigned char>(Line[Pos])))) {
            digits += Line[Pos++];
        }
        if (digits.empty() || digits.size() > 3) {
            return Fail("'#' must be followed by a character code");
        }
        const int value = std::stoi(digits, nullptr, base);
        if (value < 1 || value > 255) {
            return Fail("character codes run from 1 to 255");
        }
        token.kind = Token::Code;
        token.code = value;
        return true;
    }

    bool ReadNonterminal(Token& token) {
        const size_t end = Line.find('>', Pos + 1);
        if (end == std::string::npos) {
            return Fail("'<' without closing '>'");
        }
        std::string name = Line.substr(Pos + 1, end - Pos - 1);
        Pos = end + 1;
        const size_t first = name.find_first_not_of(" \t");
        if (first == std::string::npos) {
            return Fail("empty nonterminal name");
        }
        name = name.substr(first, name.find_last_not_of(" \t") - first + 1);
        token.kind = Token::Nonterminal;
        token.text = name;
        return true;
    }

    const std::string& Line;
    int Number;
    Diagnostics& Diag;
    size_t Pos = 0;
};

// One declaration: the tokens of a line and of the lines that continue it.
using Statement = std::vector<Token>;

std::vector<Statement> SplitStatements(const std::string& text, Diagnostics& diag) {
    std::vector<Token> tokens;
    size_t start = 0;
    int number = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        LineTokenizer(line, ++number, diag).Run(tokens);
        start = end + 1;
    }
    std::vector<Statement> statements;
    for (Token& token : tokens) {
        const bool continues =
            token.startsLine &&
            (token.indented || (token.kind == Token::Punct && token.text == "|"));
        if (token.startsLine && !continues) {
            statements.emplace_back();
        } else if (statements.empty()) {
            diag.Error(token.line, "a continuation line needs a declaration before it");
            statements.emplace_back();
        }
        statements.back().push_back(std::move(token));
    }
    return statements;
}

class StatementParser {
public:
    StatementParser(GrammarDefinition& grammar, Diagnostics& diag) : Grammar(grammar), Diag(diag) {
        CharSet any;
        any.set();
        any.reset(0);
        Sets["any"] = any;
    }

    void Parse(const Statement& statement) {
        Tokens = &statement;
        Pos = 0;
        const Token& first = statement.front();
        bool ok = false;
        if (first.kind == Token::Parameter) {
            ok = ParseParameter();
        } else if (first.kind == Token::Nonterminal) {
            ok = ParseRule();
        } else if (first.kind == Token::Word && first.text == "set") {
            ok = ParseSet();
        } else if (first.kind == Token::Word && first.text == "token") {
            ok = ParseToken();
        } else if (first.kind == Token::Word && first.text == "whitespace") {
            ok = ParseWhitespace();
        } else if (first.kind == Token::Word && first.text == "comment") {
            ok = ParseComment();
        } else {
            ok = Fail("expected a declaration (@parameter, set, token, whitespace, comment) "
                      "or a rule");
        }
        if (ok && Pos < Tokens->size()) {
            Fail("unexpected '" + Describe(Current()) + "'");
        }
    }

    void Finish() {
        for (const auto& [name, line] : ReferencedTokens) {
            if (TokenNames.count(name) == 0) {
                Diag.Error(line, "unknown terminal '" + name + "'");
            }
        }
    }

private:
    // --- token cursor --------------------------------------------------------
    bool AtEnd() const { return Pos >= Tokens->size(); }
    const Token& Current() const { return (*Tokens)[Pos]; }
    int Line() const { return AtEnd() ? Tokens->back().line : Current().line; }
    bool IsPunct(const char* text) const {
        return !AtEnd() && Current().kind == Token::Punct && Current().text == text;
    }
    bool Accept(const char* text) {
        if (IsPunct(text)) {
            ++Pos;
            return true;
        }
        return false;
    }
    bool Expect(const char* text) {
        return Accept(text) || Fail(std::string("expected '") + text + "'");
    }
    bool Fail(const std::string& text) {
        Diag.Error(Line(),
                   AtEnd() && text.rfind("expected", 0) == 0 ? text + " at end of line" : text);
        return false;
    }
    static std::string Describe(const Token& token) {
        switch (token.kind) {
        case Token::Nonterminal:
            return "<" + token.text + ">";
        case Token::Parameter:
            return "@" + token.text;
        case Token::Code:
            return std::string(1, '#').append(std::to_string(token.code));
        default:
            return token.text;
        }
    }

    // --- parameters ----------------------------------------------------------
    bool ParseParameter() {
        const std::string name = Current().text;
        ++Pos;
        static const std::map<std::string, std::string GrammarDefinition::*> texts = {
            {"name", &GrammarDefinition::name},
            {"version", &GrammarDefinition::version},
            {"author", &GrammarDefinition::author},
            {"about", &GrammarDefinition::about}};
        if (auto it = texts.find(name); it != texts.end()) {
            if (AtEnd() || Current().kind != Token::String) {
                return Fail("@" + name + " needs a quoted text");
            }
            Grammar.*(it->second) = Current().text;
            ++Pos;
            return true;
        }
        if (name == "case-sensitive") {
            if (AtEnd() || Current().kind != Token::Word ||
                (Current().text != "true" && Current().text != "false")) {
                return Fail("@case-sensitive needs true or false");
            }
            Grammar.caseSensitive = Current().text == "true";
            ++Pos;
            return true;
        }
        if (name == "start") {
            if (AtEnd() || Current().kind != Token::Nonterminal) {
                return Fail("@start needs a <nonterminal>");
            }
            Grammar.startSymbol = Current().text;
            Grammar.startLine = Current().line;
            ++Pos;
            return true;
        }
        --Pos;
        return Fail("unknown parameter @" + name);
    }

    // --- character sets ------------------------------------------------------
    bool ParseSet() {
        ++Pos;
        if (AtEnd() || Current().kind != Token::Word) {
            return Fail("set needs a name");
        }
        const std::string name = Current().text;
        ++Pos;
        if (Sets.count(name) != 0) {
            --Pos;
            return Fail("set '" + name + "' is defined twice");
        }
        CharSet set;
        if (!Expect("=") || !ParseSetExpression(set)) {
            return false;
        }
        if (set.none()) {
            Diag.Warning(Line(), "set '" + name + "' is empty");
        }
        Sets[name] = set;
        return true;
    }

    bool ParseSetExpression(CharSet& result) {
        if (!ParseSetTerm(result)) {
            return false;
        }
        while (IsPunct("+") || IsPunct("-")) {
            const bool add = Current().text == "+";
            ++Pos;
            CharSet term;
            if (!ParseSetTerm(term)) {
                return false;
            }
            result = add ? (result | term) : (result & ~term);
        }
        return true;
    }

    std::optional<int> SingleChar() {
        if (AtEnd()) {
            return std::nullopt;
        }
        if (Current().kind == Token::Code) {
            return Current().code;
        }
        if (Current().kind == Token::String && Current().text.size() == 1) {
            return static_cast<unsigned char>(Current().text[0]);
        }
        return std::nullopt;
    }

    bool ParseSetTerm(CharSet& result) {
        result.reset();
        if (AtEnd()) {
            return Fail("expected a character set");
        }
        if (Accept("(")) {
            return ParseSetExpression(result) && Expect(")");
        }
        if (Current().kind == Token::Word) {
            auto it = Sets.find(Current().text);
            if (it == Sets.end()) {
                return Fail("unknown set '" + Current().text + "'");
            }
            result = it->second;
            ++Pos;
            return true;
        }
        const std::optional<int> first = SingleChar();
        if (first && Pos + 1 < Tokens->size() && (*Tokens)[Pos + 1].text == ".." &&
            (*Tokens)[Pos + 1].kind == Token::Punct) {
            Pos += 2;
            const std::optional<int> last = SingleChar();
            if (!last) {
                return Fail("a range ends with one character or a #code");
            }
            ++Pos;
            if (*last < *first) {
                return Fail("range runs backwards");
            }
            for (int c = *first; c <= *last; ++c) {
                result.set(static_cast<size_t>(c));
            }
            return true;
        }
        if (Current().kind == Token::Code) {
            result.set(static_cast<size_t>(Current().code));
            ++Pos;
            return true;
        }
        if (Current().kind == Token::String) {
            for (char c : Current().text) {
                result.set(static_cast<unsigned char>(c));
            }
            ++Pos;
            return true;
        }
        return Fail("expected a character set, not '" + Describe(Current()) + "'");
    }

    // --- terminals -----------------------------------------------------------
    bool ParseToken() {
        ++Pos;
        if (AtEnd() || Current().kind != Token::Word) {
            return Fail("token needs a name");
        }
        TerminalDefinition terminal;
        terminal.name = Current().text;
        terminal.line = Current().line;
        ++Pos;
        if (!Expect("=")) {
            return false;
        }
        // A pattern that is one quoted text counts as a literal.
        terminal.literal = Pos + 1 == Tokens->size() && Current().kind == Token::String;
        if (!ParseRegex(terminal.pattern)) {
            return false;
        }
        if (!TokenNames.insert(terminal.name).second) {
            Diag.Error(terminal.line, "token '" + terminal.name + "' is defined twice");
            return true;
        }
        Grammar.terminals.push_back(std::move(terminal));
        return true;
    }

    bool ParseWhitespace() {
        TerminalDefinition terminal;
        terminal.name = "Whitespace";
        terminal.role = TerminalRole::Whitespace;
        terminal.line = Current().line;
        ++Pos;
        if (HaveWhitespace) {
            return Fail("whitespace is defined twice");
        }
        HaveWhitespace = true;
        if (!Expect("=") || !ParseRegex(terminal.pattern)) {
            return false;
        }
        Grammar.terminals.push_back(std::move(terminal));
        return true;
    }

    bool ParseComment() {
        const int line = Current().line;
        ++Pos;
        if (AtEnd() || Current().kind != Token::Word ||
            (Current().text != "block" && Current().text != "line")) {
            return Fail("comment needs 'block' or 'line'");
        }
        const bool block = Current().text == "block";
        ++Pos;
        const TerminalRole roles[2] = {block ? TerminalRole::CommentStart
                                             : TerminalRole::CommentLine,
                                       TerminalRole::CommentEnd};
        for (int i = 0; i < (block ? 2 : 1); ++i) {
            if (AtEnd() || Current().kind != Token::String) {
                return Fail(block ? "comment block needs a quoted start and end"
                                  : "comment line needs a quoted start");
            }
            TerminalDefinition terminal;
            terminal.name = Current().text;
            terminal.role = roles[i];
            terminal.pattern = Regex::Literal(Current().text);
            terminal.literal = true;
            terminal.line = line;
            Grammar.terminals.push_back(std::move(terminal));
            ++Pos;
        }
        return true;
    }

    bool ParseRegex(Regex& result) {
        std::vector<Regex> alternatives(1);
        if (!ParseSequence(alternatives.back())) {
            return false;
        }
        while (Accept("|")) {
            alternatives.emplace_back();
            if (!ParseSequence(alternatives.back())) {
                return false;
            }
        }
        result = alternatives.size() == 1 ? std::move(alternatives[0])
                                          : Regex::Of(Regex::Alternative, std::move(alternatives));
        return true;
    }

    bool StartsAtom() const {
        if (AtEnd()) {
            return false;
        }
        const Token& t = Current();
        return t.kind == Token::String || t.kind == Token::Code || t.kind == Token::Word ||
               (t.kind == Token::Punct && (t.text == "(" || t.text == "["));
    }

    bool ParseSequence(Regex& result) {
        std::vector<Regex> items;
        while (StartsAtom()) {
            items.emplace_back();
            if (!ParsePostfix(items.back())) {
                return false;
            }
        }
        if (items.empty()) {
            return Fail("expected a pattern");
        }
        result =
            items.size() == 1 ? std::move(items[0]) : Regex::Of(Regex::Concat, std::move(items));
        return true;
    }

    bool ParsePostfix(Regex& result) {
        if (!ParseAtom(result)) {
            return false;
        }
        for (;;) {
            Regex::Kind kind;
            if (Accept("*")) {
                kind = Regex::Star;
            } else if (Accept("+")) {
                kind = Regex::Plus;
            } else if (Accept("?")) {
                kind = Regex::Optional;
            } else {
                return true;
            }
            std::vector<Regex> operand;
            operand.push_back(std::move(result));
            result = Regex::Of(kind, std::move(operand));
        }
    }

    bool ParseAtom(Regex& result) {
        if (Accept("(")) {
            return ParseRegex(result) && Expect(")");
        }
        if (Accept("[")) {
            CharSet set;
            if (!ParseSetExpression(set) || !Expect("]")) {
                return false;
            }
            result = Regex::OneOf(set);
            return true;
        }
        const Token& t = Current();
        const bool range = Pos + 1 < Tokens->size() && (*Tokens)[Pos + 1].kind == Token::Punct &&
                           (*Tokens)[Pos + 1].text == "..";
        if (t.kind == Token::String && !range) {
            result = Regex::Literal(t.text);
            ++Pos;
            return true;
        }
        CharSet set;
        if (!ParseSetTerm(set)) {
            return false;
        }
        result = Regex::OneOf(set);
        return true;
    }

    // --- rules ---------------------------------------------------------------
    bool ParseRule() {
        const std::string head = Current().text;
        ++Pos;
        if (!Expect("::=")) {
            return false;
        }
        std::vector<RuleDefinition> alternatives(1);
        alternatives.back().line = Line();
        while (!AtEnd()) {
            const Token& t = Current();
            if (Accept("|")) {
                alternatives.emplace_back();
                alternatives.back().line = t.line;
                continue;
            }
            SymbolReference ref;
            ref.name = t.text;
            if (t.kind == Token::Nonterminal) {
                ref.nonterminal = true;
            } else if (t.kind == Token::Word) {
                ReferencedTokens.emplace(t.text, t.line);
            } else if (t.kind == Token::String) {
                AddKeyword(t.text, t.line);
            } else {
                return Fail("unexpected '" + Describe(t) + "' in a rule");
            }
            alternatives.back().body.push_back(std::move(ref));
            ++Pos;
        }
        for (RuleDefinition& rule : alternatives) {
            rule.head = head;
            Grammar.rules.push_back(std::move(rule));
        }
        return true;
    }

    void AddKeyword(const std::string& text, int line) {
        if (!Keywords.insert(text).second) {
            return;
        }
        TerminalDefinition terminal;
        terminal.name = text;
        terminal.role = TerminalRole::Keyword;
        terminal.pattern = Regex::Literal(text);
        terminal.literal = true;
        terminal.line = line;
        Grammar.terminals.push_back(std::move(terminal));
    }

    GrammarDefinition& Grammar;
    Diagnostics& Diag;
    std::map<std::string, CharSet> Sets;
    std::set<std::string> TokenNames;
    std::set<std::string> Keywords;
    std::multimap<std::string, int> ReferencedTokens;
    bool HaveWhitespace = false;
    const Statement* Tokens = nullptr;
    size_t Pos = 0;
};

} // namespace

void ReadGrammarText(const std::string& Text, GrammarDefinition& Grammar, Diagnostics& Diag) {
    StatementParser parser(Grammar, Diag);
    for (const Statement& statement : SplitStatements(Text, Diag)) {
        parser.Parse(statement);
    }
    parser.Finish();
}

} // namespace tvx::grammar
