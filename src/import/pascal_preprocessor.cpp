#include "import/pascal_preprocessor.h"
#include <algorithm>
#include <cctype>
#include <vector>

namespace tvx {

namespace {

bool IsWordByte(char C) {
    const auto c = static_cast<unsigned char>(C);
    return std::isalnum(c) != 0 || c == '_';
}

std::string Upper(std::string_view Text) {
    std::string upper(Text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && std::isspace(static_cast<unsigned char>(Text.front())) != 0) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && std::isspace(static_cast<unsigned char>(Text.back())) != 0) {
        Text.remove_suffix(1);
    }
    return Text;
}

// The leading word of Text, and Text after it.
std::string_view Word(std::string_view& Text) {
    Text = Trimmed(Text);
    size_t n = 0;
    while (n < Text.size() && IsWordByte(Text[n])) {
        ++n;
    }
    const std::string_view word = Text.substr(0, n);
    Text.remove_prefix(n);
    return word;
}

// Where a comment that opened before From ends: after its Close, counting
// nested Opens when comments nest, as the scanner does; the end of the text
// when it never ends.
size_t CommentEnd(const std::string& Text, size_t From, std::string_view Open,
                  std::string_view Close, bool Nested) {
    int level = 1;
    for (size_t i = From; i < Text.size(); ++i) {
        if (Text.compare(i, Close.size(), Close) == 0) {
            if (--level == 0) {
                return i + Close.size();
            }
            i += Close.size() - 1;
        } else if (Nested && Text.compare(i, Open.size(), Open) == 0) {
            ++level;
            i += Open.size() - 1;
        }
    }
    return Text.size();
}

// Whether the first {$MODE} directive of Text names one of Free Pascal's own
// modes, whose comments nest. It is looked for before the text is read:
// where comments end depends on it.
bool NamesNestingMode(const std::string& Text) {
    static const std::string directive = "{$MODE";
    const auto found = std::search(
        Text.begin(), Text.end(), directive.begin(), directive.end(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
    if (found == Text.end()) {
        return false;
    }
    std::string_view rest(&*found + directive.size(),
                          size_t(Text.end() - found) - directive.size());
    const std::string mode = Upper(Word(rest));
    return mode == "OBJFPC" || mode == "FPC";
}

// The end of the lexeme at Text[At] that matters here: a comment, a string
// or a line comment; any other byte stands alone. For a directive comment,
// BodyFrom and BodyTo tell where its text starts (after the '$') and ends;
// for anything else both are 0.
size_t LexemeEnd(const std::string& Text, size_t At, bool Nested, size_t& BodyFrom,
                 size_t& BodyTo) {
    BodyFrom = BodyTo = 0;
    const auto startsWith = [&](std::string_view s) { return Text.compare(At, s.size(), s) == 0; };
    size_t end = At + 1;
    size_t open = 0;
    size_t close = 0;
    if (startsWith("{")) {
        end = CommentEnd(Text, At + 1, "{", "}", Nested);
        open = 1;
        close = 1;
    } else if (startsWith("(*")) {
        end = CommentEnd(Text, At + 2, "(*", "*)", Nested);
        open = 2;
        close = 2;
    } else if (startsWith("//") || startsWith("'")) {
        const char last = Text[At] == '\'' ? '\'' : '\0';
        end = At + 1;
        while (end < Text.size() && Text[end] != '\r' && Text[end] != '\n') {
            if (Text[end++] == last) {
                break;
            }
        }
        return end;
    } else {
        return end;
    }
    const bool closed =
        end - At >= open + close && Text.compare(end - close, close, open == 1 ? "}" : "*)") == 0;
    if (At + open < Text.size() && Text[At + open] == '$' && closed) {
        BodyFrom = At + open + 1;
        BodyTo = end - close;
    }
    return end;
}

// Blanks Text[From, To) but its line breaks, so that every line stays
// where it was.
void Blank(std::string& Text, size_t From, size_t To) {
    for (size_t i = From; i < To; ++i) {
        if (Text[i] != '\r' && Text[i] != '\n') {
            Text[i] = ' ';
        }
    }
}

// Expressions of {$IF}: numbers, symbols with a number as value,
// defined(), comparisons, + -, not, and, or. Anything else is unknown.
class TConditionReader {
public:
    TConditionReader(std::string_view Text, const std::map<std::string, std::string>& Symbols)
        : Symbols(Symbols) {
        Split(Text);
    }

    std::optional<long long> Read() {
        const std::optional<long long> value = Or();
        return Position == Tokens.size() ? value : std::nullopt;
    }

private:
    using TValue = std::optional<long long>;

    void Split(std::string_view Text) {
        size_t i = 0;
        while (i < Text.size()) {
            const char c = Text[i];
            if (std::isspace(static_cast<unsigned char>(c)) != 0) {
                ++i;
                continue;
            }
            size_t n = 1;
            if (IsWordByte(c) || c == '$') {
                while (i + n < Text.size() && IsWordByte(Text[i + n])) {
                    ++n;
                }
            } else if ((c == '<' || c == '>') && i + 1 < Text.size() &&
                       (Text[i + 1] == '=' || Text[i + 1] == '>')) {
                n = 2;
            }
            Tokens.push_back(Upper(Text.substr(i, n)));
            i += n;
        }
    }

    bool Take(const char* Token) {
        if (Position < Tokens.size() && Tokens[Position] == Token) {
            ++Position;
            return true;
        }
        return false;
    }

    // Expressions nest to a bound, so that a directive of a million
    // parentheses cannot exhaust the stack: beyond it nothing is known.
    struct TNesting {
        explicit TNesting(int& Depth) : Depth(++Depth) {}
        ~TNesting() { --Depth; }
        bool TooDeep() const { return Depth > MaxDepth; }
        int& Depth;
    };

    TValue Or() {
        const TNesting nesting(Depth);
        if (nesting.TooDeep()) {
            Position = Tokens.size();
            return std::nullopt;
        }
        TValue value = And();
        while (Take("OR")) {
            const TValue right = And();
            if ((value && *value != 0) || (right && *right != 0)) {
                value = 1;
            } else if (value && right) {
                value = 0;
            } else {
                value.reset();
            }
        }
        return value;
    }

    TValue And() {
        TValue value = Not();
        while (Take("AND")) {
            const TValue right = Not();
            if ((value && *value == 0) || (right && *right == 0)) {
                value = 0;
            } else if (value && right) {
                value = 1;
            } else {
                value.reset();
            }
        }
        return value;
    }

    TValue Not() {
        const TNesting nesting(Depth);
        if (nesting.TooDeep()) {
            Position = Tokens.size();
            return std::nullopt;
        }
        if (Take("NOT")) {
            const TValue value = Not();
            return value ? TValue(*value == 0 ? 1 : 0) : std::nullopt;
        }
        return Compare();
    }

    TValue Compare() {
        const TValue left = Sum();
        static const char* const operators[] = {"=", "<>", "<", ">", "<=", ">="};
        for (const char* op : operators) {
            if (!Take(op)) {
                continue;
            }
            const TValue right = Sum();
            if (!left || !right) {
                return std::nullopt;
            }
            const std::string_view o = op;
            const bool result = o == "="    ? *left == *right
                                : o == "<>" ? *left != *right
                                : o == "<"  ? *left < *right
                                : o == ">"  ? *left > *right
                                : o == "<=" ? *left <= *right
                                            : *left >= *right;
            return result ? 1 : 0;
        }
        return left;
    }

    TValue Sum() {
        TValue value = Primary();
        for (;;) {
            const bool plus = Take("+");
            if (!plus && !Take("-")) {
                return value;
            }
            const TValue right = Primary();
            long long result = 0;
            const bool overflow = value && right &&
                                  (plus ? __builtin_add_overflow(*value, *right, &result)
                                        : __builtin_sub_overflow(*value, *right, &result));
            value = value && right && !overflow ? TValue(result) : std::nullopt;
        }
    }

    TValue Primary() {
        if (Position >= Tokens.size()) {
            return std::nullopt;
        }
        const std::string token = Tokens[Position++];
        if (token == "(") {
            const TValue value = Or();
            return Take(")") ? value : std::nullopt;
        }
        if (token == "DEFINED" || token == "UNDEFINED") {
            const bool parenthesised = Take("(");
            if (Position >= Tokens.size()) {
                return std::nullopt;
            }
            const bool defined = Symbols.count(Tokens[Position++]) > 0;
            if (parenthesised && !Take(")")) {
                return std::nullopt;
            }
            return defined == (token == "DEFINED") ? 1 : 0;
        }
        if (token == "TRUE" || token == "FALSE") {
            return token == "TRUE" ? 1 : 0;
        }
        if (const auto value = Number(token)) {
            return value;
        }
        const auto symbol = Symbols.find(token);
        return symbol != Symbols.end() ? Number(symbol->second) : std::nullopt;
    }

    static TValue Number(const std::string& Text) {
        const bool hex = !Text.empty() && Text[0] == '$';
        // Up to 15 hex digits or 18 decimal ones: every value fits.
        if (Text.size() <= (hex ? 1U : 0U) || Text.size() > (hex ? 16U : 18U)) {
            return std::nullopt;
        }
        long long value = 0;
        for (size_t i = hex ? 1 : 0; i < Text.size(); ++i) {
            const auto c = static_cast<unsigned char>(Text[i]);
            if (hex ? std::isxdigit(c) == 0 : std::isdigit(c) == 0) {
                return std::nullopt;
            }
            value = value * (hex ? 16 : 10) +
                    (std::isdigit(c) != 0 ? c - '0' : std::toupper(c) - 'A' + 10);
        }
        return value;
    }

    static constexpr int MaxDepth = 100;
    const std::map<std::string, std::string>& Symbols;
    std::vector<std::string> Tokens;
    size_t Position = 0;
    int Depth = 0;
};

} // namespace

const std::map<std::string, std::string>& TPascalPreprocessor::PredefinedSymbols() {
    static const std::map<std::string, std::string> symbols = {
        {"FPC", ""},       {"FPC_FULLVERSION", "30202"}, {"UNIX", ""}, {"LINUX", ""}, {"CPU64", ""},
        {"CPUX86_64", ""},
    };
    return symbols;
}

std::string TPascalPreprocessor::Run(std::string Text) {
    Symbols = PredefinedSymbols();
    Branches.clear();
    Includes.clear();
    Nested = NamesNestingMode(Text);
    size_t at = 0;
    while (at < Text.size()) {
        size_t bodyFrom = 0;
        size_t bodyTo = 0;
        const size_t end = LexemeEnd(Text, at, Nested, bodyFrom, bodyTo);
        if (bodyTo > bodyFrom) {
            // {$I %DATE%} stands for a text: a string in its place, as long
            // as the directive (on one line), keeps the expression around it
            // whole.
            const std::string literal =
                Directive(std::string_view(Text).substr(bodyFrom, bodyTo - bodyFrom));
            const auto first = Text.begin() + std::ptrdiff_t(at);
            const auto last = Text.begin() + std::ptrdiff_t(end);
            if (!literal.empty() && literal.size() <= end - at &&
                std::find_if(first, last, [](char c) { return c == '\r' || c == '\n'; }) == last) {
                Text.replace(at, literal.size(), literal);
                Blank(Text, at + literal.size(), end);
            }
        } else if (!Active()) {
            Blank(Text, at, end);
        }
        at = end;
    }
    return Text;
}

std::string TPascalPreprocessor::Directive(std::string_view Body) {
    std::string_view rest = Body;
    const std::string name = Upper(Word(rest));
    if (name == "IFDEF" || name == "IFNDEF") {
        const bool defined = Symbols.count(Upper(Word(rest))) > 0;
        Open(defined == (name == "IFDEF"));
    } else if (name == "IF") {
        Open(Evaluate(rest).value_or(true));
    } else if (name == "IFOPT") {
        Open(true);
    } else if (name == "ELSEIF") {
        Alternative(Evaluate(rest).value_or(true));
    } else if (name == "ELSE") {
        Alternative(true);
    } else if (name == "ENDIF" || name == "IFEND") {
        if (!Branches.empty()) {
            Branches.pop_back();
        }
    } else if (!Active()) {
        return {};
    } else if (name == "DEFINE") {
        const std::string symbol = Upper(Word(rest));
        rest = Trimmed(rest);
        if (rest.substr(0, 2) == ":=") {
            rest = Trimmed(rest.substr(2));
        }
        Symbols[symbol] = std::string(rest);
    } else if (name == "UNDEF") {
        Symbols.erase(Upper(Word(rest)));
    } else if ((name == "I" || name == "INCLUDE") && !rest.empty() &&
               (name == "INCLUDE" || std::isspace(static_cast<unsigned char>(rest[0])) != 0)) {
        std::string_view file = Trimmed(rest);
        if (file.size() > 2 && file.front() == '%' && file.back() == '%' &&
            std::all_of(file.begin() + 1, file.end() - 1, IsWordByte)) {
            return "'" + std::string(file) + "'";
        }
        if (file.size() >= 2 && file.front() == '\'' && file.back() == '\'') {
            file = file.substr(1, file.size() - 2);
        }
        if (!file.empty()) {
            Includes << QString::fromUtf8(file.data(), qsizetype(file.size()));
        }
    }
    return {};
}

void TPascalPreprocessor::Open(bool Condition) {
    const bool outer = Active();
    Branches.push_back({outer, outer && Condition, outer && Condition});
}

void TPascalPreprocessor::Alternative(std::optional<bool> Condition) {
    if (Branches.empty()) {
        return;
    }
    TBranch& branch = Branches.back();
    branch.Active = branch.OuterActive && !branch.Taken && Condition.value_or(true);
    branch.Taken = branch.Taken || branch.Active;
}

std::optional<bool> TPascalPreprocessor::Evaluate(std::string_view Expression) const {
    const std::optional<long long> value = TConditionReader(Expression, Symbols).Read();
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
}

} // namespace tvx
