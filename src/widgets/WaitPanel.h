#pragma once
// The one wait panel of a window that waits on the server: its progress label with the dots
// timer (a ProgressLabel, "Report Running" and a dot a second), the long-wait Cancel
// (LongWaitCancel, "cmdcancelwait") and, once a user ended the wait, the one text and icon for
// it (tellCancelledWait). Input during the wait is refused by the program's one filter
// (widgets/WaitGuard.h), not by the panel. A window puts the panel where the label shows and
// keeps only its own start and stop of the dots.
#include "widgets/LongWaitCancel.h"
#include "widgets/ProgressLabel.h"

#include <QWidget>

class QTimer;

namespace quillon {

struct ServerFailure;

class WaitPanel : public QWidget {
    Q_OBJECT
public:
    // The panel's Cancel: what it ends (LongWaitCancel::Ends), or none, for a menu whose
    // opened window offers its own.
    enum class Cancel { None, Offered, AnyWait };
    // The progress label: its first text, where its dots turn back to one, and the names the
    // window gives the label and its timer.
    struct Progress {
        QString text;
        int mostDots = ProgressLabel::kMostDots;
        QString labelName = QStringLiteral("lblrunning");
        QString timerName = QStringLiteral("tmrreport");
    };

    // A panel with the Cancel alone, for a window without a progress label.
    WaitPanel(QWidget* parent, Cancel cancel);
    // The label starts hidden and its dots stopped.
    WaitPanel(QWidget* parent, const Progress& progress, Cancel cancel);

    ProgressLabel* label() const { return m_label; }          // null without Progress
    QTimer* dots() const { return m_dots; }                   // null without Progress
    LongWaitCancel* cancelButton() const { return m_cancel; }  // null with Cancel::None

    // Shows the label with its dots running, or hides it and stops them.
    void showRunning(bool on);
    // The dots timer's handler: one dot more.
    void dots_Timer();

private:
    ProgressLabel* m_label = nullptr;
    QTimer* m_dots = nullptr;
    LongWaitCancel* m_cancel = nullptr;
};

// Tells a wait the user ended: `text` begins with cancelledWaitText(), shown with the one icon
// for it.
void tellCancelledWait(const QString& text);

// A failure path's first step: when `failure` is a wait the user ended (kSessionCancelled),
// tells cancelledWaitText(work) and returns true, and the window tells nothing more of it;
// false for any other failure, which the window tells as its own.
bool toldCancelledWait(const QString& work, const ServerFailure& failure);
bool toldCancelledWait(const QString& work, int failureCode);

}  // namespace quillon
