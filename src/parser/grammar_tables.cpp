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

bool ToIndex(const std::string& Text, int32_t& Value) {
    if (Text.empty()) {
        Value = 0;
        return true;
    }
    if (Text.size() > 9) {
        return false;
    }
    int32_t v = 0;
    for (char c : Text) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    Value = v;
    return true;
}

unsigned char FoldCase(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Above this many cells the per-state action lookup is not worth its memory
// and the driver scans the state's actions instead.
constexpr size_t MaxActionIndexCells = size_t{1} << 23;

} // namespace

void TFAState::AddEdge(const std::string& CharsText, int32_t Target) {
    int32_t index = 0;
    if (!ToIndex(CharsText, index)) {
        index = 0;
    }
    Edges.push_back({index, Target});
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
    if (SymbolTable.Find(StartSymbol) == nullptr) {
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
        for (const TFAEdge& edge : state->Edges) {
            if (edge.CharSetIndex < 0 ||
                static_cast<size_t>(edge.CharSetIndex) >= CharacterSetTable.size() ||
                DFA.Find(edge.TargetIndex) == nullptr) {
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
    std::vector<std::bitset<256>> sets(CharacterSetTable.size());
    for (size_t i = 0; i < CharacterSetTable.size(); ++i) {
        for (char c : CharacterSetTable[i]) {
            auto byte = static_cast<unsigned char>(c);
            sets[i].set(IgnoreCase ? FoldCase(byte) : byte);
        }
    }
    DFAMoves.assign(static_cast<size_t>(DFA.GetCount()), {});
    DFAAccept.assign(static_cast<size_t>(DFA.GetCount()), -1);
    for (int32_t s = 0; s < DFA.GetCount(); ++s) {
        auto& row = DFAMoves[static_cast<size_t>(s)];
        row.fill(-1);
        const TFAState* state = DFA.Find(s);
        if (state == nullptr) {
            continue;
        }
        DFAAccept[static_cast<size_t>(s)] = state->AcceptSymbol;
        for (int byte = 0; byte < 256; ++byte) {
            unsigned char key = static_cast<unsigned char>(byte);
            if (IgnoreCase) {
                key = FoldCase(key);
            }
            for (const TFAEdge& edge : state->Edges) {
                if (sets[static_cast<size_t>(edge.CharSetIndex)].test(key)) {
                    row[static_cast<size_t>(byte)] = edge.TargetIndex;
                    break;
                }
            }
        }
    }

    ActionIndex.clear();
    const auto symbolCount = static_cast<size_t>(SymbolTable.GetCount());
    const auto stateCount = static_cast<size_t>(LALRTables.GetCount());
    if (symbolCount * stateCount > MaxActionIndexCells) {
        return;
    }
    ActionIndex.assign(stateCount, std::vector<int32_t>(symbolCount, -1));
    for (size_t s = 0; s < stateCount; ++s) {
        const TLRActionTable* table = LALRTables.Find(static_cast<int32_t>(s));
        if (table == nullptr) {
            continue;
        }
        for (size_t a = table->Actions.size(); a-- > 0;) {
            ActionIndex[s][static_cast<size_t>(table->Actions[a].Symbol->TableIndex)] =
                static_cast<int32_t>(a);
        }
    }
}

int32_t TGrammarTables::FindAction(int32_t State, int32_t SymbolIndex) const {
    if (!ActionIndex.empty()) {
        const auto& row = ActionIndex[static_cast<size_t>(State)];
        return SymbolIndex >= 0 && static_cast<size_t>(SymbolIndex) < row.size()
                   ? row[static_cast<size_t>(SymbolIndex)]
                   : -1;
    }
    return LALRTables.GetItem(State)->ActionIndexForSymbol(SymbolIndex);
}

} // namespace tvx
