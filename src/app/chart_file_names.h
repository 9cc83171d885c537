#pragma once
// How the document commands name files. '/', '\' and a drive ':' all count
// as path separators.
#include <QString>

namespace tvx {

// The extension of the name's last component, from its last '.'; empty when
// it has none.
QString ExtensionOf(const QString& FileName);
// The name with its last extension replaced by NewExtension (which starts
// with '.'); a name without an extension gets NewExtension appended.
QString ChangeExtension(const QString& FileName, const QString& NewExtension);
// The chart file a name chosen in a dialog stands for: a name that already
// ends in ChartExtension is taken as it is; any other loses every extension
// and gets ChartExtension, so "x" and "x.txt" both give "x.fml".
QString ChartFileName(const QString& Chosen, const QString& ChartExtension);
// The directory part of a name, with its trailing separator; empty for none.
QString DirectoryOf(const QString& FileName);

} // namespace tvx
