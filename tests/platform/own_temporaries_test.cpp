#include "platform/own_temporaries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tvx;

namespace {

// The pid of a process that has ended.
pid_t EndedProcess() {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    return ended;
}

// Opens Path and takes its maker's lock, as the program does with what it makes.
int HoldLock(const QString& Path) {
    const int fd = ::open(QFile::encodeName(Path).constData(), O_RDONLY | O_CLOEXEC);
    EXPECT_TRUE(fd >= 0 && LockOwnTemporary(fd)) << Path.toStdString();
    return fd;
}

} // namespace

// A copy in another process-id space sees its neighbours' ids as ended: the
// lock, not the id, keeps a running copy's folders and save temporaries.
TEST(OwnTemporaries, OnlyUnlockedLeftoversWithOurExactNamesAreRemoved) {
    const QByteArray mine = OwnTemporaryTemplate("tarvinex-");
    const QByteArray head = mine.left(mine.indexOf(QByteArray::number(::getpid())));
    const QByteArray ended = QByteArray::number(EndedProcess());
    const QByteArray stale = head + ended + "-abcdef";
    const QByteArray live = head + ended + "-ghijkl";
    QByteArray otherMachine = stale;
    otherMachine.replace("tarvinex-", "tarvinex-0");

    QTemporaryDir dir;
    QDir root(dir.path());
    for (const QByteArray& name : {stale, live, otherMachine, QByteArray("tarvinex-notes")}) {
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(name) + "/inner"));
        QFile chart(dir.filePath(QString::fromLatin1(name) + "/inner/c.fml"));
        ASSERT_TRUE(chart.open(QIODevice::WriteOnly));
    }
    const QStringList userFiles{QString::fromLatin1(head + " 999997-abcdef"),
                                QString::fromLatin1(head + "+999998-abcdef"),
                                QString::fromLatin1(head + "0" + ended + "-abcdef")};
    const QString staleFile = QString::fromLatin1(head + ended + "-mnopqr");
    const QString liveFile = QString::fromLatin1(head + ended + "-stuvwx");
    for (const QString& name : userFiles + QStringList{staleFile, liveFile}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const int liveFolderLock = HoldLock(dir.filePath(QString::fromLatin1(live)));
    const int liveFileLock = HoldLock(dir.filePath(liveFile));

    RemoveStaleOwnTemporaries(dir.path(), "tarvinex-", true);
    QStringList kept = userFiles + QStringList{QString::fromLatin1(live), liveFile,
                                               QString::fromLatin1(otherMachine), "tarvinex-notes"};
    kept.sort();
    EXPECT_EQ(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
              kept);
    ::close(liveFolderLock);
    ::close(liveFileLock);
}

// A maker that locks only after a remover took its new file or folder away
// hears of it, and makes another.
TEST(OwnTemporaries, LockingWhatWasRemovedFails) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile file(dir.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& path : {folder, file.fileName()}) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(QFileInfo(path).isDir() ? QDir().rmdir(path) : QFile::remove(path));
        errno = 0;
        EXPECT_FALSE(LockOwnTemporary(fd)) << path.toStdString();
        EXPECT_EQ(errno, ENOENT);
        ::close(fd);
    }
}
