#include "settings/bytetext.h"

#include <QStringDecoder>
#include <gtest/gtest.h>

TEST(ByteText, EveryByteRoundTrips) {
    ByteText all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(cp1251::fromUnicode(cp1251::toUnicode(all)), all);
}

TEST(ByteText, CyrillicAlphabetMapsToItsBytes) {
    const QString upper = QString::fromUtf8("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    const QString lower = QString::fromUtf8("абвгдежзийклмнопрстуфхцчшщъыьэюя");
    ByteText u = cp1251::fromUnicode(upper), l = cp1251::fromUnicode(lower);
    ASSERT_EQ(u.size(), 32);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(uchar(u[i]), 0xC0 + i);
        EXPECT_EQ(uchar(l[i]), 0xE0 + i);
    }
    EXPECT_EQ(W("Ёё№«»—"), ByteText("\xA8\xB8\xB9\xAB\xBB\x97"));
}

TEST(ByteText, AgreesWithTheSystemCodec) {
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid())
        GTEST_SKIP() << "Qt has no windows-1251 codec here";
    for (int b = 0x80; b < 256; ++b) {
        if (b == 0x98)
            continue; // unassigned in the code page
        ByteText one(1, char(b));
        QString expected = decoder.decode(one);
        EXPECT_EQ(cp1251::toUnicode(one), expected) << "byte " << b;
    }
}

TEST(ByteText, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(cp1251::fromUnicode(QString::fromUtf8("a€ä中😀")), ByteText("a\x88??"
                                                                         "?"));
}
