#include "parser/grammar_tables.h"

#include "platform/exception.h"

#include <bitset>

namespace tvx {

void RaiseIndexError() {
    throw Exception(QStringLiteral("invalid index!"));
}

void TVariableList::SetValue(const std::string& Name, const std::string& Value) {
    for (auto it = Pairs.begin(); it != Pairs.end(); ++it) {
        if (it->first == Name) {
            if (Value.empty()) {
                Pairs.erase(it);
            } else {
                it->second = Value;
            }
            return;
        }
    }
    if (!Value.empty()) {
        Pairs.emplace_back(Name, Value);
    }
}

std::string TVariableList::GetValue(const std::string& Name) const {
    for (const auto& pair : Pairs) {
        if (pair.first == Name) {
            return pair.second;
        }
    }
    return {};
}

namespace {

// The bytes of a character set, case folded when the grammar ignores case:
// a letter stands for both its capital and its small form.
using TByteSet = std::bitset<256>;

TByteSet BytesOf(const std::string& Set, bool IgnoreCase) {
    TByteSet bytes;
    for (char c : Set) {
        const auto byte = static_cast<unsigned char>(c);
        bytes.set(byte);
        const auto small = static_cast<unsigned char>(byte | 0x20);
        if (IgnoreCase && small >= 'a' && small <= 'z') {
            bytes.set(static_cast<unsigned char>(byte ^ 0x20));
        }
    }
    return bytes;
}

// Above this many cells the action table is not worth its memory and the
// driver scans the state's actions instead.
constexpr size_t MaxActionCells = size_t{1} << 22;

} // namespace

int32_t TFAState::AddEdge(int32_t CharSet, int32_t Target, int32_t Existing) {
    if (Existing < 0) {
        Edges.push_back({CharSet, Target});
        return GetEdgeCount() - 1;
    }
    // A set listed again for the same edge adds nothing.
    const TFAEdge& edge = Edges[static_cast<size_t>(Existing)];
    if (edge.CharSetIndex != CharSet && (Merged.empty() || Merged.back().Edge != Existing ||
                                         Merged.back().CharSetIndex != CharSet)) {
        Merged.push_back({CharSet, Existing});
    }
    return Existing;
}

const TFAEdge& TFAState::GetEdge(int32_t i) const {
    if (i < 0 || i >= GetEdgeCount()) {
        RaiseIndexError();
    }
    return Edges[static_cast<size_t>(i)];
}

const TLRAction& TLRActionTable::GetItem(int32_t i) const {
    if (i < 0 || i >= GetCount()) {
        RaiseIndexError();
    }
    return Actions[static_cast<size_t>(i)];
}

int32_t TLRActionTable::ActionIndexForSymbol(int32_t TableIndex) const {
    for (size_t i = 0; i < Actions.size(); ++i) {
        if (Actions[i].Symbol->TableIndex == TableIndex) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void TGrammarTables::Clear() {
    *this = TGrammarTables();
}

bool TGrammarTables::Validate() const {
    // A record cut short reads its missing start symbol as 0, which is the
    // end symbol in every file; only a nonterminal can start a grammar.
    const TSymbol* start = SymbolTable.Find(StartSymbol);
    if (start == nullptr || start->Kind != skNonterminal) {
        return false;
    }
    bool haveEnd = false;
    bool haveError = false;
    for (int32_t i = 0; i < SymbolTable.GetCount(); ++i) {
        if (const TSymbol* symbol = SymbolTable.Find(i)) {
            haveEnd = haveEnd || symbol->Kind == skEnd;
            haveError = haveError || symbol->Kind == skError;
        }
    }
    if (!haveEnd || !haveError) {
        return false;
    }
    if (!DFA.IsEmpty() && DFA.Find(DFAInit) == nullptr) {
        return false;
    }
    for (int32_t i = 0; i < DFA.GetCount(); ++i) {
        const TFAState* state = DFA.Find(i);
        if (state == nullptr) {
            continue;
        }
        if (state->AcceptSymbol != -1 && SymbolTable.Find(state->AcceptSymbol) == nullptr) {
            return false;
        }
        const auto isCharSet = [this](int32_t i) {
            return i >= 0 && static_cast<size_t>(i) < CharacterSetTable.size();
        };
        for (const TFAEdge& edge : state->Edges) {
            if (!isCharSet(edge.CharSetIndex) || DFA.Find(edge.TargetIndex) == nullptr) {
                return false;
            }
        }
        for (const TMergedSet& set : state->Merged) {
            if (!isCharSet(set.CharSetIndex)) {
                return false;
            }
        }
    }
    if (!LALRTables.IsEmpty() && LALRTables.Find(LALRInit) == nullptr) {
        return false;
    }
    for (int32_t i = 0; i < LALRTables.GetCount(); ++i) {
        const TLRActionTable* table = LALRTables.Find(i);
        if (table == nullptr) {
            continue;
        }
        for (const TLRAction& action : table->Actions) {
            if ((action.Action == acShift || action.Action == acGoto) &&
                LALRTables.Find(action.Value) == nullptr) {
                return false;
            }
            if (action.Action == acReduce && RuleTable.Find(action.Value) == nullptr) {
                return false;
            }
        }
    }
    return true;
}

void TGrammarTables::Prepare(bool IgnoreCase) {
    std::vector<int32_t> rowOf(static_cast<size_t>(DFA.GetCount()), -1);
    std::vector<const TFAState*> states;
    for (int32_t s = 0; s < DFA.GetCount(); ++s) {
        if (const TFAState* state = DFA.Find(s)) {
            rowOf[static_cast<size_t>(s)] = static_cast<int32_t>(states.size());
            states.push_back(state);
        }
    }
    DFAInitRow = DFA.Find(DFAInit) != nullptr ? rowOf[static_cast<size_t>(DFAInit)] : -1;
    DFAMoves.assign(states.size(), {});
    DFAAccept.assign(states.size(), nullptr);
    std::vector<TByteSet> setBytes;
    setBytes.reserve(CharacterSetTable.size());
    for (const std::string& set : CharacterSetTable) {
        setBytes.push_back(BytesOf(set, IgnoreCase));
    }
    std::vector<TByteSet> edgeBytes;
    for (size_t r = 0; r < states.size(); ++r) {
        const TFAState& state = *states[r];
        DFAAccept[r] = SymbolTable.Find(state.AcceptSymbol);
        edgeBytes.clear();
        for (const TFAEdge& edge : state.Edges) {
            edgeBytes.push_back(setBytes[static_cast<size_t>(edge.CharSetIndex)]);
        }
        for (const TMergedSet& set : state.Merged) {
            edgeBytes[static_cast<size_t>(set.Edge)] |=
                setBytes[static_cast<size_t>(set.CharSetIndex)];
        }
        // Edges are tried in order and the first whose set holds the byte
        // wins, so a byte already given a target keeps it.
        auto& row = DFAMoves[r];
        row.fill(-1);
        TByteSet taken;
        for (size_t e = 0; e < edgeBytes.size() && !taken.all(); ++e) {
            const TByteSet fresh = edgeBytes[e] & ~taken;
            if (fresh.none()) {
                continue;
            }
            const int32_t target = rowOf[static_cast<size_t>(state.Edges[e].TargetIndex)];
            for (size_t byte = fresh._Find_first(); byte < fresh.size();
                 byte = fresh._Find_next(byte)) {
                row[byte] = target;
            }
            taken |= fresh;
        }
    }

    RuleShapes.assign(static_cast<size_t>(RuleTable.GetCount()), {});
    for (int32_t r = 0; r < RuleTable.GetCount(); ++r) {
        if (const TRule* rule = RuleTable.Find(r)) {
            RuleShapes[static_cast<size_t>(r)] = {rule, rule->Head, rule->Head->TableIndex,
                                                  rule->GetSymbolCount(),
                                                  rule->ContainsOneNonTerminal()};
        }
    }
    PrepareActions();
    Comments.Build(*this);
}

void TGrammarTables::PrepareActions() {
    ActionTable.clear();
    ActionStride = 0;
    const auto symbolCount = static_cast<size_t>(SymbolTable.GetCount());
    const auto stateCount = static_cast<size_t>(LALRTables.GetCount());
    if (symbolCount * stateCount > MaxActionCells) {
        return;
    }
    // An action is packed as its value above its code; the codes a driver
    // knows fit in the code bits, any other one is stored as 0.
    const auto pack = [](const TLRAction& action, uint16_t& packed) {
        const bool known = action.Action >= acShift && action.Action <= acAccept;
        const int32_t value = known && action.Action != acAccept ? action.Value : 0;
        const int32_t code = known ? action.Action : 0;
        if (value < 0 || value > (NoPackedAction >> ActionCodeBits) - 1) {
            return false;
        }
        packed = static_cast<uint16_t>((value << ActionCodeBits) | code);
        return true;
    };
    std::vector<uint16_t> table(symbolCount * stateCount, NoPackedAction);
    for (size_t s = 0; s < stateCount; ++s) {
        const TLRActionTable* state = LALRTables.Find(static_cast<int32_t>(s));
        if (state == nullptr) {
            continue; // no action leads here: the tables were validated
        }
        uint16_t* row = table.data() + s * symbolCount;
        // Backwards, so that the first action on a symbol is the one kept.
        for (size_t a = state->Actions.size(); a-- > 0;) {
            const TLRAction& action = state->Actions[a];
            if (!pack(action, row[static_cast<size_t>(action.Symbol->TableIndex)])) {
                return;
            }
        }
    }
    ActionTable = std::move(table);
    ActionStride = symbolCount;
}

TLRStep TGrammarTables::ScanActions(int32_t State, int32_t SymbolIndex) const {
    const TLRActionTable* state = LALRTables.GetItem(State);
    const int32_t index = state->ActionIndexForSymbol(SymbolIndex);
    if (index < 0) {
        return {};
    }
    const TLRAction& action = state->GetItem(index);
    const bool known = action.Action >= acShift && action.Action <= acAccept;
    return {known ? action.Action : 0, action.Value};
}

} // namespace tvx
