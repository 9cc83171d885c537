#include "parser/parse_tree.h"

#include <algorithm>
#include <stdexcept>

namespace tvx {

TToken* TReduction::GetToken(int32_t i) const {
    return i >= 0 && i < GetTokenCount() ? Children[i] : nullptr;
}

void TReduction::InsertToken(int32_t i, TToken* token) {
    FirstLeaf = -1;
    if (ChildCount >= MaxChildren) {
        throw std::length_error("TReduction::InsertToken");
    }
    WatchedChildren = AllChildren;
    const auto pos = static_cast<size_t>(std::clamp(i, 0, GetTokenCount()));
    const size_t count = static_cast<size_t>(ChildCount);
    TToken** grown =
        Head.Owner != nullptr ? Head.Owner->NewChildren(count + 1) : new TToken*[count + 1];
    std::copy(Children, Children + pos, grown);
    grown[pos] = token;
    std::copy(Children + pos, Children + count, grown + pos + 1);
    if (Head.Owner == nullptr) {
        delete[] Children;
    }
    Children = grown;
    ++ChildCount;
}

TTokenStack::~TTokenStack() {
    Clear();
}

TToken* TTokenStack::GetItem(int32_t i) const {
    return i >= 0 && i < GetCount() ? Items[static_cast<size_t>(i)] : nullptr;
}

void TTokenStack::Adopt(TToken* token) {
    token->Owner = this;
    Adopted.emplace_back(token);
}

void TTokenStack::FreeAll() {
    Adopted.clear();
    // Every node keeps its children in the arena: destroying one would only
    // hand that memory back to the arena, which goes as a whole. A tree of
    // millions of nodes is not walked once more just to say goodbye.
    Nodes.Drop();
    Memory.Clear();
    Arena.release();
}

void TTokenStack::FreeToken(TToken* token) {
    if (token == nullptr) {
        return;
    }
    if (token->Owner != nullptr) {
        token->Owner->Release(token);
    } else {
        delete token;
    }
}

void TTokenStack::Release(TToken* token) {
    // Only a token pushed from outside is freed at once; one made here stays
    // in its pool until Clear. The tokens freed one by one are comment
    // tokens, so the search starts at the end.
    for (size_t i = Adopted.size(); i-- > 0;) {
        if (Adopted[i].get() == token) {
            Adopted.erase(Adopted.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

} // namespace tvx
