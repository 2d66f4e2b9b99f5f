#pragma once
// The state machine of one live monitor (call log or PMS), without widgets or sessions: what is
// sent once the tail session is connected, which part of each received chunk is shown, and the
// stamp label's text. Its state and buffer are the process-wide values g_CallLogState and
// g_CallLogBuffer (g_PmsState, g_PmsBuffer for the PMS twin), so the connecting window sees them.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class LiveMonitor {
public:
    enum class Kind { CallLog, Pms };

    // Text kept in a monitor's box and in its buffer, newest last; older text is dropped.
    static constexpr int kDefaultCap = 1024 * 1024;

    explicit LiveMonitor(Kind kind, int cap = kDefaultCap);

    Kind kind() const { return m_kind; }
    QString& state() const;
    QString& buffer() const;
    int cap() const { return m_cap; }

    // The followed file of the current site: a file name or a shell expression, as configured.
    QString followedFile() const;
    // "tail -f " and the followed file, as the shell echoes it back.
    QString tailCommand() const;

    // Before a session is opened: waits for the echo of the tail command again.
    void beginReconnect();
    // The lines sent once connected: cd to the site's server folder, then the tail command.
    QStringList startCommands() const;
    // The connect failed; `why` is the session's own words (which step failed and how).
    QString connectFailureMessage(const QString& why = QString()) const;
    // The server ended the session after it had connected.
    QString lostMessage() const;
    // The tail command's echo has not come back within `seconds` of the start lines.
    QString startOverdueMessage(int seconds) const;

    // One received chunk: the text to append to the box, or nothing when the chunk is not shown.
    std::optional<QString> receive(const QString& chunk);

    QString stampText() const;
    // The stamp label after a change of the box: with the time only while the state is "PRINT".
    QString stampLabel(const QDateTime& now) const;

    // Received text as a text box shows it: the PTY's CR of each line end left out (a box
    // would take it for a second line end).
    static QString forDisplay(const QString& text);

    // Where to cut text that has grown past `cap` so that the newest text stays: the number of
    // leading characters to drop (0 when it fits). Cuts at a line start when one is near.
    static qsizetype excessToDrop(const QString& text, int cap);

    static inline const QString kReconnecting = QStringLiteral("RECONNECTING");
    static inline const QString kPrint = QStringLiteral("PRINT");

private:
    void capBuffer();
    QString traceName() const;

    Kind m_kind;
    int m_cap;
};

}  // namespace quillon
