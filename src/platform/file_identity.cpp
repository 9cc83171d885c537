#include "platform/file_identity.h"

#include <QFile>
#include <sys/stat.h>

namespace tvx {

TFileIdentity FileIdentityOf(const QString& FileName) {
    struct stat status {};
    if (FileName.isEmpty() || ::stat(QFile::encodeName(FileName).constData(), &status) != 0) {
        return {};
    }
    return {true,
            std::uint64_t(status.st_dev),
            std::uint64_t(status.st_ino),
            std::int64_t(status.st_size),
            std::int64_t(status.st_mtim.tv_sec),
            std::int64_t(status.st_mtim.tv_nsec)};
}

} // namespace tvx
