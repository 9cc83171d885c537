#pragma once
// Tokens and reductions: the leaves and nodes of a parse tree, and the token
// stacks that own them.
#include "parser/grammar_symbol.h"
#include "parser/object_pool.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

class TReduction;
class TTokenStack;

// A terminal read from the source (a leaf), or the head of a reduced rule
// (its Reduction is the node built for it). A terminal's text is a view of
// the source text the parser holds: a parse of millions of tokens copies
// none of them, and the text stays while the parser keeps that source
// (until the next OpenTextString, or the parser's end).
class TToken {
public:
    TToken(const TSymbol* symbol, std::string_view text) : Text(text), ParentSymbol(symbol) {}
    TToken(const TToken&) = delete;
    TToken& operator=(const TToken&) = delete;

    TSymbolKind GetKind() const { return ParentSymbol->Kind; }
    const std::string& GetName() const { return ParentSymbol->Name; }
    int32_t GetTableIndex() const { return ParentSymbol->TableIndex; }
    std::string GetSymbolText() const { return ParentSymbol->GetText(); }
    TReduction* GetReduction() const { return Reduction; }

    std::string_view Text; // source text of a terminal; empty for heads and EOF
    // The node built for a nonterminal head; null for a terminal. It lives as
    // long as the token: both belong to the stack that owns the token.
    TReduction* Reduction = nullptr;
    const TSymbol* ParentSymbol; // not owned
    TTokenStack* Owner = nullptr;
    // (The LALR state a token stands for on the parse stack is kept by the
    // parser beside its stack, not here: a parse makes millions of tokens.)
};

// One node of the parse tree: the rule reduced and the tokens of its
// right-hand side in source order (not owned: the parser's stacks own them).
class TReduction {
public:
    explicit TReduction(const TRule* rule)
        : Head(rule != nullptr ? rule->Head : nullptr, {}), ParentRule(rule) {
        Head.Reduction = this;
    }
    TReduction(const TReduction&) = delete;
    TReduction& operator=(const TReduction&) = delete;
    // A node of a stack keeps its children in the stack's arena; one made on
    // its own keeps them on the heap.
    ~TReduction() {
        if (Head.Owner == nullptr) {
            delete[] Children;
        }
    }

    TToken* GetToken(int32_t i) const; // null outside 0..GetTokenCount()-1
    int32_t GetTokenCount() const { return ChildCount; }
    std::span<TToken* const> Tokens() const { return {Children, static_cast<size_t>(ChildCount)}; }
    // Inserts a child; the node no longer claims a run of leaves, and every
    // child counts as holding what is watched.
    void InsertToken(int32_t i, TToken* token);
    void SetTag(int32_t tag) { Tag = tag; }
    const TRule* GetParentRule() const { return ParentRule; }

    // The token that stands for the node: on the parse stack, and among the
    // children of its parent node. It lives in the node, so that the two are
    // made at once and read together.
    TToken Head;

private:
    friend class TTokenStack;
    // The children: a node of millions keeps them without a vector of its
    // own (ChildCount is further down, beside the other small fields).
    TToken** Children = nullptr;

public:
    const TRule* ParentRule; // not owned
    // The terminals under the node as the parser built it: LeafCount of the
    // parse's leaves from FirstLeaf on (see ForEachLeaf); FirstLeaf is -1
    // for a node no parse built, or one changed since.
    int32_t FirstLeaf = -1;
    int32_t LeafCount = 0;
    int32_t Tag = 0;
    // Which children hold something the parser was told to watch for
    // (TGOLDParser::WatchSymbols), as the parser built the tree: bit i for
    // child i, the last bit for every child from there on. Every bit is set
    // when nothing was watched, or the node was not built by a parse or was
    // changed since.
    uint16_t WatchedChildren = AllChildren;

private:
    uint16_t ChildCount = 0;

public:
    bool HoldsWatched() const { return WatchedChildren != 0; }
    bool ChildHoldsWatched(size_t i) const {
        return ((WatchedChildren >> std::min<size_t>(i, LastChildBit)) & 1) != 0;
    }
    static constexpr size_t LastChildBit = 15;
    static constexpr uint16_t AllChildren = 0xFFFF;
    // The most children a node can have.
    static constexpr int32_t MaxChildren = 0xFFFF;
};
// A parse of a large text makes millions of nodes and tokens: each byte here
// is megabytes.
static_assert(sizeof(void*) != 8 || (sizeof(TReduction) <= 72 && sizeof(TToken) <= 40));

