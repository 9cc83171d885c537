#pragma once
// The frame every source converter runs in: it walks an accepted parse tree
// and turns it into charts, one TFCList per routine.
//
// A converter call takes a node, the chart being filled (or none) and the
// current block, and looks at the node's children in order. On entry it fixes
// its insertion target: the shared BranchIndex at that moment (-1: after the
// current block in its chain; j: head of branch j of the current block). Every
// block the call adds uses that target and becomes the current block. So the
// first statement converted after a branch starts becomes the head of that
// branch, and each later statement follows its predecessor.
//
// Parse trees of real sources are deep (a list of 20,000 statements is a
// chain of 20,000 nodes), so the walk never recurses: calls and the steps a
// converter schedules live on an explicit stack. A converter decides what to
// do with one child in ConvertChild() and schedules the rest (walking a child,
// converting a branch) with the Schedule...() operations, which run in the
// order they were scheduled, after ConvertChild() returns and before the next
// child of the same call.
#include "chart/block_kind.h"
#include "import/reduction_stack.h"
#include "parser/parse_tree.h"
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tvx {

class TFCList;
class TFlowBlock;
class TSymbol;
template <class T> class TOwningTable;
using TSymbolTable = TOwningTable<TSymbol>;

// Receives the charts a conversion builds, in the order they are created.
class TChartSink {
public:
    virtual ~TChartSink() = default;
    virtual void AddChart(std::unique_ptr<TFCList> Chart) = 0;
};

// State shared by every call of one conversion run.
struct TConversionState {
    QString Text;          // text of the block being built, for converters that want it
    int BranchIndex = -1;  // -1, or the branch the next call's blocks go into
    TReductionStack Stack; // blocks entered by branches and routine bodies
};

// Leaf text of a node: the texts of its terminals from left to right, after
// Prefix. Blanks and line breaks between tokens are dropped ("x:=x+1",
// "f(a,b)"), except one blank between two tokens that would otherwise run
// into one ("a div b", "not done"). A terminal token gives its own text.
// Leaves are the terminals of the parse that built the tree (ForEachLeaf).
QString GetLeafText(const TReduction* Node, const TLeafList& Leaves,
                    const QString& Prefix = QString());
QString GetLeafText(const TToken* Token, const TLeafList& Leaves,
                    const QString& Prefix = QString());
// The first child whose symbol name is Name (case matters), or nullptr.
const TToken* FindToken(const TReduction* Node, const std::string& Name);
// The child right after the first child named Name, or nullptr.
const TToken* FindNextToken(const TReduction* Node, const std::string& Name);

class TTreeConverter {
public:
    // Symbols is the symbol table of the grammar that built the tree and
    // Leaves the terminals of that parse; the charts go to Sink.
    TTreeConverter(TChartSink& Sink, const TSymbolTable& Symbols, const TLeafList& Leaves);
    virtual ~TTreeConverter();
    TTreeConverter(const TTreeConverter&) = delete;
    TTreeConverter& operator=(const TTreeConverter&) = delete;

    // Converts the children of Root with no chart and no current block.
    void Convert(const TReduction* Root);

    // What the converter does with each symbol of the grammar, by table
    // index, for TGOLDParser::WatchSymbols: a tree parsed with these lets the
    // walk pass over subtrees in which nothing would be converted.
    const std::vector<TSymbolWatch>& SymbolWatches() const { return Watches; }

protected:
    // One converter call: the node whose children are looked at, the chart
    // being filled (nullptr: none) and the insertion target fixed on entry.
    struct TCall {
        const TReduction* Node = nullptr;
        TFCList* Chart = nullptr;
        int Branch = -1;
    };

    // Decides what to do with Child, a child of Call.Node. Anything it leaves
    // alone is skipped; to convert the child's subtree, it calls ScheduleWalk.
    virtual void ConvertChild(const TCall& Call, const TToken* Child) = 0;

    // --- symbol codes: converters dispatch on small numbers, not names ---
    // Gives every symbol named Name the code Code (> 0). Watch says what
    // ConvertChild does with a child of that symbol: swWatch when it acts on
    // it, swStop when it never looks into it, swPass when it walks it (as
    // every unmapped symbol) or only finds it by its code.
    void MapSymbol(const std::string& Name, int Code, TSymbolWatch Watch);
    // The code of the token's symbol; 0 when its name was never mapped.
    int CodeOf(const TToken* Token) const {
        if (Token == nullptr) {
            return 0;
        }
        const int32_t index = Token->GetTableIndex();
        return index >= 0 && size_t(index) < Codes.size() ? Codes[size_t(index)] : 0;
    }
    // The first child of Node with that code, or nullptr.
    const TToken* FindChild(const TReduction* Node, int Code) const;
    // The child right after the first child with that code, or nullptr.
    const TToken* FindChildAfter(const TReduction* Node, int Code) const;
    // The node of a child, or nullptr (a terminal, or no child).
    static const TReduction* NodeOf(const TToken* Token) {
        return Token != nullptr ? Token->GetReduction() : nullptr;
    }

    // --- blocks and charts, done at once ---
    // Adds a block after or into the current block by the call's target; it
    // becomes the current block. Without a chart nothing is added (nullptr).
    TFlowBlock* AddBlock(const TCall& Call, TBlockKind Kind, const QString& Text);
    // AddBlock, then BranchIndex := -1, as after every simple block.
    TFlowBlock* AddSimpleBlock(const TCall& Call, TBlockKind Kind, const QString& Text);
    // A new chart with Caption and a root block holding RootText, handed to
    // the sink; the root becomes current and BranchIndex := -1.
    TFCList* NewChart(const QString& Caption, const QString& RootText);

    // --- steps that run after ConvertChild returns, in this order ---
    // A converter call on Child's node with Chart; nothing when the child has
    // no node of its own, or when its subtree holds nothing ConvertChild acts
    // on (such a call would change nothing).
    void ScheduleWalk(const TToken* Child, TFCList* Chart);
    // Branch Branch of Block: BranchIndex := Branch, Block pushed on the block
    // stack and made current, Child converted, Block popped and current again.
    // Afterwards BranchIndex is -1, so the next statement follows Block even
    // when the branch produced no block.
    void ScheduleBranch(TFlowBlock* Block, int Branch, const TToken* Child, TFCList* Chart);
    // As ScheduleBranch, but BranchIndex stays -1 while Child is converted:
    // Block is kept on the stack (a routine's root while its declarations are
    // walked) and is current again afterwards.
    void ScheduleUnder(TFlowBlock* Block, const TToken* Child, TFCList* Chart);

    TConversionState State;
    TFlowBlock* Current = nullptr; // the current block
    const TLeafList& Leaves;       // of the parse that built the tree

private:
    struct TStep;
    void RunTop();
    void FlushScheduled();

    TChartSink& Sink;
    std::vector<int> Codes; // per symbol table index
    std::vector<TSymbolWatch> Watches;
    std::vector<std::string> NamesByIndex;
    std::vector<TStep> Steps;
    std::vector<TStep> Scheduled;
};

} // namespace tvx
