#include "codegen/code_sink.h"

namespace tvx {

void TCodeSink::SaveToPasFile(const QString& line) {
    CodeBuffer1.append(line);
    CodeBuffer2.append(line);
}

} // namespace tvx
