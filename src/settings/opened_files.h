#pragma once
// The recent-files list: newest name first, at most nine names, names compared
// without regard to case.
#include "platform/exception.h"
#include <QString>
#include <QStringList>

namespace tvx {

// Raised for an index outside the list: "List index out of bounds (<index>)".
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

class TListOpenedFiles {
public:
    static constexpr int MaxCount = 9;

    // Puts FileName first, unless the list already holds it (without regard to
    // case), in which case nothing changes. The oldest name drops off when
    // there are more than MaxCount. A name holding a line break is not listed:
    // a line of "Config.ini" cannot hold it, so it would read back as another
    // name.
    void Add(const QString& FileName);
    // True when the list holds FileName, without regard to case.
    bool Contains(const QString& FileName) const {
        return FList.contains(FileName, Qt::CaseInsensitive);
    }
    void Clear() { FList.clear(); }
    int GetCount() const { return int(FList.size()); }
    // The full file name at index i (0 = newest).
    QString Get(int i) const;
    // Name i without its directory: the part after the last '/', '\' or ':'.
    QString GetShortName(int i) const;
    void Delete(int i);
    void Assign(const TListOpenedFiles& Source) { FList = Source.FList; }

private:
    QStringList FList;

    void CheckIndex(int i) const;
};

} // namespace tvx
