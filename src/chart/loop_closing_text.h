#pragma once
// The text in the closing figure of a for loop drawn as two figures.
#include <QString>

namespace tvx {

// What stands before the first ":" of the loop's text (the loop variable of
// "i:=1 to 10"), or EndFor when the text has no ":".
inline QString LoopClosingText(const QString& Text, const QString& EndFor) {
    const qsizetype Colon = Text.indexOf(QLatin1Char(':'));
    return Colon < 0 ? EndFor : Text.left(Colon);
}

} // namespace tvx
