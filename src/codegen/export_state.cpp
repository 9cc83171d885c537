#include "codegen/export_state.h"

namespace tvx {

std::int32_t ExportLanguage = elPascal;
std::uint8_t ExportMode = emPlain;
bool TextCleanUp = true;

} // namespace tvx
