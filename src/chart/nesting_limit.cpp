#include "chart/nesting_limit.h"
#include "settings/builtin_texts.h"

namespace tvx {

QString NestingLimitMessage() {
    return MenuTextWith(QStringLiteral("sm_mes_too_deep"), kMaxNestingLevel);
}

ENestingLimit::ENestingLimit() : Exception(NestingLimitMessage()) {}

} // namespace tvx
