#pragma once
// Names of the scratch files and folders the program makes beside the user's
// files and in the temporary directory, and how a later run tells its own
// leftovers (from a process that was killed or crashed) from files still in
// use and from anything that is not the program's at all.
//
// A name tells which machine made it. Whether its maker still runs is told by
// a lock: the maker holds an exclusive flock on the file or folder for as long
// as it uses it, and the system drops that lock when the process ends, however
// it ends. A process id would not do: a copy started in another process-id
// space (a container, a sandbox) sharing the temporary directory sees other
// ids, or none, for the same processes.
#include <QByteArray>
#include <QString>

namespace tvx {

// Prefix + a tag of this machine + "-" + this process's id + "-XXXXXX": a
// template for mkostemp or QTemporaryDir.
QByteArray OwnTemporaryTemplate(const QByteArray& Prefix);

// True when Name has exactly the form OwnTemporaryTemplate(Prefix) gives on
// this machine: the process id in plain decimal digits, and six letters or
// digits in place of the X's. Anything else is the user's.
bool IsOwnTemporaryName(const QByteArray& Name, const QByteArray& Prefix);

// Takes the maker's lock on a file or folder just made from the template (Fd
// open on it); keep Fd open while it is in use. False, with errno ENOENT,
// when a remover took it away before the lock was taken: make another. Where
// the file system has no locks it is true, and no remover can lock it either.
bool LockOwnTemporary(int Fd);

// Removes the entries of Directory that have an own name of Prefix, belong to
// this user and whose lock can be taken: regular files, or with Folders,
// folders and all they hold. Anything it cannot read, lock or remove is left
// without a word.
void RemoveStaleOwnTemporaries(const QString& Directory, const QByteArray& Prefix, bool Folders);

} // namespace tvx
