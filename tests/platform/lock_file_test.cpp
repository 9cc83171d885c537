#include "platform/lock_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace tvx;

namespace {

int ReadCounter(const QByteArray& Path) {
    char text[32] = {};
    const int fd = ::open(Path.constData(), O_RDONLY);
    const ssize_t n = fd >= 0 ? ::read(fd, text, sizeof text - 1) : -1;
    if (fd >= 0) {
        ::close(fd);
    }
    return n > 0 ? std::atoi(text) : 0;
}

void WriteCounter(const QByteArray& Path, int Value) {
    const std::string text = std::to_string(Value);
    const int fd = ::open(Path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        (void)!::write(fd, text.data(), text.size());
        ::close(fd);
    }
}

// Reads, adds one and writes back, Times times, each under the lock.
void Count(const QString& File, int Times) {
    const QByteArray path = QFile::encodeName(File);
    for (int i = 0; i < Times; ++i) {
        const TLockFile lock(File);
        WriteCounter(path, ReadCounter(path) + 1);
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
    EXPECT_EQ(ReadCounter(QFile::encodeName(counter)), 2 * times);
    EXPECT_FALSE(QFile::exists(counter + ".lock"));
}
