#include "platform/regular_file.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvx {
namespace {

TFileRead Failure(TReadFault Fault, int Error = 0) {
    TFileRead read;
    read.Fault = Fault;
    read.Error = Error;
    return read;
}

// An open descriptor of a regular file, or the fault. O_NONBLOCK makes the
// open of a pipe without a writer return at once; a regular file ignores it,
// but it is cleared all the same so that reads wait for slow disks as usual.
int OpenRegular(const QString& FileName, TFileRead& Outcome, struct stat& Info) {
    const QByteArray name = QFile::encodeName(FileName);
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Outcome = Failure(TReadFault::System, errno);
        return -1;
    }
    if (::fstat(fd, &Info) != 0) {
        Outcome = Failure(TReadFault::System, errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(Info.st_mode)) {
        Outcome = Failure(TReadFault::NotRegular);
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return fd;
}

// Up to Limit bytes from Fd; a file that grows while it is read, or one whose
// size the system does not know ahead (/proc), stops at the limit.
bool ReadUpTo(int Fd, qint64 Limit, QByteArray& Bytes) {
    char buffer[65536];
    while (Bytes.size() < Limit) {
        const auto want =
            std::size_t(std::min<qint64>(qint64(sizeof buffer), Limit - Bytes.size()));
        const ssize_t n = ::read(Fd, buffer, want);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        Bytes.append(buffer, qsizetype(n));
    }
    return true;
}

} // namespace

bool TFileRead::Missing() const {
    return Fault == TReadFault::System && (Error == ENOENT || Error == ENOTDIR);
}

QString TFileRead::SystemReason() const {
    return Fault == TReadFault::System ? QString::fromLocal8Bit(std::strerror(Error)) : QString();
}

TFileRead OpenRegularFile(QFile& File, const QString& FileName) {
    TFileRead outcome;
    struct stat info {};
    const int fd = OpenRegular(FileName, outcome, info);
    if (fd < 0) {
        return outcome;
    }
    if (!File.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure(TReadFault::System, EIO);
    }
    return outcome;
}

TFileRead ReadRegularFile(const QString& FileName, qint64 MaxBytes) {
    TFileRead outcome;
    struct stat info {};
    const int fd = OpenRegular(FileName, outcome, info);
    if (fd < 0) {
        return outcome;
    }
    if (info.st_size > MaxBytes) {
        ::close(fd);
        return Failure(TReadFault::TooLarge);
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    // One byte beyond the limit tells a file that is larger than it said.
    const bool read = ReadUpTo(fd, MaxBytes + 1, bytes);
    const int error = errno;
    ::close(fd);
    if (!read) {
        return Failure(TReadFault::System, error);
    }
    if (bytes.size() > MaxBytes) {
        return Failure(TReadFault::TooLarge);
    }
    outcome.Bytes = std::move(bytes);
    return outcome;
}

} // namespace tvx
