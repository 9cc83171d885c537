#pragma once
// Reading the user's files. Only regular files are read: a named pipe, a
// device or a socket under a file's name would make a plain open or read wait
// for good (a pipe without a writer) or run without end (/dev/zero), so they
// are refused without waiting. Whole-file reads are bounded by the caller.
#include <QByteArray>
#include <QString>
#include <cstdint>

class QFile;

namespace tvx {

enum class TReadFault : std::uint8_t {
    None,
    System,     // the system refused the open or the read; Error holds errno
    NotRegular, // a directory, pipe, device or socket
    TooLarge,   // more bytes than the reader takes
};

struct TFileRead {
    QByteArray Bytes;
    TReadFault Fault = TReadFault::None;
    int Error = 0; // errno of a System fault

    bool Ok() const { return Fault == TReadFault::None; }
    // The file is not there at all (a caller may take that as empty).
    bool Missing() const;
    // The system's text for a System fault ("Permission denied", ...); empty
    // for the other faults, whose text the caller words.
    QString SystemReason() const;
};

// Opens FileName for reading into File when it is a regular file, without
// waiting on anything else. Bytes stay empty.
TFileRead OpenRegularFile(QFile& File, const QString& FileName);

// The whole of FileName, when it is a regular file of at most MaxBytes bytes.
TFileRead ReadRegularFile(const QString& FileName, qint64 MaxBytes);

} // namespace tvx
