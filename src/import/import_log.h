#pragma once
// The log of one import: four lines (each ending in a TAB) for every message
// the parser returned. A large source produces millions of messages, and
// every import of a small one reads hundreds of symbols and rules, so the log
// keeps one small record per message and writes the lines only when they are
// read, from the grammar it keeps for that.
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
struct TGrammarTables;

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
    // Ref >= 0: the index of the first of its four lines in Texts, Counter
    // the third line when it is not -1. Ref < 0: the lines are those of the
    // symbol (Counter -1: a token read) or the rule (Counter: a reduction)
    // with the index -Ref-1 in Grammar.
    struct TEntry {
        std::int32_t Ref;
        std::int32_t Counter;
    };
    // Stores four lines, each with its TAB, and returns the index of the first.
    std::int32_t Store(const QString& A, const QString& B, const QString& C, const QString& D);
    // The lines of a token read of the symbol, or of a reduction by the rule,
    // with the given index in Grammar (none for -1); the third line of a
    // reduction is left to the caller.
    QString TokenReadLine(int Symbol, int Part) const;
    QString ReductionLine(int Rule, int Part) const;
    // Makes Grammar the grammar of the next messages. The lines of earlier
    // messages of another grammar are stored first. (Checked here: every
    // message of a parse asks, and the grammar hardly ever changes.)
    void UseGrammar(const std::shared_ptr<const TGrammarTables>& Next) {
        if (Next != Grammar) {
            SwitchGrammar(Next);
        }
    }
    void SwitchGrammar(const std::shared_ptr<const TGrammarTables>& Next);
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
    TEntry& EntryAt(size_t Index) const { return Entries[Index / BlockSize][Index % BlockSize]; }
    std::vector<QString> Texts;
    std::shared_ptr<const TGrammarTables> Grammar;
};

} // namespace tvx
