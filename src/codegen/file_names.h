#pragma once
// File-name rules of the export commands. '/', '\' and a drive ':' all count
// as path separators.
#include <QString>

namespace tvx {

// True when the name's last component holds a '.': the extension is the part
// from the last '.' after the last separator.
bool HasExtension(const QString& FileName);

// The name with every extension removed: a.b.fml gives a.
QString RemoveExtensions(const QString& FileName);

} // namespace tvx
