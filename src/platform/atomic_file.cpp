#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvx {
namespace {

QString Reason(int Error) {
    return QString::fromLocal8Bit(std::strerror(Error));
}

// A file of our own beside Target, created with the permissions new files
// get; -1 with errno set when the directory does not allow it.
int CreateBeside(const QByteArray& Target, QByteArray& Name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        Name = Target + ".tvx-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        int fd = ::open(Name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteAll(int Fd, const QByteArray& Bytes) {
    const char* p = Bytes.constData();
    qsizetype left = Bytes.size();
    while (left > 0) {
        ssize_t n = ::write(Fd, p, size_t(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

QString WriteFileAtomically(const QString& FileName, const QByteArray& Bytes) {
    const QFileInfo info(FileName);
    const QByteArray target = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : FileName);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Reason(EISDIR);
    }
    QByteArray temporary;
    const int fd = CreateBeside(target, temporary);
    if (fd < 0) {
        return Reason(errno);
    }
    const bool written = (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) &&
                         WriteAll(fd, Bytes) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return Reason(error);
    }
    return QString();
}

} // namespace tvx
