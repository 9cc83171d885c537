#pragma once
// Saving a whole file so that it is either written in full or left as it
// was. Every save of the editor goes through here, so every failure names
// its cause as the system gives it ("No space left on device", "Permission
// denied", "Read-only file system", ...).
#include <QByteArray>
#include <QString>

namespace tvx {

// Writes Bytes under a temporary name beside FileName, makes sure they reached
// the disk, then renames the temporary file over FileName (keeping the
// permissions of a file that was there; a link is followed to its target).
// Returns the reason on failure, with no temporary file left and FileName
// untouched; empty on success.
QString WriteFileAtomically(const QString& FileName, const QByteArray& Bytes);

} // namespace tvx
