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
    m.echo_ = line;
    return m;
}

PromptMatcher PromptMatcher::withoutEcho() {
    return PromptMatcher();
}

void PromptMatcher::add(QByteArrayView chunk) {
    buf_.append(chunk);
    if (echo_) scan();
}

// The reply starts after the line's own echo and its line end: output that came before the
// echo (a background job's, say) is not the line's. An echo that does not read back as typed
// ends at the first line end.
void PromptMatcher::scan() {
    if (firstLineEnd_ < 0) {
        const qsizetype nl = buf_.indexOf('\n', lineScan_);
        lineScan_ = buf_.size();
        if (nl >= 0) firstLineEnd_ = nl + 1;
    }
    if (echoEnd_ >= 0) return;
    const QByteArray& echo = *echo_;
    for (qsizetype at = buf_.indexOf(echo, echoScan_); at >= 0; at = buf_.indexOf(echo, at + 1)) {
        if (at > 0 && buf_.at(at - 1) != '\n') continue;  // not at the start of a line
        const qsizetype end = at + echo.size();
        if (end >= buf_.size() || (buf_.at(end) == '\r' && end + 1 >= buf_.size())) {
            echoScan_ = at;  // its line end is still on the way
            return;
        }
        if (buf_.at(end) == '\n') {
            echoEnd_ = end + 1;
            return;
        }
        if (buf_.at(end) == '\r' && buf_.at(end + 1) == '\n') {
            echoEnd_ = end + 2;
            return;
        }
    }
    echoScan_ = std::max<qsizetype>(0, buf_.size() - echo.size());
}

qsizetype PromptMatcher::echoEnd() const {
    if (!echo_) return 0;
    return echoEnd_ >= 0 ? echoEnd_ : firstLineEnd_;
}

// Where the prompt starts when the text after the echo ends in it, else -1.
qsizetype PromptMatcher::promptStart() const {
    static const QRegularExpression re(QString::fromLatin1(kPromptPattern));
    const qsizetype from = echoEnd();
    if (from < 0) return -1;
    const qsizetype start = std::max(from, buf_.size() - 64);
    if (start >= buf_.size()) return -1;
    const QString tail = QString::fromLatin1(buf_.constData() + start, buf_.size() - start);
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
    QString text = decodeServerText(buf_.mid(from, (prompt < 0 ? buf_.size() : prompt) - from));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace quillon
