#include "platform/atomic_file.h"

#include "platform/file_likeness.h"
#include "platform/own_temporaries.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvx {
namespace {

// Beside the user's file: short, so a name as long as the system allows
// still saves, and hidden.
const QByteArray kTemporaryPrefix = QByteArrayLiteral(".tvx-");

// The replacement could not be made the same file: write in place.
constexpr int kWriteInPlace = -1;

QString Reason(int Error) {
    return QString::fromLocal8Bit(std::strerror(Error));
}

class TFd {
public:
    explicit TFd(int Fd = -1) : Fd(Fd) {}
    ~TFd() { Close(); }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return Fd; }
    void Reset(int Other) {
        Close();
        Fd = Other;
    }
    explicit operator bool() const { return Fd >= 0; }
    // errno of a failed close, 0 when it closed (or was not open).
    int Close() {
        const int result = Fd >= 0 && ::close(Fd) != 0 ? errno : 0;
        Fd = -1;
        return result;
    }

private:
    int Fd;
};

QByteArray FolderOf(const QByteArray& Path) {
    const qsizetype slash = Path.lastIndexOf('/');
    return slash < 0    ? QByteArrayLiteral(".")
           : slash == 0 ? QByteArrayLiteral("/")
                        : Path.left(slash);
}

// The file a chain of links ends at (Path itself when it is no link); a link
// to nothing gives the name it points at. False with errno set on a loop.
bool FollowLinks(QByteArray Path, QByteArray& Target) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(Path.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            Target = Path;
            return true;
        }
        QByteArray link(info.st_size > 0 ? info.st_size + 1 : 4096, '\0');
        const ssize_t size = ::readlink(Path.constData(), link.data(), size_t(link.size()));
        if (size < 0) {
            return false;
        }
        link.truncate(size);
        Path = link.startsWith('/') ? link : FolderOf(Path) + '/' + link;
    }
    errno = ELOOP;
    return false;
}

bool WriteAllAt(int Fd, const QByteArray& Bytes, off_t Offset) {
    const char* p = Bytes.constData();
    qsizetype left = Bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(Fd, p, size_t(left), Offset);
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
        Offset += n;
    }
    return true;
}

bool ReadAll(int Fd, off_t Size, QByteArray& Bytes) {
    try {
        Bytes.resize(qsizetype(Size));
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return false;
    }
    qsizetype done = 0;
    while (done < Bytes.size()) {
        const ssize_t n = ::pread(Fd, Bytes.data() + done, size_t(Bytes.size() - done), done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break; // the file shrank meanwhile: keep what it holds now
        }
        done += n;
    }
    Bytes.truncate(done);
    return true;
}

// Flushes the rename to the disk; a file system that cannot sync folders has
// nothing to flush.
int SyncFolder(const QByteArray& Folder) {
    TFd folder(::open(Folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder && ::fsync(folder.Get()) != 0 && errno != EINVAL) {
        return errno;
    }
    return 0;
}

// Writes a new file beside Target and renames it over Target. Old is the open
// file being replaced (or -1 when there is none). Returns 0, an errno value,
// or kWriteInPlace when the new file could not be made the same as the old.
int ReplaceByRename(const QByteArray& Target, const QByteArray& Bytes, int Old,
                    const struct stat& OldStatus) {
    const QByteArray folder = FolderOf(Target);
    RemoveStaleOwnTemporaries(QFile::decodeName(folder), kTemporaryPrefix, false);
    QByteArray temporary = folder + '/' + OwnTemporaryTemplate(kTemporaryPrefix);
    // Created 0600 by the open itself: nobody else can open it while the
    // chart is being written.
    TFd file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file) {
        return Old >= 0 && (errno == EACCES || errno == EPERM) ? kWriteInPlace : errno;
    }
    // Locked while it is written, so that another copy clearing leftovers
    // keeps off it.
    if (!LockOwnTemporary(file.Get())) {
        return errno;
    }
    int error = 0;
    if (!WriteAllAt(file.Get(), Bytes, 0)) {
        error = errno;
    } else if (Old >= 0 ? !MakeLike(file.Get(), Old, OldStatus) : !GiveNewFileMode(file.Get())) {
        error = Old >= 0 ? kWriteInPlace : errno;
    } else if (::fsync(file.Get()) != 0) {
        error = errno;
    }
    const int closed = file.Close();
    if (error == 0) {
        error = closed;
    }
    if (error == 0 && ::rename(temporary.constData(), Target.constData()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    return SyncFolder(folder);
}

// Overwrites the open regular file Fd with Bytes, putting the old bytes back
// when that fails. Returns 0 or an errno value.
int WriteInPlace(int Fd, const struct stat& Status, const QByteArray& Bytes) {
    QByteArray old;
    if (!ReadAll(Fd, Status.st_size, old)) {
        return errno;
    }
    if (WriteAllAt(Fd, Bytes, 0) && ::ftruncate(Fd, off_t(Bytes.size())) == 0 && ::fsync(Fd) == 0) {
        return 0;
    }
    const int error = errno;
    if (WriteAllAt(Fd, old, 0)) {
        (void)!::ftruncate(Fd, off_t(old.size()));
    }
    ::fsync(Fd);
    return error;
}

// A device or a pipe is written as a plain open writes it; without blocking,
// so a pipe nobody reads fails at once instead of hanging.
int WriteToSpecialFile(const QByteArray& Target, const QByteArray& Bytes) {
    TFd file(::open(Target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file) {
        return errno;
    }
    const char* p = Bytes.constData();
    qsizetype left = Bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(file.Get(), p, size_t(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0 ? EIO : errno;
        }
        p += n;
        left -= n;
    }
    return file.Close();
}

int Write(const QByteArray& Target, const QByteArray& Bytes) {
    struct stat status {};
    if (::stat(Target.constData(), &status) != 0) {
        return errno == ENOENT ? ReplaceByRename(Target, Bytes, -1, status) : errno;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(status.st_mode)) {
        return WriteToSpecialFile(Target, Bytes);
    }
    // Opening it for writing asks exactly what a plain open asks: the mode,
    // access lists, a read-only file system. The rename would need only the
    // folder's permission.
    const int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    bool readable = true;
    TFd file(::open(Target.constData(), O_RDWR | flags));
    if (!file && errno == EACCES) {
        readable = false;
        file.Reset(::open(Target.constData(), O_WRONLY | flags));
    }
    if (!file) {
        return errno;
    }
    if (::fstat(file.Get(), &status) != 0) {
        return errno;
    }
    if (!S_ISREG(status.st_mode)) {
        return WriteToSpecialFile(Target, Bytes); // replaced meanwhile
    }
    if (status.st_nlink <= 1) {
        const int result = ReplaceByRename(Target, Bytes, file.Get(), status);
        if (result != kWriteInPlace) {
            return result;
        }
    }
    // A file the user may write but not read: its old bytes could not be put
    // back after a failed write, so it is not written in place.
    return readable ? WriteInPlace(file.Get(), status, Bytes) : EACCES;
}

} // namespace

QString WriteFileAtomically(const QString& FileName, const QByteArray& Bytes) {
    QByteArray target;
    if (!FollowLinks(QFile::encodeName(FileName), target)) {
        return Reason(errno);
    }
    const int error = Write(target, Bytes);
    return error == 0 ? QString() : Reason(error);
}

void RemoveStaleSaveLeftovers(const QString& Directory) {
    RemoveStaleOwnTemporaries(Directory, kTemporaryPrefix, false);
}

} // namespace tvx
