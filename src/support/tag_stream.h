#pragma once
// The tag stream: a compact binary coding in which an object writes itself
// as numbered fields, each a 16-bit tag followed by a typed value (a type byte
// and a payload whose size the type fixes). Readers skip the values of tags
// they do not know. All numbers are little-endian.
//
// Faults raise EStreamError: "Invalid stream data at position %x. Tag %x
// expected" for an unexpected tag, "Invalid property value. Position %d" for a
// bad value, "Stream read error" when the stream ends inside a value.
#include "support/stream.h"
#include <QByteArray>
#include <cstdint>

namespace tvx {

// Value type codes the writers use.
enum TValueType : std::uint8_t {
    vtByte = 3,
    vtInt8 = 4,
    vtInt16 = 5,
    vtInt32 = 6,
    vtFalse = 8,
    vtTrue = 9,
    vtBinary = 18,
};

void WriteTag(TStream& Stream, std::uint16_t Tag);
void WriteRawByte(TStream& Stream, std::uint8_t B);
// Type 4, 5 or 6: the smallest of 1, 2 or 4 bytes that holds V.
void WriteIntegerValue(TStream& Stream, std::int32_t V);
void WriteByteValue(TStream& Stream, std::uint8_t B);
void WriteBooleanValue(TStream& Stream, bool B);
void WriteBinaryValue(TStream& Stream, const void* Buffer, std::int32_t N);

// Bytes the writers above produce.
int IntegerValueSize(std::int32_t V);
int BinaryValueSize(std::int32_t N);

// Reads a tag; when it is not Expected, steps back over it and raises.
void ReadTag(TStream& Stream, std::uint16_t Expected);
// Reads a tag whatever it is.
std::uint16_t ReadRawTag(TStream& Stream);
std::uint8_t ReadRawByte(TStream& Stream);
std::int32_t ReadIntegerValue(TStream& Stream);
// Type 3, or the low 8 bits of an integer value.
std::uint8_t ReadByteValue(TStream& Stream);
// True for type 9, false for any other type; no payload is read.
bool ReadBooleanValue(TStream& Stream);
// A binary value of exactly ExpectedLength bytes into Buffer. A value of any
// other length raises before anything is copied.
void ReadBinaryValue(TStream& Stream, void* Buffer, std::int32_t ExpectedLength);
// The same into a new buffer, allocated only once the stream is known to hold
// the bytes.
QByteArray ReadBinaryValue(TStream& Stream, std::int32_t ExpectedLength);
// Moves past one value of any type.
void SkipValue(TStream& Stream);

[[noreturn]] void RaiseInvalidTag(std::int64_t Position, std::uint16_t Expected);
[[noreturn]] void RaiseInvalidValue(std::int64_t Position);

} // namespace tvx
