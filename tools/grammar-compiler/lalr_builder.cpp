#include "lalr_builder.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>

namespace tvx::grammar {

namespace {

class TerminalSet {
public:
    explicit TerminalSet(size_t count = 0) : Words((count + 63) / 64, 0) {}
    void Set(size_t i) { Words[i / 64] |= uint64_t{1} << (i % 64); }
    bool Test(size_t i) const { return (Words[i / 64] >> (i % 64)) & 1; }
    TerminalSet& operator|=(const TerminalSet& other) {
        for (size_t w = 0; w < Words.size(); ++w) {
            Words[w] |= other.Words[w];
        }
        return *this;
    }

private:
    std::vector<uint64_t> Words;
};

// Closes F over the relation R: F(x) gets F(y) for every y reachable from x;
// members of one strongly connected component end with the same set.
void Digraph(const std::vector<std::vector<int>>& R, std::vector<TerminalSet>& F) {
    std::vector<int> depth(F.size(), 0);
    std::vector<int> stack;
    std::function<void(int)> traverse = [&](int x) {
        stack.push_back(x);
        const int d = static_cast<int>(stack.size());
        depth[x] = d;
        for (int y : R[x]) {
            if (depth[y] == 0) {
                traverse(y);
            }
            depth[x] = std::min(depth[x], depth[y]);
            F[x] |= F[y];
        }
        if (depth[x] == d) {
            for (;;) {
                const int top = stack.back();
                stack.pop_back();
                depth[top] = INT_MAX;
                if (top == x) {
                    break;
                }
                F[top] = F[x];
            }
        }
    };
    for (size_t x = 0; x < F.size(); ++x) {
        if (depth[x] == 0) {
            traverse(static_cast<int>(x));
        }
    }
}

class Builder {
public:
    Builder(const LalrGrammar& grammar, Diagnostics& diag) : G(grammar), Diag(diag) {
        // The augmented rule S' -> S is the last one; its completed item is
        // where the parser accepts.
        Rules = G.rules;
        Rules.push_back({-1, {G.startSymbol}, 0});
        Augmented = static_cast<int>(Rules.size()) - 1;
        int offset = 0;
        for (size_t r = 0; r < Rules.size(); ++r) {
            RuleOffset.push_back(offset);
            offset += static_cast<int>(Rules[r].body.size()) + 1;
            for (size_t i = 0; i <= Rules[r].body.size(); ++i) {
                ItemRule.push_back(static_cast<int>(r));
                ItemDot.push_back(static_cast<int>(i));
            }
        }
        RulesOf.resize(G.symbolNames.size());
        for (size_t r = 0; r + 1 < Rules.size(); ++r) {
            RulesOf[static_cast<size_t>(Rules[r].head)].push_back(static_cast<int>(r));
        }
        TerminalIndex.assign(G.symbolNames.size(), -1);
        for (size_t s = 0; s < G.symbolNames.size(); ++s) {
            if (G.terminal[s]) {
                TerminalIndex[s] = static_cast<int>(TerminalSymbols.size());
                TerminalSymbols.push_back(static_cast<int>(s));
            }
        }
    }

    LalrTables Run() {
        BuildAutomaton();
        ComputeNullable();
        ComputeLookaheads();
        return MakeActions();
    }

private:
    struct State {
        std::vector<int> kernel;
        std::vector<int> closure;
        std::map<int, int> transitions; // symbol -> state
    };

    int NextSymbol(int item) const {
        const auto& body = Rules[static_cast<size_t>(ItemRule[item])].body;
        const int dot = ItemDot[item];
        return dot < static_cast<int>(body.size()) ? body[static_cast<size_t>(dot)] : -1;
    }
    bool IsNonterminal(int symbol) const { return symbol >= 0 && !G.terminal[symbol]; }

    std::vector<int> Closure(const std::vector<int>& kernel) const {
        std::vector<int> items = kernel;
        std::vector<char> expanded(G.symbolNames.size(), 0);
        for (size_t i = 0; i < items.size(); ++i) {
            const int symbol = NextSymbol(items[i]);
            if (!IsNonterminal(symbol) || expanded[symbol]) {
                continue;
            }
            expanded[symbol] = 1;
            for (int r : RulesOf[symbol]) {
                items.push_back(RuleOffset[r]);
            }
        }
        return items;
    }

