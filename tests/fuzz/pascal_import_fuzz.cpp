// Pascal sources: imported or refused with a reason (see import_fuzz.h).
#include "import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    return tvx::fuzz::ImportText(Data, Size, tvx::slPascal, "ImportPAS.dll");
}
