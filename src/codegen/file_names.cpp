#include "codegen/file_names.h"

namespace tvx {
namespace {

int LastSeparator(const QString& FileName) {
    int last = -1;
    for (int i = 0; i < FileName.size(); ++i) {
        const QChar c = FileName.at(i);
        if (c == u'/' || c == u'\\' || c == u':') {
            last = i;
        }
    }
    return last;
}

int ExtensionStart(const QString& FileName) {
    const int dot = FileName.lastIndexOf(u'.');
    return dot > LastSeparator(FileName) ? dot : -1;
}

} // namespace

bool HasExtension(const QString& FileName) {
    return ExtensionStart(FileName) >= 0;
}

QString RemoveExtensions(const QString& FileName) {
    QString name = FileName;
    for (int dot = ExtensionStart(name); dot >= 0; dot = ExtensionStart(name)) {
        name.truncate(dot);
    }
    return name;
}

} // namespace tvx
