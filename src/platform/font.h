#pragma once
// A font description as the settings file stores it. The canvas turns it into
// a QFont when it draws.
#include "platform/color.h"
#include <QString>
#include <cstdint>

namespace tvx {

enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFont {
    QString Name = QStringLiteral("MS Sans Serif");
    int CharSet = 1;
    TColor Color = clWindowText;
    int Size = 8;  // points
    int Style = 0; // TFontStyle bits

    bool operator==(const TFont&) const = default;
};

} // namespace tvx
