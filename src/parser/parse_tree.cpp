#include "parser/parse_tree.h"

#include <algorithm>

namespace tvx {

TToken::~TToken() = default;

TToken* TReduction::GetToken(int32_t i) const {
    return i >= 0 && i < GetTokenCount() ? Tokens[static_cast<size_t>(i)] : nullptr;
}

void TReduction::InsertToken(int32_t i, TToken* token) {
    const auto pos = static_cast<size_t>(std::clamp(i, 0, GetTokenCount()));
    Tokens.insert(Tokens.begin() + static_cast<std::ptrdiff_t>(pos), token);
}

TTokenStack::~TTokenStack() {
    Clear();
}

void TTokenStack::Push(TToken* token) {
    if (token->Owner == nullptr) {
        token->Owner = this;
        Memory.emplace_back(token);
    }
    Items.push_back(token);
}

TToken* TTokenStack::Pop() {
    if (Items.empty()) {
        return nullptr;
    }
    TToken* token = Items.back();
    Items.pop_back();
    return token;
}

TToken* TTokenStack::GetItem(int32_t i) const {
    return i >= 0 && i < GetCount() ? Items[static_cast<size_t>(i)] : nullptr;
}

void TTokenStack::Clear() {
    Items.clear();
    Memory.clear();
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
    // The tokens freed one by one are comment and whitespace tokens that were
    // pushed last, so the search starts at the end.
    for (size_t i = Memory.size(); i-- > 0;) {
        if (Memory[i].get() == token) {
            Memory.erase(Memory.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

} // namespace tvx
