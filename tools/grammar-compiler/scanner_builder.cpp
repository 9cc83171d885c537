#include "scanner_builder.h"

#include <algorithm>
#include <map>
#include <queue>
#include <set>

namespace tvx::grammar {

namespace {

struct NfaState {
    std::vector<int> epsilon;
    std::vector<std::pair<int, int>> moves; // (leaf set, target)
    int accept = -1;                        // index into the terminal list
};

struct Fragment {
    int start;
    int end;
};

class NfaBuilder {
public:
    explicit NfaBuilder(bool caseSensitive) : CaseSensitive(caseSensitive) {}

    int NewState() {
        States.emplace_back();
        return static_cast<int>(States.size()) - 1;
    }

    Fragment Build(const Regex& regex) {
        const int start = NewState();
        const int end = NewState();
        switch (regex.kind) {
        case Regex::Chars:
            States[start].moves.emplace_back(Leaf(regex.chars), end);
            break;
        case Regex::Concat: {
            int at = start;
            for (const Regex& child : regex.children) {
                const Fragment f = Build(child);
                States[at].epsilon.push_back(f.start);
                at = f.end;
            }
            States[at].epsilon.push_back(end);
            break;
        }
        case Regex::Alternative:
            for (const Regex& child : regex.children) {
                const Fragment f = Build(child);
                States[start].epsilon.push_back(f.start);
                States[f.end].epsilon.push_back(end);
            }
            break;
        case Regex::Star:
        case Regex::Plus:
        case Regex::Optional: {
            const Fragment f = Build(regex.children.at(0));
            States[start].epsilon.push_back(f.start);
            States[f.end].epsilon.push_back(end);
            if (regex.kind != Regex::Plus) {
                States[start].epsilon.push_back(end);
            }
            if (regex.kind != Regex::Optional) {
                States[f.end].epsilon.push_back(f.start);
            }
            break;
        }
        }
        return {start, end};
    }

    std::vector<int> Closure(std::vector<int> states) const {
        std::vector<char> seen(States.size(), 0);
        std::vector<int> work = states;
        for (int s : states) {
            seen[static_cast<size_t>(s)] = 1;
        }
        while (!work.empty()) {
            const int s = work.back();
            work.pop_back();
            for (int t : States[static_cast<size_t>(s)].epsilon) {
                if (!seen[static_cast<size_t>(t)]) {
                    seen[static_cast<size_t>(t)] = 1;
                    states.push_back(t);
                    work.push_back(t);
                }
            }
        }
        std::sort(states.begin(), states.end());
        return states;
    }

    std::vector<NfaState> States;
    std::vector<CharSet> Leaves;

private:
    int Leaf(CharSet set) {
        if (!CaseSensitive) {
            for (int c = 'a'; c <= 'z'; ++c) {
                if (set.test(static_cast<size_t>(c))) {
                    set.reset(static_cast<size_t>(c));
                    set.set(static_cast<size_t>(c - 'a' + 'A'));
                }
            }
        }
        const std::string key = set.to_string();
        auto [it, added] = LeafIndex.emplace(key, static_cast<int>(Leaves.size()));
        if (added) {
            Leaves.push_back(set);
        }
        return it->second;
    }

