#pragma once
// Conversion between QString and the windows-1251 code page, used at the edges
// of the 8-bit formats (chart files, legacy records, old INI files).
#include <QByteArray>
#include <QString>

namespace tvx {

// Every byte has a character in windows-1251 except 0x98, which is kept as
// U+0098 so that no byte is lost.
QString DecodeCp1251(const QByteArray& bytes);

// Characters the code page lacks become '?' unless `lossless` is given, in
// which case it is set to false when such a character was met.
QByteArray EncodeCp1251(const QString& text, bool* lossless = nullptr);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray& bytes);

// UTF-8 when the bytes are valid UTF-8, windows-1251 otherwise: how every text
// file the program reads is taken.
QString DecodeTextFile(const QByteArray& bytes);

} // namespace tvx
