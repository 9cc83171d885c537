#include "import/c_preprocessor.h"
#include "import/c_condition.h"
#include "import/c_foreign_macros.h"
#include "import/c_macros.h"
#include "import/c_skipped_code.h"
#include "import/c_statement_macros.h"
#include "import/source_nesting_limit.h"
#include <algorithm>
#include <deque>
#include <optional>

namespace tvx {

namespace {

// The bytes macro expansions may make in all (tokens and texts): a few
// times the source, so that only a macro that doubles itself level after
// level runs into it, and the parser never reads much more than the source.
constexpr std::size_t MinExpansionBudget = std::size_t(8) << 20;
constexpr std::size_t ExpansionFactor = 8;

// What a C99 compiler for x86-64 Linux defines, but nothing that names the
// compiler; the text outlives every view into it.
constexpr std::string_view Predefined = R"(
__STDC__ 1
__STDC_VERSION__ 199901L
__STDC_HOSTED__ 1
__STDC_IEC_559__ 1
__STDC_IEC_559_COMPLEX__ 1
__STDC_ISO_10646__ 201706L
__unix__ 1
__unix 1
__linux__ 1
__linux 1
__gnu_linux__ 1
__ELF__ 1
__x86_64__ 1
__x86_64 1
__amd64__ 1
__amd64 1
__LP64__ 1
_LP64 1
__CHAR_BIT__ 8
__SIZEOF_SHORT__ 2
__SIZEOF_INT__ 4
__SIZEOF_LONG__ 8
__SIZEOF_LONG_LONG__ 8
__SIZEOF_INT128__ 16
__SIZEOF_POINTER__ 8
__SIZEOF_FLOAT__ 4
__SIZEOF_DOUBLE__ 8
__SIZEOF_LONG_DOUBLE__ 16
__SIZEOF_SIZE_T__ 8
__SIZEOF_WCHAR_T__ 4
__SIZEOF_WINT_T__ 4
__SIZEOF_PTRDIFF_T__ 8
__ORDER_LITTLE_ENDIAN__ 1234
__ORDER_BIG_ENDIAN__ 4321
__ORDER_PDP_ENDIAN__ 3412
__BYTE_ORDER__ __ORDER_LITTLE_ENDIAN__
__FLOAT_WORD_ORDER__ __ORDER_LITTLE_ENDIAN__
__SCHAR_MAX__ 0x7f
__SHRT_MAX__ 0x7fff
__INT_MAX__ 0x7fffffff
__LONG_MAX__ 0x7fffffffffffffffL
__LONG_LONG_MAX__ 0x7fffffffffffffffLL
__WCHAR_MAX__ 0x7fffffff
__PTRDIFF_MAX__ 0x7fffffffffffffffL
__INTMAX_MAX__ 0x7fffffffffffffffL
)";

struct TConditional {
    std::int32_t Line; // of its #if, #ifdef or #ifndef
    bool ParentActive; // the text around it is kept
    bool Taken;        // a branch was kept already
    bool Active;       // the current branch is kept
    bool SeenElse = false;
    // The undefined names its conditions read so far: what decided which
    // branch is kept.
    std::vector<std::string_view> Undefined;
};

// Appends a token's text with its line splices taken out and returns the
// line breaks it kept (only a comment never closed holds some). A splice
// only joins two lines of the source: a token copied out of a macro's body
// onto the line of its use must not carry the break along, and the lines a
// token at its own place spans are kept by the breaks written before the
// next one.
std::int32_t AppendJoined(std::string& Out, std::string_view Text) {
    if (Text.find_first_of("\\\r\n") == std::string_view::npos) {
        Out += Text;
        return 0;
    }
    std::int32_t breaks = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        const char next = i + 1 < Text.size() ? Text[i + 1] : '\0';
        if (c == '\\' && (next == '\n' || next == '\r')) {
            i += next == '\r' && i + 2 < Text.size() && Text[i + 2] == '\n' ? 2 : 1;
            continue;
        }
        if (c == '\n' || (c == '\r' && next != '\n')) {
            ++breaks;
        }
        Out += c;
    }
    return breaks;
}

class TPreprocessor {
public:
    explicit TPreprocessor(std::string_view Text) : Source(Text) {}

