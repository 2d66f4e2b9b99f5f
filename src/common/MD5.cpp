#include "common/MD5.h"

#include "platform/TextCodec.h"

#include <cstring>

namespace quillon {

namespace {

constexpr std::uint32_t kConstants[64] = {
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE, 0xF57C0FAF, 0x4787C62A, 0xA8304613, 0xFD469501,
    0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE, 0x6B901122, 0xFD987193, 0xA679438E, 0x49B40821,
    0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA, 0xD62F105D, 0x02441453, 0xD8A1E681, 0xE7D3FBC8,
    0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED, 0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A,
    0xFFFA3942, 0x8771F681, 0x6D9D6122, 0xFDE5380C, 0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70,
    0x289B7EC6, 0xEAA127FA, 0xD4EF3085, 0x04881D05, 0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665,
    0xF4292244, 0x432AFF97, 0xAB9423A7, 0xFC93A039, 0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1, 0xF7537E82, 0xBD3AF235, 0x2AD7D2BB, 0xEB86D391};

constexpr int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

}  // namespace

std::uint32_t MD5::LongLeftRotate(std::uint32_t value, int bits) {
    const int n = ((bits % 32) + 32) % 32;
    if (n == 0) return value;
    return (value << n) | (value >> (32 - n));
}

void MD5::MD5Init() {
    m_registers = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
    m_totalBytes = 0;
}

void MD5::compress(const unsigned char* block) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = std::uint32_t(block[4 * i]) | std::uint32_t(block[4 * i + 1]) << 8 |
               std::uint32_t(block[4 * i + 2]) << 16 | std::uint32_t(block[4 * i + 3]) << 24;
    }
    std::uint32_t a = m_registers[0], b = m_registers[1], c = m_registers[2], d = m_registers[3];
    for (int step = 0; step < 64; ++step) {
        const int round = step / 16;
        std::uint32_t f;
        int k;
        switch (round) {
            case 0:
                f = (b & c) | (~b & d);
                k = step;
                break;
            case 1:
                f = (b & d) | (c & ~d);
                k = (5 * step + 1) % 16;
                break;
            case 2:
                f = b ^ c ^ d;
                k = (3 * step + 5) % 16;
                break;
            default:
                f = c ^ (b | ~d);
                k = (7 * step) % 16;
                break;
        }
        const std::uint32_t sum = a + f + kConstants[step] + x[k];
        a = d;
        d = c;
        c = b;
        b = b + LongLeftRotate(sum, kShifts[round][step % 4]);
    }
    m_registers[0] += a;
    m_registers[1] += b;
    m_registers[2] += c;
    m_registers[3] += d;
}

void MD5::MD5Update(std::int32_t inputLen, const unsigned char* inputBuffer) {
    const int used = static_cast<int>(static_cast<std::uint32_t>(m_totalBytes) % 64);
    const int room = 64 - used;
    m_totalBytes += inputLen;
    if (inputLen >= room) {
        std::memcpy(m_blockBuffer.data() + used, inputBuffer, room);
        compress(m_blockBuffer.data());
        std::int32_t at = room;
        for (; at + 64 <= inputLen; at += 64) compress(inputBuffer + at);
        std::memcpy(m_blockBuffer.data(), inputBuffer + at, inputLen - at);
    } else if (inputLen > 0) {
        std::memcpy(m_blockBuffer.data() + used, inputBuffer, inputLen);
    }
}

void MD5::MD5Final() {
    const std::int32_t total = m_totalBytes;
    const std::uint32_t bits = static_cast<std::uint32_t>(total) * 8u;
    const int used = static_cast<int>(static_cast<std::uint32_t>(total) % 64);
    unsigned char pad[64] = {0x80};
    // Beyond the first block a tail of 57..63 bytes asks for a negative count: nothing is fed,
    // the count jumps to 120 and the length lands on byte 56 of the tail. Kept on purpose.
    if (used <= 56)
        MD5Update(56 - used, pad);
    else
        MD5Update(120 - total, pad);
    const unsigned char length[8] = {static_cast<unsigned char>(bits),
                                     static_cast<unsigned char>(bits >> 8),
                                     static_cast<unsigned char>(bits >> 16),
                                     static_cast<unsigned char>(bits >> 24),
                                     0,
                                     0,
                                     0,
                                     0};
    MD5Update(8, length);
}

QString MD5::GetValues() const {
    QByteArray bytes;
    for (std::uint32_t word : m_registers) {
        for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>(word >> (8 * i)));
    }
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QString MD5::DigestBytesToHexStr(const QByteArray& bytes) {
    MD5Init();
    MD5Update(bytes);
    MD5Final();
    return GetValues();
}

QString MD5::DigestStrToHexStr(const QString& sourceString) {
    return DigestBytesToHexStr(platform::toCp1252(sourceString));
}

}  // namespace quillon
