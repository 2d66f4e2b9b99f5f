#include "platform/TextCodec.h"

namespace platform {

namespace {
// 0x80..0x9F; 0 marks the five codes Windows-1252 leaves undefined (kept as C1 controls).
const char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

// One character for one byte both ways, so the results are filled in place: the exports and
// the table reads convert files of megabytes.
QByteArray toCp1252(const QString& text) {
    QByteArray out;
    appendCp1252(out, text);
    return out;
}

void appendCp1252(QByteArray& out, QStringView text) {
    const qsizetype from = out.size();
    out.resize(from + text.size());
    char* to = out.data() + from;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            *to++ = static_cast<char>(c);
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHigh[i] == c || (kHigh[i] == 0 && c == 0x80 + i)) {
                b = static_cast<char>(0x80 + i);
                break;
            }
        }
        *to++ = b;
    }
}

QString firstWithoutCp1252(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80 || toCp1252(QString(c)) != "?") continue;
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        return text.mid(i, pair ? 2 : 1).toString();
    }
    return QString();
}

QString fromCp1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            *to++ = QChar(kHigh[b - 0x80]);
        else
            *to++ = QChar(b);
    }
    return out;
}

}  // namespace platform
