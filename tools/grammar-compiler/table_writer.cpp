#include "grammar_compiler.h"

namespace tvx::grammar {

namespace {

constexpr int MaxNumber = 0xFFFF;

// Collects the entries of one record and appends it to the file: "M", the
// entry count and the typed entries; integers are 16-bit little-endian.
class RecordWriter {
public:
    explicit RecordWriter(Diagnostics& diag) : Diag(diag) {}

    void String(const std::string& text, std::string& to) const {
        for (char c : text) {
            Int16(static_cast<unsigned char>(c), to);
        }
        Int16(0, to);
    }

    void Begin(char id) {
        Entries.clear();
        Count = 0;
        Char(id);
    }
    void Char(char c) {
        Entries += 'b';
        Entries += c;
        ++Count;
    }
    void Bool(bool value) {
        Entries += 'B';
        Entries += static_cast<char>(value ? 1 : 0);
        ++Count;
    }
    void Empty() {
        Entries += 'E';
        ++Count;
    }
    void Int(int value) {
        if (value < 0 || value > MaxNumber) {
            Fail("the number " + std::to_string(value) + " does not fit the table file");
            value = 0;
        }
        Entries += 'I';
        Int16(value, Entries);
        ++Count;
    }
    void Text(const std::string& text) {
        if (text.find('\0') != std::string::npos) {
            Fail("a text of the table file cannot hold the character 0");
        }
        Entries += 'S';
        String(text, Entries);
        ++Count;
    }
    void End(std::string& file) {
        if (Count > MaxNumber) {
            Fail("a record of the table file has more than 65535 entries");
        }
        file += 'M';
        Int16(Count, file);
        file += Entries;
    }

private:
    static void Int16(int value, std::string& to) {
        to += static_cast<char>(value & 0xFF);
        to += static_cast<char>((value >> 8) & 0xFF);
    }
    void Fail(const std::string& text) {
        if (!Failed) {
            Diag.Error(0, text);
        }
        Failed = true;
    }

    Diagnostics& Diag;
    std::string Entries;
    int Count = 0;
    bool Failed = false;
};

} // namespace

std::string WriteTableFile(const CompiledGrammar& Grammar, Diagnostics& Diag) {
    RecordWriter record(Diag);
    std::string file;
    record.String("GOLD Parser Tables/v1.0", file);

    record.Begin('P');
    record.Text(Grammar.name);
    record.Text(Grammar.version);
    record.Text(Grammar.author);
    record.Text(Grammar.about);
    record.Bool(Grammar.caseSensitive);
    record.Int(Grammar.startSymbol);
    record.End(file);

    record.Begin('T');
    record.Int(static_cast<int>(Grammar.symbols.size()));
    record.Int(static_cast<int>(Grammar.scanner.charSets.size()));
    record.Int(static_cast<int>(Grammar.rules.size()));
    record.Int(static_cast<int>(Grammar.scanner.states.size()));
    record.Int(static_cast<int>(Grammar.parser.states.size()));
    record.End(file);

    record.Begin('I');
    record.Int(0); // both automata start in state 0
    record.Int(0);
    record.End(file);

    for (size_t i = 0; i < Grammar.symbols.size(); ++i) {
        record.Begin('S');
        record.Int(static_cast<int>(i));
        record.Text(Grammar.symbols[i].name);
        record.Int(Grammar.symbols[i].kind);
        record.End(file);
    }
    for (size_t i = 0; i < Grammar.scanner.charSets.size(); ++i) {
        record.Begin('C');
        record.Int(static_cast<int>(i));
        record.Text(Grammar.scanner.charSets[i]);
        record.End(file);
    }
    for (size_t i = 0; i < Grammar.rules.size(); ++i) {
        record.Begin('R');
        record.Int(static_cast<int>(i));
        record.Int(Grammar.rules[i].head);
        record.Empty();
        for (int symbol : Grammar.rules[i].body) {
            record.Int(symbol);
        }
        record.End(file);
    }
    for (size_t i = 0; i < Grammar.scanner.states.size(); ++i) {
        const DfaState& state = Grammar.scanner.states[i];
        record.Begin('D');
        record.Int(static_cast<int>(i));
        record.Bool(state.accept >= 0);
        record.Int(state.accept >= 0 ? state.accept : 0);
        record.Empty();
        for (const DfaEdge& edge : state.edges) {
            record.Int(edge.charSet);
            record.Int(edge.target);
            record.Empty();
        }
        record.End(file);
    }
    for (size_t i = 0; i < Grammar.parser.states.size(); ++i) {
        record.Begin('L');
        record.Int(static_cast<int>(i));
        record.Empty();
        for (const LalrAction& action : Grammar.parser.states[i]) {
            record.Int(action.symbol);
            record.Int(action.action);
            record.Int(action.value);
            record.Empty();
        }
        record.End(file);
    }
    return file;
}

} // namespace tvx::grammar
