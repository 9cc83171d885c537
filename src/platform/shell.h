#pragma once
// The few desktop services the windows ask of the system shell: opening a link
// with the desktop's handler (a "mailto:" link starts the mail client), the
// temporary directory and the login name of the user.
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

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

// The login name of the user running the program; "Unknown" when the system
// cannot tell.
QString GetLoginUserName();

} // namespace tvx
