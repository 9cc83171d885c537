#include "settings/string_pool.h"
#include "platform/ini_file.h"
#include "settings/read_refusal.h"
#include <algorithm>

namespace tvx {

namespace {

bool IdLess(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

void TtvxHash::Add(std::unique_ptr<TStringFullData> entry) {
    auto at = std::upper_bound(FItems.begin(), FItems.end(), entry->Id,
                               [](const QString& id, const std::unique_ptr<TStringFullData>& e) {
                                   return IdLess(id, e->Id);
                               });
    FItems.insert(at, std::move(entry));
}

TStringFullData* TtvxHash::Find(const QString& id) const {
    auto at = std::lower_bound(FItems.begin(), FItems.end(), id,
                               [](const std::unique_ptr<TStringFullData>& e, const QString& i) {
                                   return IdLess(e->Id, i);
                               });
    if (at == FItems.end() || IdLess(id, (*at)->Id)) {
        return nullptr;
    }
    return at->get();
}

TStringPool::TStringPool(QString name) : FName(std::move(name)) {}

void TStringPool::AddEx(const QString& Id, const QString& Text, bool Stored) {
    if (TStringFullData* existing = FHash.Find(Id)) {
        *existing = TStringFullData{Text, Text, existing->Id, Stored};
        return;
    }
    FHash.Add(std::make_unique<TStringFullData>(TStringFullData{Text, Text, Id, Stored}));
}

QString TStringPool::GetString(const QString& Id) const {
    const TStringFullData* entry = FHash.Find(Id);
    return entry ? entry->Text : QString::fromLatin1(NotFoundText);
}

void TStringPool::SetString(const QString& Id, const QString& Text) {
    if (TStringFullData* entry = FHash.Find(Id)) {
        entry->Text = Text;
    }
}

void TStringPool::LoadFromIni(const TIniFile& Ini) {
    for (int i = 0; i < FHash.Count(); ++i) {
        TStringFullData* entry = FHash.Items(i);
        if (entry->Stored) {
            entry->Text = Ini.ReadString(FName, entry->Id, entry->Default);
        }
    }
}

void TStringPool::SaveToIni(TIniFile& Ini) const {
    for (int i = 0; i < FHash.Count(); ++i) {
        const TStringFullData* entry = FHash.Items(i);
        if (entry->Stored) {
            Ini.WriteString(FName, entry->Id, entry->Text);
        }
    }
}

TPoolLoadable::TPoolLoadable(QString name, QString programDir)
    : TStringPool(std::move(name)), FProgramDir(std::move(programDir)) {}

void TPoolLoadable::LoadFromFile(const QString& FileName) {
    TIniFile ini(FProgramDir + FileName);
    LoadFromIni(ini);
    RequireReadIni(ini);
    SaveToIni(ini);
    ini.UpdateFile();
}

} // namespace tvx
