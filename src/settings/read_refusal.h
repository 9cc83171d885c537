#pragma once
// What the user is told when a file of theirs is not read: the file's name,
// then why, in the interface language.
#include "platform/regular_file.h"

namespace tvx {

class TIniFile;

// Why Read failed: the system's reason, "not a regular file", or "larger
// than MaxBytes" (in whole megabytes).
QString ReadRefusalReason(const TFileRead& Read, qint64 MaxBytes);

// FileName, a line break and the reason.
QString ReadRefusal(const QString& FileName, const TFileRead& Read, qint64 MaxBytes);

// An INI file is written back only over a file that was read in full or is
// not there yet: anything else would be replaced by the little this program
// knows of it. Throws EIniFileException ("Unable to write to <file>: <why>")
// otherwise.
void RequireWholeIni(const TIniFile& Ini);

// The same check where the file is being loaded, as a language file is:
// "Unable to read <file>: <why>".
void RequireReadIni(const TIniFile& Ini);

} // namespace tvx
