#pragma once
// The text of a piece of C as the flowchart shows it: the tokens from left to
// right with no blanks between them, except where two tokens would run
// together into something else. "unsigned int" stays two words, "return x"
// does not become "returnx", and "a - -b" does not become "a--b"; operators
// and punctuation otherwise come out without blanks ("x=a+b", "f(a,b)").
#include "parser/parse_tree.h"
#include <QString>
#include <cstddef>

namespace tvx {

// The leaf text of a token: a terminal's own text or its node's leaves.
// Leaves are the terminals of the parse that built the tree (ForEachLeaf).
QString CLeafText(const TToken* Token, const TLeafList& Leaves);
// The leaf text of the children First .. Count-1 of Node (all of them by
// default).
QString CLeafText(const TReduction* Node, const TLeafList& Leaves, std::size_t First = 0);

} // namespace tvx
