#pragma once
// Grammar tables kept once loaded: a table file is read again only when it
// changed, so that importing many small sources does not spend its time
// decoding the same few hundred kilobytes of tables each time.
#include "parser/grammar_tables.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tvx {

class TGrammarCache {
public:
    // The tables of FileName: those loaded before while the file keeps its
    // size and modification time, else freshly loaded. Null when the file is
    // missing or is not a sound table file, as LoadGrammarTables says; such
    // a file is tried again on the next call.
    std::shared_ptr<const TGrammarTables> Get(const QString& FileName);

    // The cache the import keeps for the program's life.
    static TGrammarCache& Shared();

private:
    struct TStamp {
        std::uintmax_t Size = 0;
        std::chrono::nanoseconds Modified{0};
        bool operator==(const TStamp&) const = default;
    };
    struct TEntry {
        QString FileName;
        TStamp Stamp;
        std::shared_ptr<const TGrammarTables> Tables;
    };
    static bool StampOf(const QString& FileName, TStamp& Stamp);

    // One entry per language in practice; the oldest goes beyond this.
    static constexpr size_t Capacity = 4;
    std::mutex Lock;
    std::vector<TEntry> Entries; // most recently used last
};

} // namespace tvx
