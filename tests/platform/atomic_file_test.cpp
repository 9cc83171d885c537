#include "common/file_size_limit.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

QByteArray ReadAll(const QString& Name) {
    QFile file(Name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QString Reason(int Error) {
    return QString::fromLocal8Bit(std::strerror(Error));
}

} // namespace

TEST(AtomicFile, ReplacesTheFileWholeOrSaysWhyAndLeavesIt) {
    QTemporaryDir dir;
    const QString name = dir.filePath("c.fml");
    ASSERT_EQ(WriteFileAtomically(name, "old"), QString());
    QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(name);
    ASSERT_EQ(WriteFileAtomically(name, "new"), QString());
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(QFile::permissions(name), permissions);

    {
        tvx::testing::TFileSizeLimit full(16);
        EXPECT_EQ(WriteFileAtomically(name, QByteArray(100, 'x')), Reason(EFBIG));
    }
    EXPECT_EQ(ReadAll(name), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"c.fml"});

    ASSERT_EQ(WriteFileAtomically(dir.filePath("plain"), "a file"), QString());
    EXPECT_EQ(WriteFileAtomically(dir.filePath("plain/c.fml"), "x"), Reason(ENOTDIR));
    EXPECT_EQ(WriteFileAtomically(dir.path(), "x"), Reason(EISDIR));

    ASSERT_TRUE(QFile::link(name, dir.filePath("link.fml")));
    ASSERT_EQ(WriteFileAtomically(dir.filePath("link.fml"), "through the link"), QString());
    EXPECT_EQ(ReadAll(name), "through the link");
    EXPECT_TRUE(QFileInfo(dir.filePath("link.fml")).isSymLink());
}
