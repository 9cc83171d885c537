#pragma once
// Measures for the in-place text editor of a chart window: the editor grows
// with its text as the block's figure would, measured in the block font.
#include "platform/font.h"
#include "platform/text_metrics.h"
#include <QString>

namespace tvx {

// The picture a block text needs in Font: as wide as its widest line and
// never narrower than the yes and no labels; one line height (the tallest of
// the lines and the labels) per line, at least one. Lines end at CR LF, CR
// or LF. Needs MainSettings for the labels.
TSize TextToBitMap(const QString& Text, const TFont& Font);

// The editor's size for Text: the text picture with room of one "a" beside
// it and one and a half line heights of "a" below it, never smaller than
// that "a" itself.
TSize InPlaceEditorSize(const QString& Text, const TFont& Font);

// Width of a typed text (one character) in Font.
int TypedTextWidth(const QString& Typed, const TFont& Font);

// Editor text to block text and back: a block keeps its line breaks as
// CR LF, the editor as LF.
QString BlockTextOf(const QString& EditorText);
QString EditorTextOf(const QString& BlockText);

} // namespace tvx
