#pragma once
// Writing a list of generated lines to a text file.
#include <QString>
#include <QStringList>

namespace tvx {

// Writes every item followed by CR LF (the last one included) in UTF-8,
// replacing the file. An item holding line breaks spans several lines of the
// file. The file is replaced as a whole or not at all, so a failure never
// leaves it half-written. Returns the message of a failure, naming the file
// and the reason; empty on success.
QString WriteLinesToFile(const QStringList& Lines, const QString& FileName);

} // namespace tvx
