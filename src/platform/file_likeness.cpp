#include "platform/file_likeness.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <cerrno>
#include <sys/xattr.h>
#include <unistd.h>

namespace tvx {
namespace {

// The attribute names of an open file; false when they cannot be listed
// (a file system without attributes has none).
bool ListAttributes(int Fd, QList<QByteArray>& Names) {
    Names.clear();
    for (;;) {
        const ssize_t size = ::flistxattr(Fd, nullptr, 0);
        if (size < 0) {
            return errno == ENOTSUP;
        }
        QByteArray buffer(size, '\0');
        const ssize_t got = ::flistxattr(Fd, buffer.data(), size_t(buffer.size()));
        if (got < 0 && errno == ERANGE) {
            continue; // grew in between
        }
        if (got < 0) {
            return false;
        }
        for (const QByteArray& name : buffer.left(got).split('\0')) {
            if (!name.isEmpty()) {
                Names.append(name);
            }
        }
        return true;
    }
}

bool ReadAttribute(int Fd, const QByteArray& Name, QByteArray& Value) {
    for (;;) {
        const ssize_t size = ::fgetxattr(Fd, Name.constData(), nullptr, 0);
        if (size < 0) {
            return false;
        }
        Value.resize(size);
        const ssize_t got = ::fgetxattr(Fd, Name.constData(), Value.data(), size_t(Value.size()));
        if (got >= 0) {
            Value.resize(got);
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

// Attributes of the trusted namespace are left out of every listing for a
// process that may not set them, so a copy would drop them without a word.
// Setting one on the new file (To) tells whether this process sees them all;
// a file system without that namespace keeps none to lose.
bool SeesEveryAttribute(int To) {
    const char* const probe = "trusted.tvx-probe";
    if (::fsetxattr(To, probe, "", 0, XATTR_CREATE) == 0) {
        return ::fremovexattr(To, probe) == 0;
    }
    return errno == ENOTSUP;
}

// To ends up with exactly the attributes of From: a folder's default access
// list gives a new file entries the old one never had.
bool CopyAttributes(int To, int From) {
    QList<QByteArray> wanted;
    QList<QByteArray> present;
    if (!SeesEveryAttribute(To) || !ListAttributes(From, wanted) || !ListAttributes(To, present)) {
        return false;
    }
    for (const QByteArray& name : std::as_const(present)) {
        if (!wanted.contains(name) && ::fremovexattr(To, name.constData()) != 0) {
            return false;
        }
    }
    QByteArray value;
    for (const QByteArray& name : std::as_const(wanted)) {
        if (!ReadAttribute(From, name, value) ||
            ::fsetxattr(To, name.constData(), value.constData(), size_t(value.size()), 0) != 0) {
            return false;
        }
    }
    return true;
}

mode_t CurrentUmask() {
    // Reading the umask through umask() changes it for a moment for every
    // thread; the process status shows it without that.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok) {
                    return mode_t(mask);
                }
            }
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace

bool MakeLike(int To, int From, const struct stat& FromStatus) {
    struct stat now {};
    if (::fstat(To, &now) != 0) {
        return false;
    }
    if ((now.st_uid != FromStatus.st_uid || now.st_gid != FromStatus.st_gid) &&
        ::fchown(To, FromStatus.st_uid, FromStatus.st_gid) != 0) {
        return false;
    }
    // The mode last: a change of owner clears setuid and setgid, and it must
    // agree with the access list the attributes brought.
    const mode_t mode = FromStatus.st_mode & 07777;
    if (!CopyAttributes(To, From) || ::fchmod(To, mode) != 0 || ::fstat(To, &now) != 0) {
        return false;
    }
    // The system may drop setgid silently (a group the user is not in).
    return now.st_uid == FromStatus.st_uid && now.st_gid == FromStatus.st_gid &&
           (now.st_mode & 07777) == mode;
}

bool GiveNewFileMode(int To) {
    return ::fchmod(To, 0666 & ~CurrentUmask()) == 0;
}

} // namespace tvx
