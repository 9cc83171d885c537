#include "import/c_condition.h"
#include "import/source_nesting_limit.h"
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
    TEvaluator(std::span<const TCToken> Tokens, std::vector<std::string_view>* Names)
        : Tokens(Tokens), Names(Names) {}

    TCCondition Run() {
        const std::int64_t value = Conditional();
        if (Deep) {
            return TCCondition::TooDeep;
        }
        if (Failed || Pos != Tokens.size()) {
            return TCCondition::Unknown;
        }
        return value != 0 ? TCCondition::True : TCCondition::False;
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

    // Each "?:" and each parenthesis nests a call for both its sides.
    std::int64_t Conditional() {
        const TLevel level(*this);
        if (Deep) {
            return 0;
        }
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
        if (Pos >= Tokens.size()) {
            return Fail();
        }
        if (At("-") || At("+") || At("~") || At("!")) {
            // A chain of prefix operators nests a call for each.
            const TLevel level(*this);
            if (Deep) {
                return 0;
            }
            const char op = Tokens[Pos++].Text.front();
            const std::int64_t value = Unary();
            switch (op) {
            case '-':
                return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(value));
            case '~':
                return ~value;
            case '!':
                return value == 0;
            default:
                return value;
            }
        }
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
            if (Names != nullptr && Unused == 0) {
                Names->push_back(token.Text);
            }
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

    // One level of nesting while it lives; past the limit the evaluation
    // stops and the line is refused.
    class TLevel {
    public:
        explicit TLevel(TEvaluator& Evaluator) : Evaluator(Evaluator) {
            if (++Evaluator.Depth > std::size_t(kMaxSourceNesting)) {
                Evaluator.Deep = true;
                Evaluator.Failed = true;
            }
        }
        ~TLevel() { --Evaluator.Depth; }
        TLevel(const TLevel&) = delete;
        TLevel& operator=(const TLevel&) = delete;

    private:
        TEvaluator& Evaluator;
    };

    std::span<const TCToken> Tokens;
    std::vector<std::string_view>* Names;
    std::size_t Pos = 0;
    std::size_t Depth = 0;
    int Unused = 0; // inside operands whose value is not used
    bool Failed = false;
    bool Deep = false;
};

} // namespace

TCCondition EvaluateCCondition(std::span<const TCToken> Tokens,
                               std::vector<std::string_view>* Names) {
    return TEvaluator(Tokens, Names).Run();
}

} // namespace tvx
