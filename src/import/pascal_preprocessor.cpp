#include "import/pascal_preprocessor.h"
#include "import/source_nesting_limit.h"
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

// The end of the lexeme at Text[At] that matters here: a comment, a string,
// a line comment or a word; any other byte stands alone. For a directive
// comment, BodyFrom and BodyTo tell where its text starts (after the '$')
// and ends; for anything else both are 0.
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
        while (IsWordByte(Text[At]) && end < Text.size() && IsWordByte(Text[end])) {
            ++end;
        }
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

// The symbols each {$MODE} defines; the default mode, FPC, defines none.
const std::map<std::string, std::vector<std::string>>& ModeSymbols() {
    static const std::map<std::string, std::vector<std::string>> modes = {
        {"OBJFPC", {"FPC_OBJFPC"}},
        {"DELPHI", {"FPC_DELPHI"}},
        {"DELPHIUNICODE", {"FPC_DELPHI", "FPC_UNICODESTRINGS", "UNICODE"}},
        {"TP", {"FPC_TP"}},
        {"MACPAS", {"FPC_MACPAS"}},
        {"ISO", {"FPC_ISO"}},
        {"EXTENDEDPASCAL", {"FPC_EXTENDEDPASCAL"}},
    };
    return modes;
}

// Expressions of {$IF}: numbers, symbols with a number as value,
// defined(), comparisons, + -, not, and, or. Anything else is unknown.
class TConditionReader {
public:
    // Undefined receives the names defined() and undefined() ask about that
    // are not defined, as written.
    TConditionReader(std::string_view Text, const std::map<std::string, std::string>& Symbols,
                     std::vector<std::string>& Undefined)
        : Symbols(Symbols), Undefined(Undefined) {
        Split(Text);
    }

    std::optional<long long> Read() {
        const std::optional<long long> value = Or();
        return Position == Tokens.size() && !Deep ? value : std::nullopt;
    }
    // Whether the expression nests deeper than kMaxSourceNesting.
    bool TooDeep() const { return Deep; }

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
            Written.push_back(Text.substr(i, n));
            Tokens.push_back(Upper(Written.back()));
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

    // Each parenthesis and each "not" nests a call: a directive that nests
    // deeper than any source writes is refused before the stack runs out.
    struct TNesting {
        explicit TNesting(TConditionReader& Reader) : Reader(Reader) { ++Reader.Depth; }
        ~TNesting() { --Reader.Depth; }
        bool TooDeep() const {
            if (Reader.Depth <= kMaxSourceNesting) {
                return false;
            }
            Reader.Deep = true;
            Reader.Position = Reader.Tokens.size();
            return true;
        }
        TConditionReader& Reader;
    };

    TValue Or() {
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
        if (!Take("NOT")) {
            return Compare();
        }
        const TNesting nesting(*this);
        if (nesting.TooDeep()) {
            return std::nullopt;
        }
        const TValue value = Not();
        return value ? TValue(*value == 0 ? 1 : 0) : std::nullopt;
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
            const TNesting nesting(*this);
            if (nesting.TooDeep()) {
                return std::nullopt;
            }
            const TValue value = Or();
            return Take(")") ? value : std::nullopt;
        }
        if (token == "DEFINED" || token == "UNDEFINED") {
            const bool parenthesised = Take("(");
            if (Position >= Tokens.size()) {
                return std::nullopt;
            }
            const bool defined = Symbols.count(Tokens[Position]) > 0;
            if (!defined) {
                Undefined.emplace_back(Written[Position]);
            }
            ++Position;
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

    const std::map<std::string, std::string>& Symbols;
    std::vector<std::string>& Undefined;
    std::vector<std::string> Tokens;
    std::vector<std::string_view> Written; // the tokens as the text has them
    size_t Position = 0;
    int Depth = 0;
    bool Deep = false;
};

} // namespace

