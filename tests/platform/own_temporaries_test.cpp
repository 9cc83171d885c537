#include "platform/own_temporaries.h"
#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tvx;

// What an ended process of ours left goes; a locked save temporary (its maker
// may run in another process-id space, where its id means nothing), names
// made elsewhere and names only like ours stay.
TEST(OwnTemporaries, OnlyUnlockedLeftoversWithOurExactNamesAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const QByteArray mine = OwnTemporaryTemplate("tarvinex-");
    const QString head = QString::fromLatin1(mine.left(mine.indexOf('-', 9) + 1));
    const QString pid = QString::number(ended);
    const QString stale = head + pid + "-abcdef";
    const QString otherMachine = "tarvinex-0" + stale.mid(9);
    const QString locked = head + pid + "-ghijkl";
    const QStringList userFiles{head + " 999997-abcdef", head + "+999998-abcdef",
                                head + "0" + pid + "-abcdef"};

    QTemporaryDir dir;
    for (const QString& folder : {stale, otherMachine}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(folder + "/inner"));
    }
    for (const QString& file : userFiles + QStringList{head + pid + "-mnopqr", locked}) {
        ASSERT_TRUE(QFile(dir.filePath(file)).open(QIODevice::WriteOnly));
    }
    const int lock = ::open(QFile::encodeName(dir.filePath(locked)).constData(), O_RDONLY);
    ASSERT_TRUE(LockOwnTemporary(lock));

    RemoveStaleOwnTemporaries(dir.path(), "tarvinex-", true);
    QStringList kept = userFiles + QStringList{otherMachine, locked};
    kept.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              kept);
    ::close(lock);
}

// The copy that clears runs in a process-id space of its own, where the
// running copy's id names no process.
TEST(OwnTemporaries, APrivateFolderInUseOutlivesClearingFromAnotherProcessIdSpace) {
    QTemporaryDir temp;
    const QByteArray tempBefore = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const auto folder = MakePrivateTempDir();
    ASSERT_TRUE(folder->isValid());
    const pid_t outer = ::fork();
    if (outer == 0) {
        if (::unshare(CLONE_NEWPID) != 0) {
            ::_exit(2);
        }
        const pid_t inner = ::fork();
        if (inner == 0) {
            RemoveStalePrivateTempDirs();
            ::_exit(0);
        }
        int status = 0;
        ::_exit(::waitpid(inner, &status, 0) == inner && WIFEXITED(status) ? 0 : 3);
    }
    int status = 0;
    ::waitpid(outer, &status, 0);
    if (tempBefore.isNull()) {
        qunsetenv("TMPDIR");
    } else {
        qputenv("TMPDIR", tempBefore);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) {
        GTEST_SKIP() << "starting a process-id space needs root here";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(QFileInfo::exists(folder->path()));
}
