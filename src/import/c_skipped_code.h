#pragma once
// Whether a branch of an #if that the preprocessing skips held code the
// charts would show: statements inside a function, or a function's body.
// A branch of declarations and directives only ("#ifdef HAVE_CONFIG_H",
// "int counter;", "#include <x.h>") holds none.
#include "import/c_tokens.h"
#include <vector>

namespace tvx {

// Where a run of tokens stands: inside a function body or not. A '{' right
// after a ')' outside functions opens a function body; every brace inside
// one opens a block of it.
class TCCodePlace {
public:
    TCCodePlace() = default;
    // The place of tokens that go on from Outer, which must outlive this
    // and not change meanwhile.
    explicit TCCodePlace(const TCCodePlace* Outer) : Outer(Outer), AfterParen(Outer->AfterParen) {}

    void Feed(const TCToken& Token);
    bool InFunction() const { return InFunctionOutside(0); }
    bool AfterParenthesis() const { return AfterParen; }

private:
    // Whether the brace Levels further out than the innermost is in a function.
    bool InFunctionOutside(std::size_t Levels) const;

    const TCCodePlace* Outer = nullptr;
    std::vector<bool> Braces; // per brace open: in a function
    std::size_t Closed = 0;   // braces of Outer closed here
    bool AfterParen = false;
};

class TCSkippedCode {
public:
    // Outside: where the branch starts, as the text kept so far leaves it;
    // it does not change while a branch is skipped, and must outlive this.
    explicit TCSkippedCode(const TCCodePlace& Outside) : Place(&Outside) {}
    // The tokens of the branch in order, directive lines left out.
    void Feed(const TCToken& Token);
    bool HeldCode() const { return Held; }

private:
    TCCodePlace Place;
    // The statement or declaration being read inside a function: its
    // length so far and whether its first tokens declare.
    std::size_t RunLength = 0;
    bool FirstIsName = false;
    bool Declares = false;
    bool Held = false;
};

} // namespace tvx
