#include "support/streamed_object.h"

namespace tvx {

void TStreamedObject::SaveToStream(TStream&) const {}

void TStreamedObject::LoadFromStream(TStream&) {}

int TStreamedObject::StreamSize() const {
    return 0;
}

} // namespace tvx
