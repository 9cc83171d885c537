#include "chart/nesting_limit.h"
#include "settings/builtin_texts.h"
#include "settings/main_settings.h"

namespace tvx {

QString NestingLimitMessage() {
    const QString id = QStringLiteral("sm_mes_too_deep");
    QString text;
    if (MainSettings != nullptr) {
        text = MainSettings->MenuPool->GetString(id);
    } else {
        TStringPool builtin(QStringLiteral("Menu"));
        FillMenuDefaults(builtin);
        text = builtin.GetString(id);
    }
    // A language file may leave the number out; the text stands as it is then.
    return text.replace(QStringLiteral("%1"), QString::number(kMaxNestingLevel));
}

ENestingLimit::ENestingLimit() : Exception(NestingLimitMessage()) {}

} // namespace tvx
