#pragma once
// Which file a name stands for, and whether it is still as it was: device,
// inode, size and modification time. A file replaced under its name (a save
// by another program through a temporary file) gets another inode; one
// written in place another size or time. Two names of one file (a link, a
// relative and an absolute name) give the same device and inode.
#include <QString>
#include <cstdint>
#include <sys/stat.h>

namespace tvx {

// Both statuses describe one file.
inline bool SameFile(const struct stat& A, const struct stat& B) {
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
}

struct TFileIdentity {
    bool Exists = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedSeconds = 0;
    std::int64_t ModifiedNanoseconds = 0;
    // Why the system would not say, when it was not "no such file" (errno);
    // not part of what makes two identities equal.
    int Refusal = 0;

    bool operator==(const TFileIdentity& Other) const {
        return Exists == Other.Exists && Device == Other.Device && Inode == Other.Inode &&
               Size == Other.Size && ModifiedSeconds == Other.ModifiedSeconds &&
               ModifiedNanoseconds == Other.ModifiedNanoseconds;
    }
    // Both name one existing file, whatever was done to its content.
    bool SameFileAs(const TFileIdentity& Other) const {
        return Exists && Other.Exists && Device == Other.Device && Inode == Other.Inode;
    }
};

// The identity of the file FileName names now (links followed); Exists is
// false when there is none or it cannot be looked at.
TFileIdentity FileIdentityOf(const QString& FileName);

// Whether a file is there before a command asks to replace it. A look the
// system refuses (a folder the user may not search, a link the kernel will
// not follow) says nothing about the file, so it is not taken for "absent":
// that would write without asking.
enum class TPresence : std::uint8_t { Absent, Present, Refused };

struct TFilePresence {
    TPresence State = TPresence::Absent;
    QString Reason; // the system's text when Refused ("Permission denied", ...)
};

TFilePresence PresenceOf(const QString& FileName);

} // namespace tvx
