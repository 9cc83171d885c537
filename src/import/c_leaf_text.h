#pragma once
// The text of a piece of C as the flowchart shows it: the tokens from left to
// right with no blanks between them, except where two tokens would run
// together into something else. "unsigned int" stays two words, "return x"
// does not become "returnx", and "a - -b" does not become "a--b"; operators
// and punctuation otherwise come out without blanks ("x=a+b", "f(a,b)").
#include <QString>
#include <cstddef>

namespace tvx {

class TReduction;
class TToken;

// The leaf text of a token: a terminal's own text or its node's leaves.
QString CLeafText(const TToken* Token);
// The leaf text of the children First .. Count-1 of Node (all of them by
// default).
QString CLeafText(const TReduction* Node, std::size_t First = 0);

} // namespace tvx
