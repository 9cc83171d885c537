#pragma once
// Arithmetic shared by every shape of the layout: whole pixels, slanted sizes
// in extended precision cut with Floor, angles in degrees turned into radians
// with the program's own angle factor (3.1426 / 180, not pi / 180; stored
// charts and every figure size depend on that value).
#include <cmath>
#include <cstdint>

namespace tvx {

// 3.1426 / 180, the nearest long double to it.
inline constexpr long double kAngleFactor = 0.017458888888888888888888888888888889L;

// Integer division truncating toward zero (C++'s own). A zero divisor gives 0
// instead of a fault, so a hand-edited setting of 0 cannot stop the drawing.
constexpr int Div(int A, int B) {
    return B == 0 ? 0 : A / B;
}

// The largest integer not above V, clamped to the int range (NaN gives 0).
inline int Floor(long double V) {
    if (!(V == V)) {
        return 0;
    }
    long double F = std::floor(V);
    if (F >= 2147483647.0L) {
        return 2147483647;
    }
    if (F <= -2147483648.0L) {
        return -2147483647 - 1;
    }
    return int(F);
}

// The nearest integer, halves to the even neighbour, clamped like Floor.
inline int Nearest(long double V) {
    if (!(V == V)) {
        return 0;
    }
    long double R = std::nearbyint(V);
    if (R >= 2147483647.0L) {
        return 2147483647;
    }
    if (R <= -2147483648.0L) {
        return -2147483647 - 1;
    }
    return int(R);
}

// An angle setting in degrees as radians.
inline long double AngleRadians(int Degrees) {
    return Degrees * kAngleFactor;
}

// A chart position or picture size kept in 16 bits: larger values wrap.
constexpr std::uint16_t Wrap16(int V) {
    return std::uint16_t(V);
}

} // namespace tvx
