#pragma once
// A lock beside a file that several copies of the program read, change and
// write back whole (as "Config.ini"): while one copy holds it, another waits
// before it reads, so neither writes over what the other just wrote.
#include <QString>

namespace tvx {

// Takes an exclusive flock on Fd, waiting at most WaitMs for another holder.
// Returns 0; EWOULDBLOCK when the wait ran out; or why the system refused
// (ENOLCK, ENOTSUP or EINVAL: a file system without locks).
int LockExclusively(int Fd, int WaitMs);

class TLockFile {
public:
    // Long enough for another copy to write its settings, short enough that a
    // copy closing at logout is not held up by one that hangs.
    static constexpr int DefaultWaitMs = 3000;

    // Locks GuardedFile + ".lock", waiting at most WaitMs for another holder.
    // The lock is the system's flock on that file, which ends with its holder
    // however it ends, so a lock file left behind blocks nobody. When the lock
    // cannot be had (no locks on this file system, no lock file can be made,
    // a holder that hangs past the wait) the work goes on without it: losing
    // a race is better than never writing at all.
    explicit TLockFile(const QString& GuardedFile, int WaitMs = DefaultWaitMs);
    // Removes the lock file and releases the lock.
    ~TLockFile();
    TLockFile(const TLockFile&) = delete;
    TLockFile& operator=(const TLockFile&) = delete;

    bool Locked() const { return Fd >= 0; }

private:
    QByteArray Path;
    int Fd = -1;
};

} // namespace tvx