    bool CaseSensitive;
    std::map<std::string, int> LeafIndex;
};

// Bytes that every leaf set either holds or lacks together form one class;
// the DFA moves on classes instead of on single bytes.
struct Partition {
    std::vector<CharSet> classes;
    std::vector<std::vector<int>> leafClasses; // classes inside each leaf set
};

Partition MakePartition(const std::vector<CharSet>& leaves) {
    Partition p;
    p.leafClasses.resize(leaves.size());
    std::map<std::vector<bool>, int> bySignature;
    for (size_t byte = 1; byte < 256; ++byte) {
        std::vector<bool> signature(leaves.size());
        bool any = false;
        for (size_t l = 0; l < leaves.size(); ++l) {
            signature[l] = leaves[l].test(byte);
            any = any || signature[l];
        }
        if (!any) {
            continue;
        }
        auto [it, added] = bySignature.emplace(signature, static_cast<int>(p.classes.size()));
        if (added) {
            p.classes.emplace_back();
            for (size_t l = 0; l < leaves.size(); ++l) {
                if (signature[l]) {
                    p.leafClasses[l].push_back(it->second);
                }
            }
        }
        p.classes[static_cast<size_t>(it->second)].set(byte);
    }
    return p;
}

std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte > 126) {
            out += '#';
            out += std::to_string(byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::string SetText(const CharSet& set) {
    std::string text;
    for (size_t byte = 1; byte < 256; ++byte) {
        if (set.test(byte)) {
            text += static_cast<char>(byte);
        }
    }
    return text;
}

} // namespace

ScannerTables BuildScanner(const std::vector<ScannerTerminal>& Terminals, bool CaseSensitive,
                           Diagnostics& Diag) {
    NfaBuilder nfa(CaseSensitive);
    const int start = nfa.NewState();
    for (size_t t = 0; t < Terminals.size(); ++t) {
        const Fragment f = nfa.Build(*Terminals[t].pattern);
        nfa.States[static_cast<size_t>(start)].epsilon.push_back(f.start);
        nfa.States[static_cast<size_t>(f.end)].accept = static_cast<int>(t);
        for (int s : nfa.Closure({f.start})) {
            if (s == f.end) {
                Diag.Error(Terminals[t].line,
                           "the pattern of '" + Terminals[t].name + "' matches the empty text");
            }
        }
    }
    const Partition partition = MakePartition(nfa.Leaves);

    struct Pending {
        std::vector<int> nfaStates;
        int parent = -1; // for a sample text that reaches the state
        int parentClass = -1;
    };
    std::vector<Pending> subsets;
    std::map<std::vector<int>, int> index;
    std::vector<std::map<int, int>> moves; // per DFA state: class -> target
    auto lookup = [&](std::vector<int> states, int parent, int cls) {
        auto [it, added] = index.emplace(states, static_cast<int>(subsets.size()));
        if (added) {
            subsets.push_back({std::move(states), parent, cls});
            moves.emplace_back();
        }
        return it->second;
    };
    lookup(nfa.Closure({start}), -1, -1);
    for (size_t d = 0; d < subsets.size(); ++d) {
        std::map<int, std::set<int>> byClass;
        for (int s : subsets[d].nfaStates) {
            for (const auto& [leaf, target] : nfa.States[static_cast<size_t>(s)].moves) {
                for (int cls : partition.leafClasses[static_cast<size_t>(leaf)]) {
                    byClass[cls].insert(target);
                }
            }
        }
        for (const auto& [cls, targets] : byClass) {
            const int target =
                lookup(nfa.Closure({targets.begin(), targets.end()}), static_cast<int>(d), cls);
            moves[d][cls] = target;
        }
    }

    ScannerTables tables;
    std::map<std::string, int> setIndex;
    std::set<std::pair<int, int>> reported;
    tables.states.resize(subsets.size());
    for (size_t d = 0; d < subsets.size(); ++d) {
        DfaState& state = tables.states[d];
        std::vector<int> candidates;
        for (int s : subsets[d].nfaStates) {
            if (nfa.States[static_cast<size_t>(s)].accept >= 0) {
                candidates.push_back(nfa.States[static_cast<size_t>(s)].accept);
            }
        }
        // Literal texts outrank general patterns; two winners of the same
        // rank cannot be told apart.
        const bool anyLiteral = std::any_of(candidates.begin(), candidates.end(),
                                            [&](int t) { return Terminals[t].literal; });
        std::vector<int> winners;
        for (int t : candidates) {
            if (Terminals[t].literal == anyLiteral) {
                winners.push_back(t);
            }
        }
        if (!winners.empty()) {
            state.accept = Terminals[static_cast<size_t>(winners[0])].symbol;
        }
        for (size_t w = 1; w < winners.size(); ++w) {
            if (!reported.emplace(winners[0], winners[w]).second) {
                continue;
            }
            std::string sample;
            for (int at = static_cast<int>(d); subsets[at].parent >= 0; at = subsets[at].parent) {
                const CharSet& cls =
                    partition.classes[static_cast<size_t>(subsets[at].parentClass)];
                size_t byte = 1;
                while (!cls.test(byte)) {
                    ++byte;
                }
                sample.insert(sample.begin(), static_cast<char>(byte));
            }
            Diag.Error(Terminals[winners[w]].line, "terminals '" + Terminals[winners[0]].name +
                                                       "' and '" + Terminals[winners[w]].name +
                                                       "' are ambiguous: both match \"" +
                                                       Printable(sample) + "\"");
        }
        std::map<int, CharSet> byTarget;
        for (const auto& [cls, target] : moves[d]) {
            byTarget[target] |= partition.classes[static_cast<size_t>(cls)];
        }
        for (const auto& [target, set] : byTarget) {
            const std::string text = SetText(set);
            auto [it, added] = setIndex.emplace(text, static_cast<int>(tables.charSets.size()));
            if (added) {
                tables.charSets.push_back(text);
            }
            state.edges.push_back({it->second, target});
        }
    }
    return tables;
}

} // namespace tvx::grammar
