#pragma once
// The built-in texts of the three pools: the fallback whenever "Config.ini" or
// a language file lacks an id.
#include "settings/string_pool.h"

namespace tvx {

void FillServDefaults(TStringPool& Pool);
void FillMenuDefaults(TStringPool& Pool);
void FillProgDefaults(TStringPool& Pool);

} // namespace tvx
