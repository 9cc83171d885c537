#pragma once
// Tokens and reductions: the leaves and nodes of a parse tree, and the token
// stacks that own them.
#include "parser/grammar_symbol.h"
#include "parser/object_pool.h"

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

class TReduction;
class TTokenStack;

// A terminal read from the source (a leaf), or the head of a reduced rule
// (its Reduction is the node built for it).
class TToken {
public:
    TToken(const TSymbol* symbol, std::string text) : Text(std::move(text)), ParentSymbol(symbol) {}
    TToken(const TToken&) = delete;
    TToken& operator=(const TToken&) = delete;

    TSymbolKind GetKind() const { return ParentSymbol->Kind; }
    const std::string& GetName() const { return ParentSymbol->Name; }
    int32_t GetTableIndex() const { return ParentSymbol->TableIndex; }
    std::string GetSymbolText() const { return ParentSymbol->GetText(); }
    TReduction* GetReduction() const { return Reduction; }

    int32_t State = 0;
    std::string Text; // source text of a terminal; empty for heads and EOF
    // The node built for a nonterminal head; null for a terminal. It lives as
    // long as the token: both belong to the stack that owns the token.
    TReduction* Reduction = nullptr;
    const TSymbol* ParentSymbol; // not owned
    TTokenStack* Owner = nullptr;
};

// One node of the parse tree: the rule reduced and the tokens of its
// right-hand side in source order (not owned: the parser's stacks own them).
class TReduction {
public:
    explicit TReduction(const TRule* rule,
                        std::pmr::memory_resource* memory = std::pmr::new_delete_resource())
        : Tokens(memory), ParentRule(rule) {}

    TToken* GetToken(int32_t i) const; // null outside 0..GetTokenCount()-1
    int32_t GetTokenCount() const { return static_cast<int32_t>(Tokens.size()); }
    void InsertToken(int32_t i, TToken* token);
    void SetTag(int32_t tag) { Tag = tag; }
    const TRule* GetParentRule() const { return ParentRule; }

    std::pmr::vector<TToken*> Tokens;
    const TRule* ParentRule; // not owned
    int32_t Tag = 0;
};

// A stack of tokens. A token belongs to the first stack it is pushed onto (or
// the stack that made it); that stack frees it on Clear or with itself.
// Tokens and nodes made by a stack live in its arena and are freed together,
// which keeps a parse of a large text from spending its time in the heap.
class TTokenStack {
public:
    TTokenStack() = default;
    TTokenStack(const TTokenStack&) = delete;
    TTokenStack& operator=(const TTokenStack&) = delete;
    ~TTokenStack();

    // Appends; a token without owner becomes this stack's.
    void Push(TToken* token);
    void Push(std::unique_ptr<TToken> token) { Push(token.release()); }
    TToken* Pop(); // null when empty; never frees
    TToken* Top() const { return Items.empty() ? nullptr : Items.back(); }
    TToken* GetItem(int32_t i) const; // null outside 0..GetCount()-1
    int32_t GetCount() const { return static_cast<int32_t>(Items.size()); }
    // Empties the stack, then frees every token and node it owns.
    void Clear() {
        Items.clear();
        if (!Adopted.empty() || !Memory.IsEmpty() || !Nodes.IsEmpty()) {
            FreeAll();
        }
    }

    // A new token owned by this stack, not yet pushed.
    TToken* NewToken(const TSymbol* symbol, std::string_view text = {});
    // A new node for the head token Head (owned by this stack), with Count
    // empty places for its children.
    TReduction* NewReduction(TToken* Head, const TRule* rule, int32_t Count);

    // Frees a token: through its owner when it has one, else directly.
    static void FreeToken(TToken* token);

private:
    void Release(TToken* token);
    void FreeAll();

    std::vector<TToken*> Items;
    // Made here: tokens and nodes in pools, the nodes' child lists in the
    // arena. A made token freed early keeps its place until Clear.
    TObjectPool<TToken> Memory;
    TObjectPool<TReduction> Nodes;
    std::pmr::monotonic_buffer_resource Arena;
    std::vector<std::unique_ptr<TToken>> Adopted; // tokens pushed from outside
};

} // namespace tvx
