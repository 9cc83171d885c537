#pragma once
// What a failed import leaves for the error-report window: the parser's
// message, the line it stopped at and the text that was imported.
#include <QString>
#include <QStringList>

namespace tvx {

struct TErrorReport {
    QString Message;    // empty when the parse reported none
    QString SourceText; // filled by the caller for the report window
    int Line = -1;      // 1-based line of the error, -1 when none
    QStringList List;   // cleared by every parse, never filled
};

} // namespace tvx
