#include "app/chart_file_names.h"

#include "codegen/file_names.h"

namespace tvx {
namespace {

qsizetype LastSeparator(const QString& name) {
    return std::max({name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'), name.lastIndexOf(u':')});
}

} // namespace

QString ExtensionOf(const QString& FileName) {
    qsizetype dot = FileName.lastIndexOf(u'.');
    if (dot < 0 || dot < LastSeparator(FileName)) {
        return QString();
    }
    return FileName.mid(dot);
}

QString ChangeExtension(const QString& FileName, const QString& NewExtension) {
    return FileName.left(FileName.size() - ExtensionOf(FileName).size()) + NewExtension;
}

QString ChartFileName(const QString& Chosen, const QString& ChartExtension) {
    if (ExtensionOf(Chosen).compare(ChartExtension, Qt::CaseInsensitive) == 0) {
        return Chosen;
    }
    return RemoveExtensions(Chosen) + ChartExtension;
}

QString DirectoryOf(const QString& FileName) {
    return FileName.left(LastSeparator(FileName) + 1);
}

} // namespace tvx
