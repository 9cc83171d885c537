#include "import/c_leaf_text.h"
#include "parser/parse_tree.h"
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

namespace {

bool IsWordByte(unsigned char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '_' ||
           C == '$';
}

// Whether two tokens written without a blank between them would read as
// different tokens: two words, or operator characters that would pair up
// ("- -" into "--", "/ *" into a comment).
bool NeedsBlank(unsigned char Last, unsigned char First) {
    if (IsWordByte(Last) && IsWordByte(First)) {
        return true;
    }
    switch (Last) {
    case '+':
    case '-':
    case '&':
    case '|':
        return First == Last;
    case '/':
        return First == '*' || First == '/';
    default:
        return false;
    }
}

class LeafCollector {
public:
    void Add(const TToken* Leaf) { Append(Leaf->Text); }

    QString Result() const { return QString::fromUtf8(Text.data(), qsizetype(Text.size())); }

private:
    void Append(std::string_view Piece) {
        if (Piece.empty()) {
            return;
        }
        if (!Text.empty() && (NeedsBlank(static_cast<unsigned char>(Text.back()),
                                         static_cast<unsigned char>(Piece.front())) ||
                              NeedsBlankAfter(Piece))) {
            Text += ' ';
        }
        Text += Piece;
        Previous = Piece;
    }

    // "return -1", "return (int)x" and "sizeof *p" keep their blank;
    // "sizeof(int)" keeps its parenthesis close. A qualifier of a pointer is
    // a word of its own: "void* restrict dst", "char* const p".
    bool NeedsBlankAfter(std::string_view Piece) const {
        return Previous == "return" || (Previous == "sizeof" && Piece.front() != '(') ||
               (Previous == "*" && IsQualifier(Piece));
    }

    static bool IsQualifier(std::string_view Word) {
        for (const std::string_view qualifier :
             {"const", "volatile", "restrict", "_Atomic", "__restrict", "__restrict__", "__const",
              "__volatile", "__volatile__"}) {
            if (Word == qualifier) {
                return true;
            }
        }
        return false;
    }

    std::string Text;
    std::string_view Previous; // the last piece appended
};

} // namespace

QString CLeafText(const TToken* Token, const TLeafList& Leaves) {
    LeafCollector collector;
    ForEachLeaf(Token, Leaves, [&collector](const TToken* Leaf) { collector.Add(Leaf); });
    return collector.Result();
}

QString CLeafText(const TReduction* Node, const TLeafList& Leaves, std::size_t First) {
    LeafCollector collector;
    if (Node != nullptr) {
        for (std::size_t i = First; i < Node->Tokens().size(); ++i) {
            ForEachLeaf(Node->Tokens()[i], Leaves,
                        [&collector](const TToken* Leaf) { collector.Add(Leaf); });
        }
    }
    return collector.Result();
}

} // namespace tvx