    TCPreprocessed Run() {
        DefinePredefined();
        Tokens = ScanCTokens(Source, LineCount);
        Budget = std::max(MinExpansionBudget, Source.size() * ExpansionFactor);
        TCMacroExpander expander(Macros, Texts, TCMacroExpander::Selective, Budget);
        std::vector<std::span<const TCToken>> args;
        std::vector<TCToken> out;
        out.reserve(Tokens.size());
        std::size_t placed = 0; // the tokens of out that Place has read
        for (std::size_t i = 0; i < Tokens.size() && Result.Error.isEmpty();) {
            for (; placed < out.size(); ++placed) {
                Place.Feed(out[placed]);
            }
            const TCToken& token = Tokens[i];
            if (token.LineStart && token.Is("#")) {
                std::size_t end = i + 1;
                while (end < Tokens.size() && !Tokens[end].LineStart) {
                    ++end;
                }
                Directive(std::span<const TCToken>(Tokens).subspan(i + 1, end - i - 1), token.Line);
                i = end;
                continue;
            }
            // A comment never closed goes to the parser, which reports it.
            if (!Active() && token.Kind != TCTokenKind::Raw) {
                if (Skipped) {
                    Skipped->Feed(token);
                }
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            const bool use = expander.IsUse(Tokens, i, args, end);
            if (use) {
                expander.ExpandUse(*Macros.Find(token.Text), args, token.Line, out);
            }
            if (expander.Failed()) {
                Fail(token.Line, QString::fromStdString(expander.FailureText()));
            }
            if (use) {
                i = end;
                continue;
            }
            out.push_back(token);
            ++i;
        }
        if (Result.Error.isEmpty() && !Conditionals.empty()) {
            Fail(Conditionals.back().Line, QStringLiteral("#if without #endif"));
        }
        if (Result.Error.isEmpty()) {
            EndStatementMacros(out);
            DropForeignMacros(out);
            Render(out);
        }
        return std::move(Result);
    }

private:
    bool Active() const { return Conditionals.empty() || Conditionals.back().Active; }

    void Fail(std::int32_t Line, const QString& What) {
        if (Result.Error.isEmpty()) {
            Result.Error = QStringLiteral("Line %1: Preprocessor Error: %2").arg(Line).arg(What);
            Result.ErrorLine = Line;
        }
    }

    void DefinePredefined() {
        std::int32_t lines = 0;
        const std::vector<TCToken> tokens = ScanCTokens(Predefined, lines);
        for (std::size_t i = 0; i + 1 < tokens.size(); i += 2) {
            Macros.Define({tokens[i].Text, false, false, {}, {tokens[i + 1]}});
        }
    }

    void Directive(std::span<const TCToken> Line, std::int32_t Number) {
        if (Line.empty() || !Line.front().IsWord()) {
            return; // "#" alone, or "# 12 file" line markers
        }
        const std::string_view name = Line.front().Text;
        const std::span<const TCToken> rest = Line.subspan(1);
        if (name == "if" || name == "ifdef" || name == "ifndef") {
            std::vector<std::string_view> undefined;
            const bool value = Active() && Condition(name, rest, Number, undefined);
            Conditionals.push_back({Number, Active(), value, value, false, std::move(undefined)});
            BranchStarts(Conditionals.back());
        } else if (name == "elif" || name == "elifdef" || name == "elifndef") {
            if (TConditional* open = Open(name, Number)) {
                BranchEnds(*open);
                const bool value = open->ParentActive && !open->Taken &&
                                   Condition(name.substr(2), rest, Number, open->Undefined);
                open->Active = value;
                open->Taken = open->Taken || value;
                BranchStarts(*open);
            }
        } else if (name == "else") {
            if (TConditional* open = Open(name, Number)) {
                BranchEnds(*open);
                open->Active = open->ParentActive && !open->Taken;
                open->Taken = true;
                open->SeenElse = true;
                BranchStarts(*open);
            }
        } else if (name == "endif") {
            if (Conditionals.empty()) {
                Fail(Number, QStringLiteral("#endif without #if"));
            } else {
                BranchEnds(Conditionals.back());
                Conditionals.pop_back();
            }
        } else if (!Active()) {
            return;
        } else if (name == "define") {
            Define(rest);
        } else if (name == "undef" && !rest.empty() && rest.front().IsWord()) {
            Macros.Undefine(rest.front().Text);
        }
        // #include, #pragma, #error, #line and the rest change nothing we read.
    }

    // The open conditional an #elif or #else belongs to; null (and the
    // report) when there is none or its #else came already.
    TConditional* Open(std::string_view Name, std::int32_t Line) {
        const QString name = QString::fromUtf8(Name.data(), qsizetype(Name.size()));
        if (Conditionals.empty()) {
            Fail(Line, QStringLiteral("#%1 without #if").arg(name));
            return nullptr;
        }
        if (Conditionals.back().SeenElse) {
            Fail(Line, QStringLiteral("#%1 after #else").arg(name));
            return nullptr;
        }
        return &Conditionals.back();
    }

    // A branch of the innermost conditional begins: the code in it is
    // looked at when it is the outermost one skipped.
    void BranchStarts(const TConditional& Conditional) {
        if (Conditional.ParentActive && !Conditional.Active) {
            Skipped.emplace(Place);
        }
    }

    // Notes the names that decided to skip the branch that ends, when it
    // held code.
    void BranchEnds(const TConditional& Conditional) {
        if (!Conditional.ParentActive || Conditional.Active || !Skipped) {
            return;
        }
        if (Skipped->HeldCode()) {
            for (std::string_view name : Conditional.Undefined) {
                const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()));
                if (!Result.UndefinedNames.contains(text)) {
                    Result.UndefinedNames << text;
                }
            }
        }
        Skipped.reset();
    }

    // "if", "ifdef" or "ifndef" (also from #elif, #elifdef and #elifndef).
    // Undefined receives the names read that no macro defines.
    bool Condition(std::string_view Kind, std::span<const TCToken> Rest, std::int32_t Line,
                   std::vector<std::string_view>& Undefined) {
        if (Kind != "if") {
            const bool name = !Rest.empty() && Rest.front().IsWord();
            const bool defined = name && Macros.Find(Rest.front().Text) != nullptr;
            if (name && !defined) {
                Undefined.push_back(Rest.front().Text);
            }
            return (Kind == "ifdef") == defined;
        }
        std::vector<TCToken> replaced = WithDefinedReplaced(Rest, Undefined);
        std::vector<TCToken> expanded;
        TCMacroExpander expander(Macros, Texts, TCMacroExpander::Everything, Budget);
        expander.ExpandList(replaced, Line, expanded);
        if (expander.Failed()) {
            Fail(Line, QString::fromStdString(expander.FailureText()));
            return false;
        }
        switch (EvaluateCCondition(expanded, &Undefined)) {
        case TCCondition::False:
            return false;
        case TCCondition::TooDeep:
            Fail(Line, ConditionTooDeepText());
            return false;
        default:
            return true;
        }
    }

    // "defined X" and "defined(X)" become 1 or 0 before any expansion;
    // Undefined receives the names that are not defined.
    std::vector<TCToken> WithDefinedReplaced(std::span<const TCToken> Rest,
                                             std::vector<std::string_view>& Undefined) const {
        static constexpr std::string_view one = "1";
        static constexpr std::string_view zero = "0";
        std::vector<TCToken> tokens;
        for (std::size_t i = 0; i < Rest.size(); ++i) {
            if (!Rest[i].IsWord() || Rest[i].Text != "defined") {
                tokens.push_back(Rest[i]);
                continue;
            }
            const bool parenthesised = i + 1 < Rest.size() && Rest[i + 1].Is("(");
            const std::size_t name = i + (parenthesised ? 2 : 1);
            if (name >= Rest.size() || !Rest[name].IsWord()) {
                tokens.push_back(Rest[i]);
                continue;
            }
            TCToken value = Rest[i];
            value.Kind = TCTokenKind::Number;
            const bool defined = Macros.Find(Rest[name].Text) != nullptr;
            value.Text = defined ? one : zero;
            if (!defined) {
                Undefined.push_back(Rest[name].Text);
            }
            tokens.push_back(value);
            i = name + (parenthesised && name + 1 < Rest.size() && Rest[name + 1].Is(")") ? 1 : 0);
        }
        return tokens;
    }

    void Define(std::span<const TCToken> Rest) {
        if (Rest.empty() || !Rest.front().IsWord()) {
            return;
        }
        TCMacro macro;
        macro.Name = Rest.front().Text;
        std::size_t body = 1;
        // A '(' right after the name, without a blank, opens parameters.
        if (Rest.size() > 1 && Rest[1].Is("(") &&
            Rest[0].Text.data() + Rest[0].Text.size() == Rest[1].Text.data()) {
            macro.FunctionLike = true;
            for (body = 2; body < Rest.size() && !Rest[body].Is(")"); ++body) {
                const TCToken& token = Rest[body];
                if (token.Is("...")) {
                    macro.Variadic = true;
                    if (body == 2 || !Rest[body - 1].IsWord()) {
                        macro.Params.emplace_back("__VA_ARGS__");
                    }
                } else if (token.IsWord()) {
                    macro.Params.push_back(token.Text);
                } else if (!token.Is(",")) {
                    return; // not a parameter list we know
                }
            }
            if (body >= Rest.size()) {
                return;
            }
            ++body;
        }
        macro.Body.assign(Rest.begin() + std::ptrdiff_t(body), Rest.end());
        Macros.Define(std::move(macro));
    }

    // Each token on its line; a blank between two tokens that were not
    // written together, so that no two run into one.
    void Render(const std::vector<TCToken>& Out) {
        std::string& text = Result.Text;
        text.reserve(Source.size() + Source.size() / 8);
        std::int32_t line = 1;
        const TCToken* previous = nullptr;
        for (const TCToken& token : Out) {
            if (token.Line > line) {
                for (; line < token.Line; ++line) {
                    text += "\r\n";
                }
                previous = nullptr;
            }
            if (previous != nullptr &&
                previous->Text.data() + previous->Text.size() != token.Text.data()) {
                text += ' ';
            }
            line += AppendJoined(text, token.Text);
            previous = &token;
        }
        for (; line <= LineCount; ++line) {
            text += "\r\n";
        }
    }

    std::string_view Source;
    std::int32_t LineCount = 0;
    std::vector<TCToken> Tokens;
    std::deque<std::string> Texts; // texts of tokens that macros made
    TCMacroTable Macros;
    std::size_t Budget = 0; // bytes the expansions may still make
    std::vector<TConditional> Conditionals;
    TCCodePlace Place;                    // where the text kept so far ends
    std::optional<TCSkippedCode> Skipped; // the outermost branch being skipped
    TCPreprocessed Result;
};

} // namespace

TCPreprocessed PreprocessC(std::string_view Text) {
    return TPreprocessor(Text).Run();
}

} // namespace tvx
