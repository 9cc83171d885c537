#include "platform/file_identity.h"

#include <QFile>
#include <cerrno>
#include <cstring>

namespace tvx {

TFileIdentity FileIdentityOf(const QString& FileName) {
    struct stat status {};
    if (FileName.isEmpty()) {
        return {};
    }
    if (::stat(QFile::encodeName(FileName).constData(), &status) != 0) {
        TFileIdentity none;
        none.Refusal = errno == ENOENT ? 0 : errno;
        return none;
    }
    return {true,
            std::uint64_t(status.st_dev),
            std::uint64_t(status.st_ino),
            std::int64_t(status.st_size),
            std::int64_t(status.st_mtim.tv_sec),
            std::int64_t(status.st_mtim.tv_nsec)};
}

TFilePresence PresenceOf(const QString& FileName) {
    const TFileIdentity identity = FileIdentityOf(FileName);
    if (identity.Exists) {
        return {TPresence::Present, QString()};
    }
    if (identity.Refusal != 0) {
        return {TPresence::Refused, QString::fromLocal8Bit(std::strerror(identity.Refusal))};
    }
    return {};
}

} // namespace tvx
