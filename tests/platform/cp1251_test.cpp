#include "platform/cp1251.h"
#include <gtest/gtest.h>

using namespace tvx;

TEST(Cp1251, CyrillicRoundTripsThroughTheCodePage) {
    const QString text = QString::fromUtf8("Начало Конец ёЁ №");
    bool lossless = false;
    QByteArray bytes = EncodeCp1251(text, &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xCD); // Н
    EXPECT_EQ(DecodeCp1251(bytes), text);
}

TEST(Cp1251, EveryByteDecodesAndEncodesBack) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
    }
    bool lossless = false;
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(all), &lossless), all);
    EXPECT_TRUE(lossless);
}

TEST(Cp1251, CharactersOutsideTheCodePageAreReported) {
    bool lossless = true;
    EXPECT_EQ(EncodeCp1251(QString::fromUtf8("a€b✓"), &lossless), QByteArray("a\x88"
                                                                             "b?"));
    EXPECT_FALSE(lossless);
}

TEST(Cp1251, TextFilesAreUtf8UnlessTheBytesAreNot) {
    EXPECT_EQ(DecodeTextFile(QByteArray("\xEF\xBB\xBF") + QByteArray("key=Да")),
              QString::fromUtf8("key=Да"));
    EXPECT_EQ(DecodeTextFile(QByteArray("\xC4\xE0")), QString::fromUtf8("Да"));
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xC4\xE0")));
}
