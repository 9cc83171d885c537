#include "platform/lock_file.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tvx {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(10);

int OpenLockFile(const QByteArray& Path) {
    const int flags = O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
    const int fd = ::open(Path.constData(), O_RDWR | O_CREAT | flags, 0644);
    // Another user's lock file can still be locked through a read-only open.
    return fd >= 0 || errno != EACCES ? fd : ::open(Path.constData(), O_RDONLY | flags);
}

// True when Fd is still the file at Path: a holder removes the file before it
// lets go, and a lock on a removed file guards nothing.
bool StillNamed(int Fd, const QByteArray& Path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(Fd, &opened) == 0 && ::stat(Path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

TLockFile::TLockFile(const QString& GuardedFile, int WaitMs)
    : Path(QFile::encodeName(GuardedFile + QStringLiteral(".lock"))) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    for (;;) {
        const int fd = OpenLockFile(Path);
        if (fd < 0) {
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (StillNamed(fd, Path)) {
                Fd = fd;
                return;
            }
            ::close(fd);
        } else {
            const bool held = errno == EWOULDBLOCK || errno == EINTR;
            ::close(fd);
            if (!held) {
                return;
            }
            std::this_thread::sleep_for(kPollInterval);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return;
        }
    }
}

TLockFile::~TLockFile() {
    if (Fd >= 0) {
        ::unlink(Path.constData());
        ::close(Fd);
    }
}

} // namespace tvx
