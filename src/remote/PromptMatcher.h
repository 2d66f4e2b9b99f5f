#pragma once
// When a shell line is done, from what the shell sent back: no I/O here, only the received
// text. The shell echoes the line as typed and a line end, prints the line's output and then
// its prompt; the line is complete when the text after its own echo ends in the prompt.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quillon {

// The shell's prompt (and continuation prompt "> "): one of $ % @ # > and a blank at the end.
inline constexpr const char* kPromptPattern = "[$%@#>] $";

// Text on the server's shell is Windows-1252, as the system's files are: each byte one
// character, both ways.
QString decodeServerText(const QByteArray& bytes);
QByteArray encodeServerText(const QString& text);

class PromptMatcher {
public:
    // The reply to a line that was typed (without its LF): its echo comes first.
    static PromptMatcher forLine(const QByteArray& line);
    // No echo to wait for: the first prompt of a shell, or the rest of a line still running.
    static PromptMatcher withoutEcho();

    void add(QByteArrayView chunk);
    // The received text after the echo ends in the prompt. A prompt-like text that ends one
    // chunk may be the middle of the output: the reader offers what else is already there
    // (add) before it takes the line as done.
    bool complete() const;
    // Between echo and prompt, CR LF as LF (while not complete: what came after the echo).
    QString reply() const;
    const QByteArray& received() const { return m_buf; }

private:
    PromptMatcher() = default;
    void scan();
    qsizetype echoEnd() const;
    qsizetype promptStart() const;

    std::optional<QByteArray> m_echo;
    QByteArray m_buf;
    // Found once and then fixed; the scans go on where they stopped, so a long reply is not
    // searched again with every chunk.
    qsizetype m_echoEnd = -1;
    qsizetype m_echoScan = 0;
    qsizetype m_firstLineEnd = -1;
    qsizetype m_lineScan = 0;
};

}  // namespace quillon
