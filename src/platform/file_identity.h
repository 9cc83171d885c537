#pragma once
// Which file a name stands for, and whether it is still as it was: device,
// inode, size and modification time. A file replaced under its name (a save
// by another program through a temporary file) gets another inode; one
// written in place another size or time. Two names of one file (a link, a
// relative and an absolute name) give the same device and inode.
#include <QString>
#include <cstdint>

namespace tvx {

struct TFileIdentity {
    bool Exists = false;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedSeconds = 0;
    std::int64_t ModifiedNanoseconds = 0;

    bool operator==(const TFileIdentity&) const = default;
    // Both name one existing file, whatever was done to its content.
    bool SameFileAs(const TFileIdentity& Other) const {
        return Exists && Other.Exists && Device == Other.Device && Inode == Other.Inode;
    }
};

// The identity of the file FileName names now (links followed); Exists is
// false when there is none or it cannot be looked at.
TFileIdentity FileIdentityOf(const QString& FileName);

} // namespace tvx
