#pragma once
// A byte stream with a position, and a stream kept in memory. The tag stream
// writes and reads streamable objects through it.
#include "platform/exception.h"
#include <QByteArray>
#include <cstdint>

namespace tvx {

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to Count bytes and returns how many were read.
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    // Writes Count bytes and returns how many were written.
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Position() const = 0;
    // Moves to Value (0 <= Value <= Size); other values raise EStreamError.
    virtual void SetPosition(std::int64_t Value) = 0;
    virtual std::int64_t Size() const = 0;

    // Reads exactly Count bytes; fewer remaining raises "Stream read error".
    void ReadBuffer(void* Buffer, std::int64_t Count);
    // Writes exactly Count bytes; a short write raises "Stream write error".
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    // Moves the position by Offset bytes.
    void Skip(std::int64_t Offset) { SetPosition(Position() + Offset); }
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray Bytes) : Bytes(std::move(Bytes)) {}

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Position() const override { return Pos; }
    void SetPosition(std::int64_t Value) override;
    std::int64_t Size() const override { return Bytes.size(); }

    const QByteArray& Memory() const { return Bytes; }

private:
    QByteArray Bytes;
    std::int64_t Pos = 0;
};

} // namespace tvx
