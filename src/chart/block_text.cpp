#include "chart/block_text.h"

namespace tvx {

namespace {

// Replaced by the control picture of the same number (U+2400 + code).
bool IsControl(char16_t U) {
    return U < 0x20 && U != u'\t' && U != u'\n' && U != u'\r';
}

bool IsStorable(const char16_t* P, qsizetype I, qsizetype N) {
    const char16_t U = P[I];
    if (IsControl(U) || U == 0xFFFE || U == 0xFFFF) {
        return false;
    }
    if (QChar::isHighSurrogate(U)) {
        return I + 1 < N && QChar::isLowSurrogate(P[I + 1]);
    }
    return !QChar::isLowSurrogate(U) || (I > 0 && QChar::isHighSurrogate(P[I - 1]));
}

} // namespace

QString StorableText(const QString& Text) {
    const auto* P = reinterpret_cast<const char16_t*>(Text.utf16());
    const qsizetype N = Text.size();
    qsizetype I = 0;
    while (I < N && IsStorable(P, I, N)) {
        ++I;
    }
    if (I == N) {
        return Text;
    }
    QString Result = Text;
    for (; I < N; ++I) {
        if (!IsStorable(P, I, N)) {
            Result[I] = IsControl(P[I]) ? QChar(char16_t(0x2400 + P[I])) : QChar(0xFFFD);
        }
    }
    return Result;
}

} // namespace tvx
