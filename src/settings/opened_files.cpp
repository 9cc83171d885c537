#include "settings/opened_files.h"
#include <algorithm>

namespace tvx {

void TListOpenedFiles::Add(const QString& FileName) {
    if (Contains(FileName) || FileName.contains(u'\n') || FileName.contains(u'\r')) {
        return;
    }
    FList.prepend(FileName);
    while (FList.size() > MaxCount) {
        FList.removeLast();
    }
}

void TListOpenedFiles::CheckIndex(int i) const {
    if (i < 0 || i >= FList.size()) {
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(i));
    }
}

QString TListOpenedFiles::Get(int i) const {
    CheckIndex(i);
    return FList.at(i);
}

QString TListOpenedFiles::GetShortName(int i) const {
    CheckIndex(i);
    const QString& name = FList.at(i);
    qsizetype cut = -1;
    for (QChar sep : {u'/', u'\\', u':'}) {
        cut = std::max(cut, name.lastIndexOf(sep));
    }
    return name.mid(cut + 1);
}

void TListOpenedFiles::Delete(int i) {
    CheckIndex(i);
    FList.removeAt(i);
}

} // namespace tvx
