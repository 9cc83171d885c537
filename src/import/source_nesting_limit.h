#pragma once
#include <QString>

namespace tvx {

// How deep the readers of source text follow input that nests (expressions
// of #if and {$IF}, macro arguments and expansions); deeper input is refused.
inline constexpr int kMaxSourceNesting = 256;

// The refusal of a condition (#if, {$IF}) deeper than that, one wording for
// both languages.
inline QString ConditionTooDeepText() {
    return QStringLiteral("the condition nests deeper than %1 levels").arg(kMaxSourceNesting);
}

} // namespace tvx
