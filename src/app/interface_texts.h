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

// Asks whether FileName, which exists, may be replaced.
bool AskReplace(const QString& FileName);
// Asks once whether the files, which exist, may all be replaced; the question
// names them one a line (the first ten, so that it fits on the screen).
bool AskReplace(const QStringList& FileNames);

// What the user is told when a command ends in the exception: the message of
// our own exceptions, "sm_mes_no_memory" for a lack of memory.
QString FailureMessage(const std::exception& e);

} // namespace tvx
