#include "menu/MonitorPane.h"

#include "common/Globals.h"
#include "common/SiteContext.h"
#include "common/Messages.h"
#include "common/SiteTargets.h"
#include "remote/LiveTailSession.h"
#include "widgets/Timers.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace quillon {

namespace {

// The names the system gives each monitor's controls.
struct PaneNames {
    const char* stamp;
    const char* caption;
    const char* box;
    const char* session;
    const char* startTimer;
};

PaneNames namesOf(LiveMonitor::Kind kind) {
    if (kind == LiveMonitor::Kind::CallLog)
        return {"callrecordsin", "Live Call Records", "txtCOLL", "sshCOLL", "tmrCOLLStart"};
    return {"callrecordsout", "Calls Posted to PMS", "txtPMS", "sshPMS", "tmrPMSStart"};
}

const QColor kGreen(0, 255, 0);

QTextEdit* makeBox(const char* name) {
    auto* box = new QTextEdit;
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setUndoRedoEnabled(false);
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->setMinimumHeight(80);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Text, kGreen);
    // The whole text stays selected after each append; like a rich-text box that hides
    // its selection, the box shows it as plain green text, not as a highlight.
    p.setColor(QPalette::Highlight, Qt::black);
    p.setColor(QPalette::HighlightedText, kGreen);
    box->setPalette(p);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    box->setFont(mono);
    return box;
}

}  // namespace

MonitorPane::MonitorPane(LiveMonitor::Kind kind, QWidget* parent)
    : QWidget(parent), m_monitor(kind) {
    const PaneNames names = namesOf(kind);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_stamp = new QLabel(QLatin1String(names.caption));
    m_stamp->setObjectName(QLatin1String(names.stamp));
    m_box = makeBox(names.box);
    layout->addWidget(m_stamp);
    layout->addWidget(m_box, 1);
    connect(m_box, &QTextEdit::textChanged, this, &MonitorPane::box_Change);

    m_session = new LiveTailSession(this);
    m_session->setObjectName(QLatin1String(names.session));
    connect(m_session, &LiveTailSession::connected, this, &MonitorPane::session_Connected);
    connect(m_session, &LiveTailSession::dataReceived, this, &MonitorPane::session_Data);
    connect(m_session, &LiveTailSession::disconnected, this, &MonitorPane::session_Disconnected);
    m_start = makeTimer(this, QLatin1String(names.startTimer), 0, TimerShot::Single,
                        [this] { startOverdue(); });
}

MonitorPane::~MonitorPane() = default;

void MonitorPane::drop() {
    m_start->stop();
    m_session->disconnect();
}

void MonitorPane::reconnect() {
    m_monitor.beginReconnect();
    drop();
    m_session->connectToHost(shellTargetForSite(SiteContext::current().index()), G().g_FtpTimeout);
}

void MonitorPane::session_Connected(int errorCode, const QString& errorText) {
    if (errorCode != 0) {
        tell(m_monitor.connectFailureMessage(errorText));
        return;
    }
    for (const QString& line : m_monitor.startCommands()) m_session->send(line);
    // A server that takes the lines and never echoes the tail would leave the monitor waiting
    // without a word; once the tail runs, a quiet log is no fault.
    m_start->start(lineTimeoutSec() * 1000);
}

void MonitorPane::startOverdue() {
    if (m_monitor.state() != LiveMonitor::kReconnecting) return;
    m_session->disconnect();
    tell(m_monitor.startOverdueMessage(m_start->interval() / 1000));
}

void MonitorPane::session_Disconnected() {
    m_start->stop();
    tell(m_monitor.lostMessage());
}

void MonitorPane::session_Data(const QString& text) {
    const std::optional<QString> shown = m_monitor.receive(text);
    if (!shown) return;
    const QString data = LiveMonitor::forDisplay(*shown);

    QTextCharFormat green;
    green.setForeground(kGreen);
    QTextCursor end(m_box->document());
    end.movePosition(QTextCursor::End);
    end.insertText(data, green);  // raises the box's change handler

    // Only the newest text stays in the box.
    if (m_box->document()->characterCount() - 1 > m_monitor.cap()) {
        const qsizetype drop = LiveMonitor::excessToDrop(m_box->toPlainText(), m_monitor.cap());
        QTextCursor cut(m_box->document());
        cut.setPosition(int(drop), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }

    // The whole text selected, the view at its end.
    QTextCursor all(m_box->document());
    all.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    QTextCursor selection(m_box->document());
    selection.setPosition(0);
    selection.setPosition(all.position(), QTextCursor::KeepAnchor);
    m_box->setTextCursor(selection);
    m_box->ensureCursorVisible();
}

void MonitorPane::box_Change() {
    QTextCursor end = m_box->textCursor();
    end.movePosition(QTextCursor::End);
    m_box->setTextCursor(end);
    m_stamp->setText(m_monitor.stampLabel(QDateTime::currentDateTime()));
}

}  // namespace quillon
