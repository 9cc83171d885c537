#pragma once
// Whether a file is there before a command asks to replace it. A look the
// system refuses (a folder the user may not search, a link the kernel will
// not follow) says nothing about the file, so it is not taken for "absent":
// that would write without asking.
#include <QString>
#include <cstdint>

namespace tvx {

enum class TPresence : std::uint8_t { Absent, Present, Refused };

struct TFilePresence {
    TPresence State = TPresence::Absent;
    QString Reason; // the system's text when Refused ("Permission denied", ...)
};

TFilePresence PresenceOf(const QString& FileName);

} // namespace tvx
