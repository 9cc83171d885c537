#pragma once
// Id-to-text pools: the interface texts ("Menu"), the service values and chart
// labels ("Serv") and the words of generated Pascal code ("Prog").
//
// Ids are compared without regard to case; an id that is not in a pool yields
// "Not found!". A pool reads and writes its stored entries as one INI section
// named after the pool.
#include <QString>
#include <memory>
#include <vector>

namespace tvx {

class TIniFile;

// The text a pool answers for an id it does not hold.
inline constexpr const char* NotFoundText = "Not found!";

// One entry of a pool.
struct TStringFullData {
    QString Text;        // current text
    QString Default;     // the built-in text given when the entry was added
    QString Id;          // text id
    bool Stored = false; // read from and written to the pool's INI section
};

// The index of a pool: its entries kept in ascending id order, compared
// without regard to case. Owns the entries.
class TtvxHash {
public:
    // Adds the entry at its place in id order.
    void Add(std::unique_ptr<TStringFullData> entry);
    // The entry with the id (without regard to case), or nullptr.
    TStringFullData* Find(const QString& id) const;
    int Count() const { return int(FItems.size()); }
    // Entry i in id order, 0 <= i < Count().
    TStringFullData* Items(int i) const { return FItems.at(std::size_t(i)).get(); }

private:
    std::vector<std::unique_ptr<TStringFullData>> FItems;
};

class TStringPool {
public:
    explicit TStringPool(QString name);
    virtual ~TStringPool() = default;
    TStringPool(const TStringPool&) = delete;
    TStringPool& operator=(const TStringPool&) = delete;

    // The pool's name, which is also its INI section.
    const QString& Name() const { return FName; }

    // Adds an entry whose current and built-in text are Text. When the id is
    // already in the pool, that entry is reset to Text and Stored instead, so
    // applying the built-in texts twice never leaves two entries for one id.
    void AddEx(const QString& Id, const QString& Text, bool Stored);
    void Add(const QString& Id, const QString& Text) { AddEx(Id, Text, true); }

    // The current text of the id, or "Not found!".
    QString GetString(const QString& Id) const;
    // Sets the current text of an existing entry; an unknown id changes nothing.
    void SetString(const QString& Id, const QString& Text);

    // Every stored entry takes the value of its key in the pool's section, or
    // its built-in text when the key is missing. Fixed entries keep their text.
    void LoadFromIni(const TIniFile& Ini);
    // Writes every stored entry as Id=Text into the pool's section, in id order.
    void SaveToIni(TIniFile& Ini) const;

    int Count() const { return FHash.Count(); }
    const TStringFullData& Items(int i) const { return *FHash.Items(i); }

private:
    TtvxHash FHash;
    QString FName;
};

// A pool that also loads itself from a file of its own (a language file) in
// the program directory.
class TPoolLoadable : public TStringPool {
public:
    // programDir ends with '/'.
    TPoolLoadable(QString name, QString programDir);

    // Loads the stored entries from the program directory + FileName, then writes them all
    // back so that the file holds every id afterwards (a missing file is
    // created). Throws EIniFileException when the file cannot be read in full
    // (it is then left as it is) or cannot be written; the texts already
    // loaded stay in the pool.
    void LoadFromFile(const QString& FileName);

private:
    QString FProgramDir;
};

} // namespace tvx
