#pragma once
// Texts of the interface from the settings' string pools, by id, and the
// question every command asks before it writes over a file.
#include <QString>
#include <exception>

namespace tvx {

// The texts of the service and menu pools; empty before there are settings.
QString ServText(const char* Id);
QString MenuText(const char* Id);

// The question whether FileName, which exists, may be replaced; and asking it.
QString ReplaceQuestion(const QString& FileName);
bool AskReplace(const QString& FileName);

// What the user is told when a command ends in the exception: the message of
// our own exceptions, "sm_mes_no_memory" for a lack of memory.
QString FailureMessage(const std::exception& e);

} // namespace tvx
