#include "import/c_condition.h"
#include <cstdint>

namespace tvx {

namespace {

// Operators of two operands by precedence, weakest first; '?:' is apart.
int PrecedenceOf(const TCToken& Token) {
    if (Token.Kind != TCTokenKind::Punct) {
        return 0;
    }
    static constexpr std::pair<std::string_view, int> table[] = {
        {"||", 1}, {"&&", 2}, {"|", 3}, {"^", 4},  {"&", 5},  {"==", 6},
        {"!=", 6}, {"<", 7},  {">", 7}, {"<=", 7}, {">=", 7}, {"<<", 8},
        {">>", 8}, {"+", 9},  {"-", 9}, {"*", 10}, {"/", 10}, {"%", 10},
    };
    for (const auto& [text, precedence] : table) {
        if (Token.Text == text) {
            return precedence;
        }
    }
    return 0;
}

int DigitValue(char C) {
    if (C >= '0' && C <= '9') {
        return C - '0';
    }
    if (C >= 'a' && C <= 'f') {
        return C - 'a' + 10;
    }
    if (C >= 'A' && C <= 'F') {
        return C - 'A' + 10;
    }
    return 99;
}

class TEvaluator {
public:
    explicit TEvaluator(std::span<const TCToken> Tokens) : Tokens(Tokens) {}

    std::optional<bool> Run() {
        const std::int64_t value = Conditional();
        if (Failed || Pos != Tokens.size()) {
            return std::nullopt;
        }
        return value != 0;
    }

private:
    bool At(std::string_view Punct) const { return Pos < Tokens.size() && Tokens[Pos].Is(Punct); }

    bool Take(std::string_view Punct) {
        if (!At(Punct)) {
            return false;
        }
        ++Pos;
        return true;
    }

    std::int64_t Fail() {
        Failed = true;
        return 0;
    }

    std::int64_t Conditional() {
        const std::int64_t condition = Binary(1);
        if (!Take("?")) {
            return condition;
        }
        Unused += int(condition == 0);
        const std::int64_t yes = Conditional();
        Unused -= int(condition == 0);
        if (!Take(":")) {
            return Fail();
        }
        Unused += int(condition != 0);
        const std::int64_t no = Conditional();
        Unused -= int(condition != 0);
        return condition != 0 ? yes : no;
    }

    std::int64_t Binary(int MinPrecedence) {
        std::int64_t left = Unary();
        while (!Failed && Pos < Tokens.size()) {
            const int precedence = PrecedenceOf(Tokens[Pos]);
            if (precedence < MinPrecedence || precedence == 0) {
                break;
            }
            const std::string_view op = Tokens[Pos++].Text;
            // The operand that "&&" and "||" do not need is read, not judged.
            const bool unused = (op == "&&" && left == 0) || (op == "||" && left != 0);
            Unused += int(unused);
            const std::int64_t right = Binary(precedence + 1);
            Unused -= int(unused);
            left = Apply(op, left, right);
        }
        return left;
    }

    std::int64_t Apply(std::string_view Op, std::int64_t L, std::int64_t R) {
        // Wrapping arithmetic, as the unsigned types of a compiler do.
        const auto ul = static_cast<std::uint64_t>(L);
        const auto ur = static_cast<std::uint64_t>(R);
        if (Op == "+")
            return static_cast<std::int64_t>(ul + ur);
        if (Op == "-")
            return static_cast<std::int64_t>(ul - ur);
        if (Op == "*")
            return static_cast<std::int64_t>(ul * ur);
        if (Op == "/" || Op == "%") {
            if (R == 0 || (L == INT64_MIN && R == -1)) {
                return Unused > 0 ? 0 : Fail();
            }
            return Op == "/" ? L / R : L % R;
        }
        if (Op == "<<")
            return static_cast<std::int64_t>(ul << (ur & 63));
        if (Op == ">>")
            return L >> (ur & 63);
        if (Op == "<")
            return L < R;
        if (Op == ">")
            return L > R;
        if (Op == "<=")
            return L <= R;
        if (Op == ">=")
            return L >= R;
        if (Op == "==")
            return L == R;
        if (Op == "!=")
            return L != R;
        if (Op == "&")
            return L & R;
        if (Op == "^")
            return L ^ R;
        if (Op == "|")
            return L | R;
        if (Op == "&&")
            return L != 0 && R != 0;
        return L != 0 || R != 0; // "||"
    }

