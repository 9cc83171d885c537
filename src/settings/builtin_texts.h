#pragma once
// The built-in texts of the three pools: the fallback whenever "Config.ini" or
// a language file lacks an id.
#include "settings/string_pool.h"

namespace tvx {

void FillServDefaults(TStringPool& Pool);
void FillMenuDefaults(TStringPool& Pool);
void FillProgDefaults(TStringPool& Pool);

// The interface text Id of the settings' menu pool, or the built-in one while
// there are no settings.
QString MenuTextOf(const QString& Id);
// The same, with "%1" in it replaced by Number or Value.
QString MenuTextWith(const QString& Id, qint64 Number);
QString MenuTextWith(const QString& Id, const QString& Value);

} // namespace tvx
