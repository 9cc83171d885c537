#include "platform/atomic_file.h"

#include "platform/file_identity.h"
#include "platform/file_likeness.h"
#include "platform/lock_file.h"
#include "platform/own_temporaries.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <poll.h>
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
// The name led to another file between two looks at it: nothing was written.
constexpr int kChangedMeanwhile = -2;

// How long an in-place save waits for another one to finish with the file.
constexpr int kLockWaitMs = 10000;

QString Reason(int Error) {
    if (Error == kChangedMeanwhile) {
        return QStringLiteral("The file was replaced by another while it was being saved");
    }
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
// Only names the rename: whether a link may be followed at all is the
// kernel's to say, on the open through the name the user gave.
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

// The new file a save writes before renaming it into place; Temporary
// receives its name. Created 0600 by the open itself: nobody else can open
// it while the chart is being written.
int CreateTemporary(const QByteArray& Folder, QByteArray& Temporary) {
    RemoveStaleOwnTemporaries(QFile::decodeName(Folder), kTemporaryPrefix, false);
    Temporary = Folder + '/' + OwnTemporaryTemplate(kTemporaryPrefix);
    return ::mkostemp(Temporary.data(), O_CLOEXEC);
}

// Writes a new file beside Target and renames it over Target. Old is the open
// file being replaced (or -1 when there is none). Returns 0, an errno value,
// or kWriteInPlace when the new file could not be made the same as the old.
int ReplaceByRename(const QByteArray& Target, const QByteArray& Bytes, int Old,
                    const struct stat& OldStatus) {
    const QByteArray folder = FolderOf(Target);
    QByteArray temporary;
    TFd file(CreateTemporary(folder, temporary));
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
        // A file mounted over the name cannot be renamed away; a plain open
        // writes into it.
        error = Old >= 0 && errno == EBUSY ? kWriteInPlace : errno;
    }
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    return SyncFolder(folder);
}

// Another copy of the program may be writing the same file in place: without
// the lock their writes and truncations interleave into neither version.
// Waits a while for it, not for good (the lock is advisory; anyone may hold
// it). Returns 0 or an errno value.
int LockForWriting(int Fd) {
    const int error = LockExclusively(Fd, kLockWaitMs);
    // A file system without locks: written as a plain write would.
    return error == ENOLCK || error == ENOTSUP || error == EINVAL ? 0 : error;
}

// Overwrites the open regular file Fd with Bytes under an exclusive lock,
// putting the old bytes back when that fails. Returns 0 or an errno value.
int WriteInPlace(int Fd, const QByteArray& Bytes) {
    struct stat status {};
    if (const int locked = LockForWriting(Fd); locked != 0) {
        return locked;
    }
    // The size as the previous writer left it.
    if (::fstat(Fd, &status) != 0) {
        return errno;
    }
    QByteArray old;
    if (!ReadAll(Fd, status.st_size, old)) {
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

// Waits until a pipe or device opened without blocking takes more bytes, or
// its reader has gone (the next write then says so).
bool WaitUntilWritable(int Fd) {
    pollfd wanted{Fd, POLLOUT, 0};
    for (;;) {
        const int n = ::poll(&wanted, 1, -1);
        if (n >= 0 || errno != EINTR) {
            return n >= 0;
        }
    }
}

// A device or a pipe is written as a plain write writes it: everything, as
// fast as the reader takes it. It was opened without blocking, so a pipe
// nobody reads failed at once instead of hanging.
int WriteToSpecialFile(int Fd, const QByteArray& Bytes) {
    const char* p = Bytes.constData();
    qsizetype left = Bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(Fd, p, size_t(left));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            if (!WaitUntilWritable(Fd)) {
                return errno;
            }
            continue;
        }
        if (n <= 0) {
            return n == 0 ? EIO : errno;
        }
        p += n;
        left -= n;
    }
    return 0;
}

// Opens Named as a plain open does, so the kernel follows the links on the
// way under its own rules (fs.protected_symlinks refuses a link another user
// planted in a shared folder). Returns 0 or an errno value; kChangedMeanwhile
// when the name now leads to another file than Expected.
int OpenAgain(const QByteArray& Named, int Flags, const struct stat& Expected, TFd& File) {
    File.Reset(::open(Named.constData(), Flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!File || ::fstat(File.Get(), &status) != 0) {
        return errno;
    }
    return SameFile(status, Expected) ? 0 : kChangedMeanwhile;
}

// Writes Bytes to the regular file Named leads to, open as File.
int WriteRegularFile(const QByteArray& Named, const QByteArray& Bytes, int File, bool Readable,
                     const struct stat& Status) {
    // The rename needs the name at the end of the chain, which must still
    // be the file the kernel opened.
    QByteArray target;
    struct stat atTarget {};
    if (!FollowLinks(Named, target)) {
        return errno;
    }
    if (::lstat(target.constData(), &atTarget) != 0 || !SameFile(atTarget, Status)) {
        return kChangedMeanwhile;
    }
    if (Status.st_nlink <= 1) {
        const int result = ReplaceByRename(target, Bytes, File, Status);
        if (result != kWriteInPlace) {
            return result;
        }
    }
    // A file the user may write but not read: its old bytes could not be put
    // back after a failed write, so it is not written in place.
    return Readable ? WriteInPlace(File, Bytes) : EACCES;
}

int Write(const QByteArray& Named, const QByteArray& Bytes) {
    // A look that opens nothing: a pipe opened for reading and writing would
    // be read by this very process.
    TFd path(::open(Named.constData(), O_PATH | O_CLOEXEC));
    struct stat status {};
    if (!path) {
        if (errno != ENOENT) {
            return errno;
        }
        QByteArray target;
        return FollowLinks(Named, target) ? ReplaceByRename(target, Bytes, -1, status) : errno;
    }
    if (::fstat(path.Get(), &status) != 0) {
        return errno;
    }
    if (S_ISDIR(status.st_mode)) {
        return EISDIR;
    }
    TFd file;
    if (!S_ISREG(status.st_mode)) {
        int error = OpenAgain(Named, O_WRONLY, status, file);
        if (error == 0) {
            error = WriteToSpecialFile(file.Get(), Bytes);
        }
        const int closed = file.Close();
        return error != 0 ? error : closed;
    }
    // Opening it for writing asks exactly what a plain open asks: the mode,
    // access lists, a read-only file system. The rename would need only the
    // folder's permission.
    bool readable = true;
    int error = OpenAgain(Named, O_RDWR, status, file);
    if (error == EACCES) {
        readable = false;
        error = OpenAgain(Named, O_WRONLY, status, file);
    }
    return error != 0 ? error : WriteRegularFile(Named, Bytes, file.Get(), readable, status);
}

} // namespace

QString WriteFileAtomically(const QString& FileName, const QByteArray& Bytes) {
    const int error = Write(QFile::encodeName(FileName), Bytes);
    return error == 0 ? QString() : Reason(error);
}

void RemoveStaleSaveLeftovers(const QString& Directory) {
    RemoveStaleOwnTemporaries(Directory, kTemporaryPrefix, false);
}

} // namespace tvx