    void BuildAutomaton() {
        std::map<std::vector<int>, int> index;
        auto stateFor = [&](std::vector<int> kernel) {
            auto [it, added] = index.emplace(kernel, static_cast<int>(States.size()));
            if (added) {
                States.push_back({std::move(kernel), {}, {}});
            }
            return it->second;
        };
        stateFor({RuleOffset[Augmented]});
        for (size_t s = 0; s < States.size(); ++s) {
            States[s].closure = Closure(States[s].kernel);
            std::map<int, std::vector<int>> kernels;
            for (int item : States[s].closure) {
                const int symbol = NextSymbol(item);
                if (symbol >= 0) {
                    kernels[symbol].push_back(item + 1);
                }
            }
            for (auto& [symbol, kernel] : kernels) {
                std::sort(kernel.begin(), kernel.end());
                const int target = stateFor(std::move(kernel));
                States[s].transitions[symbol] = target;
            }
        }
    }

    void ComputeNullable() {
        Nullable.assign(G.symbolNames.size(), false);
        for (bool changed = true; changed;) {
            changed = false;
            for (size_t r = 0; r < G.rules.size(); ++r) {
                const auto& rule = G.rules[r];
                if (Nullable[rule.head]) {
                    continue;
                }
                if (std::all_of(rule.body.begin(), rule.body.end(),
                                [&](int s) { return Nullable[s]; })) {
                    Nullable[rule.head] = true;
                    changed = true;
                }
            }
        }
    }

    bool NullableFrom(const std::vector<int>& body, size_t from) const {
        for (size_t i = from; i < body.size(); ++i) {
            if (!Nullable[static_cast<size_t>(body[i])]) {
                return false;
            }
        }
        return true;
    }

    int Transition(int state, int symbol) const { return TransitionIndex.at({state, symbol}); }

    void ComputeLookaheads() {
        for (size_t s = 0; s < States.size(); ++s) {
            for (const auto& [symbol, target] : States[s].transitions) {
                if (IsNonterminal(symbol)) {
                    TransitionIndex[{static_cast<int>(s), symbol}] =
                        static_cast<int>(NtTransitions.size());
                    NtTransitions.push_back({static_cast<int>(s), symbol});
                }
            }
        }
        const size_t count = NtTransitions.size();
        const int acceptItem = RuleOffset[Augmented] + 1;

        // Direct reads: terminals shifted right after the transition.
        std::vector<TerminalSet> read(count, TerminalSet(TerminalSymbols.size()));
        std::vector<std::vector<int>> reads(count);
        for (size_t x = 0; x < count; ++x) {
            const auto [p, A] = NtTransitions[x];
            const State& r = States[static_cast<size_t>(States[p].transitions.at(A))];
            for (const auto& [symbol, target] : r.transitions) {
                if (!IsNonterminal(symbol)) {
                    read[x].Set(static_cast<size_t>(TerminalIndex[symbol]));
                } else if (Nullable[symbol]) {
                    reads[x].push_back(Transition(States[p].transitions.at(A), symbol));
                }
            }
            if (std::find(r.kernel.begin(), r.kernel.end(), acceptItem) != r.kernel.end()) {
                read[x].Set(static_cast<size_t>(TerminalIndex[G.endSymbol]));
            }
        }
        Digraph(reads, read);

        std::vector<std::vector<int>> includes(count);
        for (size_t x = 0; x < count; ++x) {
            const auto [p, B] = NtTransitions[x];
            for (int r : RulesOf[B]) {
                const auto& body = Rules[static_cast<size_t>(r)].body;
                int s = p;
                for (size_t i = 0; i < body.size(); ++i) {
                    if (IsNonterminal(body[i]) && NullableFrom(body, i + 1)) {
                        includes[static_cast<size_t>(Transition(s, body[i]))].push_back(
                            static_cast<int>(x));
                    }
                    s = States[static_cast<size_t>(s)].transitions.at(body[i]);
                }
                Lookback[{s, r}].push_back(static_cast<int>(x));
            }
        }
        Follow = std::move(read);
        Digraph(includes, Follow);
    }

