#pragma once

namespace tvx {

// How deep the readers of source text follow input that nests (expressions
// of #if and {$IF}, macro arguments and expansions); deeper input is refused.
inline constexpr int kMaxSourceNesting = 256;

} // namespace tvx
