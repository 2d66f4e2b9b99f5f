#pragma once
// The password digest stored in the server's user files: MD5 over the password's Windows-1252
// bytes, written as 32 upper-case hex digits. The final padding is the system's own and differs
// from RFC 1321 at a few lengths (a last partial block of 56 bytes, or of 57..63 bytes after the
// first 64): there the last block is the first 56 bytes of that partial block followed by the
// length, with no 0x80 byte. Digests already stored depend on it, so it must stay so.
#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace quillon {

class MD5 {
public:
    MD5() { MD5Init(); }

    // The digest text of the string; a character without a Windows-1252 code counts as '?'.
    QString DigestStrToHexStr(const QString& sourceString);
    // The same over raw bytes.
    QString DigestBytesToHexStr(const QByteArray& bytes);

    // The digest text of the current registers.
    QString GetValues() const;
    void MD5Init();
    void MD5Final();
    // Feeds the first inputLen bytes; a count of 0 or less copies nothing but still counts.
    void MD5Update(std::int32_t inputLen, const unsigned char* inputBuffer);
    void MD5Update(const QByteArray& bytes) {
        MD5Update(static_cast<std::int32_t>(bytes.size()),
                  reinterpret_cast<const unsigned char*>(bytes.constData()));
    }

    static std::uint32_t LongLeftRotate(std::uint32_t value, int bits);

private:
    void compress(const unsigned char* block);

    std::array<std::uint32_t, 4> m_registers{};
    std::int32_t m_totalBytes = 0;
    std::array<unsigned char, 64> m_blockBuffer{};
};

}  // namespace quillon
