#pragma once
// Names of the scratch files and folders the program makes beside the user's
// files and in the temporary directory. A name tells which machine and which
// process made it, so a later run can tell its own leftovers (from a process
// that was killed or crashed) from files still in use, and from anything that
// is not the program's at all.
#include <QByteArray>
#include <QString>

namespace tvx {

// Prefix + a tag of this machine + "-" + this process's id + "-XXXXXX": a
// template for mkostemp or QTemporaryDir.
QByteArray OwnTemporaryTemplate(const QByteArray& Prefix);

// True when Name was made from OwnTemporaryTemplate(Prefix) on this machine
// by a process that has ended.
bool IsStaleOwnTemporary(const QByteArray& Name, const QByteArray& Prefix);

// Removes the entries of Directory that are stale by the rule above and
// belong to this user: regular files, or with Folders, folders and all they
// hold. Anything it cannot read or remove is left without a word.
void RemoveStaleOwnTemporaries(const QString& Directory, const QByteArray& Prefix, bool Folders);

} // namespace tvx
