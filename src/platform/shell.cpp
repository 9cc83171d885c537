#include "platform/shell.h"

#include "platform/own_temporaries.h"

#include <QDesktopServices>
#include <QDir>
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

std::unique_ptr<QTemporaryDir> MakePrivateTempDir() {
    return std::make_unique<QTemporaryDir>(
        GetTempDir() + QString::fromLatin1(OwnTemporaryTemplate(kPrivatePrefix)));
}

void RemoveStalePrivateTempDirs() {
    RemoveStaleOwnTemporaries(GetTempDir(), kPrivatePrefix, true);
}

QString GetLoginUserName() {
    QString name = AccountName();
    return name.isEmpty() ? QStringLiteral("Unknown") : name;
}

} // namespace tvx
