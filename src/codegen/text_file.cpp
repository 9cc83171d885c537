#include "codegen/text_file.h"

#include <QSaveFile>

namespace tvx {

QString WriteLinesToFile(const QStringList& Lines, const QString& FileName) {
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Cannot create \"%1\": %2").arg(FileName, file.errorString());
    }
    QByteArray bytes;
    for (const QString& line : Lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return QStringLiteral("Cannot write \"%1\": %2").arg(FileName, file.errorString());
    }
    return {};
}

} // namespace tvx
