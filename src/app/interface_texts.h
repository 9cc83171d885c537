#pragma once
// Texts of the interface from the settings' string pools, by id, and the
// question every command asks before it writes over a file.
#include <QString>
#include <QStringList>
#include <exception>

namespace tvx {

// The texts of the service and menu pools; empty before there are settings.
QString ServText(const char* Id);
QString MenuText(const char* Id);

// The question whether FileName, which exists, may be replaced; and asking it.
QString ReplaceQuestion(const QString& FileName);
bool AskReplace(const QString& FileName);
// Asks once whether the files, which exist, may all be replaced; the question
// names them one a line (the first ten, so that it fits on the screen).
bool AskReplace(const QStringList& FileNames);
// Whether the command may write the files: those that exist are asked about
// at once, and a look the system refuses ends the command with its reason
// (that says nothing about the file, so it is not taken for "absent").
bool MayReplace(const QStringList& FileNames);

// What the user is told when a command ends in the exception: the message of
// our own exceptions, "sm_mes_no_memory" for a lack of memory.
QString FailureMessage(const std::exception& e);

} // namespace tvx
