#include "platform/own_temporaries.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tvx {
namespace {

// Eight hex digits of the host name (FNV-1a): folders shared between machines
// hold names whose process ids mean nothing here.
QByteArray MachineTag() {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    std::uint32_t hash = 2166136261u;
    for (const char* p = host; *p != '\0'; ++p) {
        hash = (hash ^ std::uint8_t(*p)) * 16777619u;
    }
    return QByteArray::number(hash, 16).rightJustified(8, '0');
}

bool ProcessHasEnded(pid_t Pid) {
    return Pid > 0 && ::kill(Pid, 0) != 0 && errno == ESRCH;
}

} // namespace

QByteArray OwnTemporaryTemplate(const QByteArray& Prefix) {
    return Prefix + MachineTag() + '-' + QByteArray::number(::getpid()) + "-XXXXXX";
}

bool IsStaleOwnTemporary(const QByteArray& Name, const QByteArray& Prefix) {
    const QByteArray head = Prefix + MachineTag() + '-';
    if (!Name.startsWith(head)) {
        return false;
    }
    const QByteArray rest = Name.mid(head.size());
    const qsizetype dash = rest.indexOf('-');
    if (dash <= 0 || rest.size() - dash - 1 != 6) {
        return false;
    }
    bool number = false;
    const qlonglong pid = rest.left(dash).toLongLong(&number);
    return number && pid <= std::numeric_limits<pid_t>::max() && ProcessHasEnded(pid_t(pid));
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
        struct stat info {};
        if (!IsStaleOwnTemporary(name, Prefix) ||
            ::fstatat(::dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            info.st_uid != ::geteuid()) {
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
        } else if (Folders && S_ISDIR(info.st_mode)) {
            QDir(QFile::decodeName(path + '/' + name)).removeRecursively();
        }
    }
}

} // namespace tvx
