#include "common/MD5.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

using quillon::MD5;

namespace {

QString rfcHex(const QByteArray& bytes) {
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toUpper());
}

// True where the system's padding and RFC 1321 agree.
bool paddedAsRfc(qsizetype length) {
    const qsizetype tail = length % 64;
    return tail < 56 || (tail > 56 && length < 64);
}

// The system's padding built by hand: the message's full blocks, then the first 56 bytes of its
// last partial block and the bit count (low 32 bits, then four zero bytes). Fed whole blocks
// only, so MD5Update compresses exactly these and MD5Final is not involved.
QString deviatingModel(const QByteArray& message) {
    const qsizetype full = message.size() / 64 * 64;
    QByteArray blocks = message.left(full) + message.mid(full, 56);
    const quint32 bits = quint32(message.size()) * 8;
    for (int i = 0; i < 4; ++i) blocks.append(char(bits >> (8 * i)));
    blocks.append(4, '\0');
    EXPECT_EQ(blocks.size() % 64, 0);
    MD5 md5;
    md5.MD5Init();
    md5.MD5Update(blocks);
    return md5.GetValues();
}

QByteArray sample(qsizetype length) {
    QByteArray bytes;
    for (qsizetype i = 0; i < length; ++i) bytes.append(char('!' + (i * 7) % 90));
    return bytes;
}

struct RfcCase {
    const char* text;
    const char* digest;
};

// RFC 1321's own test suite; none of its lengths (0, 1, 3, 14, 26, 62, 80) is one where the
// padding differs (62 is below 64, 80 leaves a tail of 16).
TEST(MD5Test, RfcTestSuiteInUpperCase) {
    const RfcCase cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    MD5 md5;  // one object digests many strings in turn
    for (const RfcCase& c : cases) {
        EXPECT_EQ(md5.DigestStrToHexStr(QString::fromLatin1(c.text)), QLatin1String(c.digest))
            << '"' << c.text << '"';
    }
}

// Digests pinned from an independent model of the padding; stored user files hold such values.
TEST(MD5Test, DeviatingLengthsPinned) {
    QByteArray digits;
    for (int i = 0; i < 120; ++i) digits.append(char('0' + i % 10));
    MD5 md5;
    EXPECT_EQ(md5.DigestBytesToHexStr(QByteArray(56, 'a')),
              QStringLiteral("959729528C4D3149AAED8B0ACA8859BB"));
    EXPECT_NE(md5.DigestBytesToHexStr(QByteArray(56, 'a')), rfcHex(QByteArray(56, 'a')));
    EXPECT_EQ(md5.DigestBytesToHexStr(digits), QStringLiteral("C605C3C3A7B5695DCFB77E5DBDBB1F03"));
    EXPECT_EQ(md5.DigestBytesToHexStr(QByteArray(125, 'a')),
              QStringLiteral("399F8CCC73D860E807E273BB09410CF5"));
    EXPECT_EQ(md5.DigestBytesToHexStr(QByteArray(184, 'a')),
              QStringLiteral("FDC3130C462F55DE938FC1FCADDE766E"));
}

// Every length up to three blocks: RFC 1321 where the padding agrees, the hand-built model
// where it does not.
TEST(MD5Test, EveryLengthFollowsThePaddingRule) {
    MD5 md5;
    for (qsizetype length = 0; length <= 200; ++length) {
        const QByteArray message = sample(length);
        const QString expected = paddedAsRfc(length) ? rfcHex(message) : deviatingModel(message);
        EXPECT_EQ(md5.DigestBytesToHexStr(message), expected) << "length " << length;
    }
    // The lengths named as deviating really are.
    for (qsizetype length : {56, 120, 121, 127, 184, 248})
        EXPECT_FALSE(paddedAsRfc(length)) << length;
    for (qsizetype length : {55, 57, 63, 64, 119, 128}) EXPECT_TRUE(paddedAsRfc(length)) << length;
}

TEST(MD5Test, CharactersAfterTheHundredTwentiethAreNotDigested) {
    MD5 md5;
    const QString head = QString::fromLatin1(sample(120));
    for (int length = 121; length <= 127; ++length) {
        const QString a = head + QString(length - 120, QLatin1Char('x'));
        const QString b = head + QString(length - 120, QLatin1Char('y'));
        EXPECT_EQ(md5.DigestStrToHexStr(a), md5.DigestStrToHexStr(b)) << length;
        // The length still counts.
        EXPECT_NE(md5.DigestStrToHexStr(a), md5.DigestStrToHexStr(a + QLatin1Char('x'))) << length;
    }
    // Before character 120 a difference shows.
    QString changed = head + QStringLiteral("xyz");
    changed[119] = QLatin1Char('#');
    EXPECT_NE(md5.DigestStrToHexStr(changed), md5.DigestStrToHexStr(head + QStringLiteral("xyz")));
}

TEST(MD5Test, NonAsciiPasswordDigestsItsWindows1252Bytes) {
    MD5 md5;
    // é is 0xE9 and € is 0x80 in Windows-1252, not their UTF-8 sequences.
    EXPECT_EQ(md5.DigestStrToHexStr(QStringLiteral("caf\u00e9\u20ac")), rfcHex("caf\xe9\x80"));
    EXPECT_NE(md5.DigestStrToHexStr(QStringLiteral("caf\u00e9\u20ac")),
              rfcHex(QStringLiteral("caf\u00e9\u20ac").toUtf8()));
    // A character Windows-1252 cannot hold counts as '?'.
    EXPECT_EQ(md5.DigestStrToHexStr(QStringLiteral("pw\u4e2d")), rfcHex("pw?"));
}

TEST(MD5Test, UpdateInPiecesEqualsOneUpdate) {
    const QByteArray message = sample(150);
    MD5 md5;
    md5.MD5Init();
    for (qsizetype at = 0; at < message.size(); at += 13) md5.MD5Update(message.mid(at, 13));
    md5.MD5Final();
    MD5 whole;
    EXPECT_EQ(md5.GetValues(), whole.DigestBytesToHexStr(message));
}

TEST(MD5Test, LeftRotate) {
    EXPECT_EQ(MD5::LongLeftRotate(0x80000001u, 1), 0x00000003u);
    EXPECT_EQ(MD5::LongLeftRotate(0x12345678u, 0), 0x12345678u);
    EXPECT_EQ(MD5::LongLeftRotate(0x12345678u, 32), 0x12345678u);
    EXPECT_EQ(MD5::LongLeftRotate(0x12345678u, 36), 0x23456781u);
}

}  // namespace
