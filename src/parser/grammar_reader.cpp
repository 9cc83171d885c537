#include "parser/grammar_reader.h"

#include <QFile>
#include <algorithm>

namespace tvx {

namespace {

// Indexes are 16-bit numbers in the file; one read from a text entry could
// claim more, and must not make a table grow beyond what a file can hold.
constexpr int32_t MaxTableIndex = 0xFFFF;

// Every table entry takes a record of several bytes, and the real tables
// stay far below one entry per this many bytes of the file. A few thousand
// entries are allowed whatever the size, for small grammars.
constexpr size_t BytesPerEntry = 64;
constexpr int32_t EntriesOfAnySize = 1024;

const char* const ParameterNames[] = {"Name",  "Version",        "Author",
                                      "About", "Case Sensitive", "Start Symbol"};

} // namespace

bool TTableEntry::ToInteger(int32_t& Value) const {
    switch (Type) {
    case etEmpty:
        Value = 0;
        return true;
    case etBoolean:
        Value = Boolean ? 1 : 0;
        return true;
    case etInteger:
        Value = Integer;
        return true;
    case etChar:
    case etString:
        break;
    }
    if (Text.empty() || Text.size() > 9) {
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

int32_t TTableEntry::AsInteger() const {
    int32_t value = 0;
    return ToInteger(value) ? value : 0;
}

bool TTableEntry::AsBoolean() const {
    switch (Type) {
    case etBoolean:
        return Boolean;
    case etInteger:
        return Integer != 0;
    case etChar:
    case etString:
        return Text == "True";
    case etEmpty:
        break;
    }
    return false;
}

std::string TTableEntry::AsText() const {
    switch (Type) {
    case etBoolean:
        return Boolean ? "True" : "False";
    case etInteger:
        return std::to_string(Integer);
    case etChar:
    case etString:
        return std::string(Text);
    case etEmpty:
        break;
    }
    return {};
}

bool TGrammarReader::LoadFromFile(const QString& FileName) {
    if (!OpenFile(FileName)) {
        Owner.Clear();
        return false;
    }
    return LoadTables();
}

std::shared_ptr<const TGrammarTables> LoadGrammarTables(const QString& FileName) {
    auto tables = std::make_shared<TGrammarTables>();
    TGrammarReader reader(*tables);
    if (!reader.LoadFromFile(FileName)) {
        return nullptr;
    }
    return tables;
}

bool TGrammarReader::OpenFile(const QString& FileName) {
    Buffer.clear();
    Pos = 0;
    Opened = false;
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // Read in pieces up to the limit: a device that never ends (or an
    // oversized file) is refused without holding more than the limit.
    QByteArray bytes;
    char piece[64 * 1024];
    for (;;) {
        const qint64 n = file.read(piece, sizeof piece);
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        if (bytes.size() + n > MaxFileSize) {
            return false;
        }
        bytes.append(piece, static_cast<qsizetype>(n));
    }
    Buffer.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    Opened = true;
    return true;
}

bool TGrammarReader::LoadFromBytes(std::string Bytes) {
    Buffer = std::move(Bytes);
    Pos = 0;
    Opened = true;
    return LoadTables();
}

int32_t TGrammarReader::MaxIndex() const {
    const size_t claimable = EntriesOfAnySize + Buffer.size() / BytesPerEntry;
    return static_cast<int32_t>(std::min<size_t>(claimable, MaxTableIndex + 1)) - 1;
}

bool TGrammarReader::LoadTables() {
    TGrammarTables tables;
    EdgeOfTarget.assign(static_cast<size_t>(MaxIndex()) + 1, -1);
    const bool loaded = Opened && DecodeTables(tables);
    Buffer.clear();
    Buffer.shrink_to_fit();
    Entries.clear();
    EntryTexts.clear();
    EdgeOfTarget = {};
    Opened = false;
    if (!loaded) {
        Owner.Clear();
        return false;
    }
    Owner = std::move(tables);
    return true;
}

bool TGrammarReader::DecodeTables(TGrammarTables& Tables) {
    Pos = 0;
    Damaged = false;
    for (const char* name : ParameterNames) {
        Tables.Variables.SetValue(name, {});
    }
    std::string header;
    if (!ReadUniString(header) || header != Header) {
        return false;
    }
    // A stray byte where a record should start is skipped; the load then
    // counts as failed unless a sound record follows it.
    bool result = false;
    while (Unread() > 1) {
        result = GetNextRecord();
        if (Damaged) {
            return false;
        }
        const std::string id = RetrieveNext().AsText();
        if (id.empty() || !DecodeRecord(Tables, id[0])) {
            return false;
        }
    }
    if (!result || !ResolveStartSymbol(Tables) || !Tables.Validate()) {
        return false;
    }
    Tables.Prepare(Tables.Variables.GetValue("Case Sensitive") != "True");
    return true;
}

bool TGrammarReader::DecodeRecord(TGrammarTables& Tables, char Id) {
    switch (Id) {
    case 'P':
        return ReadParameters(Tables);
    case 'T':
        return ReadCounts(Tables);
    case 'I':
        Tables.DFAInit = RetrieveNext().AsInteger();
        Tables.LALRInit = RetrieveNext().AsInteger();
        return true;
    case 'S':
        return ReadSymbol(Tables);
    case 'C':
        return ReadCharacterSet(Tables);
    case 'R':
        return ReadRule(Tables);
    case 'D':
        return ReadDFAState(Tables);
    case 'L':
        return ReadLALRState(Tables);
    default:
        return true; // records of other kinds carry nothing the parser uses
    }
}

bool TGrammarReader::ReadParameters(TGrammarTables& Tables) {
    for (const char* name : ParameterNames) {
        Tables.Variables.SetValue(name, RetrieveNext().AsText());
    }
    return true;
}

bool TGrammarReader::ReadCounts(TGrammarTables& Tables) {
    RetrieveNext(); // symbols
    const auto charSets = static_cast<size_t>(RetrieveNext().AsInteger());
    // Every record adds to the table: all of them together stay in bounds.
    const size_t count = Tables.CharacterSetTable.size() + charSets + 1;
    if (count > static_cast<size_t>(MaxIndex()) + 1) {
        return false;
    }
    Tables.CharacterSetTable.resize(count);
    return true; // rule, DFA and LALR counts follow; the tables grow as filled
}

bool TGrammarReader::ReadSymbol(TGrammarTables& Tables) {
    const int32_t index = RetrieveNext().AsInteger();
    std::string name = RetrieveNext().AsText();
    const auto kind = static_cast<TSymbolKind>(RetrieveNext().AsInteger());
    // A second symbol at one index would free the first, which the rules and
    // actions read so far point to: such a file is damaged.
    if (!IsFreeIndex(Tables.SymbolTable, index)) {
        return false;
    }
    Tables.SymbolTable.SetItem(index, std::make_unique<TSymbol>(std::move(name), kind, index));
    return true;
}

bool TGrammarReader::ReadCharacterSet(TGrammarTables& Tables) {
    const int32_t index = RetrieveNext().AsInteger();
    if (index < 0 || static_cast<size_t>(index) >= Tables.CharacterSetTable.size()) {
        return false;
    }
    Tables.CharacterSetTable[static_cast<size_t>(index)] = RetrieveNext().AsText();
    return true;
}

bool TGrammarReader::ReadRule(TGrammarTables& Tables) {
    const int32_t index = RetrieveNext().AsInteger();
    const TSymbol* head = Tables.SymbolTable.Find(RetrieveNext().AsInteger());
    RetrieveNext(); // reserved
    if (!IsFreeIndex(Tables.RuleTable, index) || head == nullptr) {
        return false;
    }
    auto rule = std::make_unique<TRule>(index, head);
    while (EntryPos < Entries.size()) {
        const TSymbol* symbol = Tables.SymbolTable.Find(RetrieveNext().AsInteger());
        if (symbol == nullptr) {
            return false;
        }
        rule->AddItem(symbol);
    }
    Tables.RuleTable.SetItem(index, std::move(rule));
    return true;
}

bool TGrammarReader::ReadDFAState(TGrammarTables& Tables) {
    const int32_t index = RetrieveNext().AsInteger();
    const bool accepts = RetrieveNext().AsBoolean();
    const int32_t acceptSymbol = RetrieveNext().AsInteger(); // read even when unused
    RetrieveNext();                                          // reserved
    if (!IsFreeIndex(Tables.DFA, index)) {
        return false;
    }
    auto state = std::make_unique<TFAState>();
    state->SetAcceptSymbol(accepts ? acceptSymbol : -1);
    bool sound = true;
    while (sound && EntryPos < Entries.size()) {
        const int32_t charSet = RetrieveNext().AsInteger(); // empty or no number: 0
        const int32_t target = RetrieveNext().AsInteger();
        RetrieveNext(); // reserved
        sound = target <= MaxIndex();
        if (sound) {
            int32_t& edge = EdgeOfTarget[static_cast<size_t>(target)];
            edge = state->AddEdge(charSet, target, edge);
        }
    }
    for (const TFAEdge& edge : state->Edges) {
        EdgeOfTarget[static_cast<size_t>(edge.TargetIndex)] = -1;
    }
    if (sound) {
        Tables.DFA.SetItem(index, std::move(state));
    }
    return sound;
}

bool TGrammarReader::ReadLALRState(TGrammarTables& Tables) {
    const int32_t index = RetrieveNext().AsInteger();
    RetrieveNext(); // reserved
    if (!IsFreeIndex(Tables.LALRTables, index)) {
        return false;
    }
    auto table = std::make_unique<TLRActionTable>();
    while (EntryPos < Entries.size()) {
        const TSymbol* symbol = Tables.SymbolTable.Find(RetrieveNext().AsInteger());
        const int32_t action = RetrieveNext().AsInteger();
        const int32_t value = RetrieveNext().AsInteger();
        RetrieveNext(); // reserved
        if (symbol == nullptr) {
            return false;
        }
        table->AddItem(symbol, action, value);
    }
    Tables.LALRTables.SetItem(index, std::move(table));
    return true;
}

bool TGrammarReader::ResolveStartSymbol(TGrammarTables& Tables) {
    const std::string value = Tables.Variables.GetValue("Start Symbol");
    TTableEntry text;
    text.Type = TTableEntry::etString;
    text.Text = value;
    int32_t index = 0;
    if (text.Text.empty() || !text.ToInteger(index)) {
        return false;
    }
    const TSymbol* symbol = Tables.SymbolTable.Find(index);
    if (symbol == nullptr) {
        return false;
    }
    Tables.StartSymbol = index;
    Tables.Variables.SetValue("Start Symbol", symbol->Name);
    return true;
}

bool TGrammarReader::GetNextRecord() {
    Entries.clear();
    EntryTexts.clear();
    EntryPos = 0;
    uint8_t marker = 0;
    if (!ReadByte(marker) || marker != 'M') {
        return false;
    }
    uint16_t count = 0;
    if (!ReadInt16(count)) {
        return false;
    }
    // Every entry takes at least one byte, so the claimed count cannot make
    // us reserve more than the file could hold.
    Entries.reserve(std::min<size_t>(count, Unread()));
    for (uint16_t i = 0; i < count; ++i) {
        TTableEntry entry = Entries.empty() ? TTableEntry() : Entries.back();
        if (!ReadEntry(entry)) {
            return false;
        }
        Entries.push_back(std::move(entry));
    }
    return true;
}

TTableEntry TGrammarReader::RetrieveNext() {
    if (EntryPos < Entries.size()) {
        return Entries[EntryPos++];
    }
    TTableEntry zero;
    zero.Type = TTableEntry::etInteger;
    return zero;
}

bool TGrammarReader::ReadEntry(TTableEntry& Entry) {
    uint8_t type = 0;
    if (!ReadByte(type)) {
        return false;
    }
    switch (type) {
    case 'E':
        Entry = TTableEntry();
        return true;
    case 'B': {
        uint8_t value = 0;
        Entry = TTableEntry();
        Entry.Type = TTableEntry::etBoolean;
        if (!ReadByte(value)) {
            return false;
        }
        Entry.Boolean = value == 1;
        return true;
    }
    case 'b': {
        uint8_t value = 0;
        Entry = TTableEntry();
        Entry.Type = TTableEntry::etChar;
        if (!ReadByte(value)) {
            return false;
        }
        Entry.Text = EntryTexts.emplace_back(1, static_cast<char>(value));
        return true;
    }
    case 'I': {
        uint16_t value = 0;
        Entry = TTableEntry();
        Entry.Type = TTableEntry::etInteger;
        if (!ReadInt16(value)) {
            return false;
        }
        Entry.Integer = value;
        return true;
    }
    case 'S': {
        Entry = TTableEntry();
        Entry.Type = TTableEntry::etString;
        std::string& text = EntryTexts.emplace_back();
        const bool read = ReadUniString(text);
        Entry.Text = text;
        return read;
    }
    default:
        return true; // no data: the entry repeats the one before it
    }
}

bool TGrammarReader::ReadByte(uint8_t& Value) {
    if (Unread() < 1) {
        Damaged = true;
        return false;
    }
    Value = static_cast<uint8_t>(Buffer[Pos++]);
    return true;
}

bool TGrammarReader::ReadInt16(uint16_t& Value) {
    if (Unread() < 2) {
        Damaged = true;
        return false;
    }
    Value = static_cast<uint16_t>(static_cast<uint8_t>(Buffer[Pos]) |
                                  static_cast<uint8_t>(Buffer[Pos + 1]) << 8);
    Pos += 2;
    return true;
}

bool TGrammarReader::ReadUniString(std::string& Text) {
    Text.clear();
    uint16_t unit = 0;
    while (ReadInt16(unit)) {
        if (unit == 0) {
            return true;
        }
        Text += static_cast<char>(unit & 0xFF); // the tables hold 8-bit text
    }
    return false;
}

} // namespace tvx
