#include "platform/own_temporaries.h"
#include "platform/file_identity.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tvx {
namespace {

// The X's of the template become this many letters or digits.
constexpr qsizetype kUniqueLength = 6;

// Eight hex digits of the host name (FNV-1a): locks may not reach across a
// folder shared between machines, so names made elsewhere are never touched.
QByteArray MachineTag() {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    std::uint32_t hash = 2166136261u;
    for (const char* p = host; *p != '\0'; ++p) {
        hash = (hash ^ std::uint8_t(*p)) * 16777619u;
    }
    return QByteArray::number(hash, 16).rightJustified(8, '0');
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool IsLetterOrDigit(char C) {
    return IsDigit(C) || (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

// A process id as QByteArray::number writes one: no sign, blank or leading
// zero, and within the range of pid_t.
bool IsProcessIdText(const QByteArray& Text) {
    if (Text.isEmpty() || Text.size() > 10 || Text.front() == '0' ||
        !std::all_of(Text.begin(), Text.end(), IsDigit)) {
        return false;
    }
    return Text.toLongLong() <= std::numeric_limits<pid_t>::max();
}

struct TClosedOnExit {
    int Fd;
    ~TClosedOnExit() { ::close(Fd); }
};

// Removes the entry Name of the open folder Folder (at Path) when it is this
// user's file, or folder with Folders, and its maker's lock is free. The lock
// is held until it is gone, so a maker that locks meanwhile finds it removed.
void RemoveWhenUnlocked(int Folder, const QByteArray& Path, const QByteArray& Name, bool Folders) {
    const int fd = ::openat(Folder, Name.constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const TClosedOnExit closer{fd};
    struct stat opened {};
    struct stat named {};
    const bool kind = ::fstat(fd, &opened) == 0 && opened.st_uid == ::geteuid() &&
                      (S_ISREG(opened.st_mode) || (Folders && S_ISDIR(opened.st_mode)));
    if (!kind || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::fstatat(Folder, Name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        !SameFile(opened, named)) {
        return;
    }
    if (S_ISREG(opened.st_mode)) {
        ::unlinkat(Folder, Name.constData(), 0);
    } else {
        QDir(QFile::decodeName(Path + '/' + Name)).removeRecursively();
    }
}

} // namespace

QByteArray OwnTemporaryTemplate(const QByteArray& Prefix) {
    return Prefix + MachineTag() + '-' + QByteArray::number(::getpid()) + "-XXXXXX";
}

bool IsOwnTemporaryName(const QByteArray& Name, const QByteArray& Prefix) {
    const QByteArray head = Prefix + MachineTag() + '-';
    if (!Name.startsWith(head)) {
        return false;
    }
    const QByteArray rest = Name.mid(head.size());
    const qsizetype dash = rest.size() - kUniqueLength - 1;
    if (dash <= 0 || rest.at(dash) != '-') {
        return false;
    }
    const QByteArray unique = rest.mid(dash + 1);
    return IsProcessIdText(rest.left(dash)) &&
           std::all_of(unique.begin(), unique.end(), IsLetterOrDigit);
}

bool LockOwnTemporary(int Fd) {
    while (::flock(Fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return true;
        }
    }
    // A remover unlinks while it holds the lock, so once the lock is ours a
    // removal that beat us shows as no link left.
    struct stat info {};
    if (::fstat(Fd, &info) == 0 && info.st_nlink == 0) {
        errno = ENOENT;
        return false;
    }
    return true;
}

void RemoveStaleOwnTemporaries(const QString& Directory, const QByteArray& Prefix, bool Folders) {
    const QByteArray path =
        QFile::encodeName(Directory.isEmpty() ? QStringLiteral(".") : Directory);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.constData()), ::closedir);
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (IsOwnTemporaryName(name, Prefix)) {
            RemoveWhenUnlocked(::dirfd(dir.get()), path, name, Folders);
        }
    }
}

} // namespace tvx
