#include "support/stream.h"
#include <algorithm>
#include <cstring>

namespace tvx {

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
    if (Count < 0 || (Count > 0 && Read(Buffer, Count) != Count)) {
        throw EStreamError(QStringLiteral("Stream read error"));
    }
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
    if (Count < 0 || (Count > 0 && Write(Buffer, Count) != Count)) {
        throw EStreamError(QStringLiteral("Stream write error"));
    }
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
    std::int64_t n = std::clamp<std::int64_t>(Size() - Pos, 0, std::max<std::int64_t>(Count, 0));
    if (n > 0) {
        std::memcpy(Buffer, Bytes.constData() + Pos, size_t(n));
        Pos += n;
    }
    return n;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
    if (Count <= 0) {
        return 0;
    }
    std::int64_t end = Pos + Count;
    if (end > Size()) {
        Bytes.resize(qsizetype(end));
    }
    std::memcpy(Bytes.data() + Pos, Buffer, size_t(Count));
    Pos = end;
    return Count;
}

void TMemoryStream::SetPosition(std::int64_t Value) {
    if (Value < 0 || Value > Size()) {
        throw EStreamError(QStringLiteral("Stream position out of range"));
    }
    Pos = Value;
}

} // namespace tvx
