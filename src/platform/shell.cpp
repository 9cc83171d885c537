#include "platform/shell.h"

#include "platform/own_temporaries.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace tvx {
namespace {

const QByteArray kPrivatePrefix = QByteArrayLiteral("tarvinex-");

TLinkOpener& CurrentOpener() {
    static TLinkOpener opener;
    return opener;
}

// The name of the account the process runs as, from the password database;
// the terminal's login name when the database has no entry for it.
QString AccountName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? std::size_t(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return QString::fromLocal8Bit(found->pw_name);
    }
    char login[256] = {};
    if (getlogin_r(login, sizeof login) == 0 && login[0] != '\0') {
        return QString::fromLocal8Bit(login);
    }
    return {};
}

} // namespace

bool OpenLink(const QUrl& Link) {
    if (CurrentOpener()) {
        return CurrentOpener()(Link);
    }
    return QDesktopServices::openUrl(Link);
}

TLinkOpener SetLinkOpener(TLinkOpener Opener) {
    TLinkOpener previous = std::move(CurrentOpener());
    CurrentOpener() = std::move(Opener);
    return previous;
}

TRecordingLinksScope::TRecordingLinksScope()
    : Previous(SetLinkOpener([this](const QUrl& Link) {
          Links.append(Link);
          return Answer;
      })) {}

TRecordingLinksScope::~TRecordingLinksScope() {
    SetLinkOpener(std::move(Previous));
}

QString GetTempDir() {
    return QDir::tempPath() + u'/';
}

// Another copy clearing leftovers may remove a folder between its making and
// its locking; then a new one is made. A few tries are plenty for that race.
TPrivateTempDir::TPrivateTempDir() {
    for (int attempt = 0; attempt < 8; ++attempt) {
        Dir = std::make_unique<QTemporaryDir>(
            GetTempDir() + QString::fromLatin1(OwnTemporaryTemplate(kPrivatePrefix)));
        if (!Dir->isValid()) {
            Error = Dir->errorString();
            return;
        }
        const int fd = ::open(QFile::encodeName(Dir->path()).constData(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0 && LockOwnTemporary(fd)) {
            Lock = fd;
            return;
        }
        Error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

// The folder goes first, then the lock: no other copy can take it meanwhile.
TPrivateTempDir::~TPrivateTempDir() {
    Dir.reset();
    if (Lock >= 0) {
        ::close(Lock);
    }
}

std::unique_ptr<TPrivateTempDir> MakePrivateTempDir() {
    return std::make_unique<TPrivateTempDir>();
}

void RemoveStalePrivateTempDirs() {
    RemoveStaleOwnTemporaries(GetTempDir(), kPrivatePrefix, true);
}

QString GetLoginUserName() {
    QString name = AccountName();
    return name.isEmpty() ? QStringLiteral("Unknown") : name;
}

} // namespace tvx
