#include "platform/lock_file.h"
#include "platform/file_identity.h"

#include <QFile>
#include <algorithm>
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
           SameFile(opened, named);
}

} // namespace

int LockExclusively(int Fd, int WaitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    for (;;) {
        if (::flock(Fd, LOCK_EX | LOCK_NB) == 0) {
            return 0;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            return errno;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

TLockFile::TLockFile(const QString& GuardedFile, int WaitMs)
    : Path(QFile::encodeName(GuardedFile + QStringLiteral(".lock"))) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(WaitMs);
    for (;;) {
        const int fd = OpenLockFile(Path);
        if (fd < 0) {
            return;
        }
        const auto left =
            std::max(duration_cast<milliseconds>(deadline - steady_clock::now()), milliseconds(0));
        if (LockExclusively(fd, int(left.count())) != 0) {
            ::close(fd);
            return;
        }
        if (StillNamed(fd, Path)) {
            Fd = fd;
            return;
        }
        ::close(fd); // its holder removed it as we locked: lock the new one
        if (steady_clock::now() >= deadline) {
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
