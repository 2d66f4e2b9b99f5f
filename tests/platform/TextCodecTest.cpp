#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace {

struct HighCode {
    unsigned char byte;
    char16_t unicode;
};

// The Windows-1252 characters at 0x80..0x9F, as the code page publishes them; the five codes
// it leaves undefined (81, 8D, 8F, 90, 9D) are kept as the C1 controls of the same value.
const HighCode kHighCodes[32] = {
    {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
    {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039},
    {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018},
    {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
    {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
    {0x9E, 0x017E}, {0x9F, 0x0178},
};

TEST(TextCodecTest, HighTableBothWays) {
    for (const HighCode& c : kHighCodes) {
        const QByteArray byte(1, static_cast<char>(c.byte));
        const QString text(QChar(c.unicode));
        EXPECT_EQ(platform::fromCp1252(byte), text) << std::hex << int(c.byte);
        EXPECT_EQ(platform::toCp1252(text), byte) << std::hex << int(c.byte);
    }
}

TEST(TextCodecTest, EveryByteRoundTripsAndLatin1MapsToItself) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    const QString text = platform::fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(platform::toCp1252(text), all);
    for (int b = 0; b < 256; ++b) {
        if (b < 0x80 || b >= 0xA0) EXPECT_EQ(text.at(b).unicode(), b) << b;
    }
}

TEST(TextCodecTest, CharactersWithoutACodeBecomeQuestionMarks) {
    EXPECT_EQ(platform::toCp1252(QStringLiteral("a\u0100b\u4e2d\u2028c\uFFFD")), "a?b??c?");
    // The Unicode neighbours of mapped characters are not mapped by accident.
    EXPECT_EQ(platform::toCp1252(QStringLiteral("\u20AB\u20AD\u2019\u201F")), "??\x92?");
    EXPECT_EQ(platform::toCp1252(QString()), QByteArray());
}

}  // namespace
