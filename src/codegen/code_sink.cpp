#include "codegen/code_sink.h"

#include <QFile>

namespace tvx {
namespace {

// Appends one line and its CR LF; returns the reason when that failed.
QString AppendLine(const QString& fileName, const QString& line) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return QStringLiteral("Cannot open \"%1\" for writing: %2")
            .arg(fileName, file.errorString());
    }
    const QByteArray bytes = (line + QStringLiteral("\r\n")).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        return QStringLiteral("Cannot write to \"%1\": %2").arg(fileName, file.errorString());
    }
    return {};
}

} // namespace

void TCodeSink::SaveToPasFile(const QString& fileName, const QString& line) {
    if (!fileName.isEmpty() && !FailedFiles.contains(fileName)) {
        const QString error = AppendLine(fileName, line);
        if (!error.isEmpty()) {
            FailedFiles.insert(fileName);
            if (WriteErrorText.isEmpty()) {
                WriteErrorText = error;
            }
        }
    }
    CodeBuffer1.append(line);
    CodeBuffer2.append(line);
}

void TCodeSink::ClearWriteError() {
    FailedFiles.clear();
    WriteErrorText.clear();
}

} // namespace tvx
