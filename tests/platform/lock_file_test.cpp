#include "platform/lock_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tvx;

namespace {

// Reads the number in File, adds one and writes it back, Times times, each
// under the lock.
void Count(const QString& File, int Times) {
    for (int i = 0; i < Times; ++i) {
        const TLockFile lock(File);
        QFile file(File);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const int n = file.readAll().toInt();
        file.resize(0);
        file.write(QByteArray::number(n + 1));
    }
}

} // namespace

// Two processes reading, changing and writing back one file under the lock
// lose none of each other's writes; a lock file an ended holder left behind
// holds nobody up, and none stays behind.
TEST(LockFile, TwoProcessesReadChangeAndWriteInTurn) {
    QTemporaryDir dir;
    const QString counter = dir.filePath("counter");
    QFile leftover(counter + ".lock");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    constexpr int times = 300;
    const pid_t other = ::fork();
    if (other == 0) {
        Count(counter, times);
        ::_exit(0);
    }
    Count(counter, times);
    int status = 0;
    ASSERT_EQ(::waitpid(other, &status, 0), other);
    ASSERT_TRUE(WIFEXITED(status));
    QFile result(counter);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll().toInt(), 2 * times);
    EXPECT_FALSE(QFile::exists(counter + ".lock"));
}
