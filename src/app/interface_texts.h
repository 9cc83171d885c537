#pragma once
// Texts of the interface from the settings' string pools, by id, and the
// question every command asks before it writes over a file.
#include <QString>

namespace tvx {

// The texts of the service and menu pools; empty before there are settings.
QString ServText(const char* Id);
QString MenuText(const char* Id);

// Asks whether FileName, which exists, may be replaced.
bool AskReplace(const QString& FileName);

} // namespace tvx
