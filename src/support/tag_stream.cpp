#include "support/tag_stream.h"
#include "support/res_strings.h"

namespace tvx {

namespace {

template <typename T> void WriteLE(TStream& Stream, T Value) {
    std::uint8_t bytes[sizeof(T)];
    auto v = static_cast<std::make_unsigned_t<T>>(Value);
    for (size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = std::uint8_t(v >> (8 * i));
    }
    Stream.WriteBuffer(bytes, sizeof(T));
}

template <typename T> T ReadLE(TStream& Stream) {
    std::uint8_t bytes[sizeof(T)];
    Stream.ReadBuffer(bytes, sizeof(T));
    std::make_unsigned_t<T> v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        v = std::make_unsigned_t<T>(v | (std::make_unsigned_t<T>(bytes[i]) << (8 * i)));
    }
    return static_cast<T>(v);
}

// Reads a 4-byte length and checks that the stream still holds Unit times as
// many bytes, so a damaged length fails at once instead of reading on.
std::int64_t ReadPayloadLength(TStream& Stream, int Unit) {
    std::int64_t n = ReadLE<std::uint32_t>(Stream);
    if (n * Unit > Stream.Size() - Stream.Position()) {
        throw EStreamError(QStringLiteral("Stream read error"));
    }
    return n * Unit;
}

} // namespace

void RaiseInvalidTag(std::int64_t Position, std::uint16_t Expected) {
    QString text = WideResString(ResString(SInvalidStreamTag));
    throw EStreamError(
        QString::asprintf(text.toUtf8().constData(), unsigned(Position), unsigned(Expected)));
}

void RaiseInvalidValue(std::int64_t Position) {
    QString text = WideResString(ResString(SInvalidStreamValue));
    throw EStreamError(QString::asprintf(text.toUtf8().constData(), int(Position)));
}

void WriteTag(TStream& Stream, std::uint16_t Tag) {
    WriteLE(Stream, Tag);
}

void WriteRawByte(TStream& Stream, std::uint8_t B) {
    Stream.WriteBuffer(&B, 1);
}

void WriteIntegerValue(TStream& Stream, std::int32_t V) {
    if (V >= -128 && V <= 127) {
        WriteRawByte(Stream, vtInt8);
        WriteLE(Stream, std::int8_t(V));
    } else if (V >= -32768 && V <= 32767) {
        WriteRawByte(Stream, vtInt16);
        WriteLE(Stream, std::int16_t(V));
    } else {
        WriteRawByte(Stream, vtInt32);
        WriteLE(Stream, V);
    }
}

void WriteByteValue(TStream& Stream, std::uint8_t B) {
    WriteRawByte(Stream, vtByte);
    WriteRawByte(Stream, B);
}

void WriteBooleanValue(TStream& Stream, bool B) {
    WriteRawByte(Stream, B ? vtTrue : vtFalse);
}

void WriteBinaryValue(TStream& Stream, const void* Buffer, std::int32_t N) {
    WriteRawByte(Stream, vtBinary);
    WriteLE(Stream, N);
    Stream.WriteBuffer(Buffer, N);
}

int IntegerValueSize(std::int32_t V) {
    if (V >= -128 && V <= 127) {
        return 2;
    }
    if (V >= -32768 && V <= 32767) {
        return 3;
    }
    return 5;
}

int BinaryValueSize(std::int32_t N) {
    return N + 5;
}

void ReadTag(TStream& Stream, std::uint16_t Expected) {
    std::int64_t at = Stream.Position();
    if (ReadRawTag(Stream) != Expected) {
        Stream.SetPosition(at);
        RaiseInvalidTag(at, Expected);
    }
}

std::uint16_t ReadRawTag(TStream& Stream) {
    return ReadLE<std::uint16_t>(Stream);
}

std::uint8_t ReadRawByte(TStream& Stream) {
    std::uint8_t b = 0;
    Stream.ReadBuffer(&b, 1);
    return b;
}

std::int32_t ReadIntegerValue(TStream& Stream) {
    std::int64_t at = Stream.Position();
    switch (ReadRawByte(Stream)) {
    case vtInt8:
        return ReadLE<std::int8_t>(Stream);
    case vtInt16:
        return ReadLE<std::int16_t>(Stream);
    case vtInt32:
        return ReadLE<std::int32_t>(Stream);
    default:
        RaiseInvalidValue(at);
    }
}

std::uint8_t ReadByteValue(TStream& Stream) {
    if (ReadRawByte(Stream) == vtByte) {
        return ReadRawByte(Stream);
    }
    Stream.Skip(-1);
    return std::uint8_t(ReadIntegerValue(Stream) & 0xFF);
}

bool ReadBooleanValue(TStream& Stream) {
    return ReadRawByte(Stream) == vtTrue;
}

namespace {

// Reads the type and length of a binary value and checks both before any
// payload byte is read.
void ReadBinaryHeader(TStream& Stream, std::int32_t ExpectedLength) {
    std::int64_t at = Stream.Position();
    if (ReadRawByte(Stream) != vtBinary) {
        RaiseInvalidValue(at);
    }
    std::int64_t n = ReadLE<std::uint32_t>(Stream);
    if (n != ExpectedLength) {
        RaiseInvalidValue(at);
    }
    if (n > Stream.Size() - Stream.Position()) {
        throw EStreamError(QStringLiteral("Stream read error"));
    }
}

} // namespace

void ReadBinaryValue(TStream& Stream, void* Buffer, std::int32_t ExpectedLength) {
    ReadBinaryHeader(Stream, ExpectedLength);
    Stream.ReadBuffer(Buffer, ExpectedLength);
}

QByteArray ReadBinaryValue(TStream& Stream, std::int32_t ExpectedLength) {
    ReadBinaryHeader(Stream, ExpectedLength);
    QByteArray bytes(ExpectedLength, Qt::Uninitialized);
    Stream.ReadBuffer(bytes.data(), ExpectedLength);
    return bytes;
}

void SkipValue(TStream& Stream) {
    std::int64_t at = Stream.Position();
    int type = ReadRawByte(Stream) & 0x7F;
    std::int64_t payload = 0;
    switch (type) {
    case 0:
    case 1:
    case 8:
    case 9:
        break;
    case 2:
    case 3:
    case 4:
        payload = 1;
        break;
    case 5:
        payload = 2;
        break;
    case 6:
    case 10:
        payload = 4;
        break;
    case 7:
    case 11:
    case 12:
    case 14:
        payload = 8;
        break;
    case 13:
        payload = 10;
        break;
    case 15:
        payload = ReadRawByte(Stream);
        break;
    case 16:
    case 18:
    case 19:
        payload = ReadPayloadLength(Stream, 1);
        break;
    case 17:
        payload = ReadPayloadLength(Stream, 2);
        break;
    default:
        RaiseInvalidValue(at);
    }
    if (payload > Stream.Size() - Stream.Position()) {
        throw EStreamError(QStringLiteral("Stream read error"));
    }
    Stream.Skip(payload);
}

} // namespace tvx
