#pragma once
// The in-memory tables of one compiled grammar: parameters, symbols, rules,
// character sets, the scanner DFA and the LALR action tables.
#include "parser/comment_delimiters.h"
#include "parser/grammar_symbol.h"
#include "parser/owning_table.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tvx {

// Grammar parameters as name=value text pairs. An empty value removes the
// pair; an absent name reads as the empty text.
class TVariableList {
public:
    void SetValue(const std::string& Name, const std::string& Value);
    std::string GetValue(const std::string& Name) const;
    int32_t GetCount() const { return static_cast<int32_t>(Pairs.size()); }
    void Clear() { Pairs.clear(); }

private:
    std::vector<std::pair<std::string, std::string>> Pairs;
};

struct TFAEdge {
    int32_t CharSetIndex; // into the character-set table
    int32_t TargetIndex;  // DFA state entered on a character of that set
};

// A further character set of an edge, from a second edge to the same target.
struct TMergedSet {
    int32_t CharSetIndex;
    int32_t Edge; // position of the edge among the state's edges
};

class TFAState {
public:
    // Adds an edge on a character set to Target. A state has one edge per
    // target: when it has one already (Existing, its position, is not -1)
    // the set joins that edge, which keeps its place among the edges.
    // Returns the position of the edge to Target.
    int32_t AddEdge(int32_t CharSet, int32_t Target, int32_t Existing);
    int32_t GetEdgeCount() const { return static_cast<int32_t>(Edges.size()); }
    const TFAEdge& GetEdge(int32_t i) const; // index error outside the edges
    void SetAcceptSymbol(int32_t i) { AcceptSymbol = i; }

    std::vector<TFAEdge> Edges;     // in file order, one per target
    std::vector<TMergedSet> Merged; // sets that joined an earlier edge
    int32_t AcceptSymbol = -1;      // terminal recognised when the scan stops here
};

enum TLRActionCode : int32_t {
    acShift = 1,
    acReduce = 2,
    acGoto = 3,
    acAccept = 4,
};

struct TLRAction {
    const TSymbol* Symbol; // not owned
    int32_t Action;        // TLRActionCode, or whatever number the file holds
    int32_t Value;         // target state (shift, goto) or rule index (reduce)
};

class TLRActionTable {
public:
    void AddItem(const TSymbol* Symbol, int32_t Action, int32_t Value) {
        Actions.push_back({Symbol, Action, Value});
    }
    int32_t GetCount() const { return static_cast<int32_t>(Actions.size()); }
    const TLRAction& GetItem(int32_t i) const; // index error outside the actions
    // Position of the first action, in table order, on the symbol with that
    // table index; -1 when none.
    int32_t ActionIndexForSymbol(int32_t TableIndex) const;

    std::vector<TLRAction> Actions;
};

using TSymbolTable = TOwningTable<TSymbol>;
using TRuleTable = TOwningTable<TRule>;
using TFStateTable = TOwningTable<TFAState>;
using TLRActionTables = TOwningTable<TLRActionTable>;

// What the driver does in one LALR state on one symbol: Action is NoAction
// when the state has none on it, 0 for any code no table should hold, else
// the action's code, with its Value.
struct TLRStep {
    static constexpr int32_t NoAction = -1;
    int32_t Action = NoAction;
    int32_t Value = 0;
    bool Found() const { return Action != NoAction; }
};

// What a reduction by one rule needs, gathered in one place.
struct TRuleShape {
    const TRule* Rule = nullptr; // null for a rule index the file never filled
    const TSymbol* Head = nullptr;
    int32_t HeadIndex = -1;
    int32_t Length = 0;
    bool OneNonTerminal = false;
};

// Every table of one grammar, loaded together and replaced together, so a
// parser never runs on a mixture of two files.
struct TGrammarTables {
    TVariableList Variables;
    TSymbolTable SymbolTable;
    std::vector<std::string> CharacterSetTable;
    TRuleTable RuleTable;
    TFStateTable DFA;
    TLRActionTables LALRTables;
    int32_t DFAInit = 0;
    int32_t LALRInit = 0;
    int32_t StartSymbol = -1;

    // Lookup tables derived from the ones above by Prepare(), so that the
    // scanner and driver find everything with one index each. The DFA rows
    // are numbered densely over the states that exist (a damaged file may
    // number its states sparsely): for every byte the row of the target (the
    // first matching edge, case folded when the grammar ignores case), and
    // the symbol each row accepts. ActionTable holds the first action of
    // every LALR state on every symbol, packed into 16 bits so that the table
    // stays in the cache while a parse tree is built; it is empty when it
    // would be too large or a value does not fit, and the driver scans the
    // state's actions instead.
    std::vector<std::array<int32_t, 256>> DFAMoves;
    std::vector<const TSymbol*> DFAAccept;
    int32_t DFAInitRow = -1;
    std::vector<uint16_t> ActionTable;
    size_t ActionStride = 0; // symbols per state in ActionTable
    std::vector<TRuleShape> RuleShapes;
    TCommentDelimiters Comments;

    void Clear();
    // Checks that every index the tables hold leads to an existing entry, so
    // the scanner and driver can follow them without further checks.
    bool Validate() const;
    void Prepare(bool IgnoreCase);

    // The first action, in table order, of State on the symbol with that
    // table index. State must be a state of the tables.
    TLRStep FindAction(int32_t State, int32_t SymbolIndex) const {
        if (ActionTable.empty()) {
            return ScanActions(State, SymbolIndex);
        }
        if (SymbolIndex < 0 || static_cast<size_t>(SymbolIndex) >= ActionStride) {
            return {};
        }
        const uint16_t packed = ActionTable[static_cast<size_t>(State) * ActionStride +
                                            static_cast<size_t>(SymbolIndex)];
        if (packed == NoPackedAction) {
            return {};
        }
        return {packed & ActionCodeMask, packed >> ActionCodeBits};
    }

private:
    static constexpr int ActionCodeBits = 3;
    static constexpr int32_t ActionCodeMask = (1 << ActionCodeBits) - 1;
    static constexpr uint16_t NoPackedAction = 0xFFFF;
    TLRStep ScanActions(int32_t State, int32_t SymbolIndex) const;
    void PrepareActions();
};

} // namespace tvx
