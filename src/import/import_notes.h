#pragma once
// What an import that succeeded knows it did not read: include files, and
// the names, defined nowhere in the source, that made it skip branches
// holding code. The charts lack whatever these held.
#include <QString>
#include <QStringList>

namespace tvx {

struct TImportNotes {
    QStringList SkippedIncludes; // include files named by the branches read
    QStringList UndefinedNames;  // names that decided to skip a branch holding code

    bool Empty() const { return SkippedIncludes.isEmpty() && UndefinedNames.isEmpty(); }
    // The word to the user, in the interface language; empty when there is
    // nothing to tell.
    QString Message() const;
};

} // namespace tvx
