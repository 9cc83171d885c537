#include "parser/grammar_cache.h"

#include "parser/grammar_reader.h"

#include <QFile>
#include <algorithm>
#include <filesystem>

namespace tvx {

bool TGrammarCache::StampOf(const QString& FileName, TStamp& Stamp) {
    const std::filesystem::path path(QFile::encodeName(FileName).toStdString());
    std::error_code error;
    Stamp.Size = std::filesystem::file_size(path, error);
    if (error) {
        return false;
    }
    Stamp.Modified = std::filesystem::last_write_time(path, error).time_since_epoch();
    return !error;
}

std::shared_ptr<const TGrammarTables> TGrammarCache::Get(const QString& FileName) {
    const std::lock_guard<std::mutex> guard(Lock);
    // The stamp is taken before the file is read: a change made while it is
    // read shows at the next call.
    TStamp stamp;
    const bool exists = StampOf(FileName, stamp);
    for (auto entry = Entries.begin(); entry != Entries.end(); ++entry) {
        if (entry->FileName != FileName) {
            continue;
        }
        if (exists && entry->Stamp == stamp) {
            std::rotate(entry, entry + 1, Entries.end());
            return Entries.back().Tables;
        }
        Entries.erase(entry);
        break;
    }
    if (!exists) {
        return nullptr;
    }
    std::shared_ptr<const TGrammarTables> tables = LoadGrammarTables(FileName);
    if (tables == nullptr) {
        return nullptr;
    }
    if (Entries.size() == Capacity) {
        Entries.erase(Entries.begin());
    }
    Entries.push_back({FileName, stamp, tables});
    return tables;
}

TGrammarCache& TGrammarCache::Shared() {
    static TGrammarCache cache;
    return cache;
}

} // namespace tvx
