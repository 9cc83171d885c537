#include "import/import_notes.h"
#include "settings/builtin_texts.h"

namespace tvx {

QString TImportNotes::Message() const {
    if (Empty()) {
        return QString();
    }
    const QString separator = QStringLiteral(", ");
    QStringList lines{MenuTextOf(QStringLiteral("sm_mes_import_notes"))};
    if (!SkippedIncludes.isEmpty()) {
        lines << MenuTextWith(QStringLiteral("sm_mes_import_includes"),
                              SkippedIncludes.join(separator));
    }
    if (!UndefinedNames.isEmpty()) {
        lines << MenuTextWith(QStringLiteral("sm_mes_import_undefined"),
                              UndefinedNames.join(separator));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace tvx
