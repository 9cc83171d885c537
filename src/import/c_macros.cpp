#include "import/c_macros.h"
#include "import/source_nesting_limit.h"
#include <algorithm>
#include <optional>

namespace tvx {

namespace {

// The deepest chain of macros naming macros that a reading is worked out
// for; deeper chains are expanded.
constexpr int MaxReadingDepth = 32;

bool Opens(const TCToken& Token) {
    return Token.Is("(") || Token.Is("[") || Token.Is("{");
}

bool Closes(const TCToken& Token) {
    return Token.Is(")") || Token.Is("]") || Token.Is("}");
}

// The index of the token that closes the bracket at Open, or Tokens.size().
std::size_t MatchOf(std::span<const TCToken> Tokens, std::size_t Open) {
    int depth = 0;
    for (std::size_t i = Open; i < Tokens.size(); ++i) {
        if (Opens(Tokens[i])) {
            ++depth;
        } else if (Closes(Tokens[i]) && --depth == 0) {
            return i;
        }
    }
    return Tokens.size();
}

bool Balanced(std::span<const TCToken> Tokens) {
    std::vector<char> open;
    for (const TCToken& token : Tokens) {
        if (Opens(token)) {
            open.push_back(token.Text.front());
        } else if (Closes(token)) {
            const char expected = token.Is(")") ? '(' : token.Is("]") ? '[' : '{';
            if (open.empty() || open.back() != expected) {
                return false;
            }
            open.pop_back();
        }
    }
    return open.empty();
}

// "{ ... }" or "do { ... } while (...)": a statement that reads like a call
// followed by ';'.
bool IsStatementShaped(std::span<const TCToken> Body) {
    if (Body.front().Is("{")) {
        return MatchOf(Body, 0) == Body.size() - 1;
    }
    if (!Body.front().IsWord() || Body.front().Text != "do" || Body.size() < 5 ||
        !Body[1].Is("{")) {
        return false;
    }
    const std::size_t close = MatchOf(Body, 1);
    return close + 2 < Body.size() && Body[close + 1].Text == "while" && Body[close + 2].Is("(") &&
           MatchOf(Body, close + 2) == Body.size() - 1;
}

int ParamIndex(const TCMacro& Macro, const TCToken& Token) {
    if (!Macro.FunctionLike || !Token.IsWord()) {
        return -1;
    }
    const auto found = std::find(Macro.Params.begin(), Macro.Params.end(), Token.Text);
    return found == Macro.Params.end() ? -1 : int(found - Macro.Params.begin());
}

bool Adjacent(const TCToken& Left, const TCToken& Right) {
    return Left.Text.data() + Left.Text.size() == Right.Text.data();
}

// Whether Text reads as exactly one token of Kind (any kind a source may
// hold, when none is asked for). A text that reads otherwise could run into
// its neighbours or open a comment in the text the parser reads.
bool ReadsAsOneToken(std::string_view Text, std::optional<TCTokenKind> Kind = std::nullopt) {
    std::size_t length = 0;
    const TCTokenKind kind = FirstCToken(Text, length);
    if (length != Text.size()) {
        return false;
    }
    return Kind ? kind == *Kind : kind != TCTokenKind::Other && kind != TCTokenKind::Raw;
}

std::string Quoted(std::string_view Text) {
    return '"' + std::string(Text) + '"';
}

} // namespace

void TCMacroTable::Define(TCMacro Macro) {
    Readings.clear();
    for (TCToken& token : Macro.Body) {
        token.LineStart = false;
    }
    const std::string_view name = Macro.Name;
    Macros.insert_or_assign(name, std::move(Macro));
}

void TCMacroTable::Undefine(std::string_view Name) {
    Readings.clear();
    Macros.erase(Name);
}

const TCMacro* TCMacroTable::Find(std::string_view Name) const {
    if (Macros.empty()) {
        return nullptr;
    }
    const auto found = Macros.find(Name);
    return found != Macros.end() ? &found->second : nullptr;
}

TCMacroReading TCMacroTable::ReadingOf(const TCMacro& Macro) const {
    return ReadingOf(Macro, 0);
}

TCMacroReading TCMacroTable::ReadingOf(const TCMacro& Macro, int Depth) const {
    const auto known = Readings.find(&Macro);
    if (known != Readings.end()) {
        return known->second;
    }
    // Macros that name each other read as expressions until shown otherwise.
    Readings.emplace(&Macro, TCMacroReading::Expression);
    const TCMacroReading reading = Classify(Macro, Depth);
    Readings[&Macro] = reading;
    return reading;
}

TCMacroReading TCMacroTable::Classify(const TCMacro& Macro, int Depth) const {
    // A use reads like its expansion when the body is an expression: outside
    // brackets it holds no keyword that types or statements start with, no
    // parameter (which might hold anything), no ';' and no two operands in a
    // row. Within brackets anything goes: "((T *)(p))" is an expression.
    const std::span<const TCToken> body = Macro.Body;
    if (Depth > MaxReadingDepth || body.empty() || CKeywordOf(Macro.Name) != TCKeyword::None ||
        !Balanced(body)) {
        return TCMacroReading::Other;
    }
    if (IsStatementShaped(body)) {
        return TCMacroReading::Statement;
    }
    int depth = 0;
    bool afterOperand = false;
    for (const TCToken& token : body) {
        if (Opens(token)) {
            if (depth == 0 && token.Is("{")) {
                return TCMacroReading::Other;
            }
            ++depth;
            afterOperand = false;
            continue;
        }
        if (Closes(token)) {
            --depth;
            afterOperand = false; // "(T) x" is a cast
            continue;
        }
        if (depth > 0) {
            continue;
        }
        switch (token.Kind) {
        case TCTokenKind::Word: {
            if (token.Keyword != TCKeyword::None && token.Keyword != TCKeyword::Expression) {
                return TCMacroReading::Other;
            }
            const TCMacro* inner = Find(token.Text);
            if (afterOperand || ParamIndex(Macro, token) >= 0 ||
                (inner != nullptr && inner != &Macro &&
                 ReadingOf(*inner, Depth + 1) != TCMacroReading::Expression)) {
                return TCMacroReading::Other;
            }
            afterOperand = true;
            break;
        }
        case TCTokenKind::Number:
            if (afterOperand) {
                return TCMacroReading::Other;
            }
            afterOperand = true;
            break;
        case TCTokenKind::Literal:
            // Strings join their neighbours: "a" PRId64 "b".
            if (afterOperand && token.Text.back() == '\'') {
                return TCMacroReading::Other;
            }
            afterOperand = token.Text.back() == '\'';
            break;
        case TCTokenKind::Punct:
            if (token.Is(";") || token.Is("#") || token.Is("##")) {
                return TCMacroReading::Other;
            }
            afterOperand = false;
            break;
        default:
            return TCMacroReading::Other;
        }
    }
    return TCMacroReading::Expression;
}

bool CollectMacroArgs(std::span<const TCToken> Tokens, std::size_t Open, const TCMacro& Macro,
                      std::vector<std::span<const TCToken>>& Args, std::size_t& End) {
    Args.clear();
    const std::size_t splits = Macro.Variadic ? Macro.Params.size() - 1 : SIZE_MAX;
    int depth = 0;
    std::size_t start = Open + 1;
    for (std::size_t i = Open; i < Tokens.size(); ++i) {
        const TCToken& token = Tokens[i];
        End = i + 1;
        if (token.LineStart && token.Is("#")) {
            return false; // a directive inside the arguments: not a use
        }
        if (token.Is("(")) {
            ++depth;
        } else if (token.Is(")") && --depth == 0) {
            Args.push_back(Tokens.subspan(start, i - start));
            End = i + 1;
            // "f()" passes one empty argument, which a macro without
            // parameters takes as none.
            if (Macro.Params.empty() && Args.size() == 1 && Args.front().empty()) {
                Args.clear();
            }
            if (Macro.Variadic && Args.size() + 1 == Macro.Params.size()) {
                Args.emplace_back();
            }
            return Args.size() == Macro.Params.size();
        } else if (token.Is(",") && depth == 1 && Args.size() < splits) {
            Args.push_back(Tokens.subspan(start, i - start));
            start = i + 1;
        }
    }
    return false;
}

TCMacroExpander::TCMacroExpander(const TCMacroTable& Macros, std::deque<std::string>& Texts,
                                 TMode Mode, std::size_t& Budget)
    : Macros(Macros), Texts(Texts), Mode(Mode), Budget(Budget) {}

bool TCMacroExpander::Active(const TCMacro* Macro) const {
    return std::find(Expanding.begin(), Expanding.end(), Macro) != Expanding.end();
}

void TCMacroExpander::Fail(std::string Text) {
    if (Failure.empty()) {
        Failure = std::move(Text);
    }
}

bool TCMacroExpander::Spend(std::size_t Bytes) {
    if (Bytes > Budget) {
        Budget = 0;
        Fail("the expansion of " + std::string(Outermost) + " is too large");
        return false;
    }
    Budget -= Bytes;
    return true;
}

bool TCMacroExpander::IsUse(std::span<const TCToken> Tokens, std::size_t I,
                            std::vector<std::span<const TCToken>>& Args, std::size_t& End) {
    const TCToken& token = Tokens[I];
    if (!token.IsWord() || token.NoExpand) {
        return false;
    }
    const TCMacro* macro = Macros.Find(token.Text);
    if (macro == nullptr || Active(macro)) {
        return false;
    }
    const TCMacroReading reading =
        Mode == Everything ? TCMacroReading::Other : Macros.ReadingOf(*macro);
    if (reading == TCMacroReading::Expression) {
        return false; // left as written, arguments and all
    }
    if (Uses == 0) {
        Outermost = macro->Name;
    }
    End = I + 1;
    if (macro->FunctionLike) {
        if (End >= Tokens.size() || !Tokens[End].Is("(")) {
            return false;
        }
        const bool call = CollectMacroArgs(Tokens, End, *macro, Args, End);
        if (!Spend((End - I) * TokenCost) || !call) {
            return false;
        }
    }
    // A statement macro reads as a call when its ';' follows.
    return reading == TCMacroReading::Other || End >= Tokens.size() || !Tokens[End].Is(";");
}

void TCMacroExpander::ExpandUse(const TCMacro& Macro,
                                const std::vector<std::span<const TCToken>>& Args,
                                std::int32_t Line, std::vector<TCToken>& Out) {
    ++Uses;
    const std::vector<TCToken> body = Substitute(Macro, Args, Line);
    Expanding.push_back(&Macro);
    ExpandList(body, Line, Out);
    Expanding.pop_back();
    --Uses;
}

void TCMacroExpander::ExpandList(std::span<const TCToken> In, std::int32_t Line,
                                 std::vector<TCToken>& Out) {
    // Expansions in expansions and arguments in arguments nest the calls.
    if (Nesting >= std::size_t(kMaxSourceNesting)) {
        Fail("the expansion of " + std::string(Outermost) + " nests deeper than " +
             std::to_string(kMaxSourceNesting) + " levels");
        return;
    }
    ++Nesting;
    ExpandEach(In, Line, Out);
    --Nesting;
}

void TCMacroExpander::ExpandEach(std::span<const TCToken> In, std::int32_t Line,
                                 std::vector<TCToken>& Out) {
    std::vector<std::span<const TCToken>> args;
    for (std::size_t i = 0; i < In.size() && !Failed();) {
        std::size_t end = i + 1;
        if (IsUse(In, i, args, end)) {
            // The arguments are views of In, which outlives the call.
            ExpandUse(*Macros.Find(In[i].Text), args, Line, Out);
            i = end;
            continue;
        }
        // Tokens an expansion writes are paid for; those of a list handed
        // in are the caller's.
        if (Uses > 0 && !Spend(TokenCost + In[i].Text.size())) {
            return;
        }
        TCToken token = In[i];
        token.Line = Line;
        token.LineStart = false;
        const TCMacro* macro = token.IsWord() ? Macros.Find(token.Text) : nullptr;
        token.NoExpand = token.NoExpand || (macro != nullptr && Active(macro));
        Out.push_back(token);
        ++i;
    }
}

std::vector<TCToken> TCMacroExpander::Substitute(const TCMacro& Macro,
                                                 const std::vector<std::span<const TCToken>>& Args,
                                                 std::int32_t Line) {
    const std::vector<TCToken>& body = Macro.Body;
    std::vector<TCToken> out;
    out.reserve(body.size());
    bool pasted = false;
    const int variadic = Macro.Variadic ? int(Macro.Params.size()) - 1 : -1;
    for (std::size_t k = 0; k < body.size() && !Failed(); ++k) {
        const TCToken& token = body[k];
        if (token.Is("#") && k + 1 < body.size() && ParamIndex(Macro, body[k + 1]) >= 0) {
            out.push_back(Stringized(Macro, Args[size_t(ParamIndex(Macro, body[k + 1]))], Line));
            ++k;
            continue;
        }
        // ", ## __VA_ARGS__" pastes nothing when there are arguments: the
        // comma stays before them.
        if (token.Is("##") && k > 0 && body[k - 1].Is(",") && k + 1 < body.size() &&
            variadic >= 0 && ParamIndex(Macro, body[k + 1]) == variadic &&
            !Args[size_t(variadic)].empty()) {
            continue;
        }
        const int param = ParamIndex(Macro, token);
        if (param < 0) {
            pasted = pasted || token.Is("##");
            out.push_back(token);
            out.back().Line = Line;
            continue;
        }
        const std::span<const TCToken> arg = Args[size_t(param)];
        const bool besidePaste =
            (k > 0 && body[k - 1].Is("##")) || (k + 1 < body.size() && body[k + 1].Is("##"));
        if (!besidePaste) {
            ExpandList(arg, Line, out);
        } else if (arg.empty()) {
            TCToken mark;
            mark.Kind = TCTokenKind::Placemarker;
            mark.Line = Line;
            out.push_back(mark);
        } else {
            for (TCToken piece : arg) {
                piece.Line = Line;
                piece.LineStart = false;
                out.push_back(piece);
            }
        }
    }
    if (pasted && !Failed()) {
        Paste(Macro, out, Line);
    }
    std::erase_if(out, [](const TCToken& t) { return t.Kind == TCTokenKind::Placemarker; });
    return out;
}

void TCMacroExpander::Paste(const TCMacro& Macro, std::vector<TCToken>& Tokens, std::int32_t Line) {
    std::vector<TCToken> result;
    result.reserve(Tokens.size());
    for (std::size_t i = 0; i < Tokens.size() && !Failed(); ++i) {
        if (!Tokens[i].Is("##") || result.empty() || i + 1 >= Tokens.size()) {
            result.push_back(Tokens[i]);
            continue;
        }
        const TCToken right = Tokens[++i];
        TCToken& left = result.back();
        if (left.Kind == TCTokenKind::Placemarker) {
            left = right;
        } else if (right.Kind == TCTokenKind::Placemarker) {
            if (left.Is(",")) {
                result.pop_back(); // ", ## __VA_ARGS__" drops its comma when empty
            }
        } else if (Spend(left.Text.size() + right.Text.size())) {
            std::string text = std::string(left.Text) + std::string(right.Text);
            if (!ReadsAsOneToken(text)) {
                Fail("pasting " + Quoted(left.Text) + " and " + Quoted(right.Text) + " in " +
                     std::string(Macro.Name) + " gives no valid token");
                break;
            }
            left = Made(std::move(text), Line);
        }
    }
    Tokens = std::move(result);
}

TCToken TCMacroExpander::Stringized(const TCMacro& Macro, std::span<const TCToken> Arg,
                                    std::int32_t Line) {
    const auto escaped = [](const TCToken& Token, char C) {
        return Token.Kind == TCTokenKind::Literal && (C == '"' || C == '\\');
    };
    // The size first: the text is paid for before it is made.
    std::size_t size = 2;
    for (std::size_t i = 0; i < Arg.size(); ++i) {
        size += Arg[i].Text.size() + (i > 0 && !Adjacent(Arg[i - 1], Arg[i]) ? 1 : 0);
        for (char c : Arg[i].Text) {
            size += escaped(Arg[i], c) ? 1 : 0;
        }
    }
    if (!Spend(size)) {
        return {};
    }
    std::string text = "\"";
    text.reserve(size);
    for (std::size_t i = 0; i < Arg.size(); ++i) {
        if (i > 0 && !Adjacent(Arg[i - 1], Arg[i])) {
            text += ' ';
        }
        for (char c : Arg[i].Text) {
            if (escaped(Arg[i], c)) {
                text += '\\';
            }
            text += c;
        }
    }
    text += '"';
    if (!ReadsAsOneToken(text, TCTokenKind::Literal)) {
        Fail("'#' in " + std::string(Macro.Name) + " gives no valid string");
        return {};
    }
    return Made(std::move(text), Line);
}

TCToken TCMacroExpander::Made(std::string Text, std::int32_t Line) {
    Texts.push_back(std::move(Text));
    TCToken token;
    token.Text = Texts.back();
    token.Line = Line;
    token.Kind = KindOfText(token.Text);
    if (token.Kind == TCTokenKind::Word) {
        token.Keyword = CKeywordOf(token.Text);
    }
    return token;
}

} // namespace tvx
