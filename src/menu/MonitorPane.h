#pragma once
// One live monitor of the main window: its caption and stamp label, its green text box, its
// tail session and the start timer that waits for the tail's echo, around the `LiveMonitor`
// state machine. The main window holds two, the call log and the PMS posts.
#include "menu/LiveMonitor.h"

#include <QWidget>

class QLabel;
class QTextEdit;
class QTimer;

namespace quillon {
class LiveTailSession;

class MonitorPane : public QWidget {
    Q_OBJECT
public:
    explicit MonitorPane(LiveMonitor::Kind kind, QWidget* parent = nullptr);
    ~MonitorPane() override;

    LiveMonitor& monitor() { return m_monitor; }
    LiveTailSession* session() const { return m_session; }

    // Opens the monitor afresh on the current site: state "RECONNECTING", the old session
    // dropped, the new one connecting in the background.
    void reconnect();
    // Drops the session without waiting; state and buffer stay as they are.
    void drop();

    // The session's events and the box's text-change handler.
    void session_Connected(int errorCode, const QString& errorText);
    void session_Data(const QString& text);
    // The server ended a connected session.
    void session_Disconnected();
    void box_Change();

private:
    // The start lines' deadline passed: a monitor still waiting for the tail's echo is closed.
    void startOverdue();

    LiveMonitor m_monitor;
    QLabel* m_stamp = nullptr;
    QTextEdit* m_box = nullptr;
    LiveTailSession* m_session = nullptr;
    // From the start lines to the echo of the tail command.
    QTimer* m_start = nullptr;
};

}  // namespace quillon
