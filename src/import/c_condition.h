#pragma once
// The value of the expression of an #if or #elif line, after its macros are
// expanded and its "defined" operators replaced: integer arithmetic,
// comparisons, logic and "?:". A name left over is 0, and so is a call of
// an unknown function-like macro ("__has_include(<x.h>)").
#include "import/c_tokens.h"
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tvx {

enum class TCCondition : std::uint8_t {
    False,
    True,
    Unknown, // a syntax we do not know, a division by zero
    TooDeep, // nested deeper than kMaxSourceNesting levels
};

// Names, when given, receives each name read as 0 (an undefined macro)
// whose value the result depends on.
TCCondition EvaluateCCondition(std::span<const TCToken> Tokens,
                               std::vector<std::string_view>* Names = nullptr);

} // namespace tvx