const std::map<std::string, std::string>& TPascalPreprocessor::PredefinedSymbols() {
    // What "fpc -va" reports as defined for a program of the default mode.
    static const std::map<std::string, std::string> symbols = [] {
        std::map<std::string, std::string> all = {{"FPC_VERSION", "3"},
                                                  {"FPC_RELEASE", "2"},
                                                  {"FPC_PATCH", "2"},
                                                  {"FPC_FULLVERSION", "30202"}};
        for (const char* name : {"CONSOLE",
                                 "CPU64",
                                 "CPUAMD64",
                                 "CPUATHLON64",
                                 "CPUINT64",
                                 "CPUX64",
                                 "CPUX86_64",
                                 "CPUX86_HAS_CMOV",
                                 "CPUX86_HAS_SSE2",
                                 "CPUX86_HAS_SSEUNIT",
                                 "ENDIAN_LITTLE",
                                 "FPC",
                                 "FPC_ABI_DEFAULT",
                                 "FPC_DYNARRAYCOPY_FIXED",
                                 "FPC_HAS_CEXTENDED",
                                 "FPC_HAS_CONSTREF",
                                 "FPC_HAS_CPSTRING",
                                 "FPC_HAS_FEATURE_ANSISTRINGS",
                                 "FPC_HAS_FEATURE_CLASSES",
                                 "FPC_HAS_FEATURE_COMMANDARGS",
                                 "FPC_HAS_FEATURE_CONSOLEIO",
                                 "FPC_HAS_FEATURE_DYNARRAYS",
                                 "FPC_HAS_FEATURE_DYNLIBS",
                                 "FPC_HAS_FEATURE_EXCEPTIONS",
                                 "FPC_HAS_FEATURE_EXITCODE",
                                 "FPC_HAS_FEATURE_FILEIO",
                                 "FPC_HAS_FEATURE_HEAP",
                                 "FPC_HAS_FEATURE_INITFINAL",
                                 "FPC_HAS_FEATURE_OBJECTIVEC1",
                                 "FPC_HAS_FEATURE_OBJECTS",
                                 "FPC_HAS_FEATURE_PROCESSES",
                                 "FPC_HAS_FEATURE_RANDOM",
                                 "FPC_HAS_FEATURE_RESOURCES",
                                 "FPC_HAS_FEATURE_RTTI",
                                 "FPC_HAS_FEATURE_SOFTFPU",
                                 "FPC_HAS_FEATURE_STACKCHECK",
                                 "FPC_HAS_FEATURE_SUPPORT",
                                 "FPC_HAS_FEATURE_TEXTIO",
                                 "FPC_HAS_FEATURE_THREADING",
                                 "FPC_HAS_FEATURE_UNICODESTRINGS",
                                 "FPC_HAS_FEATURE_VARIANTS",
                                 "FPC_HAS_FEATURE_WIDESTRINGS",
                                 "FPC_HAS_INDIRECT_ENTRY_INFORMATION",
                                 "FPC_HAS_INTERNAL_ABS_INT64",
                                 "FPC_HAS_INTERNAL_ABS_LONG",
                                 "FPC_HAS_INTERNAL_BSF",
                                 "FPC_HAS_INTERNAL_BSR",
                                 "FPC_HAS_INTERNAL_ROX",
                                 "FPC_HAS_INTERNAL_SAR",
                                 "FPC_HAS_MEMBAR",
                                 "FPC_HAS_OPERATOR_ENUMERATOR",
                                 "FPC_HAS_RESSTRINITS",
                                 "FPC_HAS_RIP_RELATIVE",
                                 "FPC_HAS_TYPE_DOUBLE",
                                 "FPC_HAS_TYPE_EXTENDED",
                                 "FPC_HAS_TYPE_SINGLE",
                                 "FPC_HAS_UNICODESTRING",
                                 "FPC_HAS_WINLIKERESOURCES",
                                 "FPC_LINK_STATIC",
                                 "FPC_LITTLE_ENDIAN",
                                 "FPC_RTTI_PACKSET1",
                                 "FPC_SETBASE_USED",
                                 "FPC_STATICRIPFIXED",
                                 "FPC_VARIANTCOPY_FIXED",
                                 "FPC_WIDESTRING_EQUAL_UNICODESTRING",
                                 "FPUSSE64",
                                 "HASUNIX",
                                 "INTERNAL_BACKTRACE",
                                 "LINUX",
                                 "REGCALL",
                                 "STR_CONCAT_PROCS",
                                 "UNIX",
                                 "VER3",
                                 "VER3_2",
                                 "VER3_2_2"}) {
            all.emplace(name, std::string());
        }
        return all;
    }();
    return symbols;
}

std::string TPascalPreprocessor::Run(std::string Text) {
    Symbols = PredefinedSymbols();
    Branches.clear();
    Includes.clear();
    Undefined.clear();
    Place = {};
    Skipped.reset();
    Line = 1;
    ErrorText.clear();
    ErrorAt = -1;
    Nested = NamesNestingMode(Text);
    size_t at = 0;
    while (at < Text.size() && ErrorAt < 0) {
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
        } else {
            NoteToken(std::string_view(Text).substr(at, end - at));
            if (!Active()) {
                Blank(Text, at, end);
            }
        }
        Line += int(std::count(Text.begin() + std::ptrdiff_t(at),
                               Text.begin() + std::ptrdiff_t(end), '\n'));
        at = end;
    }
    // An unclosed conditional would blank or keep the rest of the file
    // without a word: it is named at its own line.
    if (ErrorAt < 0 && !Branches.empty()) {
        Fail(Branches.back().Line, QStringLiteral("{$%1} without {$ENDIF}")
                                       .arg(QString::fromStdString(Branches.back().Name)));
    }
    return Text;
}

