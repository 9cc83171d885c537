#pragma once
// The few desktop services the windows ask of the system shell: opening a link
// with the desktop's handler (a "mailto:" link starts the mail client), the
// temporary directory and private folders in it, and the login name of the
// user.
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <memory>

namespace tvx {

// Hands a link to the desktop. False when the desktop refused it (no handler,
// no mail client).
bool OpenLink(const QUrl& Link);

// What OpenLink does; the default asks the desktop.
using TLinkOpener = std::function<bool(const QUrl& Link)>;
// Installs Opener in place of the desktop (an empty one goes back to the
// desktop) and returns the one installed before.
TLinkOpener SetLinkOpener(TLinkOpener Opener);

// For tests: while it lives, links are recorded instead of opened and answered
// with Answer.
class TRecordingLinksScope {
public:
    TRecordingLinksScope();
    ~TRecordingLinksScope();
    TRecordingLinksScope(const TRecordingLinksScope&) = delete;
    TRecordingLinksScope& operator=(const TRecordingLinksScope&) = delete;

    QList<QUrl> Links;
    bool Answer = true;

private:
    TLinkOpener Previous;
};

// The temporary directory with a trailing '/'.
QString GetTempDir();

// A folder of this process's own in the temporary directory (mode 0700, an
// unpredictable name), removed with all it holds when the object goes. It is
// locked while the object lives, so that no other copy of the program takes
// it for a leftover. isValid() is false when none could be made;
// errorString() says why.
class TPrivateTempDir {
public:
    TPrivateTempDir();
    ~TPrivateTempDir();
    TPrivateTempDir(const TPrivateTempDir&) = delete;
    TPrivateTempDir& operator=(const TPrivateTempDir&) = delete;

    bool isValid() const { return Lock >= 0; }
    QString path() const { return Dir->path(); }
    QString errorString() const { return Error; }

private:
    std::unique_ptr<QTemporaryDir> Dir;
    int Lock = -1; // open on the folder, holding its lock
    QString Error;
};

std::unique_ptr<TPrivateTempDir> MakePrivateTempDir();

// Removes the private folders of earlier runs that no running copy holds
// (killed, crashed): they may hold the user's charts.
void RemoveStalePrivateTempDirs();

// The login name of the user running the program; "Unknown" when the system
// cannot tell.
QString GetLoginUserName();

} // namespace tvx
