#pragma once
// Saving a whole file so that it is either written in full or left as it
// was. Every save of the editor goes through here, so every failure names
// its cause as the system gives it ("No space left on device", "Permission
// denied", "Read-only file system", ...).
#include <QByteArray>
#include <QString>

namespace tvx {

// Writes Bytes to FileName, following every link to the file it ends at (a
// link to nothing creates that file); the links stay links. The links are
// followed as a plain open follows them, so a link the kernel will not follow
// (fs.protected_symlinks) refuses the save.
//
// A file the user may not write is refused, as a plain open refuses it.
// Otherwise the bytes go to a new file beside it (mode 0600 until it is
// complete), which is given the old file's owner, group, mode and extended
// attributes, reaches the disk and is renamed over it. When the new file
// cannot be made the same as the old one (another user's file, a file with
// more than one name, an attribute the user cannot copy or see, a folder
// that refuses new files, a file mounted over its name) the old file is
// written in place instead, under an exclusive flock so that two saves at
// once leave one of them whole, and put back as it was when that fails.
//
// A pipe or device gets every byte, waiting for its reader as long as the
// reader is there.
//
// Returns the reason on failure, with no temporary file left and the file as
// it was; empty on success.
QString WriteFileAtomically(const QString& FileName, const QByteArray& Bytes);

// Removes what saves into Directory left behind when the program was killed
// in the middle of one (their processes have ended).
void RemoveStaleSaveLeftovers(const QString& Directory);

} // namespace tvx
