#pragma once
// The value of the expression of an #if or #elif line, after its macros are
// expanded and its "defined" operators replaced: integer arithmetic,
// comparisons, logic and "?:". A name left over is 0, and so is a call of
// an unknown function-like macro ("__has_include(<x.h>)").
#include "import/c_tokens.h"
#include <optional>
#include <span>

namespace tvx {

// Nothing when the expression cannot be evaluated (a syntax we do not
// know, a division by zero).
std::optional<bool> EvaluateCCondition(std::span<const TCToken> Tokens);

} // namespace tvx
