#pragma once
// Whether a branch of an {$IFDEF} that the preprocessing skips held code the
// charts would show: a routine's body, or statements inside one. A branch
// of directives, uses lists and declarations only holds none.
//
// Both are read from words alone: "begin", "asm", "initialization" and
// "finalization" open statements; inside them "begin", "try", "case", "asm" and "repeat" open
// a block that "end" or "until" closes. A record's "case" and "end" stand
// outside statements and change nothing.
#include <string_view>

namespace tvx {

// Where a run of tokens stands: how many statement blocks are open.
class TPascalCodePlace {
public:
    // Token: a whole word of the text, or any other token (a symbol, a string).
    void Feed(std::string_view Token);
    bool InStatements() const { return Depth > 0; }

private:
    int Depth = 0;
};

class TPascalSkippedCode {
public:
    // Outside: where the branch starts, as the text read so far leaves it.
    explicit TPascalSkippedCode(const TPascalCodePlace& Outside) : Place(Outside) {}
    // The tokens of the branch in order, comments and directives left out.
    void Feed(std::string_view Token);
    bool HeldCode() const { return Held; }

private:
    TPascalCodePlace Place;
    bool Held = false;
};

} // namespace tvx
