#include "import/c_leaf_text.h"
#include "parser/parse_tree.h"
#include <string>
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
    // The stack is kept from one text to the next: a chart asks for a text
    // for every block, and most are short.
    LeafCollector() : Pending(SharedStack()) { Pending.clear(); }

    void Add(const TToken* Token) {
        // Depth first, left to right, on a stack of our own: expressions nest
        // as deep as the source likes.
        Pending.push_back(Token);
        while (!Pending.empty()) {
            const TToken* token = Pending.back();
            Pending.pop_back();
            if (token == nullptr) {
                continue;
            }
            if (const TReduction* node = token->GetReduction()) {
                for (auto it = node->Tokens.rbegin(); it != node->Tokens.rend(); ++it) {
                    Pending.push_back(*it);
                }
                continue;
            }
            Append(token->Text);
        }
    }

    QString Result() const { return QString::fromUtf8(Text.data(), qsizetype(Text.size())); }

private:
    void Append(const std::string& Piece) {
        if (Piece.empty()) {
            return;
        }
        if (!Text.empty() && (NeedsBlank(static_cast<unsigned char>(Text.back()),
                                         static_cast<unsigned char>(Piece.front())) ||
                              NeedsBlankAfter(Previous, Piece))) {
            Text += ' ';
        }
        Text += Piece;
        Previous = &Piece;
    }

    // "return -1", "return (int)x" and "sizeof *p" keep their blank;
    // "sizeof(int)" keeps its parenthesis close.
    static bool NeedsBlankAfter(const std::string* Previous, const std::string& Piece) {
        if (Previous == nullptr) {
            return false;
        }
        return *Previous == "return" || (*Previous == "sizeof" && Piece.front() != '(');
    }

    static std::vector<const TToken*>& SharedStack() {
        thread_local std::vector<const TToken*> stack;
        return stack;
    }

    std::string Text;
    const std::string* Previous = nullptr; // the last piece appended
    std::vector<const TToken*>& Pending;
};

} // namespace

QString CLeafText(const TToken* Token) {
    LeafCollector collector;
    collector.Add(Token);
    return collector.Result();
}

QString CLeafText(const TReduction* Node, std::size_t First) {
    LeafCollector collector;
    if (Node != nullptr) {
        for (std::size_t i = First; i < Node->Tokens.size(); ++i) {
            collector.Add(Node->Tokens[i]);
        }
    }
    return collector.Result();
}

} // namespace tvx
