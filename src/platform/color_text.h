#pragma once
// Colours as text, the form "Config.ini" keeps them in: the standard colour
// name when the value has one ("clBlack", "clRed", "clWindowText"), otherwise
// "$" and eight upper-case hexadecimal digits of the value ($00BBGGRR).
#include "platform/color.h"
#include <QString>
#include <optional>

namespace tvx {

QString ColorToString(TColor color);

// Reads a colour name (without regard to case) or a number: "$" or "0x"
// hexadecimal, or decimal. nullopt when the text is neither.
std::optional<TColor> StringToColor(const QString& text);

} // namespace tvx