// What a caller of the parser does with a symbol when it meets it in the
// tree (TGOLDParser::WatchSymbols).
enum TSymbolWatch : uint8_t {
    swPass,  // looks through it: what its subtree holds counts
    swWatch, // acts on it
    swStop,  // never looks into its subtree: what that holds does not count
};

// The terminals of one parse in source order: every token the parser shifted.
using TLeafList = std::vector<const TToken*>;

// Calls Visit(const TToken*) for every terminal under Node from left to
// right. A node built by the parse that made Leaves hands out its run of
// them; any other node is walked. Never recurses, however deep the tree.
template <class F> void ForEachLeaf(const TReduction* Node, const TLeafList& Leaves, F&& Visit) {
    const auto run = [&Leaves](const TReduction* node) {
        return node->FirstLeaf >= 0 &&
               static_cast<size_t>(node->FirstLeaf) + static_cast<size_t>(node->LeafCount) <=
                   Leaves.size();
    };
    if (Node == nullptr) {
        return;
    }
    const auto visitRun = [&Leaves, &Visit](const TReduction* node) {
        const auto first = Leaves.begin() + node->FirstLeaf;
        for (auto leaf = first; leaf != first + node->LeafCount; ++leaf) {
            Visit(*leaf);
        }
    };
    if (run(Node)) {
        visitRun(Node);
        return;
    }
    // The stack is kept from one call to the next: a conversion asks for the
    // leaves of every block it makes.
    static thread_local std::vector<const TToken*> pending;
    const size_t bottom = pending.size();
    struct TRestore {
        size_t Size;
        ~TRestore() { pending.resize(Size); }
    } restore{bottom};
    const auto children = Node->Tokens();
    pending.insert(pending.end(), children.rbegin(), children.rend());
    while (pending.size() > bottom) {
        const TToken* token = pending.back();
        pending.pop_back();
        if (token == nullptr) {
            continue;
        }
        const TReduction* node = token->GetReduction();
        if (node == nullptr) {
            Visit(token);
        } else if (run(node)) {
            visitRun(node);
        } else {
            const auto below = node->Tokens();
            pending.insert(pending.end(), below.rbegin(), below.rend());
        }
    }
}

// The same for a token: itself when it is a terminal, else its node.
template <class F> void ForEachLeaf(const TToken* Token, const TLeafList& Leaves, F&& Visit) {
    if (Token == nullptr) {
        return;
    }
    if (Token->GetReduction() == nullptr) {
        Visit(Token);
    } else {
        ForEachLeaf(Token->GetReduction(), Leaves, Visit);
    }
}

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
    void Push(TToken* token) {
        if (token->Owner == nullptr) {
            Adopt(token);
        }
        Items.push_back(token);
    }
    void Push(std::unique_ptr<TToken> token) { Push(token.release()); }
    // Null when empty; never frees.
    TToken* Pop() {
        if (Items.empty()) {
            return nullptr;
        }
        TToken* token = Items.back();
        Items.pop_back();
        return token;
    }
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
    TToken* NewToken(const TSymbol* symbol, std::string_view text = {}) {
        TToken* token = Memory.New(symbol, text);
        token->Owner = this;
        return token;
    }
    // A new node for Rule whose children are the top Count tokens, taken off
    // the stack in their order; its Head is owned by this stack, not yet
    // pushed. Count must not exceed GetCount().
    TReduction* NewReduction(const TRule* rule, int32_t Count) {
        TReduction* node = Nodes.New(rule);
        node->Head.Owner = this;
        const size_t count = static_cast<size_t>(std::max(Count, 0));
        node->Children = NewChildren(count);
        node->ChildCount = static_cast<uint16_t>(count);
        std::copy(Items.end() - static_cast<std::ptrdiff_t>(count), Items.end(), node->Children);
        Items.resize(Items.size() - count);
        return node;
    }
    // Room for Count children of a node this stack made, in its arena.
    TToken** NewChildren(size_t Count) {
        return Count == 0 ? nullptr
                          : static_cast<TToken**>(
                                Arena.allocate(Count * sizeof(TToken*), alignof(TToken*)));
    }

    // Frees a token: through its owner when it has one, else directly.
    static void FreeToken(TToken* token);

private:
    void Adopt(TToken* token);
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
