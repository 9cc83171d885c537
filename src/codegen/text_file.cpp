#include "codegen/text_file.h"

#include "platform/atomic_file.h"

namespace tvx {

QString WriteLinesToFile(const QStringList& Lines, const QString& FileName) {
    QByteArray bytes;
    for (const QString& line : Lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    const QString error = WriteFileAtomically(FileName, bytes);
    return error.isEmpty() ? error : QStringLiteral("Cannot write \"%1\": %2").arg(FileName, error);
}

} // namespace tvx
