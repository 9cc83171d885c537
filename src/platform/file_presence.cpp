#include "platform/file_presence.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace tvx {

TFilePresence PresenceOf(const QString& FileName) {
    struct stat info {};
    TFilePresence presence;
    if (::stat(QFile::encodeName(FileName).constData(), &info) == 0) {
        presence.State = TPresence::Present;
    } else if (errno != ENOENT) {
        presence.State = TPresence::Refused;
        presence.Reason = QString::fromLocal8Bit(std::strerror(errno));
    }
    return presence;
}

} // namespace tvx