    std::string ItemText(int item) const {
        const auto& rule = Rules[static_cast<size_t>(ItemRule[item])];
        std::string text = rule.head >= 0 ? G.symbolNames[rule.head] : std::string("<start>");
        text += " ::=";
        for (size_t i = 0; i <= rule.body.size(); ++i) {
            if (static_cast<int>(i) == ItemDot[item]) {
                text += " .";
            }
            if (i < rule.body.size()) {
                text += " " + G.symbolNames[rule.body[i]];
            }
        }
        return text;
    }

    void ReportConflict(size_t state, int symbol, const std::string& what) {
        std::string text = "LALR conflict in state " + std::to_string(state) + " on " +
                           G.symbolNames[symbol] + ": " + what + "\n  state " +
                           std::to_string(state) + ":";
        for (int item : States[state].kernel) {
            text += "\n    " + ItemText(item);
        }
        Diag.Error(0, text);
    }

    LalrTables MakeActions() {
        LalrTables tables;
        tables.states.resize(States.size());
        const int acceptItem = RuleOffset[Augmented] + 1;
        for (size_t s = 0; s < States.size(); ++s) {
            const State& state = States[s];
            std::map<int, LalrAction> actions;
            for (const auto& [symbol, target] : state.transitions) {
                actions[symbol] = {symbol, IsNonterminal(symbol) ? actGoto : actShift, target};
            }
            if (std::find(state.kernel.begin(), state.kernel.end(), acceptItem) !=
                state.kernel.end()) {
                AddAction(s, actions, {G.endSymbol, actAccept, 0});
            }
            for (int item : state.closure) {
                const int r = ItemRule[item];
                if (r == Augmented || NextSymbol(item) >= 0) {
                    continue;
                }
                TerminalSet lookahead(TerminalSymbols.size());
                auto it = Lookback.find({static_cast<int>(s), r});
                if (it != Lookback.end()) {
                    for (int x : it->second) {
                        lookahead |= Follow[static_cast<size_t>(x)];
                    }
                }
                for (size_t t = 0; t < TerminalSymbols.size(); ++t) {
                    if (lookahead.Test(t)) {
                        AddAction(s, actions, {TerminalSymbols[t], actReduce, r});
                    }
                }
            }
            for (const auto& [symbol, action] : actions) {
                tables.states[s].push_back(action);
            }
        }
        return tables;
    }

    std::string Describe(const LalrAction& action) const {
        switch (action.action) {
        case actShift:
            return "shift";
        case actAccept:
            return "accept";
        default:
            return "reduce " + RuleDisplay(action.value);
        }
    }

    std::string RuleDisplay(int r) const {
        const auto& rule = Rules[static_cast<size_t>(r)];
        std::string text = G.symbolNames[rule.head] + " ::=";
        for (int symbol : rule.body) {
            text += " " + G.symbolNames[symbol];
        }
        if (rule.line > 0) {
            text += " (line " + std::to_string(rule.line) + ")";
        }
        return text;
    }

    void AddAction(size_t state, std::map<int, LalrAction>& actions, const LalrAction& action) {
        auto [it, added] = actions.emplace(action.symbol, action);
        if (added) {
            return;
        }
        const bool reduceReduce = it->second.action == actReduce && action.action == actReduce;
        ReportConflict(state, action.symbol,
                       std::string(reduceReduce ? "reduce-reduce" : "shift-reduce") +
                           " conflict between " + Describe(it->second) + " and " +
                           Describe(action));
    }

    const LalrGrammar& G;
    Diagnostics& Diag;
    std::vector<LalrGrammar::Rule> Rules;
    int Augmented = 0;
    std::vector<int> RuleOffset;
    std::vector<int> ItemRule;
    std::vector<int> ItemDot;
    std::vector<std::vector<int>> RulesOf;
    std::vector<int> TerminalIndex;
    std::vector<int> TerminalSymbols;
    std::vector<State> States;
    std::vector<bool> Nullable;
    std::vector<std::pair<int, int>> NtTransitions;
    std::map<std::pair<int, int>, int> TransitionIndex;
    std::map<std::pair<int, int>, std::vector<int>> Lookback;
    std::vector<TerminalSet> Follow;
};

} // namespace

LalrTables BuildLalr(const LalrGrammar& Grammar, Diagnostics& Diag) {
    return Builder(Grammar, Diag).Run();
}

} // namespace tvx::grammar
