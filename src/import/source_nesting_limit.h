#pragma once
// How deep the readers of source text follow input that nests: parentheses,
// operators and conditional operators in the expressions of #if and {$IF},
// macro arguments inside macro arguments, expansions inside expansions.
// Each level costs a few stack frames; input that nests deeper is refused
// with a preprocessor error on its line instead of running the stack out.
// Real code stays far below this; generated tables of a few levels more
// than any hand writes fit as well.
#include <cstddef>

namespace tvx {

inline constexpr std::size_t kMaxSourceNesting = 256;

} // namespace tvx
