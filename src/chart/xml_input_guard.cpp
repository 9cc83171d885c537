#include "chart/xml_input_guard.h"

namespace tvx {

void TXmlInputGuard::DetectUnits(const unsigned char* b, std::size_t Size) {
    UnitWidth = 1;
    if (Size >= 4) {
        if ((b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0) ||
            (b[0] == 0x3C && b[1] == 0 && b[2] == 0 && b[3] == 0)) {
            UnitWidth = 4;
            return;
        }
        if ((b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) ||
            (b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == 0x3C)) {
            UnitWidth = 4;
            BigEndian = true;
            return;
        }
        if (b[0] == 0x3C && b[1] == 0 && b[2] == 0x3F && b[3] == 0) {
            UnitWidth = 2;
            return;
        }
        if (b[0] == 0 && b[1] == 0x3C && b[2] == 0 && b[3] == 0x3F) {
            UnitWidth = 2;
            BigEndian = true;
            return;
        }
    }
    if (Size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        UnitWidth = 2;
    } else if (Size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        UnitWidth = 2;
        BigEndian = true;
    }
}

bool TXmlInputGuard::AcceptUnit(char32_t Unit) {
    if (Unit == U'<') {
        EqualsInTag = 0;
    } else if (Unit == U'=') {
        if (++EqualsInTag > MaxEqualsPerTag) {
            return false;
        }
    } else if (Unit == U'D' && Previous1 == U'!' && Previous2 == U'<') {
        return false;
    }
    Previous2 = Previous1;
    Previous1 = Unit;
    return true;
}

bool TXmlInputGuard::Accept(const char* Data, std::size_t Size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(Data);
    if (Refused) {
        return false;
    }
    if (UnitWidth == 0 && Size > 0) {
        DetectUnits(bytes, Size);
    }
    for (std::size_t i = 0; i < Size; ++i) {
        Pending[PendingSize++] = bytes[i];
        if (PendingSize < UnitWidth) {
            continue;
        }
        char32_t unit = 0;
        for (int k = 0; k < UnitWidth; ++k) {
            int shift = BigEndian ? 8 * (UnitWidth - 1 - k) : 8 * k;
            unit |= char32_t(Pending[k]) << shift;
        }
        PendingSize = 0;
        if (!AcceptUnit(unit)) {
            Refused = true;
            return false;
        }
    }
    return true;
}

} // namespace tvx