    std::int64_t Unary() {
        // Each prefix operator and parenthesis nests a call: a line that
        // nests thousands is refused before the stack runs out.
        const TNesting nesting(Depth);
        if (Pos >= Tokens.size() || Depth > MaxDepth) {
            return Fail();
        }
        if (Take("-"))
            return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(Unary()));
        if (Take("+"))
            return Unary();
        if (Take("~"))
            return ~Unary();
        if (Take("!"))
            return Unary() == 0;
        if (Take("(")) {
            const std::int64_t value = Conditional();
            return Take(")") ? value : Fail();
        }
        const TCToken& token = Tokens[Pos++];
        switch (token.Kind) {
        case TCTokenKind::Number:
            return Number(token.Text);
        case TCTokenKind::Literal:
            return Character(token.Text);
        case TCTokenKind::Word:
            if (At("(")) {
                SkipParentheses();
            }
            return 0;
        default:
            return Fail();
        }
    }

    void SkipParentheses() {
        int depth = 0;
        for (; Pos < Tokens.size(); ++Pos) {
            if (Tokens[Pos].Is("(")) {
                ++depth;
            } else if (Tokens[Pos].Is(")") && --depth == 0) {
                ++Pos;
                return;
            }
        }
        Fail();
    }

    std::int64_t Number(std::string_view Text) {
        while (!Text.empty() &&
               std::string_view("uUlL").find(Text.back()) != std::string_view::npos) {
            Text.remove_suffix(1);
        }
        unsigned base = 10;
        if (Text.size() > 1 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
            base = 16;
            Text.remove_prefix(2);
        } else if (Text.size() > 1 && Text[0] == '0' && (Text[1] == 'b' || Text[1] == 'B')) {
            base = 2;
            Text.remove_prefix(2);
        } else if (Text.size() > 1 && Text[0] == '0') {
            base = 8;
        }
        if (Text.empty()) {
            return Fail();
        }
        std::uint64_t value = 0;
        for (char c : Text) {
            const int digit = DigitValue(c);
            if (digit >= int(base)) {
                return Fail(); // a floating number or a stray letter
            }
            value = value * base + unsigned(digit);
        }
        return static_cast<std::int64_t>(value);
    }

    std::int64_t Character(std::string_view Text) {
        const std::size_t open = Text.find('\'');
        if (open == std::string_view::npos || Text.size() < open + 3) {
            return Fail();
        }
        Text = Text.substr(open + 1, Text.size() - open - 2);
        std::int64_t value = 0;
        for (std::size_t i = 0; i < Text.size();) {
            value = (value << 8) | Escaped(Text, i);
        }
        return value;
    }

    static std::int64_t Escaped(std::string_view Text, std::size_t& I) {
        if (Text[I] != '\\' || I + 1 >= Text.size()) {
            return static_cast<unsigned char>(Text[I++]);
        }
        const char c = Text[I + 1];
        I += 2;
        switch (c) {
        case 'n':
            return '\n';
        case 't':
            return '\t';
        case 'r':
            return '\r';
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'v':
            return '\v';
        case 'x': {
            std::int64_t value = 0;
            while (I < Text.size() && DigitValue(Text[I]) < 16) {
                value = value * 16 + DigitValue(Text[I++]);
            }
            return value & 0xFF;
        }
        default:
            if (c >= '0' && c <= '7') {
                std::int64_t value = c - '0';
                for (int n = 0; n < 2 && I < Text.size() && Text[I] >= '0' && Text[I] <= '7'; ++n) {
                    value = value * 8 + (Text[I++] - '0');
                }
                return value & 0xFF;
            }
            return static_cast<unsigned char>(c);
        }
    }

    std::span<const TCToken> Tokens;
    static constexpr std::size_t MaxDepth = 1000;

    struct TNesting {
        explicit TNesting(std::size_t& Counter) : Depth(++Counter) {}
        ~TNesting() { --Depth; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;
        std::size_t& Depth;
    };

    std::size_t Pos = 0;
    std::size_t Depth = 0;
    int Unused = 0; // inside operands whose value is not used
    bool Failed = false;
};

} // namespace

std::optional<bool> EvaluateCCondition(std::span<const TCToken> Tokens) {
    return TEvaluator(Tokens).Run();
}

} // namespace tvx
