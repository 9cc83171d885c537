#pragma once
// Reads a compiled grammar table file ("GOLD Parser Tables/v1.0") into the
// tables of its owner. A file that is damaged in any way leaves the owner's
// tables empty rather than half filled.
#include "parser/grammar_tables.h"

#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// One typed value of a record.
struct TTableEntry {
    enum TType { etEmpty, etBoolean, etChar, etInteger, etString };

    TType Type = etEmpty;
    bool Boolean = false;
    int32_t Integer = 0;
    // etChar and etString: a view of the text the reader keeps for the
    // current record, so that an entry repeating a long text copies nothing.
    std::string_view Text;

    // The integer an entry stands for; false for a text that is no number.
    bool ToInteger(int32_t& Value) const;
    int32_t AsInteger() const; // 0 for a text that is no number
    bool AsBoolean() const;
    std::string AsText() const; // "True"/"False", decimal digits, the text
};

class TGrammarReader {
public:
    static constexpr const char* Header = "GOLD Parser Tables/v1.0";
    // A table file is a few hundred kilobytes; anything far larger is not one.
    static constexpr qint64 MaxFileSize = qint64{16} << 20;

    explicit TGrammarReader(TGrammarTables& owner) : Owner(owner) {}

    // OpenFile then LoadTables; on any failure the owner's tables are cleared.
    bool LoadFromFile(const QString& FileName);
    bool OpenFile(const QString& FileName);
    // Decodes Buffer into a fresh set of tables and hands them to the owner
    // when the whole file is sound.
    bool LoadTables();
    // Loads from bytes already in memory (the same checks as a file).
    bool LoadFromBytes(std::string Bytes);

private:
    bool GetNextRecord();
    TTableEntry RetrieveNext();
    bool ReadEntry(TTableEntry& Entry);
    bool ReadByte(uint8_t& Value);
    bool ReadInt16(uint16_t& Value);
    bool ReadUniString(std::string& Text);
    size_t Unread() const { return Buffer.size() - Pos; }
    // The highest table index (and the most character sets) a file of this
    // size may claim, so that the tables stay in proportion to the file.
    int32_t MaxIndex() const;
    // Whether Index is a fresh place of a table that may have MaxIndex()+1.
    template <class T> bool IsFreeIndex(const TOwningTable<T>& Table, int32_t Index) const {
        return Index >= 0 && Index <= MaxIndex() && Table.Find(Index) == nullptr;
    }

    bool DecodeTables(TGrammarTables& Tables);
    bool DecodeRecord(TGrammarTables& Tables, char Id);
    bool ReadParameters(TGrammarTables& Tables);
    bool ReadCounts(TGrammarTables& Tables);
    bool ReadSymbol(TGrammarTables& Tables);
    bool ReadCharacterSet(TGrammarTables& Tables);
    bool ReadRule(TGrammarTables& Tables);
    bool ReadDFAState(TGrammarTables& Tables);
    bool ReadLALRState(TGrammarTables& Tables);
    bool ResolveStartSymbol(TGrammarTables& Tables);

    TGrammarTables& Owner;
    std::string Buffer;
    size_t Pos = 0; // 0-based offset of the next unread byte
    bool Opened = false;
    bool Damaged = false; // a read ran past the end of the buffer
    std::vector<TTableEntry> Entries;
    std::deque<std::string> EntryTexts; // what the Text of Entries views
    size_t EntryPos = 0;                // 0-based index of the next entry to hand out
    // For the DFA record being read: the position of the state's edge to
    // each target, -1 for none.
    std::vector<int32_t> EdgeOfTarget;
};

// The tables of a grammar table file; null when the file cannot be read or
// is not a sound table file.
std::shared_ptr<const TGrammarTables> LoadGrammarTables(const QString& FileName);

} // namespace tvx
