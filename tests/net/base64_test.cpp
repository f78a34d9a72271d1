#include "net/base64.h"

#include <gtest/gtest.h>

TEST(Base64, PadsShortFinalGroups) {
    EXPECT_EQ(EncodeBase64(""), "");
    EXPECT_EQ(EncodeBase64("f"), "Zg==");
    EXPECT_EQ(EncodeBase64("fo"), "Zm8=");
    EXPECT_EQ(EncodeBase64("foo"), "Zm9v");
    EXPECT_EQ(EncodeBase64("foob"), "Zm9vYg==");
    EXPECT_EQ(EncodeBase64("fooba"), "Zm9vYmE=");
    EXPECT_EQ(EncodeBase64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(EncodeBase64("user:secret"), "dXNlcjpzZWNyZXQ=");
}

TEST(Base64, EncodesCyrillicFromItsSingleByteCodes) {
    const ByteText credentials = W("Иван:пароль");
    ASSERT_EQ(credentials.size(), 11); // one byte per letter
    EXPECT_EQ(EncodeBase64(credentials), "yOLg7Trv4PDu6/w=");
}

TEST(Base64, EveryByteValueAndLengthMatchesTheStandardScheme) {
    ByteText all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    for (qsizetype n = 0; n <= all.size(); ++n) {
        const ByteText input = all.left(n);
        const ByteText encoded = EncodeBase64(input);
        ASSERT_EQ(encoded, input.toBase64()) << n;
        ASSERT_EQ(encoded.size(), (n + 2) / 3 * 4) << n;
    }
}

TEST(Base64, LongInputHasNoLineBreaks) {
    const ByteText encoded = EncodeBase64(ByteText(3000, 'x'));
    EXPECT_EQ(encoded.size(), 4000);
    EXPECT_FALSE(encoded.contains('\n'));
    EXPECT_FALSE(encoded.contains('\r'));
}
