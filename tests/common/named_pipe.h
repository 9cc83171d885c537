#pragma once
// A named pipe without a writer: a plain open of it for reading waits for
// good. Should the code under test wait all the same, a writer comes along
// after WaitMs and goes at once, so the wait ends (in a failed time check)
// instead of hanging the test run.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tvx::testing {

class TNamedPipe {
public:
    static constexpr int WaitMs = 3000;

    explicit TNamedPipe(const QString& FileName) : Name(QFile::encodeName(FileName)) {
        if (::mkfifo(Name.constData(), 0600) != 0) {
            Failure = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        Rescuer = std::thread([this] { Rescue(); });
    }
    ~TNamedPipe() {
        Done = true;
        if (Rescuer.joinable()) {
            Rescuer.join();
        }
        ::unlink(Name.constData());
    }
    TNamedPipe(const TNamedPipe&) = delete;
    TNamedPipe& operator=(const TNamedPipe&) = delete;

    // Why the pipe could not be made; empty when it was.
    const QString& Error() const { return Failure; }

private:
    QByteArray Name;
    QString Failure;
    std::atomic<bool> Done{false};
    std::thread Rescuer;

    void Rescue() {
        QElapsedTimer clock;
        clock.start();
        while (!Done) {
            if (clock.elapsed() >= WaitMs) {
                // Succeeds only while a reader waits in its open.
                const int fd = ::open(Name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
};

} // namespace tvx::testing
