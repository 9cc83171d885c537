#pragma once
// Colours are kept as the 32-bit values the settings file stores: $00BBGGRR,
// red in the lowest byte.
#include <QColor>
#include <cstdint>

namespace tvx {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// System colours carry 0xFF in the high byte; clWindowText is the text colour
// of windows, drawn black here.
constexpr TColor clWindowText = 0xFF000008;

inline TColor ColorFromRgb(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

// Resolves system colours to the plain colour they are drawn with.
inline TColor ResolveColor(TColor c) {
    if (c == clWindowText) {
        return clBlack;
    }
    return c & 0x00FFFFFF;
}

inline QColor ToQColor(TColor c) {
    TColor v = ResolveColor(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

inline TColor FromQColor(const QColor& q) {
    return ColorFromRgb(q.red(), q.green(), q.blue());
}

} // namespace tvx
