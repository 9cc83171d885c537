#include "support/arrays.h"
#include "support/print_qstring.h"
#include "support/tag_stream.h"
#include <cstring>
#include <gtest/gtest.h>

using namespace tvx;

namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// An array of 4-byte items holding 1 and 2, as a 32-bit pointer array would.
void FillOneTwo(TBaseArray& a) {
    a.SetCount(2);
    std::int32_t items[2] = {1, 2};
    std::memcpy(a.Data(), items, sizeof items);
}

const char* OneTwoRecord = "0001 05010404 0A010301 14010402 1901120800000001000000 02000000 FF01";

QString ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EStreamError& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(TagStream, IntegerValuesTakeTheSmallestSize) {
    TMemoryStream s;
    WriteIntegerValue(s, 127);
    WriteIntegerValue(s, 128);
    WriteIntegerValue(s, -32769);
    WriteIntegerValue(s, -1);
    EXPECT_EQ(s.Memory(), Hex("047F 058000 06FF7FFFFF 04FF"));
    EXPECT_EQ(IntegerValueSize(127) + IntegerValueSize(128) + IntegerValueSize(-32769), 10);

    s.SetPosition(0);
    EXPECT_EQ(ReadIntegerValue(s), 127);
    EXPECT_EQ(ReadIntegerValue(s), 128);
    EXPECT_EQ(ReadIntegerValue(s), -32769);
    EXPECT_EQ(ReadByteValue(s), 0xFF); // an integer read as a byte keeps its low 8 bits
}

TEST(TagStream, ArrayRecordBytesAndSize) {
    TBaseArray a(4);
    FillOneTwo(a);
    TMemoryStream s;
    a.SaveToStream(s);
    EXPECT_EQ(s.Memory(), Hex(OneTwoRecord));
    EXPECT_EQ(a.StreamSize(), 31);

    TBaseArray sorted(4);
    sorted.SetSorted(true);
    TMemoryStream t;
    sorted.SaveToStream(t);
    EXPECT_EQ(t.Size(), sorted.StreamSize());
}

TEST(TagStream, ArrayRoundTripAndUnknownTags) {
    TBaseArray a(4);
    a.SetCount(300);
    for (int i = 0; i < 300; ++i) {
        reinterpret_cast<std::int32_t*>(a.Data())[i] = i * 1000;
    }
    a.SetSorted(true);
    TMemoryStream s;
    a.SaveToStream(s);
    s.SetPosition(0);
    TBaseArray b(4);
    b.LoadFromStream(s);
    EXPECT_EQ(b.Count(), 300);
    EXPECT_TRUE(b.Sorted());
    EXPECT_EQ(std::memcmp(a.Data(), b.Data(), 1200), 0);
    EXPECT_EQ(s.Position(), s.Size());

    // An extra tag 300 with a type-16 value is skipped.
    QByteArray withExtra = Hex(OneTwoRecord);
    withExtra.insert(2, Hex("2C01 10 03000000 414243"));
    TMemoryStream e(withExtra);
    TBaseArray c(4);
    c.LoadFromStream(e);
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(reinterpret_cast<std::int32_t*>(c.Data())[1], 2);

    // The record of an empty array empties the array.
    TBaseArray empty(4);
    TMemoryStream es;
    empty.SaveToStream(es);
    es.SetPosition(0);
    c.LoadFromStream(es);
    EXPECT_EQ(c.Count(), 0);
}

TEST(TagStream, ErrorsNameThePosition) {
    TMemoryStream wrongStart(Hex("0101 FF01"));
    TBaseArray a(4);
    EXPECT_EQ(ErrorOf([&] { a.LoadFromStream(wrongStart); }),
              QStringLiteral("Invalid stream data at position 0. Tag 100 expected"));
    EXPECT_EQ(wrongStart.Position(), 0);

    TMemoryStream badType(Hex("0001 2C01 14"));
    EXPECT_EQ(ErrorOf([&] { a.LoadFromStream(badType); }),
              QStringLiteral("Invalid property value. Position 4"));
    EXPECT_EQ(badType.Position(), 5);

    TMemoryStream highBit(Hex("90 02000000 4142"));
    SkipValue(highBit); // 0x90 skips like type 16
    EXPECT_EQ(highBit.Position(), highBit.Size());
}

TEST(TagStream, DamagedRecordsFailAndLeaveTheArray) {
    QByteArray good = Hex(OneTwoRecord);
    TBaseArray a(4);
    a.SetCount(1);
    reinterpret_cast<std::int32_t*>(a.Data())[0] = 77;
    auto unchanged = [&] {
        EXPECT_EQ(a.Count(), 1);
        EXPECT_EQ(reinterpret_cast<std::int32_t*>(a.Data())[0], 77);
    };

    // Cut anywhere inside the record: an error, never a loop.
    for (int cut = 0; cut < good.size(); ++cut) {
        TMemoryStream s(good.left(cut));
        EXPECT_THROW(a.LoadFromStream(s), EStreamError) << "cut at " << cut;
        unchanged();
    }

    // Data whose length differs from Count x ItemSize.
    QByteArray shortData = Hex("0001 14010402 19011204000000 01000000 FF01");
    TMemoryStream s1(shortData);
    EXPECT_EQ(ErrorOf([&] { a.LoadFromStream(s1); }),
              QStringLiteral("Invalid property value. Position 8"));
    unchanged();

    // A count that follows the data and disagrees with it.
    QByteArray lateCount = good;
    lateCount.insert(good.size() - 2, Hex("1401 0403"));
    TMemoryStream s2(lateCount);
    EXPECT_THROW(a.LoadFromStream(s2), EStreamError);
    unchanged();

    // A length prefix larger than the stream.
    TMemoryStream s3(Hex("0001 2C01 10 FFFFFF7F FF01"));
    EXPECT_EQ(ErrorOf([&] { a.LoadFromStream(s3); }), QStringLiteral("Stream read error"));

    // Another item size than the array's own.
    TBaseArray wide(8);
    TMemoryStream s4(good);
    EXPECT_THROW(wide.LoadFromStream(s4), EStreamError);
    EXPECT_EQ(wide.Count(), 0);
}
