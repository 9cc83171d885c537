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

// Layout values (positions, extents, picture sides, page cuts, all held in
// 32 bits) are kept inside +-kLayoutLimit: far beyond any chart, yet sums of
// a few of them cannot overflow an int. Only absurd settings (an angle of 0
// or 90 degrees) reach the limit.
inline constexpr int kLayoutLimit = 1 << 24;

constexpr int ClampLayout(long long V) {
    return V > kLayoutLimit ? kLayoutLimit : V < -kLayoutLimit ? -kLayoutLimit : int(V);
}

// The largest integer not above V, kept inside the layout limit (NaN gives 0).
inline int Floor(long double V) {
    if (!(V == V)) {
        return 0;
    }
    if (V >= kLayoutLimit) {
        return kLayoutLimit;
    }
    if (V <= -kLayoutLimit) {
        return -kLayoutLimit;
    }
    return int(std::floor(V));
}

// The nearest integer, halves to the even neighbour, kept like Floor.
inline int Nearest(long double V) {
    if (!(V == V)) {
        return 0;
    }
    if (V >= kLayoutLimit) {
        return kLayoutLimit;
    }
    if (V <= -kLayoutLimit) {
        return -kLayoutLimit;
    }
    return int(std::nearbyint(V));
}

// An angle setting in degrees as radians.
inline long double AngleRadians(int Degrees) {
    return Degrees * kAngleFactor;
}

// Floor for the side of a slanted figure: an angle of 0 or 90 degrees (only
// in a hand-edited Config.ini; the options dialog offers 10 to 80) gives an
// infinite or negative side, which becomes 0, or at most 2^20 pixels.
inline int SideFloor(long double V) {
    if (!(V == V) || V < 0) {
        return 0;
    }
    return Floor(V < (1 << 20) ? V : static_cast<long double>(1 << 20));
}

} // namespace tvx