std::string TPascalPreprocessor::Directive(std::string_view Body) {
    std::string_view rest = Body;
    const std::string name = Upper(Word(rest));
    std::vector<std::string> undefined;
    if (name == "IFDEF" || name == "IFNDEF") {
        const std::string_view symbol = Word(rest);
        const bool defined = Symbols.count(Upper(symbol)) > 0;
        if (!defined) {
            undefined.emplace_back(symbol);
        }
        Open(name, defined == (name == "IFDEF"), std::move(undefined));
    } else if (name == "IF") {
        const bool value = Evaluate(rest, undefined).value_or(true);
        Open(name, value, std::move(undefined));
    } else if (name == "IFOPT") {
        Open(name, true, {});
    } else if (name == "ELSEIF") {
        const bool value = Evaluate(rest, undefined).value_or(true);
        Alternative(value, std::move(undefined));
    } else if (name == "ELSE") {
        Alternative(true, {});
    } else if (name == "ENDIF" || name == "IFEND") {
        if (!Branches.empty()) {
            BranchEnds(Branches.back());
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
    } else if (name == "MODE") {
        SetMode(Upper(Word(rest)));
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

void TPascalPreprocessor::Open(const std::string& Name, bool Condition,
                               std::vector<std::string> Names) {
    const bool outer = Active();
    Branches.push_back({outer, outer && Condition, outer && Condition, Line, Name,
                        outer ? std::move(Names) : std::vector<std::string>()});
    BranchStarts(Branches.back());
}

void TPascalPreprocessor::Alternative(bool Condition, std::vector<std::string> Names) {
    if (Branches.empty()) {
        return;
    }
    TBranch& branch = Branches.back();
    BranchEnds(branch);
    // Names that decide nothing, once a branch was read, are not kept.
    if (branch.OuterActive && !branch.Taken) {
        branch.Undefined.insert(branch.Undefined.end(), Names.begin(), Names.end());
    }
    branch.Active = branch.OuterActive && !branch.Taken && Condition;
    branch.Taken = branch.Taken || branch.Active;
    BranchStarts(branch);
}

void TPascalPreprocessor::BranchStarts(const TBranch& Branch) {
    if (Branch.OuterActive && !Branch.Active) {
        Skipped.emplace(Place);
    }
}

void TPascalPreprocessor::BranchEnds(const TBranch& Branch) {
    if (!Branch.OuterActive || Branch.Active || !Skipped) {
        return;
    }
    if (Skipped->HeldCode()) {
        for (const std::string& name : Branch.Undefined) {
            const QString text = QString::fromStdString(name);
            if (!Undefined.contains(text, Qt::CaseInsensitive)) {
                Undefined << text;
            }
        }
    }
    Skipped.reset();
}

void TPascalPreprocessor::NoteToken(std::string_view Lexeme) {
    const bool comment =
        Lexeme.front() == '{' || Lexeme.substr(0, 2) == "(*" || Lexeme.substr(0, 2) == "//";
    if (comment || std::isspace(static_cast<unsigned char>(Lexeme.front())) != 0) {
        return;
    }
    if (Active()) {
        Place.Feed(Lexeme);
    } else if (Skipped) {
        Skipped->Feed(Lexeme);
    }
}

std::optional<bool> TPascalPreprocessor::Evaluate(std::string_view Expression,
                                                  std::vector<std::string>& Names) {
    TConditionReader reader(Expression, Symbols, Names);
    const std::optional<long long> value = reader.Read();
    if (reader.TooDeep()) {
        Fail(Line, ConditionTooDeepText());
    }
    return value ? std::optional<bool>(*value != 0) : std::nullopt;
}

void TPascalPreprocessor::SetMode(const std::string& Name) {
    for (const auto& other : ModeSymbols()) {
        for (const std::string& symbol : other.second) {
            Symbols.erase(symbol);
        }
    }
    const auto mode = ModeSymbols().find(Name);
    if (mode != ModeSymbols().end()) {
        for (const std::string& symbol : mode->second) {
            Symbols[symbol].clear();
        }
    }
}

void TPascalPreprocessor::Fail(int At, const QString& What) {
    if (ErrorAt < 0) {
        ErrorAt = At;
        ErrorText = QStringLiteral("Line %1: Preprocessor Error: %2").arg(At).arg(What);
    }
}

} // namespace tvx
