#include "support/print_qstring.h"
#include "support/res_strings.h"
#include <gtest/gtest.h>

using namespace tvx;

TEST(ResStrings, ProgramMessagesLieInTheirBlock) {
    const TStringTable& table = ProgramStringTable();
    const QByteArray* block = table.FindBlock(4077);
    ASSERT_NE(block, nullptr);
    // Seven empty entries, then the count of string 65223 (position 7).
    EXPECT_EQ(block->left(16), QByteArray(14, '\0') + QByteArray("\x1C\x00", 2));

    EXPECT_EQ(WideResString(ResString(SArrayIndexError)),
              QStringLiteral("Array index out of range: %d"));
    EXPECT_EQ(WideResString(ResString(SInvalidStreamValue)),
              QStringLiteral("Invalid property value. Position %d"));
    // A negative 16-bit id widened to 32 bits names the same string.
    char16_t buf[64];
    EXPECT_EQ(LoadStringFromResource(&table, 0u - SGeneralArrayError, buf, 64), 20);
    EXPECT_EQ(QString::fromUtf16(buf), QStringLiteral("General array error."));
    // A missing string or block gives nothing.
    EXPECT_EQ(WideResString(ResString(65216)), QString());
    EXPECT_EQ(WideResString(ResString(100)), QString());
}

TEST(ResStrings, BufferRules) {
    TStringTable table;
    table.SetString(33, QStringLiteral("hello"));
    char16_t buf[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(LoadStringFromResource(&table, 33, nullptr, 0), 5);
    EXPECT_EQ(LoadStringFromResource(&table, 33, buf, 0), 5);
    EXPECT_EQ(buf[0], u'x');
    EXPECT_EQ(LoadStringFromResource(&table, 33, buf, 4), 3);
    EXPECT_EQ(QString::fromUtf16(buf), QStringLiteral("hel"));
    EXPECT_EQ(LoadStringFromResource(&table, 48, buf, 8), 0); // block 4 is missing
    EXPECT_EQ(QString::fromUtf16(buf), QStringLiteral("hel"));
    EXPECT_EQ(LoadStringFromResource(&table, 34, buf, 8), 0); // an empty entry
    EXPECT_EQ(QString::fromUtf16(buf), QString());

    // A block cut short reads as missing instead of running past its end.
    table.SetBlock(5, QByteArray("\x00\x00\x09\x00\x41\x00", 6));
    EXPECT_EQ(LoadStringFromResource(&table, 65, buf, 8), 0);
    EXPECT_EQ(LoadStringFromResource(&table, 70, buf, 8), 0);
}

TEST(ResStrings, LongStringsAreCutTo4096) {
    TStringTable table;
    QString text(5000, QChar(0x0416));
    table.SetString(65230, text);
    TResStringRec rec{&table, 65230};
    QString loaded = WideResString(rec);
    EXPECT_EQ(loaded.size(), 4096);
    EXPECT_EQ(loaded, text.left(4096));
}

TEST(ResStrings, EightBitTexts) {
    EXPECT_EQ(WideResString(ResStringText("\xEF\xBB\xBF"
                                          "abc")),
              QStringLiteral("abc"));
    EXPECT_EQ(WideResString(ResStringText("\xEF\xBB\xBF\xD0\x96")), QString(QChar(0x0416)));
    // The mark alone is taken as 8-bit text, not decoded.
    EXPECT_EQ(WideResString(ResStringText("\xEF\xBB\xBF")).size(), 3);
    EXPECT_EQ(WideResString(ResStringText("\xC6")), QString(QChar(0x0416)));
    EXPECT_EQ(LoadResStringW(nullptr), QString());
}
