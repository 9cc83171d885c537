#include "grammar_compiler.h"

#include "grammar_file.h"

#include <map>
#include <set>

namespace tvx::grammar {

namespace {

SymbolKind KindOf(TerminalRole role) {
    switch (role) {
    case TerminalRole::Whitespace:
        return kindWhitespace;
    case TerminalRole::CommentStart:
        return kindCommentStart;
    case TerminalRole::CommentEnd:
        return kindCommentEnd;
    case TerminalRole::CommentLine:
        return kindCommentLine;
    default:
        return kindTerminal;
    }
}

std::string DisplayName(const CompiledSymbol& symbol, TerminalRole role) {
    if (symbol.kind == kindNonterminal) {
        return "<" + symbol.name + ">";
    }
    if (role == TerminalRole::Keyword || symbol.kind == kindCommentStart ||
        symbol.kind == kindCommentEnd || symbol.kind == kindCommentLine) {
        return "'" + symbol.name + "'";
    }
    return symbol.name;
}

class SymbolAssembler {
public:
    SymbolAssembler(const GrammarDefinition& source, CompiledGrammar& out, Diagnostics& diag)
        : Source(source), Out(out), Diag(diag) {}

    bool Run(LalrGrammar& lalr, std::vector<ScannerTerminal>& scanner) {
        AddSymbol({"EOF", kindEnd}, TerminalRole::Token, 0);
        AddSymbol({"Error", kindError}, TerminalRole::Token, 0);
        for (const TerminalDefinition& terminal : Source.terminals) {
            const int index =
                AddSymbol({terminal.name, KindOf(terminal.role)}, terminal.role, terminal.line);
            if (terminal.role == TerminalRole::Token || terminal.role == TerminalRole::Keyword) {
                TerminalIndex.emplace(terminal.name, index);
            }
            scanner.push_back(
                {index, &terminal.pattern, terminal.literal, terminal.name, terminal.line});
        }
        for (const RuleDefinition& rule : Source.rules) {
            if (NonterminalIndex.count(rule.head) == 0) {
                NonterminalIndex[rule.head] = AddNonterminal(rule.head, rule.line);
            }
        }
        if (Source.rules.empty()) {
            Diag.Error(0, "the grammar has no rules");
            return false;
        }
        ResolveStart();
        for (const RuleDefinition& rule : Source.rules) {
            LalrGrammar::Rule compiled{NonterminalIndex.at(rule.head), {}, rule.line};
            for (const SymbolReference& ref : rule.body) {
                compiled.body.push_back(Resolve(ref, rule.line));
            }
            Out.rules.push_back(compiled);
        }
        lalr.symbolNames = Names;
        for (const CompiledSymbol& symbol : Out.symbols) {
            lalr.terminal.push_back(symbol.kind != kindNonterminal);
        }
        lalr.endSymbol = 0;
        lalr.startSymbol = Out.startSymbol;
        lalr.rules = Out.rules;
        WarnUnused();
        return !Diag.HasErrors();
    }

private:
    int AddSymbol(CompiledSymbol symbol, TerminalRole role, int line) {
        if (symbol.kind != kindNonterminal && !TerminalNames.insert(symbol.name).second) {
            Diag.Error(line, "terminal name '" + symbol.name + "' is used twice");
        }
        Names.push_back(DisplayName(symbol, role));
        Out.symbols.push_back(std::move(symbol));
        return static_cast<int>(Out.symbols.size()) - 1;
    }

    // "<Name~variant>" is a nonterminal of its own for the automaton, but the
    // tables (and so the parse tree) call it "Name": a grammar can split a
    // construct into forms to avoid a conflict and still show one name.
    int AddNonterminal(const std::string& written, int line) {
        std::string name = written.substr(0, written.find('~'));
        name.erase(name.find_last_not_of(" \t") + 1);
        if (name.empty()) {
            Diag.Error(line, "<" + written + "> has no name before '~'");
        }
        const int index = AddSymbol({name, kindNonterminal}, TerminalRole::Token, line);
        Names[static_cast<size_t>(index)] = "<" + written + ">";
        return index;
    }

    void ResolveStart() {
        const std::string start =
            Source.startSymbol.empty() ? Source.rules.front().head : Source.startSymbol;
        auto it = NonterminalIndex.find(start);
        if (it == NonterminalIndex.end()) {
            Diag.Error(Source.startLine, "start symbol <" + start + "> has no rule");
            return;
        }
        Out.startSymbol = it->second;
    }

    int Resolve(const SymbolReference& ref, int line) {
        const auto& names = ref.nonterminal ? NonterminalIndex : TerminalIndex;
        auto it = names.find(ref.name);
        if (it != names.end()) {
            Used.insert(it->second);
            return it->second;
        }
        if (ref.nonterminal) {
            Diag.Error(line, "<" + ref.name + "> has no rule");
        }
        return 0; // an unknown terminal is reported by the reader
    }

    void WarnUnused() {
        for (const TerminalDefinition& terminal : Source.terminals) {
            if (terminal.role == TerminalRole::Token &&
                Used.count(TerminalIndex.at(terminal.name)) == 0) {
                Diag.Warning(terminal.line, "token '" + terminal.name + "' is used by no rule");
            }
        }
        std::set<int> reachable{Out.startSymbol};
        for (bool changed = true; changed;) {
            changed = false;
            for (const auto& rule : Out.rules) {
                if (reachable.count(rule.head) == 0) {
                    continue;
                }
                for (int symbol : rule.body) {
                    changed = reachable.insert(symbol).second || changed;
                }
            }
        }
        for (const RuleDefinition& rule : Source.rules) {
            const int head = NonterminalIndex.at(rule.head);
            if (reachable.insert(head).second) {
                Diag.Warning(rule.line, "<" + rule.head + "> cannot be reached from the start");
            }
        }
    }

    const GrammarDefinition& Source;
    CompiledGrammar& Out;
    Diagnostics& Diag;
    std::vector<std::string> Names;
    std::set<std::string> TerminalNames;
    std::map<std::string, int> TerminalIndex;
    std::map<std::string, int> NonterminalIndex;
    std::set<int> Used;
};

} // namespace

CompileResult CompileGrammar(const std::string& Source, const std::string& FileName) {
    CompileResult result;
    Diagnostics diag(FileName);
    GrammarDefinition definition;
    ReadGrammarText(Source, definition, diag);
    CompiledGrammar& out = result.grammar;
    out.name = definition.name;
    out.version = definition.version;
    out.author = definition.author;
    out.about = definition.about;
    out.caseSensitive = definition.caseSensitive;

    LalrGrammar lalr;
    std::vector<ScannerTerminal> terminals;
    if (!diag.HasErrors() && SymbolAssembler(definition, out, diag).Run(lalr, terminals)) {
        out.scanner = BuildScanner(terminals, definition.caseSensitive, diag);
        out.parser = BuildLalr(lalr, diag);
        if (!diag.HasErrors()) {
            result.tableFile = WriteTableFile(out, diag);
        }
    }
    result.ok = !diag.HasErrors();
    result.errors = std::move(diag.Errors);
    result.warnings = std::move(diag.Warnings);
    return result;
}

} // namespace tvx::grammar
