#pragma once
// The log of one import: four lines (each ending in a TAB) for every message
// the parser returned. A large source produces millions of messages, so the
// log keeps one small record per message and writes the lines only when they
// are read.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace tvx {

class TGOLDParser;
class TToken;
class TReduction;
class TRule;

class TImportLog {
public:
    // Records one message of Parser (TParseMessage) with what is current
    // after it; Counter is the reduction counter (messages 2 and 3).
    void Add(const TGOLDParser& Parser, int Message, int Counter);
    // Records one message with the four texts given (without their TABs).
    void AddLines(const QString& A, const QString& B, const QString& C, const QString& D);
    void Clear();

    // Number of lines: four per message.
    int Count() const { return int(EntryCount) * 4; }
    // Line I (0 <= I < Count()), with its trailing TAB.
    QString Line(int I) const;
    QStringList Lines() const;

private:
    struct TEntry {
        std::int32_t Texts;   // index of the first of its four lines in Texts
        std::int32_t Counter; // third line of a reduction; -1: the stored one
    };
    // Stores four lines, each with its TAB, and returns the index of the first.
    std::int32_t Store(const QString& A, const QString& B, const QString& C, const QString& D);
    // The lines of a token read or a reduction are the same for every message
    // of one symbol or rule, so they are stored once per symbol and rule: the
    // place for the index of the first (-1 while none); a scratch place for
    // Index -1.
    std::int32_t& Known(std::vector<std::int32_t>& Cache, int Index) {
        if (Index < 0) {
            Unknown = -1;
            return Unknown;
        }
        if (size_t(Index) >= Cache.size()) {
            Cache.resize(size_t(Index) + 1, -1);
        }
        return Cache[size_t(Index)];
    }
    // The lines of the first token read of a symbol and of the first
    // reduction by a rule (Token and Rule may be null).
    std::int32_t StoreTokenRead(const TToken* Token);
    std::int32_t StoreReduction(const TRule* Rule);
    // Every message other than a token read or a reduction.
    void AddOther(const TGOLDParser& Parser, int Message);

    // The entries in blocks of a fixed size, so that a log of millions of
    // messages grows without copying itself.
    static constexpr size_t BlockSize = size_t{1} << 16;
    void Push(TEntry Entry) {
        if (EntryCount % BlockSize == 0) {
            NewBlock();
        }
        Entries.back()[EntryCount % BlockSize] = Entry;
        ++EntryCount;
    }
    void NewBlock();
    std::vector<std::unique_ptr<TEntry[]>> Entries;
    size_t EntryCount = 0;
    std::vector<QString> Texts;
    std::vector<std::int32_t> KnownSymbols; // first line per symbol index, -1 none yet
    std::vector<std::int32_t> KnownRules;   // first line per rule index, -1 none yet
    std::int32_t Unknown = -1;
};

} // namespace tvx
