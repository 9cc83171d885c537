#pragma once
// The macros a C source defines for itself, and their expansion: object-like
// and function-like macros, '#' and '##', variadic arguments, and rescanning
// with a macro never expanded inside its own expansion.
#include "import/c_tokens.h"
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tvx {

struct TCMacro {
    std::string_view Name;
    bool FunctionLike = false;
    bool Variadic = false;                // the last parameter takes the rest
    std::vector<std::string_view> Params; // "__VA_ARGS__" for a bare "..."
    std::vector<TCToken> Body;
};

// How a use of a macro reads when it is left as written.
enum class TCMacroReading : std::uint8_t {
    Expression, // like its expansion: a name or a call in an expression
    Statement,  // like its expansion when a ';' follows: do { } while (0), { }
    Other,      // differently: it must be expanded (types, keywords, braces)
};

class TCMacroTable {
public:
    void Define(TCMacro Macro);
    void Undefine(std::string_view Name);
    const TCMacro* Find(std::string_view Name) const;
    bool Empty() const { return Macros.empty(); }
    // How Macro reads when a use is left as written.
    TCMacroReading ReadingOf(const TCMacro& Macro) const;

private:
    TCMacroReading ReadingOf(const TCMacro& Macro, int Depth) const;
    TCMacroReading Classify(const TCMacro& Macro, int Depth) const;

    std::unordered_map<std::string_view, TCMacro> Macros;
    mutable std::unordered_map<const TCMacro*, TCMacroReading> Readings;
};

// Expands uses of the macros of a table. Every token made carries the line
// of the use. A Selective expander leaves a use as written where it reads
// like its expansion, so that a chart shows MAX(a, b) and not its body.
//
// What an expansion makes is paid for from a budget of bytes, which the
// expanders of one source share: each token written (its record and its
// text) and each text made by '#' and '##'. An expansion past the budget,
// one nested deeper than kMaxSourceNesting, and a '#' or '##' that makes
// no valid token fail; what was made is then cut short.
class TCMacroExpander {
public:
    enum TMode : std::uint8_t { Selective, Everything };

    TCMacroExpander(const TCMacroTable& Macros, std::deque<std::string>& Texts, TMode Mode,
                    std::size_t& Budget);

    // What a token written costs the budget besides its text.
    static constexpr std::size_t TokenCost = sizeof(TCToken);

    // Whether the word Tokens[I] is a use to expand here; for a function-like
    // macro, Args and End receive its arguments and the index after its ')'.
    // The tokens looked through for arguments count against the budget.
    bool IsUse(std::span<const TCToken> Tokens, std::size_t I,
               std::vector<std::span<const TCToken>>& Args, std::size_t& End);
    // Appends the expansion of the use of Macro with Args to Out.
    void ExpandUse(const TCMacro& Macro, const std::vector<std::span<const TCToken>>& Args,
                   std::int32_t Line, std::vector<TCToken>& Out);
    // Appends In to Out with every use in it expanded.
    void ExpandList(std::span<const TCToken> In, std::int32_t Line, std::vector<TCToken>& Out);

    bool Failed() const { return !Failure.empty(); }
    // Why the expansion failed (UTF-8): "the expansion of X is too large".
    const std::string& FailureText() const { return Failure; }

private:
    void ExpandEach(std::span<const TCToken> In, std::int32_t Line, std::vector<TCToken>& Out);
    std::vector<TCToken> Substitute(const TCMacro& Macro,
                                    const std::vector<std::span<const TCToken>>& Args,
                                    std::int32_t Line);
    void Paste(const TCMacro& Macro, std::vector<TCToken>& Tokens, std::int32_t Line);
    TCToken Stringized(const TCMacro& Macro, std::span<const TCToken> Arg, std::int32_t Line);
    // A token of Text, paid for already, kept in Texts.
    TCToken Made(std::string Text, std::int32_t Line);
    bool Active(const TCMacro* Macro) const;
    // Takes Bytes from the budget; false (and the failure) past it.
    bool Spend(std::size_t Bytes);
    // Records the first failure only.
    void Fail(std::string Text);

    const TCMacroTable& Macros;
    std::deque<std::string>& Texts; // owns the text of tokens made by '#' and '##'
    TMode Mode;
    std::size_t& Budget;
    std::vector<const TCMacro*> Expanding; // the macros being rescanned, outermost first
    std::size_t Nesting = 0;               // ExpandList calls open: arguments in arguments
    std::size_t Uses = 0;                  // ExpandUse calls open
    std::string_view Outermost;            // the use outside every other the failure is in
    std::string Failure;
};

// The arguments of a call whose '(' is Tokens[Open]: raw token ranges split
// at the top-level commas (the variadic part kept whole). End receives the
// index after the ')', or where the search stopped. False when the ')' is
// missing, a directive comes first or the count does not fit the macro.
bool CollectMacroArgs(std::span<const TCToken> Tokens, std::size_t Open, const TCMacro& Macro,
                      std::vector<std::span<const TCToken>>& Args, std::size_t& End);

} // namespace tvx
