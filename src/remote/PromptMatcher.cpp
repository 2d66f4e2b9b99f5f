#include "remote/PromptMatcher.h"

#include "platform/TextCodec.h"

#include <QRegularExpression>

#include <algorithm>

namespace quillon {

QString decodeServerText(const QByteArray& bytes) {
    return platform::fromCp1252(bytes);
}

QByteArray encodeServerText(const QString& text) {
    return platform::toCp1252(text);
}

PromptMatcher PromptMatcher::forLine(const QByteArray& line) {
    PromptMatcher m;
    m.m_echo = line;
    return m;
}

PromptMatcher PromptMatcher::withoutEcho() {
    return PromptMatcher();
}

void PromptMatcher::add(QByteArrayView chunk) {
    m_buf.append(chunk);
    if (m_echo) scan();
}

// The reply starts after the line's own echo and its line end: output that came before the
// echo (a background job's, say) is not the line's. An echo that does not read back as typed
// ends at the first line end.
void PromptMatcher::scan() {
    if (m_firstLineEnd < 0) {
        const qsizetype nl = m_buf.indexOf('\n', m_lineScan);
        m_lineScan = m_buf.size();
        if (nl >= 0) m_firstLineEnd = nl + 1;
    }
    if (m_echoEnd >= 0) return;
    const QByteArray& echo = *m_echo;
    for (qsizetype at = m_buf.indexOf(echo, m_echoScan); at >= 0;
         at = m_buf.indexOf(echo, at + 1)) {
        if (at > 0 && m_buf.at(at - 1) != '\n') continue;  // not at the start of a line
        const qsizetype end = at + echo.size();
        if (end >= m_buf.size() || (m_buf.at(end) == '\r' && end + 1 >= m_buf.size())) {
            m_echoScan = at;  // its line end is still on the way
            return;
        }
        if (m_buf.at(end) == '\n') {
            m_echoEnd = end + 1;
            return;
        }
        if (m_buf.at(end) == '\r' && m_buf.at(end + 1) == '\n') {
            m_echoEnd = end + 2;
            return;
        }
    }
    m_echoScan = std::max<qsizetype>(0, m_buf.size() - echo.size());
}

qsizetype PromptMatcher::echoEnd() const {
    if (!m_echo) return 0;
    return m_echoEnd >= 0 ? m_echoEnd : m_firstLineEnd;
}

// Where the prompt starts when the text after the echo ends in it, else -1.
qsizetype PromptMatcher::promptStart() const {
    static const QRegularExpression re(QString::fromLatin1(kPromptPattern));
    const qsizetype from = echoEnd();
    if (from < 0) return -1;
    const qsizetype start = std::max(from, m_buf.size() - 64);
    if (start >= m_buf.size()) return -1;
    const QString tail = QString::fromLatin1(m_buf.constData() + start, m_buf.size() - start);
    const auto m = re.match(tail);
    // '$' would also match before a final newline; the prompt must end the text.
    if (!m.hasMatch() || m.capturedEnd() != tail.size()) return -1;
    return start + m.capturedStart();
}

bool PromptMatcher::complete() const {
    return promptStart() >= 0;
}

QString PromptMatcher::reply() const {
    const qsizetype from = std::max<qsizetype>(0, echoEnd());
    const qsizetype prompt = promptStart();
    QString text = decodeServerText(m_buf.mid(from, (prompt < 0 ? m_buf.size() : prompt) - from));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace quillon
